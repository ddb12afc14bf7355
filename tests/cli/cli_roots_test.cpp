// velmarix-cli roots end to end: the listed roots, the options, messages on
// standard error with their exit status, and Ctrl-C.
#include <gtest/gtest.h>

#include <chrono>

#include "cli/cli_run.h"

namespace {

const std::string kNone = "--no-settings";

struct RootsRun {
    std::vector<std::string> args;
    std::string out;
};

TEST(CliRoots, ListsTheRoots) {
    const RootsRun runs[] = {
        {{"--exact", "1", "0", "-2"},
         "x1 = -sqrt(2) \u2248 -1.414213562   [1]\nx2 = sqrt(2) \u2248 1.414213562   [1]\n"},
        // negative coefficients need no "--"
        {{"-1", "-2"}, "x1 = -2   [1]\n"},
        {{"--complex", "--no-multiplicity", "1", "0", "1"}, "x1 = -i\nx2 = i\n"},
        {{"--lang", "de", "1", "0", "1"}, "Die Gleichung hat keine reellen L\u00f6sungen.\n"},
        {{"--digits", "20", "1", "-sqrt(2)"}, "x1 = 1.4142135623730950488   [1]\n"},
    };
    for (const RootsRun& r : runs) {
        std::vector<std::string> args{"roots", kNone};
        args.insert(args.end(), r.args.begin(), r.args.end());
        const CliRun got = runCli(args);
        EXPECT_EQ(got.out, r.out) << ::testing::PrintToString(r.args);
        EXPECT_EQ(got.err, "") << ::testing::PrintToString(r.args);
        EXPECT_EQ(got.status, 0) << ::testing::PrintToString(r.args);
    }
}

TEST(CliRoots, ErrorsAsThePageShowsThem) {
    const RootsRun runs[] = {
        {{"1", "1+"}, "Error evaluating coefficient \"a0\". Unexpected end of formula!\n"},
        {{"--lang", "de", "0", "1"}, "Der h\u00f6chste Koeffizient \"a1\" darf nicht 0 sein!\n"},
    };
    for (const RootsRun& r : runs) {
        std::vector<std::string> args{"roots", kNone};
        args.insert(args.end(), r.args.begin(), r.args.end());
        const CliRun got = runCli(args);
        EXPECT_EQ(got.out, "") << ::testing::PrintToString(r.args);
        EXPECT_EQ(got.err, r.out) << ::testing::PrintToString(r.args);
        EXPECT_EQ(got.status, 1) << ::testing::PrintToString(r.args);
    }
}

TEST(CliRoots, UsageErrors) {
    const std::vector<std::string> bad[] = {
        {"1"},                                                            // no equation
        {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"},  // degree 11
        {"--digits", "4", "1", "2"},  // below the page's minimum
        {"--digits", "751", "1", "0", "0", "0", "0", "0", "0", "0", "1"},  // above it at degree 8
        {"--real", "1", "2"},
    };
    for (const auto& args : bad) {
        std::vector<std::string> full{"roots", kNone};
        full.insert(full.end(), args.begin(), args.end());
        const CliRun got = runCli(full);
        EXPECT_EQ(got.status, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(got.out, "") << ::testing::PrintToString(args);
        EXPECT_NE(got.err.find("velmarix-cli roots: "), std::string::npos) << got.err;
    }
    const CliRun help = runCli({"roots", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--complex"), std::string::npos);
}

TEST(CliRoots, CtrlCStopsTheSolver) {
    // Ten roots of size 10^300000 at 750 digits: far more sweeps than the
    // test waits for.
    std::vector<std::string> args{"roots", kNone, "--complex", "-d", "750", "1"};
    for (int k = 0; k < 9; ++k) args.push_back("0");
    args.push_back("-1e3000000");
    CliFolder folder;
    const auto start = std::chrono::steady_clock::now();
    const CliRun r = runCliIn(folder, args, "", " & p=$!; sleep 0.5; kill -INT $p; wait $p");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "Calculation was aborted by the user.\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_LT(seconds, 30.0);
}

}  // namespace
