// velmarix-cli: the scientific calculator on the command line. Formulas come
// from the arguments or, one per line, from standard input; each result is
// printed as the calculator's result field shows it, each error as its
// message box would, on standard error.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "cli/cli_prompt.h"
#include "cli/cli_session.h"
#include "cli/cli_utf8.h"

#ifndef VELMARIX_VERSION
#define VELMARIX_VERSION "unknown"
#endif

namespace {

enum : int { EXIT_ALL_OK = 0, EXIT_FORMULA_FAILED = 1, EXIT_USAGE = 2 };

void onInterrupt(int) {
    cli_interrupts.fetch_add(1);
}

// Without SA_RESTART, so that a Ctrl-C interrupts the wait for a line.
void installInterruptHandler() {
    struct sigaction sa {};
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;
    sigaction(SIGINT, &sa, nullptr);
}

void printLine(std::FILE* to, const std::u16string& text) {
    const std::string bytes = cliUtf8(text) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), to);
    std::fflush(to);
}

// Evaluates one formula and prints its outcome; false when it failed.
bool run(CliSession& session, const std::u16string& formula, bool* stopped) {
    const CliResult r = session.evaluate(formula);
    printLine(r.outcome == CliOutcome::Ok ? stdout : stderr, r.text);
    *stopped = r.outcome == CliOutcome::Stopped;
    return r.outcome == CliOutcome::Ok;
}

int runArguments(CliSession& session, const CliOptions& options) {
    int status = EXIT_ALL_OK;
    for (const std::string& formula : options.formulas) {
        bool stopped = cli_interrupts.exchange(0) > 0;
        if (stopped || !run(session, cliUtf16(formula), &stopped)) status = EXIT_FORMULA_FAILED;
        if (stopped) break;  // a Ctrl-C ends the whole run
    }
    return status;
}

// One line of standard input without its line end; false at the end of the
// input or when a Ctrl-C interrupted the wait (*interrupted set).
bool readLine(std::string* line, bool* interrupted) {
    line->clear();
    *interrupted = false;
    for (;;) {
        const int c = std::fgetc(stdin);
        if (c == EOF) {
            if (std::ferror(stdin) && cli_interrupts.load() > 0) *interrupted = true;
            std::clearerr(stdin);
            return !line->empty() && !*interrupted;
        }
        if (c == '\n') break;
        line->push_back(static_cast<char>(c));
    }
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return true;
}

bool blank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// The next line: at the edited prompt on a terminal, else read plainly.
bool nextLine(bool interactive, std::string* line, bool* interrupted) {
    *interrupted = false;
    if (!interactive) return readLine(line, interrupted);
    const CliPromptResult r = cliPromptLine("> ", line);
    *interrupted = r == CliPromptResult::Interrupted;
    return r == CliPromptResult::Line;
}

int runInput(CliSession& session, bool interactive) {
    const char* hint =
        session.language() == 3 ? "(Ctrl-C nochmals zum Beenden)\n" : "(Ctrl-C again to exit)\n";
    int status = EXIT_ALL_OK;
    bool armed = false;  // the previous Ctrl-C came at the prompt
    std::string line;
    for (;;) {
        bool interrupted = false;
        if (!nextLine(interactive, &line, &interrupted)) {
            if (!interrupted) break;
            cli_interrupts.store(0);
            if (!interactive) return 130;  // the usual status of an interrupted program
            if (armed) {
                cliPromptEnd();
                std::fputs("\n", stdout);
                return status;
            }
            armed = true;
            std::fputs("\n", stdout), std::fputs(hint, stdout);
            continue;
        }
        armed = false;
        if (blank(line)) continue;
        bool stopped = false;
        if (!run(session, cliUtf16(line), &stopped)) status = EXIT_FORMULA_FAILED;
        if (stopped && !interactive) break;
    }
    if (interactive) cliPromptEnd(), std::fputs("\n", stdout);
    return status;
}

// The subcommand named by the first argument after any options that every
// command shares (--no-settings, --lang), or nullptr; *at is its position.
const CliCommand* findCommand(int argc, char** argv, int* at) {
    int i = 1;
    while (i < argc) {
        const std::string_view arg = argv[i];
        if (arg == "--no-settings" || arg.substr(0, 7) == "--lang=") {
            ++i;
        } else if (arg == "--lang" && i + 1 < argc) {
            i += 2;
        } else {
            break;
        }
    }
    *at = i;
    return i < argc ? cliFindCommand(argv[i]) : nullptr;
}

// Runs the command at argv[at] with the shared options before it and the
// arguments after it.
int runCommand(const CliCommand& command, int argc, char** argv, int at) {
    installInterruptHandler();
    std::vector<std::string> args(argv + at + 1, argv + argc);
    args.insert(args.begin(), argv + 1, argv + at);
    return command.run(command.name, args);
}

}  // namespace

int main(int argc, char** argv) {
    int at = 0;
    if (const CliCommand* command = findCommand(argc, argv, &at))
        return runCommand(*command, argc, argv, at);
    CliOptions options;
    std::string error;
    if (!cliParseOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "velmarix-cli: %s\nTry 'velmarix-cli --help'.\n", error.c_str());
        return EXIT_USAGE;
    }
    if (options.help) {
        std::fputs(cliHelpText().c_str(), stdout);
        std::fputs("\n", stdout);
        std::fputs(cliCommandsHelp().c_str(), stdout);
        return EXIT_ALL_OK;
    }
    if (options.version) {
        std::puts("velmarix-cli " VELMARIX_VERSION);
        return EXIT_ALL_OK;
    }
    CliSession session;
    std::u16string message;
    if (!session.setUp(options, &message)) {
        printLine(stderr, message);
        return EXIT_USAGE;
    }
    installInterruptHandler();
    if (!options.formulas.empty()) return runArguments(session, options);
    return runInput(session, isatty(STDIN_FILENO) != 0);
}
