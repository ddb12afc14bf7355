// Subcommands of velmarix-cli ("roots", "poly", "linear" and the prime
// commands): the shared argument reader, the common set-up and the table
// that main() dispatches through. The shared options may also stand before
// the command's name; main() hands them on with the command's arguments.
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "numlib/mp_types.h"

// One option of a subcommand. Every subcommand also knows --lang en|de,
// --no-settings and -h/--help, which cliReadCommandArgs adds itself.
struct CliOptionDef {
    const char* longName;  // without "--"
    char shortName;        // 0 when none
    bool takesValue;
};

struct CliCommandArgs {
    std::map<std::string, std::string> options;  // long name -> value ("" for flags); last wins
    std::vector<std::pair<std::string, std::string>> given;  // every option, in command-line order
    std::vector<std::string> positional;                     // in command-line order

    bool has(std::string_view name) const { return options.count(std::string(name)) > 0; }
    // The option's value, or fallback when it was not given.
    std::string value(std::string_view name, std::string_view fallback = {}) const;
};

// How an argument with a single "-" that names no known option is read.
enum class CliUnknownShort {
    Positional,  // any such argument ("-2", "-1/3", "-sqrt(2)")
    Error,       // an error unless a digit, "." or "(" follows the "-"
};

// Splits args into options and positional arguments: the one option reader of
// the command line, for the calculator and every subcommand. "--name=value",
// "--name value" and "-x value" are accepted; "--" ends the options. By
// default an argument with a single "-" that is no known option is
// positional, so negative coefficients need no "--". False with a one-line
// reason in *error on an unknown "--" option, a missing value, or a value
// given to a flag.
bool cliReadCommandArgs(const std::vector<std::string>& args, std::span<const CliOptionDef> known,
                        CliCommandArgs* out, std::string* error,
                        CliUnknownShort unknown = CliUnknownShort::Positional);

// The option of known or of the shared ones that arg names ("-x", "--name" or
// "--name=value"); nullptr when none.
const CliOptionDef* cliFindOption(std::span<const CliOptionDef> known, std::string_view arg);

// The settings' defaults, then the settings file unless noSettings (it is
// never written).
void cliSettingsLoad(bool noSettings);

// Puts the settings into effect: the language, a fresh number context, the
// decimal separator, no pending errors.
void cliSettingsApply();

// Reads the settings file unless --no-settings (never writing it), applies
// --lang, selects the language and the decimal separator and resets the
// number context and the error state. False with a reason in *error on a bad
// --lang value.
bool cliCommandSetUp(const CliCommandArgs& args, std::string* error);

// Prints "velmarix-cli <command>: <reason>" and the help hint on standard
// error; returns the usage exit status 2.
int cliUsageError(std::string_view command, std::string_view reason);

// Writes UTF-16 text as UTF-8 to out, and flushes it unless flush is false.
void cliWrite(std::FILE* out, std::u16string_view text, bool flush = true);

enum : int { CLI_EXIT_OK = 0, CLI_EXIT_FAILED = 1, CLI_EXIT_USAGE = 2 };

// A whole decimal number of at most nine digits in lo..hi into *out; false
// (nothing stored) otherwise.
bool cliParseWhole(const std::string& text, long lo, long hi, i32* out);

// "rat", "real" or "cplx" as its MP_TYPE_*; false for anything else.
bool cliParseType(const std::string& text, i32* out);

// The output box's CR LF line ends as the terminal's LF.
std::u16string cliTerminalLines(std::u16string_view text);

// Prints the calculation-stopped message in the active language on standard
// error.
void cliReportStop();

// Takes the pending error and prints the message the message box would show
// on standard error (nothing for a silent stop); CLI_EXIT_FAILED when an
// error was pending, else CLI_EXIT_OK.
int cliReportError();

// Runs body on a worker thread and waits for it. The computations run this way
// have no stop request, so a Ctrl-C meanwhile prints the stopped message and
// ends the process at once with CLI_EXIT_FAILED.
void cliRunUntilDone(std::function<void()> body);

// A subcommand: its arguments after the command name; returns the exit status.
using CliCommandRun = int (*)(std::string_view command, const std::vector<std::string>& args);

struct CliCommand {
    const char* name;
    CliCommandRun run;
    const char* summary;  // one line for the main --help
};

// The subcommand named name, or nullptr.
const CliCommand* cliFindCommand(std::string_view name);

// The "Commands:" section of the main --help text.
std::string cliCommandsHelp();

// The subcommands, each in its own file.
int cliRunRoots(std::string_view command, const std::vector<std::string>& args);
int cliRunPoly(std::string_view command, const std::vector<std::string>& args);
int cliRunLinear(std::string_view command, const std::vector<std::string>& args);
int cliRunPrimes(std::string_view command, const std::vector<std::string>& args);
