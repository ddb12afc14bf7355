// velmarix-cli linear on files: whole runs, a template loaded back, and the
// exit status of each kind of failure.
#include <gtest/gtest.h>

#include "cli_run.h"

namespace {

CliRun solveFile(const std::string& bytes, std::vector<std::string> options = {}) {
    CliFolder folder;
    const std::string path = folder.file("system.csv");
    std::ofstream(path, std::ios::binary) << bytes;
    options.push_back(path);
    options.insert(options.begin(), "linear");
    return runCliIn(folder, options);
}

TEST(CliLinear, SolvesUniqueUnsolvableAndParametricSystems) {
    const CliRun unique = solveFile("a1;a2;b\r\n2;1;3\r\n1;-1;0\r\n", {"--type", "rat"});
    EXPECT_EQ(unique.status, 0) << unique.err;
    EXPECT_EQ(unique.out, "x1 = 1\nx2 = 1\n");
    EXPECT_EQ(unique.err, "");

    const CliRun none = solveFile("a1;a2;b\r\n1;1;1\r\n1;1;2\r\n");
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "Equation system is unsolvable!\n");

    const CliRun family =
        solveFile("a1;a2;a3;b\r\n4;3;0;2\r\n8;6;0;4\r\n0;0;1;5\r\n", {"-t", "rat"});
    EXPECT_EQ(family.status, 0);
    EXPECT_EQ(family.out,
              "x1 = 1/2-(3/4)*r\nx2 = r\nx3 = 5\n\nThe parameter variable r is freely "
              "selectable.\n");

    const CliRun digits = solveFile("a1;a2;b\n3;0;1\n0;1;2\n", {"--digits=20"});
    EXPECT_EQ(digits.out, "x1 = 0.33333333333333333333\nx2 = 2\n");
    const CliRun german = solveFile("a1;a2;b\n1;1;1\n1;1;2\n", {"--lang", "de"});
    EXPECT_EQ(german.out, "Gleichungssystem ist unl\xC3\xB6sbar!\n");
}

TEST(CliLinear, TemplateLoadsBackAsAnEmptySystem) {
    CliFolder folder;
    const CliRun made = runCliIn(folder, {"linear", "--template", "4"});
    EXPECT_EQ(made.status, 0);
    EXPECT_EQ(made.out, "a1;a2;a3;a4;b\r\n;;;;\r\n;;;;\r\n;;;;\r\n;;;;\r\n");
    const std::string path = folder.file("empty.csv");
    std::ofstream(path, std::ios::binary) << made.out;
    const CliRun solved = runCliIn(folder, {"linear", path});
    EXPECT_EQ(solved.status, 0);
    EXPECT_EQ(solved.out,
              "x1 = r\nx2 = s\nx3 = t\nx4 = u\n\nThe parameter variables r, s, t, u are freely "
              "selectable.\n");
}

TEST(CliLinear, FailuresShowThePageMessageAndExitWithOne) {
    CliFolder folder;
    const std::string missing = folder.file("none.csv");
    const CliRun gone = runCliIn(folder, {"linear", missing});
    EXPECT_EQ(gone.status, 1);
    EXPECT_EQ(gone.out, "");
    EXPECT_EQ(gone.err, "The file \"" + missing + "\" was not found!\n");

    const CliRun count = solveFile("a1;b\n1;2\n");
    EXPECT_EQ(count.status, 1);
    EXPECT_EQ(count.err, "The number of equation variables has to be between 2 und 25!\n");

    const CliRun cell = solveFile("a1;a2;b\n1;2;3\n4;5;6+\n");
    EXPECT_EQ(cell.status, 1);
    EXPECT_EQ(cell.err.rfind("Error evaluating coefficient in equation 2, column \"b\".", 0), 0u)
        << cell.err;
    EXPECT_EQ(cell.out, "");

    const CliRun overflow = solveFile("a1;a2;b\n10^400;1;1\n1;10^400;3\n", {"-t", "rat"});
    EXPECT_EQ(overflow.status, 1);
    EXPECT_EQ(overflow.err, "Overflow in mathematical calculation!\n");
}

}  // namespace
