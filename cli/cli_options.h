// The command line of velmarix-cli: options, formulas and the help text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "numlib/mp_types.h"

struct CliVariable {
    std::string name;   // UTF-8 as given
    std::string value;  // UTF-8 as given
};

// What the command line asks for. Unset options keep the settings file's
// value (or the default with --no-settings).
struct CliOptions {
    std::optional<i32> numberType;   // MP_TYPE_*
    std::optional<i32> digits;       // 1 .. CALC_MAX_DIGITS
    std::optional<u32> inputBase;    // 2, 8, 10, 16
    std::optional<u32> outputBase;   // 2, 8, 10, 16
    std::optional<u32> displayMode;  // CALC_DISPLAY_*
    std::optional<u32> separator;    // SETTINGS_SEPARATOR_*
    std::optional<u32> language;     // SETTINGS_LANGUAGE_ENGLISH or _GERMAN
    bool group = false;
    bool noSettings = false;
    bool help = false;
    bool version = false;
    std::vector<CliVariable> variables;  // in command-line order
    std::vector<std::string> formulas;   // in command-line order
};

// Reads argv[1..argc-1]; options may stand anywhere before "--", which ends
// them. Arguments that are not options are formulas: "-" alone and a "-"
// followed by a digit, "." or "(" count as formulas too. Options take their value as the next
// argument or, for long ones, after "=". False with a one-line reason in *error on an unknown
// option, a missing or bad value, or a --var without "=".
bool cliParseOptions(int argc, const char* const* argv, CliOptions* options, std::string* error);

// How cliParseOptions reads arg: -1 when it is no option ("--", a formula,
// an unknown option), 0 when it stands alone, 1 when the next argument is its
// value.
int cliOptionArity(std::string_view arg);

// An option of cliParseOptions under its long name: "-d" gives "--digits";
// long forms are returned unchanged.
std::string cliLongOption(std::string_view arg);

// The --help text (ends in a newline).
std::string cliHelpText();
