// The terminal side of the prompt: character-at-a-time mode from the first
// prompt on, reads of whatever has arrived (a paste comes in a few large
// reads), and one redraw per read. The mode stays while a formula is
// evaluated, so that keys typed or pasted meanwhile wait for the next prompt
// unechoed and whole: a line-at-a-time terminal keeps at most 4095
// characters of a line and drops the rest. The wait is a ppoll() with SIGINT unblocked only
// inside it, so a Ctrl-C is seen at once and never lost between the check of
// cli_interrupts and the wait.
#include "cli/cli_prompt.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string_view>

#include "cli/cli_line_edit.h"
#include "cli/cli_session.h"

namespace {

CliLineEditor& editor() {
    static CliLineEditor e(cliLineLimit());
    return e;
}

std::string pending;  // bytes read past the end of the previous line
termios saved{};
bool raw = false;

// The prompt shows on standard output, or on standard error when only that
// one is the terminal (results redirected into a file).
int outFd() {
    return isatty(STDOUT_FILENO) == 0 && isatty(STDERR_FILENO) != 0 ? STDERR_FILENO : STDOUT_FILENO;
}

void show(std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = write(outFd(), text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

int columns() {
    winsize ws{};
    return ioctl(outFd(), TIOCGWINSZ, &ws) == 0 ? ws.ws_col : 0;
}

// Keys arrive one by one without echo; Ctrl-C and Ctrl-Z keep their signals,
// and output is processed as before (a line end still returns the carriage).
void enterRaw() {
    if (tcgetattr(STDIN_FILENO, &saved) != 0) return;
    termios t = saved;
    t.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR | IGNCR | IXON | ISTRIP);
    t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    raw = tcsetattr(STDIN_FILENO, TCSADRAIN, &t) == 0;
}

void leaveRaw() {
    if (raw) tcsetattr(STDIN_FILENO, TCSADRAIN, &saved);
    raw = false;
}

// Feeds the editor from pending, else from the terminal once input is there.
// False when the wait ended without a key: a Ctrl-C (*interrupted) or the
// terminal gone.
bool step(const sigset_t& waitMask, bool* interrupted) {
    if (pending.empty()) {
        if ((*interrupted = cli_interrupts.load() > 0)) return false;
        pollfd in{STDIN_FILENO, POLLIN, 0};
        if (ppoll(&in, 1, nullptr, &waitMask) < 0) return errno == EINTR;
        char buf[65536];
        const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
        if (n < 0 && errno == EINTR) return true;
        if (n <= 0) return false;
        pending.assign(buf, static_cast<std::size_t>(n));
    }
    pending.erase(0, editor().feed(pending));
    return true;
}

}  // namespace

CliPromptResult cliPromptLine(const char* prompt, std::string* line) {
    line->clear();
    std::fflush(stdout);
    CliLineEditor& e = editor();
    e.begin();
    if (!raw) enterRaw();
    show(e.render(prompt, columns()));
    sigset_t blocked, previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigprocmask(SIG_BLOCK, &blocked, &previous);
    bool interrupted = false;
    bool going = true;
    while (going && e.state() == CliLineEditor::State::Editing) {
        going = step(previous, &interrupted);
        show(e.render(prompt, columns()));
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    if (e.state() == CliLineEditor::State::Done) show("\r\n");
    if (interrupted) {
        pending.clear();
        return CliPromptResult::Interrupted;
    }
    if (e.state() != CliLineEditor::State::Done) return CliPromptResult::EndOfInput;
    if (e.overlong()) return CliPromptResult::TooLong;
    *line = e.line();
    e.remember(*line);
    return CliPromptResult::Line;
}

void cliPromptEnd() {
    leaveRaw();
}
