// Evaluation through the program: each number type and display mode, "ans"
// across formulas, variables, standard input, failures with their messages in
// both languages, the settings file as defaults, and Ctrl-C.
#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "app/settings_path.h"
#include "app/settings_values.h"
#include "cli_run.h"
#include "numlib/mp_types.h"

namespace {

const std::string kNone = "--no-settings";

TEST(CliEval, EachTypeAndModeShowsTheResultField) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{kNone, "1+2", "2/3"}, "3\n0.6666666667\n"},
        {{kNone, "-d", "30", "1/7"}, "0.142857142857142857142857142857\n"},
        {{kNone, "-m", "exp", "1234"}, "1.234e+3\n"},
        {{kNone, "-m", "fixed", "1e20"}, "100000000000000000000\n"},
        {{kNone, "-t", "rat", "1/3+1/4", "-6/4"}, "7/12\n-3/2\n"},
        {{kNone, "-t", "rat", "-m", "mixed", "7/2", "-7/2", "-1/2", "4"},
         "3+1/2\n-3-1/2\n0-1/2\n4\n"},
        {{kNone, "-t", "rat", "-m", "decimal", "1/3"}, "0.3333333333\n"},
        {{kNone, "-t", "cplx", "(1+i)*(1-i)", "sqrtc(-1;0)", "2i*3"}, "2\ni\n6i\n"},
        {{kNone, "-t", "uint", "2^64", "7/2"}, "18446744073709551616\n3\n"},
        {{kNone, "-t", "uint", "--out-base", "16", "255*256"}, "FF00\n"},
        {{kNone, "-t", "uint", "--in-base", "2", "--out-base", "8", "1111+1"}, "20\n"},
        {{kNone, "-t", "uint", "--in-base", "16", "1E+1"}, "31\n"},
        {{kNone, "-t", "uint", "-g", "2^70"}, "1'180'591'620'717'411'303'424\n"},
        {{kNone, "-g", "-d", "20", "10^15/7"}, "142'857'142'857'142.85714\n"},
        {{kNone, "--decimal", "comma", "1,5*3"}, "4,5\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = runCli(c.args);
        std::string joined;
        for (const auto& a : c.args) joined += a + " ";
        EXPECT_EQ(r.out, c.out) << joined << r.err;
        EXPECT_EQ(r.status, 0) << joined;
        EXPECT_EQ(r.err, "") << joined;
    }
}

// rat falls back to real for a value without a rational form, stays there,
// and says so once.
TEST(CliEval, RatFallsBackToRealWithANote) {
    const CliRun r = runCli({kNone, "-t", "rat", "1/4", "sqrt(2)", "1/4", "pi"});
    EXPECT_EQ(r.out, "1/4\n1.414213562\n0.25\n3.141592654\n");
    EXPECT_EQ(r.err, "(The number type is now real instead of rat.)\n");
    EXPECT_EQ(r.status, 0);
}

TEST(CliEval, AnsChainsAndSurvivesFailures) {
    const CliRun r = runCli({kNone, "-t", "rat", "1/2", "ans+1/3", "1/0", "ans*6"});
    EXPECT_EQ(r.out, "1/2\n5/6\n5\n");  // the failed formula keeps the previous result
    EXPECT_EQ(r.status, 1);
    const CliRun first = runCli({kNone, "ans"});  // no previous result yet
    EXPECT_EQ(first.status, 1);
    EXPECT_NE(first.err.find("ans"), std::string::npos) << first.err;
}

TEST(CliEval, VariablesFromTheCommandLine) {
    EXPECT_EQ(runCli({kNone, "--var", "x=5", "--var", "y=3", "x*y", "x+ans"}).out, "15\n20\n");
    // A repeated name replaces the earlier value.
    EXPECT_EQ(runCli({kNone, "--var", "x=5", "--var", "x=7", "x"}).out, "7\n");
    // Greek names are read as UTF-8.
    EXPECT_EQ(runCli({kNone, "--var", "\xce\xb1=2", "\xce\xb1^10"}).out, "1024\n");
    // uint variable values use the input base.
    EXPECT_EQ(runCli({kNone, "-t", "uint", "--in-base", "16", "--var", "h=FF", "h+1"}).out,
              "256\n");
    const CliRun bad = runCli({kNone, "--var", "x=1/", "x+1"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.err.find("\"x\""), std::string::npos) << bad.err;
}

// Errors name their line; a byte-order mark is skipped, a NUL byte is a
// character the formula refuses.
TEST(CliEval, StandardInputOneFormulaPerLine) {
    const std::string input = std::string(
                                  "\xEF\xBB\xBF"
                                  "1+1\n\n   \nans*10\r\n2^0.5\n3/0\n4") +
                              '\0' + "+1\nans";
    const CliRun r = runCli({kNone}, input);  // no final newline
    EXPECT_EQ(r.out, "2\n20\n1.414213562\n1.414213562\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "line 6: Error in mathematical formula. Division by zero at character position 4!\n"
              "line 7: Error in mathematical formula. Syntax error at character position 2!\n");
    EXPECT_EQ(runCli({kNone, "--lang", "de"}, "\n1+\n").err.substr(0, 9), "Zeile 2: ");
    EXPECT_EQ(runCli({kNone}, "").status, 0);
}

TEST(CliEval, FailuresPrintTheMessageOnStandardErrorInTheChosenLanguage) {
    const CliRun en = runCli({kNone, "1/0"});
    EXPECT_EQ(en.status, 1);
    EXPECT_EQ(en.out, "");
    EXPECT_EQ(en.err, "Error in mathematical formula. Division by zero at character position 4!\n");
    const CliRun de = runCli({kNone, "--lang", "de", "1/0", "1+"});
    EXPECT_EQ(de.status, 1);
    EXPECT_EQ(de.err.substr(0, de.err.find('\n')),
              "Fehler in mathematischer Formel. Division durch 0 bei Zeichenposition 4!");
    // Bytes that are not UTF-8 reach the formula as a character it refuses.
    const CliRun bytes = runCli({kNone, "1+\xff"});
    EXPECT_EQ(bytes.status, 1);
    EXPECT_NE(bytes.err.find("position 3"), std::string::npos) << bytes.err;
    // A formula beyond the longest the calculator takes.
    const CliRun longOne = runCli({kNone}, std::string(300000, '1') + "\n2\n");
    EXPECT_EQ(longOne.status, 1);
    EXPECT_EQ(longOne.out, "2\n");
    EXPECT_EQ(longOne.err, "line 1: The text entered is too long!\n");
}

// Writes a settings file into folder the way the application would.
void writeSettings(const CliFolder& folder) {
    settings_reset();
    settings_number_type = MP_TYPE_RAT;
    settings_thousands_sci_calc = 1;
    settings_language = SETTINGS_LANGUAGE_GERMAN;
    settings_variables = {{u"half", 10, u"1/2"}};
    settings_path_forget();
    settings_path_set_folder(folder.path() + "/Velmarix");
    ASSERT_TRUE(settings_save());
    settings_path_forget();
    settings_reset();
}

TEST(CliEval, SettingsFileGivesTheDefaultsAndIsNeverWritten) {
    CliFolder folder;
    writeSettings(folder);
    const std::string path = folder.path() + "/Velmarix/UserSettings_3.4.ini";
    const std::string before = cliReadFile(path);
    ASSERT_FALSE(before.empty());

    EXPECT_EQ(runCliIn(folder, {"half+1/3", "10^6"}).out, "5/6\n1'000'000\n");
    EXPECT_EQ(runCliIn(folder, {"-t", "real", "half"}).out, "0.5\n");
    EXPECT_EQ(runCliIn(folder, {"--var", "half=3", "half"}).out, "3\n");  // options win
    const CliRun de = runCliIn(folder, {"1/0"});
    EXPECT_NE(de.err.find("Fehler"), std::string::npos) << de.err;
    EXPECT_NE(runCliIn(folder, {"--lang", "en", "1/0"}).err.find("Error"), std::string::npos);
    const CliRun none = runCliIn(folder, {kNone, "half"});  // neither values nor variables
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("Error"), std::string::npos) << none.err;
    EXPECT_EQ(cliReadFile(path), before);
}

TEST(CliEval, CtrlCStopsALongCalculation) {
    std::string slow = "1";
    for (int k = 0; k < 200; ++k) slow += "+ln(3)^ln(5)";
    CliFolder folder;
    const auto start = std::chrono::steady_clock::now();
    const CliRun r = runCliIn(folder, {kNone, "-d", "10000", "1+1", slow, "2+2"}, "",
                              " & p=$!; sleep 0.5; kill -INT $p; wait $p");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.out, "2\n");  // nothing after the stop is evaluated
    EXPECT_EQ(r.err, "Calculation was aborted by the user.\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_LT(seconds, 10.0);
}

}  // namespace
