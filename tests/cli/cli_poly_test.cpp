// velmarix-cli poly end to end: outputs, messages, exit statuses.
#include <gtest/gtest.h>

#include "cli/cli_run.h"

namespace {

CliRun poly(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"poly", "--no-settings"};
    all.insert(all.end(), args.begin(), args.end());
    return runCli(all);
}

TEST(CliPoly, Operations) {
    CliRun r = poly({"mul", "1;1", "1;-1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "P0(x) * P1(x) = b2*x^2 + b1*x + b0\n\nb2 = 1\nb1 = 0\nb0 = -1\n");
    // A negative leading coefficient is a coefficient, not an option.
    r = poly({"add", "-2;0;1", "1", "--type", "rat"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "P0(x) + P1(x) = b2*x^2 + b1*x + b0\n\nb2 = -2\nb1 = 0\nb0 = 2\n");
    r = poly({"div", "-t", "rat", "1;0;1", "3;-3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "P0(x) / P1(x) = b1*x + b0    Remainder    r0\n\nb1 = 1/3\nb0 = 1/3\n\nr0 = 2\n");
    // The exponent is the constant P1; a ';' inside parentheses separates arguments.
    r = poly({"pow", "--lang", "de", "1;root(3;8)", "3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 45), "P0(x) ^ 3 = b3*x^3 + b2*x^2 + b1*x + b0\n\nb3 =");
    EXPECT_NE(r.out.find("b2 = 6\nb1 = 12\nb0 = 8\n"), std::string::npos) << r.out;
    r = poly({"sub", "--digits", "5", "1/3", "0", "0"});
    EXPECT_EQ(r.out, "P0(x) - P1(x) - P2(x) = b0\n\nb0 = 0.33333\n");
}

TEST(CliPoly, PageErrorsExitOne) {
    CliRun r = poly({"add", "1;2", "1;2+"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("Error evaluating coefficient \"a0\" in polynomial \"P1(x)\". ", 0), 0u)
        << r.err;
    r = poly({"pow", "--lang", "de", "1;1", "1;0"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Das Polynom \"P1(x)\" muss eine ganze Zahl von 0 bis 20 sein!\n");
    r = poly({"div", "1;1", "0"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Division by 0!\n");
    r = poly({"mul", "1;0;0;0;0;0;0;0;0;0;0", "1;0;0;0;0;0;0;0;0;0;0;0"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The maximum polynomial degree of the result may not exceed 20!\n");
}

TEST(CliPoly, UsageErrorsExitTwo) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"mul", "1;1"},
          {"root", "1", "2"},
          {"div", "1", "2", "3"},
          {"add", "--type", "uint", "1", "2"},
          {"add", "--digits", "4", "1", "2"},
          {"add", "1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1;1", "1"}}) {
        const CliRun r = poly(args);
        EXPECT_EQ(r.status, 2) << args[0] << " " << args[1];
        EXPECT_NE(r.err.find("velmarix-cli poly: "), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    const CliRun help = poly({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("velmarix-cli poly pow"), std::string::npos);
}

}  // namespace
