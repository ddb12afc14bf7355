// The settings text: exact layout, reading rules and write-read round trips.
#include "app/settings_io.h"

#include <gtest/gtest.h>

#include "settings_test_util.h"

namespace {

using namespace std::string_literals;

const std::vector<std::u16string> kSampleLines = {
    u"[options]",
    u"language = German",
    u"decimal_separator = comma",
    u"thousands_sep_sci_calc = 1",
    u"thousands_sep_equations = 0",
    u"thousands_sep_prime_nums = 1",
    u"[scientific_calculator]",
    u"angle_type = gon",
    u"number_type = cplx",
    u"decimal_precision = 250",
    u"input_number_base = 16",
    u"output_number_base = 2",
    u"variable00 = x;16;1F",
    u"variable01 = y;10;x^2 ; sqrt(2)",
    u"[hints]",
    u"show_welcome_hint = 0",
};

const SettingsSnapshot kSample = {
    3, 1, 1, 0, 1, 3, 2, 250, 16, 2, 0, {{u"x", 16, u"1F"}, {u"y", 10, u"x^2 ; sqrt(2)"}}};

SettingsSnapshot read_text(std::u16string text) {
    static TestRng scramble(1);
    randomize_settings(scramble, 3);  // reading must overwrite everything
    settings_io(SETTINGS_IO_READ, text);
    return SettingsSnapshot::take();
}

std::u16string written() {
    std::u16string text;
    settings_io(SETTINGS_IO_WRITE, text);
    return text;
}

// The sample with line i replaced.
std::u16string sample_with(size_t i, std::u16string line) {
    auto lines = kSampleLines;
    lines[i] = std::move(line);
    return join_lines(lines);
}

TEST(SettingsText, WritesTheExactLayoutAndReadsItBack) {
    EXPECT_EQ(read_text(join_lines(kSampleLines)), kSample);
    EXPECT_EQ(written(), join_lines(kSampleLines));
    EXPECT_EQ(read_text(join_lines(kSampleLines, u"\n")), kSample);
    EXPECT_EQ(read_text(join_lines(kSampleLines, u"\r")), kSample);
}

TEST(SettingsText, MissingOrMisplacedLinesGiveDefaults) {
    const SettingsSnapshot defaults = SettingsSnapshot::defaults();
    EXPECT_EQ(read_text(u""), defaults);
    EXPECT_EQ(read_text(u"garbage\r\n" + join_lines(kSampleLines)), defaults);
    // A blank line after the first header stops everything, variables included.
    auto lines = kSampleLines;
    lines.insert(lines.begin() + 1, u"");
    EXPECT_EQ(read_text(join_lines(lines)), defaults);
    // Swapped keys: the first is missed, the second found, all later ones missed.
    lines = kSampleLines;
    std::swap(lines[1], lines[2]);
    SettingsSnapshot swapped = defaults;
    swapped.separator = 1;
    EXPECT_EQ(read_text(join_lines(lines)), swapped);
    // A zero character ends the text.
    SettingsSnapshot cut = defaults;
    cut.language = 3;
    std::u16string text = join_lines(kSampleLines);
    EXPECT_EQ(read_text(text.insert(text.find(u"decimal"), 1, u'\0')), cut);
}

// Each row replaces one line of the sample; the settings read from it are
// written back with that line as the row says.
TEST(SettingsText, KeyValuesAreReadByTheirExactRules) {
    const struct {
        size_t line;
        const char16_t *in, *written;
    } rows[] = {
        {1, u"   language   =   German", u"language = German"},
        {1, u"language = german", u"language = (automatic)"},   // case matters
        {1, u"language = German ", u"language = (automatic)"},  // so do blanks after
        {2, u"decimal_separator = Comma", u"decimal_separator = point"},
        {3, u"thousands_sep_sci_calc = 2", u"thousands_sep_sci_calc = 0"},
        {7, u"angle_type = rad", u"angle_type = rad"},
        {7, u"angle_type = grad", u"angle_type = deg"},
        {8, u"number_type = int", u"number_type = real"},
        {9, u"decimal_precision = 12abc", u"decimal_precision = 12"},
        {9, u"decimal_precision = -5", u"decimal_precision = 0"},
        {9, u"decimal_precision = 10013", u"decimal_precision = 10013"},
        {9, u"decimal_precision = 10014", u"decimal_precision = 0"},       // too large
        {9, u"decimal_precision = 4294967306", u"decimal_precision = 0"},  // wraps
        {10, u"input_number_base = 0", u"input_number_base = 10"},
        {10, u"input_number_base = 7", u"input_number_base = 10"},  // no such base
        {15, u"show_welcome_hint = yes", u"show_welcome_hint = 1"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(row.in)));
        read_text(sample_with(row.line, row.in));
        EXPECT_EQ(written(), sample_with(row.line, row.written));
    }
}

TEST(SettingsText, VariableLinesAreSplitAndSkippedByTheirRules) {
    struct Case {
        std::u16string line;
        std::vector<SavedVariable> expected;  // followed by y of the sample
    };
    const SavedVariable y = kSample.vars[1];
    const Case cases[] = {
        {u"variable00 = y;2;101", {{u"y", 2, u"101"}, y}},
        {u"variable00 = z", {{u"z", 10, u""}, y}},
        {u"variable00 = z;;5", {{u"z", 10, u"5"}, y}},
        {u"variable00 = z;7;5", {{u"z", 10, u"5"}, y}},    // no such base
        {u"variable00 = z;160;5", {{u"z", 16, u"5"}, y}},  // two base digits at most
        {u"variable00 = ;16;a=b", {{u"", 16, u"a=b"}, y}},
        {u"variable07 =", {y}},       // empty value
        {u"variable07 x;10;5", {y}},  // no "="
        {u"  variable5= z;8;7", {{u"z", 8, u"7"}, y}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line.begin(), c.line.end()));
        SettingsSnapshot expected = kSample;
        expected.vars = c.expected;
        EXPECT_EQ(read_text(sample_with(12, c.line)), expected);
    }
    // A line not starting with "variable" and a digit ends the list.
    SettingsSnapshot stopped = kSample;
    stopped.vars.clear();
    stopped.hint = 1;
    EXPECT_EQ(read_text(sample_with(12, u"variables = 1")), stopped);
}

TEST(SettingsText, AtMostAHundredVariablesAreReadAndWritten) {
    std::vector<SavedVariable> many;
    for (int i = 0; i < 120; ++i)
        many.push_back({std::u16string(1, u'a' + i % 26), static_cast<u8>(i), u"1"});
    settings_reset();
    settings_take_variables(many);
    EXPECT_EQ(settings_dirty, 1);
    ASSERT_EQ(settings_variables.size(), 100u);
    EXPECT_EQ(settings_variables[16].base, 16);
    EXPECT_EQ(settings_variables[17].base, 10);  // not a base: 10
    const std::u16string text = written();
    EXPECT_NE(text.find(u"\r\nvariable99 = "), std::u16string::npos);
    EXPECT_EQ(text.find(u"variable100"), std::u16string::npos);

    // A file with 120 lines keeps the first 100 and still reads the hint.
    std::vector<std::u16string> lines(kSampleLines.begin(), kSampleLines.begin() + 12);
    for (int i = 0; i < 120; ++i) {
        lines.emplace_back(u"variable00 = n;8;");
        lines.back() += static_cast<char16_t>(u'0' + i % 8);
    }
    lines.insert(lines.end(), {u"[hints]", u"show_welcome_hint = 0"});
    const SettingsSnapshot s = read_text(join_lines(lines));
    ASSERT_EQ(s.vars.size(), 100u);
    EXPECT_EQ(s.vars[99].value, u"3");
    EXPECT_EQ(s.hint, 0);
}

TEST(SettingsText, UnwritableValuesCannotBreakLaterLines) {
    settings_reset();
    settings_language = 9;
    settings_number_type = 0;
    settings_thousands_equations = 7;
    settings_show_welcome_hint = 0;
    settings_variables = {{u"a;b", 10,
                           u"1+\r\n2\n3\r\0"
                           u"4"s},
                          {u"c", 2, u"11"}};
    const std::u16string text = written();
    EXPECT_NE(text.find(u"language = ???\r\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"number_type = ???\r\n"), std::u16string::npos);
    const SettingsSnapshot s = read_text(text);
    EXPECT_EQ(s.language, 1u);
    EXPECT_EQ(s.type, 1u);
    EXPECT_EQ(s.th_eq, 1);
    EXPECT_EQ(s.hint, 0);
    const std::vector<SavedVariable> vars = {{u"a_b", 10, u"1+  2 3  4"}, {u"c", 2, u"11"}};
    EXPECT_EQ(s.vars, vars);
}

TEST(SettingsText, RandomSettingsSurviveAWriteAndARead) {
    SCOPED_TRACE(test_seed_text());
    TestRng rng;
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 count = iter < 3 ? std::vector<i64>{0, 1, 100}[iter] : rng.range(0, 100);
        randomize_settings(rng, count);
        const SettingsSnapshot before = SettingsSnapshot::take();
        ASSERT_EQ(read_text(written()), before) << "iteration " << iter;
    }
}

}  // namespace
