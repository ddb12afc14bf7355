// Runs the built velmarix-cli with arguments and standard input, in a
// settings folder of its own, and collects its output and exit status.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct CliRun {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// A fresh XDG_CONFIG_HOME for one test, removed afterwards.
class CliFolder {
  public:
    CliFolder() {
        char name[] = "/tmp/velmarix-cli-test-XXXXXX";
        path_ = mkdtemp(name) != nullptr ? name : "/tmp";
    }
    ~CliFolder() {
        std::error_code ec;
        if (path_ != "/tmp") std::filesystem::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline std::string cliQuote(const std::string& arg) {
    std::string q = "'";
    for (char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string cliReadFile(const std::string& path) {
    std::stringstream ss;
    ss << std::ifstream(path, std::ios::binary).rdbuf();
    return ss.str();
}

// Runs the program in folder (as XDG_CONFIG_HOME) with args and input on
// standard input; suffix ends the shell's command line, e.g. to run it in
// the background and signal it.
inline CliRun runCliIn(const CliFolder& folder, const std::vector<std::string>& args,
                       const std::string& input = "", const std::string& suffix = "") {
    const std::string in = folder.file("stdin.txt");
    const std::string err = folder.file("stderr.txt");
    std::ofstream(in, std::ios::binary) << input;
    // Built by appending: g++ 12 misjudges "literal" + string here (-Wrestrict).
    std::string cmd = "XDG_CONFIG_HOME=";
    cmd += cliQuote(folder.path());
    cmd += " LC_ALL=C ";
    cmd += cliQuote(VELMARIX_CLI_PATH);
    for (const std::string& a : args) {
        cmd += ' ';
        cmd += cliQuote(a);
    }
    cmd += " <";
    cmd += cliQuote(in);
    cmd += " 2>";
    cmd += cliQuote(err);
    cmd += suffix;
    CliRun r;
    std::FILE* pipe = popen(cmd.c_str(), "r");
    if (pipe == nullptr) return r;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) r.out.append(buf, n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.err = cliReadFile(err);
    return r;
}

inline CliRun runCli(const std::vector<std::string>& args, const std::string& input = "") {
    return runCliIn(CliFolder(), args, input);
}
