// The command line: help and version, every option's accepted and refused
// values, "--", and the exit status 2 of a usage error.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace {

TEST(CliOptions, HelpAndVersionPrintAndSucceed) {
    const CliRun help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option : {"--type", "--digits", "--in-base", "--out-base", "--mode", "--group",
                               "--decimal", "--lang", "--var", "--no-settings", "--version"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_EQ(runCli({"-h"}).out, help.out);
    const CliRun version = runCli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("velmarix-cli ", 0), 0u) << version.out;
}

TEST(CliOptions, UsageErrorsExitWithTwoAndEvaluateNothing) {
    const std::vector<std::vector<std::string>> bad = {
        {"-x", "1"},
        {"--bogus", "1"},
        {"-t", "int", "1"},
        {"--type=complex", "1"},
        {"-d", "0", "1"},
        {"-d", "10014", "1"},  // one more than the largest precision
        {"-d", "12x", "1"},
        {"-d", "-3", "1"},
        {"--digits="},
        {"--in-base", "3", "1"},
        {"--out-base=36", "1"},
        {"-m", "sci", "1"},
        {"--decimal", "dot", "1"},
        {"--lang", "fr", "1"},
        {"--var", "x", "1"},
        {"--group=yes", "1"},
        {"1", "-t"},  // value missing at the end
    };
    for (const auto& args : bad) {
        const CliRun r = runCli(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_EQ(r.status, 2) << joined;
        EXPECT_EQ(r.out, "") << joined;
        EXPECT_NE(r.err.find("velmarix-cli"), std::string::npos) << joined << r.err;
    }
}

TEST(CliOptions, InvalidVariableNamesAreUsageErrorsWithTheCalculatorsMessage) {
    for (const char* var : {"9x=1", "=1", "pi=3", "ans=1", "Abc=1", "toolongname1=1", "a-b=1"}) {
        const CliRun r = runCli({"--no-settings", "--var", var, "1"});
        EXPECT_EQ(r.status, 2) << var;
        EXPECT_EQ(r.out, "") << var;
        EXPECT_NE(r.err.find("is invalid"), std::string::npos) << var << r.err;
    }
    const CliRun de = runCli({"--no-settings", "--lang", "de", "--var", "X=1", "1"});
    EXPECT_EQ(de.status, 2);
    EXPECT_NE(de.err.find("\"X\""), std::string::npos) << de.err;
    EXPECT_EQ(de.err.find("is invalid"), std::string::npos) << de.err;
}

TEST(CliOptions, ShortLongAndAttachedFormsAgreeAndMayFollowFormulas) {
    const std::string expect = "1/3\n";
    EXPECT_EQ(runCli({"--no-settings", "-t", "rat", "1/3"}).out, expect);
    EXPECT_EQ(runCli({"--no-settings", "--type", "rat", "1/3"}).out, expect);
    EXPECT_EQ(runCli({"--no-settings", "--type=rat", "1/3"}).out, expect);
    EXPECT_EQ(runCli({"1/3", "--no-settings", "-t", "rat"}).out, expect);
    EXPECT_EQ(runCli({"--no-settings", "--digits=3", "2/3"}).out, "0.667\n");
}

TEST(CliOptions, DoubleDashAndNegativeNumbersAreFormulas) {
    EXPECT_EQ(runCli({"--no-settings", "-5+1"}).out, "-4\n");
    EXPECT_EQ(runCli({"--no-settings", "-0.5*2"}).out, "-1\n");
    EXPECT_EQ(runCli({"--no-settings", "-(2)"}).out, "-2\n");
    const CliRun r = runCli({"--no-settings", "--var", "x=2", "--", "-x", "--help"});
    EXPECT_EQ(r.out, "-2\n");  // "--help" after "--" is a formula and fails
    EXPECT_EQ(r.status, 1);
}

}  // namespace

// Options before a command's name are handed to the command, which refuses
// by name one it does not know; a command name after "--" is a formula.
TEST(CliOptions, OptionsMayPrecedeACommand) {
    const CliRun de = runCli({"--no-settings", "--lang", "de", "primes", "1000000", "100"});
    EXPECT_EQ(de.status, 0) << de.err;
    EXPECT_NE(de.out.find("Primzahlen von 1000000 bis 1000099:"), std::string::npos) << de.out;
    const CliRun attached = runCli({"--lang=en", "factor", "12"});
    EXPECT_EQ(attached.status, 0) << attached.err;
    EXPECT_NE(attached.out.find("12 = 2^2 * 3"), std::string::npos) << attached.out;
    const CliRun before = runCli({"-d", "20", "--no-settings", "roots", "1", "0", "-2"});
    EXPECT_NE(before.out.find("1.4142135623730950488"), std::string::npos) << before.err;
    const CliRun unknown = runCli({"--no-settings", "-t", "rat", "factor", "12"});
    EXPECT_EQ(unknown.status, 2) << unknown.out;
    EXPECT_NE(unknown.err.find("'--type'"), std::string::npos) << unknown.err;
    const CliRun calcOnly = runCli({"--base", "16", "is-prime", "FF"});
    EXPECT_EQ(calcOnly.status, 2);
    EXPECT_NE(calcOnly.err.find("velmarix-cli is-prime --help"), std::string::npos) << calcOnly.err;
    const CliRun dashed = runCli({"--no-settings", "--", "roots"});
    EXPECT_EQ(dashed.status, 1) << dashed.out;
}
