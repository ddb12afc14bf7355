// The command lines of tests/golden/cli.txt through the program, with
// their outputs and exit status.
#include <gtest/gtest.h>

#include <string>

#include "cli_run.h"
#include "support/golden_runner.h"

namespace {

// An expected output: "~TEXT" must contain TEXT, "*" takes anything.
bool outputMatches(const std::string& want, const std::string& got) {
    if (want == "*") return true;
    if (!want.empty() && want[0] == '~') return got.find(want.substr(1)) != std::string::npos;
    return got == want;
}

TEST(CliGolden, CommandLinesGiveTheirOutputsAndStatus) {
    golden_run("cli.txt", [](const GoldenLine& row) -> std::string {
        const CliRun r = runCli(row.words(0), row.text(4));
        std::string bad;
        if (std::to_string(r.status) != row.text(1))
            bad += " status " + std::to_string(r.status) + ";";
        if (!outputMatches(row.text(2), r.out)) bad += " out \"" + r.out + "\";";
        if (!outputMatches(row.text(3), r.err)) bad += " err \"" + r.err + "\";";
        return bad;
    });
}

}  // namespace
