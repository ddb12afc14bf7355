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

#include "app/settings_values.h"
#include "cli/cli_command.h"
#include "cli/cli_options.h"
#include "cli/cli_prompt.h"
#include "cli/cli_session.h"
#include "textbuf/text_utf8.h"

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
    const std::string bytes = text_to_utf8(text) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), to);
    std::fflush(to);
}

// The note on standard error when the calculator has left rat for real.
void noteSwitchToReal(const CliSession& session) {
    std::fputs(session.language() == SETTINGS_LANGUAGE_GERMAN
                   ? "(Der Zahlentyp ist jetzt real statt rat.)\n"
                   : "(The number type is now real instead of rat.)\n",
               stderr);
}

// Prints the outcome of one formula, a failure after where (naming the input
// line, or empty); false when it failed.
bool report(const CliSession& session, const CliResult& r, const std::u16string& where,
            bool* stopped) {
    if (r.switchedToReal) noteSwitchToReal(session);
    printLine(r.outcome == CliOutcome::Ok ? stdout : stderr,
              r.outcome == CliOutcome::Ok ? r.text : where + r.text);
    *stopped = r.outcome == CliOutcome::Stopped;
    return r.outcome == CliOutcome::Ok;
}

// Evaluates one formula and prints its outcome; false when it failed.
bool run(CliSession& session, const std::u16string& formula, bool* stopped,
         const std::u16string& where = {}) {
    return report(session, session.evaluate(formula), where, stopped);
}

int runArguments(CliSession& session, const CliOptions& options) {
    int status = EXIT_ALL_OK;
    for (const std::string& formula : options.formulas) {
        bool stopped = cli_interrupts.exchange(0) > 0;
        if (stopped || !run(session, text_from_utf8(formula), &stopped))
            status = EXIT_FORMULA_FAILED;
        if (stopped) break;  // a Ctrl-C ends the whole run
    }
    return status;
}

// One line of standard input without its line end, kept up to
// cliLineLimit() bytes (*overlong when more came); false at the end of the
// input or when a Ctrl-C interrupted the wait (*interrupted set).
bool readLine(std::string* line, bool* overlong, bool* interrupted) {
    line->clear();
    *overlong = *interrupted = false;
    const std::size_t limit = cliLineLimit();
    bool any = false;
    for (;;) {
        const int c = std::fgetc(stdin);
        if (c == EOF) {
            if (std::ferror(stdin) && cli_interrupts.load() > 0) *interrupted = true;
            std::clearerr(stdin);
            return any && !*interrupted;
        }
        any = true;
        if (c == '\n') break;
        if (line->size() < limit)
            line->push_back(static_cast<char>(c));
        else
            *overlong = true;
    }
    if (!line->empty() && line->back() == '\r') line->pop_back();
    return true;
}

bool blank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// The formula of a line read from a file or a pipe. A NUL byte, which would
// end the formula early, reaches the calculator as a character it refuses.
std::u16string lineFormula(const std::string& line) {
    std::u16string formula = text_from_utf8(line);
    for (char16_t& c : formula)
        if (c == 0) c = u'\uFFFD';
    return formula;
}

// "line N: ", which leads each failure of a formula read from a file or pipe.
std::u16string lineLabel(const CliSession& session, long number) {
    const std::string label =
        (session.language() == SETTINGS_LANGUAGE_GERMAN ? "Zeile " : "line ") +
        std::to_string(number) + ": ";
    return text_from_utf8(label);
}

// Formulas from a file or a pipe, one per line; a Ctrl-C stops the run.
int runPiped(CliSession& session) {
    int status = EXIT_ALL_OK;
    std::string line;
    bool overlong = false, interrupted = false;
    for (long number = 1; readLine(&line, &overlong, &interrupted); ++number) {
        if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);  // a byte-order mark
        if (!overlong && blank(line)) continue;
        bool stopped = false;
        const std::u16string where = lineLabel(session, number);
        const bool ok = overlong ? report(session, session.tooLong(), where, &stopped)
                                 : run(session, lineFormula(line), &stopped, where);
        if (!ok) status = EXIT_FORMULA_FAILED;
        if (stopped) return status;
    }
    return interrupted ? 130 : status;  // 130: the usual status of an interrupted program
}

// Formulas typed at the prompt. A Ctrl-C at the prompt shows a hint, a
// second one in a row ends the program.
int runPrompt(CliSession& session) {
    const char* hint = session.language() == SETTINGS_LANGUAGE_GERMAN
                           ? "(Ctrl-C nochmals zum Beenden)\n"
                           : "(Ctrl-C again to exit)\n";
    int status = EXIT_ALL_OK;
    bool armed = false;  // the previous Ctrl-C came at the prompt
    std::string line;
    for (;;) {
        const CliPromptResult got = cliPromptLine("> ", &line);
        if (got == CliPromptResult::EndOfInput) break;
        if (got == CliPromptResult::Interrupted) {
            cli_interrupts.store(0);
            if (armed) break;
            armed = true;
            std::fputs("\n", stdout), std::fputs(hint, stdout);
            continue;
        }
        armed = false;
        bool stopped = false;
        if (got == CliPromptResult::TooLong) {
            report(session, session.tooLong(), {}, &stopped);
            status = EXIT_FORMULA_FAILED;
        } else if (!blank(line) && !run(session, text_from_utf8(line), &stopped)) {
            status = EXIT_FORMULA_FAILED;
        }
    }
    cliPromptEnd();
    std::fputs("\n", stdout);
    return status;
}

// The subcommand named by the first argument after the calculator's options,
// or nullptr; *at is its position. Options before a command's name are
// handed to the command (see runCommand), so "-d 20 roots 1 -2" runs roots
// rather than evaluating "roots" as a formula.
const CliCommand* findCommand(int argc, char** argv, int* at) {
    int i = 1;
    while (i < argc) {
        const int arity = cliOptionArity(argv[i]);
        if (arity < 0 || i + arity + 1 >= argc) break;
        i += arity + 1;
    }
    *at = i;
    return i < argc ? cliFindCommand(argv[i]) : nullptr;
}

// Runs the command at argv[at] with its arguments, after the options that
// stood before its name. Those are written under their long names, so that
// the command reads each one as its own option or refuses it by name ("-t"
// as "--type"), and never as a number.
int runCommand(const CliCommand& command, int argc, char** argv, int at) {
    installInterruptHandler();
    std::vector<std::string> args;
    for (int i = 1; i < at; ++i) {
        const int arity = cliOptionArity(argv[i]);
        args.push_back(cliLongOption(argv[i]));
        if (arity == 1) args.emplace_back(argv[++i]);
    }
    args.insert(args.end(), argv + at + 1, argv + argc);
    return command.run(command.name, args);
}

// A bad option of the calculator. When a command's name follows it, the
// option was probably meant for the command, which reads it after its name.
int usageError(int argc, char** argv, const std::string& error) {
    std::fprintf(stderr, "velmarix-cli: %s\n", error.c_str());
    for (int i = 1; i < argc; ++i) {
        if (const CliCommand* command = cliFindCommand(argv[i])) {
            std::fprintf(stderr,
                         "A command's own options go after its name; try 'velmarix-cli %s "
                         "--help'.\n",
                         command->name);
            return EXIT_USAGE;
        }
    }
    std::fputs("Try 'velmarix-cli --help'.\n", stderr);
    return EXIT_USAGE;
}

}  // namespace

int main(int argc, char** argv) {
    int at = 0;
    if (const CliCommand* command = findCommand(argc, argv, &at))
        return runCommand(*command, argc, argv, at);
    CliOptions options;
    std::string error;
    if (!cliParseOptions(argc, argv, &options, &error)) return usageError(argc, argv, error);
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
    return isatty(STDIN_FILENO) != 0 ? runPrompt(session) : runPiped(session);
}
