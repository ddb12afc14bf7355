// Ctrl-C during a long run of each kind: what was printed before stays
// whole, nothing after the stop is evaluated, and the status is 1.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "cli_run.h"

namespace {

const std::string kInterrupt = " & p=$!; sleep 0.5; kill -INT $p; wait $p";
const std::string kAborted = "Calculation was aborted by the user.\n";

struct StopCase {
    std::vector<std::string> args;
    std::string outStart;  // the output starts with this
    std::string outLacks;  // and does not contain this (when not empty)
    std::string err;
};

std::vector<StopCase> cases() {
    std::string slow = "1";
    for (int k = 0; k < 200; ++k) slow += "+ln(3)^ln(5)";
    // Ten roots of size 10^300000 at 750 digits: far more sweeps than the test waits for.
    std::vector<std::string> roots{"roots", "--no-settings", "--complex", "-d", "750", "1"};
    roots.insert(roots.end(), 9, "0");
    roots.push_back("-1e3000000");
    const std::string near128 = "340282366920938460843936948965011886881";
    return {
        {{"--no-settings", "-d", "10000", "1+1", slow, "2+2"}, "2\n", "4", kAborted},
        {roots, "", "x1", kAborted},
        // A million numbers near 2^128: the lines so far stay, without the trailer.
        {{"factor", "--no-settings", near128, "1000000"}, near128 + " = ", "", ""},
        {{"primes", "--no-settings", "100000000000000000000000000000", "1000000"},
         "Prime numbers from 100000000000000000000000000000 to ",
         "Number of",
         ""},
    };
}

TEST(CliStop, CtrlCEndsEachLongRun) {
    const auto start = std::chrono::steady_clock::now();
    for (const StopCase& c : cases()) {
        CliFolder folder;
        const CliRun r = runCliIn(folder, c.args, "", kInterrupt);
        EXPECT_EQ(r.out.rfind(c.outStart, 0), 0u) << c.args[0] << ": " << r.out;
        if (!c.outLacks.empty()) {
            EXPECT_EQ(r.out.find(c.outLacks), std::string::npos) << r.out;
        }
        if (!r.out.empty()) {
            EXPECT_EQ(r.out.back(), '\n') << "a line cut short";
        }
        EXPECT_EQ(r.err, c.err) << c.args[0];
        EXPECT_EQ(r.status, 1) << c.args[0];
    }
    // A header, then one endless field: the file is read until Ctrl-C.
    CliFolder folder;
    const std::string fifo = folder.file("endless.csv");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string feed = " & p=$!; (printf 'a1;a2;b\\n'; cat /dev/zero) >" + cliQuote(fifo) +
                             " & sleep 0.5; kill -INT $p; wait $p";
    const CliRun r = runCliIn(folder, {"linear", fifo}, "", feed);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, kAborted);
    EXPECT_EQ(r.out, "");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 60.0);  // a stop that is ignored would run for minutes
}

}  // namespace
