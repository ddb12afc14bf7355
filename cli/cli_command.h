// Subcommands of velmarix-cli ("roots", "poly", "linear" and the prime
// commands): the shared argument reader, the common set-up and the table
// that main() dispatches through.
#pragma once

#include <cstdio>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// One option of a subcommand. Every subcommand also knows --lang en|de,
// --no-settings and -h/--help, which cliReadCommandArgs adds itself.
struct CliArgSpec {
    const char* longName;  // without "--"
    char shortName;        // 0 when none
    bool takesValue;
};

struct CliCommandArgs {
    std::map<std::string, std::string> options;  // long name -> value ("" for flags); last wins
    std::vector<std::string> positional;         // in command-line order

    bool has(std::string_view name) const { return options.count(std::string(name)) > 0; }
    // The option's value, or fallback when it was not given.
    std::string value(std::string_view name, std::string_view fallback = {}) const;
};

// Splits args into options and positional arguments. "--name=value",
// "--name value" and "-x value" are accepted; "--" ends the options. An
// argument with a single "-" that is no known option (such as "-2", "-1/3" or
// "-sqrt(2)") is positional, so negative coefficients need no "--". False with
// a one-line reason in *error on an unknown "--" option, a missing value, or a
// value given to a flag.
bool cliReadCommandArgs(const std::vector<std::string>& args, std::span<const CliArgSpec> spec,
                        CliCommandArgs* out, std::string* error);

// Reads the settings file unless --no-settings (never writing it), applies
// --lang, selects the language and the decimal separator and resets the
// number context and the error state. False with a reason in *error on a bad
// --lang value.
bool cliCommandSetUp(const CliCommandArgs& args, std::string* error);

// Prints "velmarix-cli <command>: <reason>" and the help hint on standard
// error; returns the usage exit status 2.
int cliUsageError(std::string_view command, std::string_view reason);

// Writes UTF-16 text as UTF-8 to out and flushes it.
void cliWrite(std::FILE* out, std::u16string_view text);

enum : int { CLI_EXIT_OK = 0, CLI_EXIT_FAILED = 1, CLI_EXIT_USAGE = 2 };

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
