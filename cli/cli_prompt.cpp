// Line editing through libedit's callback interface. The line is read one
// character at a time when ppoll() says one is there, so a Ctrl-C, which
// interrupts ppoll(), is seen at once rather than after the next key.
#include "cli/cli_prompt.h"

#include <editline/readline.h>
#include <poll.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "cli/cli_session.h"

namespace {

bool lineDone = false;
bool lineEnd = false;  // Ctrl-D on an empty line
std::string lineText;

void onLine(char* text) {
    lineDone = true;
    lineEnd = text == nullptr;
    lineText = text != nullptr ? text : "";
    std::free(text);
}

bool installed = false;

}  // namespace

CliPromptResult cliPromptLine(const char* prompt, std::string* line) {
    line->clear();
    if (!installed) {
        rl_catch_signals = 0;  // the program's own SIGINT handler stays in charge
        installed = true;
    }
    lineDone = false;
    rl_callback_handler_install(prompt, onLine);
    // SIGINT stays blocked except inside ppoll(), so a Ctrl-C that comes
    // between the check of cli_interrupts and the wait still ends the wait.
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigprocmask(SIG_BLOCK, &blocked, &previous);
    bool interrupted = false;
    while (!lineDone && !interrupted) {
        interrupted = cli_interrupts.load() > 0;
        if (interrupted) break;
        pollfd in{STDIN_FILENO, POLLIN, 0};
        if (ppoll(&in, 1, nullptr, &previous) > 0) rl_callback_read_char();
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    if (interrupted) {
        rl_callback_handler_remove();
        return CliPromptResult::Interrupted;
    }
    rl_callback_handler_remove();
    if (lineEnd) return CliPromptResult::EndOfInput;
    *line = lineText;
    if (line->find_first_not_of(" \t") != std::string::npos) add_history(line->c_str());
    return CliPromptResult::Line;
}

void cliPromptEnd() {
    if (installed) rl_deprep_terminal();
}
