// Evaluation through the program beyond the golden rows: an overlong
// input, and the settings file as defaults that is never written.
#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "app/settings_path.h"
#include "app/settings_values.h"
#include "cli_run.h"
#include "numlib/mp_types.h"

namespace {

const std::string kNone = "--no-settings";

// Input beyond what a page takes is refused with its message; the next
// line still runs. (tests/golden/cli.txt has overlong numbers.)
TEST(CliEval, OverlongInputIsRefused) {
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
    settings_thousands_prime_nums = 1;
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
    const struct {
        std::vector<std::string> args;
        std::string out, err;  // err: a part of standard error
    } rows[] = {
        {{"half+1/3", "10^6"}, "5/6\n1'000'000\n", ""},
        {{"-t", "real", "half"}, "0.5\n", ""},
        {{"--var", "half=3", "half"}, "3\n", ""},  // options win
        {{"1/0"}, "", "Fehler"},
        {{"--lang", "en", "1/0"}, "", "Error"},
        {{kNone, "half"}, "", "Error"},  // neither values nor variables
        {{"is-prime", "1000003"}, "1'000'003 ist eine Primzahl.\r\n", ""},
        {{"is-prime", "--lang", "en", "1000003"}, "1'000'003 is a prime number.\r\n", ""},
        {{"is-prime", kNone, "1000003"}, "1000003 is a prime number.\r\n", ""},
    };
    for (const auto& row : rows) {
        const CliRun r = runCliIn(folder, row.args);
        EXPECT_EQ(r.out, row.out) << row.args.back();
        EXPECT_TRUE(row.err.empty() ? r.err.empty() : r.err.find(row.err) != std::string::npos)
            << r.err;
        EXPECT_EQ(r.status, row.err.empty() ? 0 : 1) << row.args.back();
    }
    EXPECT_EQ(cliReadFile(path), before);
}

}  // namespace
