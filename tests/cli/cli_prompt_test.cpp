// The interactive prompt on a real terminal (a pseudo-terminal): the editing
// keys, the history, pasted lines of any length, and Ctrl-C at the prompt,
// once for the hint and again to leave.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <string>

#include "cli/cli_run.h"

namespace {

class Terminal {
  public:
    explicit Terminal(const CliFolder& folder) {
        pid_ = forkpty(&fd_, nullptr, nullptr, nullptr);
        if (pid_ == 0) {
            setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
            execl(VELMARIX_CLI_PATH, VELMARIX_CLI_PATH, "--no-settings",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~Terminal() {
        if (pid_ > 0 && !exited_) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
        if (fd_ >= 0) close(fd_);
    }
    // Writes keys, reading the output meanwhile so that a long paste cannot
    // block on a full terminal.
    void type(const std::string& keys) {
        for (std::size_t done = 0; done < keys.size();) {
            pollfd p{fd_, POLLIN | POLLOUT, 0};
            ASSERT_GT(poll(&p, 1, 20000), 0) << "the terminal is stuck";
            if (p.revents & POLLIN) collect();
            if (!(p.revents & POLLOUT)) continue;
            const ssize_t n =
                write(fd_, keys.data() + done, std::min<std::size_t>(4096, keys.size() - done));
            ASSERT_GT(n, 0);
            done += static_cast<std::size_t>(n);
        }
    }
    // Reads until the output since the last text found contains text (true) or 20 s pass.
    bool waitFor(const std::string& text) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (seen_.find(text, from_) == std::string::npos) {
            pollfd p{fd_, POLLIN, 0};
            if (std::chrono::steady_clock::now() > end || (poll(&p, 1, 100) > 0 && !collect()))
                return false;
        }
        from_ = seen_.find(text, from_) + text.size();
        return true;
    }
    // The exit status, waiting at most 20 s and draining the output; -1 when it did not exit.
    int exitStatus() {
        int raw = 0;
        for (int i = 0; i < 2000 && !exited_; ++i) {
            exited_ = waitpid(pid_, &raw, WNOHANG) == pid_;
            pollfd p{fd_, POLLIN, 0};
            if (!exited_ && !(poll(&p, 1, 10) > 0 && collect())) usleep(10000);
        }
        return exited_ && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    const std::string& seen() const { return seen_; }

  private:
    bool collect() {
        char buf[4096];
        const ssize_t n = read(fd_, buf, sizeof buf);
        if (n > 0) seen_.append(buf, static_cast<std::size_t>(n));
        return n > 0;
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    bool exited_ = false;
    std::string seen_;
    std::size_t from_ = 0;
};

// The program at its first prompt on a terminal of its own.
class CliPrompt : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(t.waitFor("> ")) << t.seen(); }
    CliFolder folder;
    Terminal t{folder};
};

// Each row is typed at the prompt, Enter included; the result shows below.
TEST_F(CliPrompt, EditsRecallsAndLeavesOnTheSecondCtrlC) {
    const std::pair<const char*, const char*> rows[] = {
        // keys, result
        {"2^10\r", "1024"},
        {"\x1b[A\r", "1024"},                   // the up arrow brings back 2^10
        {"12\x1b[D+\r", "3"},                   // the left arrow moves into the line
        {"\xcf\x80\x1b[D2*\r", "6.283185307"},  // over a two-byte character: 2*pi
        {"19\x7f+1\r", "2"},                    // backspace
        {"x5+1\x01\x1b[3~\x05*2\r", "7"},       // Ctrl-A, Delete, Ctrl-E
        {"5+99\x02\x02\x02\x0b*3\r", "15"},     // Ctrl-B, Ctrl-K
        {"99\0254-ans\0271\r", "3"},            // Ctrl-U, Ctrl-W (octal escapes)
        {"5+99\x02\x02\025\r", "99"},           // Ctrl-U erases only before the cursor
        {"8\x1bOD-\r", "-8"},                   // the left arrow in application mode
        {"\x1b[A\x1b[B3+3\r", "6"},             // up and down again to the new line
    };
    for (const auto& [keys, result] : rows) {
        t.type(keys);
        ASSERT_TRUE(t.waitFor("\r\n" + std::string(result) + "\r\n")) << keys << t.seen();
    }
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("(Ctrl-C again to exit)")) << t.seen();
    t.type("ans*2\r");  // a line in between disarms the exit
    ASSERT_TRUE(t.waitFor("\r\n12\r\n")) << t.seen();
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("(Ctrl-C again to exit)")) << t.seen();
    t.type("\x03");
    EXPECT_EQ(t.exitStatus(), 0) << t.seen();
}

// A pasted line of any length gives its result or the too-long message (one
// past the calculator's limit, one past what the prompt keeps), and the
// prompt goes on; Ctrl-D on an empty line ends it with the status of the
// last failed formula.
TEST_F(CliPrompt, PastedLinesOfAnyLengthThenCtrlD) {
    for (std::size_t ones : {512, 20000, 50000, 500000}) {
        std::string line = "1";
        for (std::size_t i = 1; i < ones; ++i) line += "+1";
        t.type(line + "\r");
        const std::string shown =
            ones <= 20000 ? std::to_string(ones) : "The text entered is too long!";
        ASSERT_TRUE(t.waitFor("\r\n" + shown + "\r\n")) << ones;
    }
    t.type("6*7\r");
    ASSERT_TRUE(t.waitFor("\r\n42\r\n"));
    t.type("1/0\r");
    ASSERT_TRUE(t.waitFor("position 4!\r\n")) << t.seen();
    t.type("\x04");
    EXPECT_EQ(t.exitStatus(), 1) << t.seen();
}

}  // namespace
