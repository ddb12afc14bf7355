// The program's command line: --help, --version and --open WINDOW.
#pragma once

#include <string>

struct CommandLine {
    enum Action { Run, Help, Version, Usage } action = Run;
    std::string open;   // the window to show after start-up; empty: none
    std::string error;  // for Usage: what was wrong
};

// The windows --open accepts, as the help text lists them.
inline constexpr const char* OPEN_NAMES[] = {"calculator", "equations", "linear", "polynomial", "primes",
                                             "factors",    "options",   "about",  "help"};

// Reads the arguments after the program name. Qt's own options (-platform,
// -style ...) are left for Qt and are not errors.
CommandLine command_line_parse(int argc, char** argv);

// The text of --help.
std::string command_line_help();
