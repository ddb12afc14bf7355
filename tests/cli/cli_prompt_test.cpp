// The interactive prompt on a real terminal (a pseudo-terminal): results,
// the history recalled with the up arrow, and Ctrl-C at the prompt, once for
// the hint and again to leave.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

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
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0) close(fd_);
    }
    bool started() const { return pid_ > 0; }
    void type(const std::string& keys) {
        ASSERT_EQ(write(fd_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }
    // Reads until the output so far contains text (true) or 20 s pass.
    bool waitFor(const std::string& text) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (seen_.find(text, from_) == std::string::npos) {
            if (std::chrono::steady_clock::now() > end) return false;
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0) continue;
            char buf[512];
            const ssize_t n = read(fd_, buf, sizeof buf);
            if (n <= 0) return false;
            seen_.append(buf, static_cast<std::size_t>(n));
        }
        from_ = seen_.find(text, from_) + text.size();
        return true;
    }
    // The exit status, waiting at most 20 s; -1 when it did not exit.
    int exitStatus() {
        for (int i = 0; i < 2000; ++i) {
            int raw = 0;
            if (waitpid(pid_, &raw, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            }
            pollfd p{fd_, POLLIN, 0};
            char buf[512];
            if (poll(&p, 1, 10) > 0 && read(fd_, buf, sizeof buf) > 0) continue;
            usleep(10000);  // the terminal is closed: the program is on its way out
        }
        return -1;
    }
    const std::string& seen() const { return seen_; }

  private:
    pid_t pid_ = -1;
    int fd_ = -1;
    bool exited_ = false;
    std::string seen_;
    std::size_t from_ = 0;
};

TEST(CliPrompt, EditsRecallsAndLeavesOnTheSecondCtrlC) {
    CliFolder folder;
    Terminal t(folder);
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.waitFor("> ")) << t.seen();
    t.type("2^10\r");
    ASSERT_TRUE(t.waitFor("1024")) << t.seen();
    t.type("\x1b[A\r");  // the up arrow brings back 2^10
    ASSERT_TRUE(t.waitFor("1024")) << t.seen();
    t.type("12\x1b[D+\r");  // the left arrow moves into the line: 1+2
    ASSERT_TRUE(t.waitFor("\n3")) << t.seen();
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("(Ctrl-C again to exit)")) << t.seen();
    t.type("ans*2\r");  // a line in between disarms the exit
    ASSERT_TRUE(t.waitFor("\n6")) << t.seen();
    t.type("\x03");
    ASSERT_TRUE(t.waitFor("(Ctrl-C again to exit)")) << t.seen();
    t.type("\x03");
    EXPECT_EQ(t.exitStatus(), 0) << t.seen();
}

TEST(CliPrompt, CtrlDOnAnEmptyLineEnds) {
    CliFolder folder;
    Terminal t(folder);
    ASSERT_TRUE(t.started());
    ASSERT_TRUE(t.waitFor("> ")) << t.seen();
    t.type("1/0\r");
    ASSERT_TRUE(t.waitFor("> ")) << t.seen();
    t.type("\x04");
    EXPECT_EQ(t.exitStatus(), 1) << t.seen();  // the failed formula sets the status
}

}  // namespace
