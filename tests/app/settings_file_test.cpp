// The settings text and its file: the exact layout, the reading rules and
// write-read round trips; encoding, damaged and oversized files, the path,
// saves that fail without touching the previous file, and the bounded read
// beneath them.
#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "app/file_io.h"
#include "app/settings_io.h"
#include "app/settings_path.h"
#include "app/settings_values.h"
#include "numlib/mp_context.h"
#include "support/test_random.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct SettingsSnapshot {
    u32 language, separator;
    u8 th_sci, th_eq, th_prime;
    u32 angle, type;
    i32 precision, in_base, out_base;
    u8 hint;
    std::vector<SavedVariable> vars;

    static SettingsSnapshot take() {
        return {settings_language,
                settings_decimal_separator,
                settings_thousands_sci_calc,
                settings_thousands_equations,
                settings_thousands_prime_nums,
                settings_angle_type,
                settings_number_type,
                settings_decimal_precision,
                settings_input_base,
                settings_output_base,
                settings_show_welcome_hint,
                settings_variables};
    }
    static SettingsSnapshot defaults() {
        settings_reset();
        return take();
    }
    bool operator==(const SettingsSnapshot&) const = default;
};

std::u16string random_text(TestRng& rng, i64 max_len, bool name) {
    static const std::u16string pool = u"abcxyz_019 ;=[]()+-*/^.,'αβω…π\u00e4\u20ac\U0001F600";
    std::u16string s;
    for (i64 len = rng.range(0, max_len); len > 0; --len) {
        const char16_t c = pool[rng.range(0, std::ssize(pool) - 1)];
        if (!name || (c != u';' && (!s.empty() || c != u' '))) s += c;
    }
    return s;
}

// Every setting set to a random valid value, with count saved variables.
void randomize_settings(TestRng& rng, i64 count) {
    static const u32 types[] = {1, 2, 10, 11};
    static const i32 bases[] = {2, 8, 10, 16};
    settings_language = static_cast<u32>(rng.range(1, 3));
    settings_decimal_separator = static_cast<u32>(rng.range(0, 1));
    settings_thousands_sci_calc = static_cast<u8>(rng.range(0, 1));
    settings_thousands_equations = static_cast<u8>(rng.range(0, 1));
    settings_thousands_prime_nums = static_cast<u8>(rng.range(0, 1));
    settings_angle_type = static_cast<u32>(rng.range(1, 3));
    settings_number_type = types[rng.range(0, 3)];
    settings_decimal_precision = static_cast<i32>(rng.range(0, SETTINGS_MAX_PRECISION));
    settings_input_base = bases[rng.range(0, 3)];
    settings_output_base = bases[rng.range(0, 3)];
    settings_show_welcome_hint = static_cast<u8>(rng.range(0, 1));
    settings_variables.clear();
    for (i64 i = 0; i < count; ++i)
        settings_variables.push_back({random_text(rng, 10, true),
                                      static_cast<u8>(bases[rng.range(0, 3)]),
                                      random_text(rng, 60, false)});
}

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

// Lines joined with end, each line followed by it.
std::u16string join_lines(const std::vector<std::u16string>& lines,
                          std::u16string_view end = u"\r\n") {
    std::u16string text;
    for (const auto& line : lines) text.append(line).append(end);
    return text;
}

// The sample with line i replaced.
std::u16string sample_with(size_t i, std::u16string line) {
    auto lines = kSampleLines;
    lines[i] = std::move(line);
    return join_lines(lines);
}

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

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/velmarix_settings_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder_ = name;
        settings_path_set_folder(folder_.string());
        settings_reset();
    }
    void TearDown() override {
        fs::remove_all(folder_);
        settings_path_forget();
        settings_reset();
    }
    static void put(const std::string& bytes) {
        std::ofstream(settings_path, std::ios::binary) << bytes;
    }
    static std::string get() {
        std::ifstream in(settings_path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Loads bytes as the settings file, starting from scrambled settings.
    static SettingsSnapshot load(const std::string& bytes) {
        put(bytes);
        static TestRng scramble(2);
        randomize_settings(scramble, 2);
        settings_dirty = 1;
        settings_load();
        EXPECT_EQ(settings_dirty, 0);
        return SettingsSnapshot::take();
    }
    // The saved file of random settings with a few variables.
    static std::string sample_file(SettingsSnapshot& saved) {
        TestRng rng(7);
        randomize_settings(rng, 4);
        saved = SettingsSnapshot::take();
        EXPECT_TRUE(settings_save());
        return get();
    }
    // Whatever a file held, every setting read is a valid value.
    static void expect_sound(const SettingsSnapshot& s) {
        EXPECT_TRUE(s.language >= 1 && s.language <= 3 && s.precision >= 0 &&
                    s.precision <= SETTINGS_MAX_PRECISION && s.vars.size() <= 100);
        EXPECT_TRUE(settings_base_valid(s.in_base) && settings_base_valid(s.out_base));
    }
    fs::path folder_;
};

TEST_F(Settings, TextHasTheExactLayoutAndMisplacedLinesGiveDefaults) {
    EXPECT_EQ(read_text(join_lines(kSampleLines)), kSample);
    EXPECT_EQ(written(), join_lines(kSampleLines));
    EXPECT_EQ(read_text(join_lines(kSampleLines, u"\n")), kSample);
    EXPECT_EQ(read_text(join_lines(kSampleLines, u"\r")), kSample);
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
TEST_F(Settings, KeyValuesAreReadByTheirExactRules) {
    const struct {
        size_t line;
        const char16_t *in, *written;
    } rows[] = {
        {1, u"   language   =   German", u"language = German"},
        {1, u"language = german", u"language = (automatic)"},   // case matters
        {1, u"language = German ", u"language = (automatic)"},  // so do blanks after
        {2, u"decimal_separator = Comma", u"decimal_separator = point"},
        {3, u"thousands_sep_sci_calc = 2", u"thousands_sep_sci_calc = 0"},
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

TEST_F(Settings, VariableLinesAreSplitAndSkippedByTheirRules) {
    const SavedVariable y = kSample.vars[1];
    const std::pair<std::u16string, std::vector<SavedVariable>> rows[] = {
        {u"variable00 = z", {{u"z", 10, u""}, y}},
        {u"variable00 = z;;5", {{u"z", 10, u"5"}, y}},
        {u"variable00 = z;7;5", {{u"z", 10, u"5"}, y}},    // no such base
        {u"variable00 = z;160;5", {{u"z", 16, u"5"}, y}},  // two base digits at most
        {u"variable00 = ;16;a=b", {{u"", 16, u"a=b"}, y}},
        {u"variable07 =", {y}},       // empty value
        {u"variable07 x;10;5", {y}},  // no "="
        {u"  variable5= z;8;7", {{u"z", 8, u"7"}, y}},
        {u"variables = 1", {}},  // not "variable" and a digit: the list ends
    };
    for (const auto& [line, vars] : rows) {
        SCOPED_TRACE(testing::PrintToString(line));
        SettingsSnapshot expected = kSample;
        expected.vars = vars;
        if (vars.empty()) expected.hint = 1;  // and the hint is missed
        EXPECT_EQ(read_text(sample_with(12, line)), expected);
    }
}

TEST_F(Settings, AtMostAHundredVariablesAreTakenAndRead) {
    std::vector<SavedVariable> many;
    for (int i = 0; i < 120; ++i)
        many.push_back({u"n", static_cast<u8>(i), std::u16string(1, u'0' + i % 8)});
    settings_take_variables(many);
    EXPECT_EQ(settings_dirty, 1);
    ASSERT_EQ(settings_variables.size(), 100u);
    EXPECT_EQ(settings_variables[16].base, 16);
    EXPECT_EQ(settings_variables[17].base, 10);  // not a base: 10
    settings_show_welcome_hint = 0;
    const SettingsSnapshot taken = SettingsSnapshot::take();
    // A file with twenty lines more keeps the first 100 and still reads the hint.
    std::u16string text = written();
    for (int i = 0; i < 20; ++i) text.insert(text.find(u"[hints]"), u"variable00 = m;8;1\r\n");
    EXPECT_EQ(read_text(text), taken);
}

TEST_F(Settings, UnwritableValuesCannotBreakLaterLines) {
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
    EXPECT_EQ(std::tuple(s.language, s.type, s.th_eq, s.hint), std::tuple(1u, 1u, u8{1}, u8{0}));
    const std::vector<SavedVariable> vars = {{u"a_b", 10, u"1+  2 3  4"}, {u"c", 2, u"11"}};
    EXPECT_EQ(s.vars, vars);
}

TEST_F(Settings, RandomSettingsSurviveAWriteAndARead) {
    SCOPED_TRACE(test_seed_text());
    TestRng rng;
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 count = iter < 3 ? std::vector<i64>{0, 1, 100}[iter] : rng.range(0, 100);
        randomize_settings(rng, count);
        const SettingsSnapshot before = SettingsSnapshot::take();
        ASSERT_EQ(read_text(written()), before) << "iteration " << iter;
    }
}

TEST_F(Settings, SavedFileIsMarkedUtf16AndOnlySuchAFileLoads) {
    SettingsSnapshot saved;
    const std::string bytes = sample_file(saved);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFE[\0", 4));
    EXPECT_EQ(fs::directory_iterator(folder_)->path().filename(), SETTINGS_FILE_NAME);
    const SettingsSnapshot defaults = SettingsSnapshot::defaults();
    const std::pair<std::string, const SettingsSnapshot*> rows[] = {
        {bytes, &saved},
        {bytes + "x", &saved},                      // odd length
        {bytes.substr(2), &defaults},               // no mark
        {"\xFE\xFF" + bytes.substr(2), &defaults},  // big-endian mark
        {std::string("\xFF\xFE", 2), &defaults},    // mark only
    };
    for (const auto& [file, want] : rows) EXPECT_EQ(load(file), *want) << file.size();
    fs::remove(settings_path);
    EXPECT_FALSE(settings_load());
    EXPECT_EQ(SettingsSnapshot::take(), defaults);
    fs::create_directory(settings_path);  // not a file
    EXPECT_FALSE(settings_load());
    fs::remove(settings_path);
    ASSERT_EQ(mkfifo(settings_path.c_str(), 0600), 0);  // must not wait for a writer
    EXPECT_FALSE(settings_load());
    EXPECT_EQ(SettingsSnapshot::take(), defaults);
}

// Cut at any byte, a file keeps the variables wholly before the cut and the
// output base once its section is whole; the rest are valid values.
TEST_F(Settings, FileCutAtAnyByteKeepsWhatIsWholeAndDefaultsTheRest) {
    SettingsSnapshot saved;
    const std::string bytes = sample_file(saved);
    const size_t hints = settings_decode(bytes).find(u"\r\n[hints]");
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        SCOPED_TRACE("cut at byte " + std::to_string(cut));
        const SettingsSnapshot s = load(bytes.substr(0, cut));
        expect_sound(s);
        EXPECT_TRUE(s.language == saved.language || s.language == SETTINGS_LANGUAGE_AUTO);
        if (settings_decode(bytes.substr(0, cut)).size() >= hints + 9) {
            EXPECT_EQ(s.out_base, saved.out_base);
        }
        ASSERT_LE(s.vars.size(), saved.vars.size());
        for (size_t i = 0; i + 1 < s.vars.size(); ++i) EXPECT_EQ(s.vars[i], saved.vars[i]);
        if (cut + 1 >= bytes.size()) {
            EXPECT_EQ(s, saved);
        }
    }
}

TEST_F(Settings, GarbageAndHugeFilesNeverCrash) {
    SCOPED_TRACE(test_seed_text());
    TestRng rng;
    const char16_t alphabet[] = u"variable0123=; \r\n[options]ängle_type";
    for (int iter = 0; iter < 200; ++iter) {
        std::u16string text;
        for (i64 i = rng.range(0, 400); i > 0; --i)
            text += rng.chance(80) ? alphabet[rng.range(0, 36)] : char16_t(rng.word());
        expect_sound(load(settings_encode(text)));
    }
    // Just inside the size limit: one variable of about 16 million characters.
    std::u16string big = u"[options]\r\n[scientific_calculator]\r\nvariable00 = v;10;";
    big.append((SETTINGS_FILE_MAX_BYTES - 200) / 2, u'7');
    big += u"\r\n[hints]\r\nshow_welcome_hint = 0\r\n";
    SettingsSnapshot s = load(settings_encode(big));
    ASSERT_EQ(s.vars.size(), 1u);
    EXPECT_EQ(s.vars[0].value.size(), size_t((SETTINGS_FILE_MAX_BYTES - 200) / 2));
    EXPECT_EQ(s.hint, 0);
    // A 50 MB file is not ours.
    big.append(size_t{25} << 20, u'7');
    EXPECT_EQ(load(settings_encode(big)), SettingsSnapshot::defaults());
    // The bound itself is byte exact.
    put(std::string(1000, 'x'));
    EXPECT_EQ(file_read_bounded(settings_path, 1000), std::string(1000, 'x'));
    EXPECT_EQ(file_read_bounded(settings_path, 999), "");
}

TEST_F(Settings, FailedSaveLeavesTheOldFileAndReportsIt) {
    SettingsSnapshot saved;
    const std::string old_bytes = sample_file(saved);
    randomize_settings(*std::make_unique<TestRng>(8), 100);
    settings_dirty = 1;
    // A file size limit makes the write of the new file fail part way.
    signal(SIGXFSZ, SIG_IGN);
    rlimit old_limit{};
    getrlimit(RLIMIT_FSIZE, &old_limit);
    rlimit limit = old_limit;
    limit.rlim_cur = old_bytes.size() + 10;
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool ok = settings_save();
    setrlimit(RLIMIT_FSIZE, &old_limit);
    EXPECT_FALSE(ok);
    EXPECT_EQ(settings_dirty, 1);
    EXPECT_EQ(get(), old_bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), {}), 1);  // no leftovers
    EXPECT_TRUE(settings_save());
    EXPECT_EQ(settings_dirty, 0);
    EXPECT_NE(get(), old_bytes);
}

TEST_F(Settings, PathFollowsXdgConfigHomeAndCreatesTheFolder) {
    const std::string saved_xdg =
        std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    const std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
    settings_path_forget();
    settings_path_build();
    EXPECT_EQ(settings_path, (folder_ / "Velmarix" / SETTINGS_FILE_NAME).string());
    EXPECT_TRUE(fs::is_directory(folder_ / "Velmarix"));
    setenv("XDG_CONFIG_HOME", "/elsewhere", 1);  // later calls keep the path
    settings_path_build();
    EXPECT_EQ(settings_path, (folder_ / "Velmarix" / SETTINGS_FILE_NAME).string());
    // A relative XDG_CONFIG_HOME is ignored in favour of ~/.config.
    setenv("XDG_CONFIG_HOME", "relative", 1);
    setenv("HOME", (folder_ / "home").c_str(), 1);
    fs::create_directory(folder_ / "home");
    settings_path_forget();
    EXPECT_TRUE(settings_save());
    EXPECT_TRUE(fs::is_regular_file(folder_ / "home/.config/Velmarix" / SETTINGS_FILE_NAME));
    setenv("XDG_CONFIG_HOME", saved_xdg.c_str(), 1);
    setenv("HOME", saved_home.c_str(), 1);
    for (const auto& [path, folder] :
         {std::pair{"/a/b/c.ini", "/a/b"}, {"c.ini", "."}, {"/c.ini", "/"}})
        EXPECT_EQ(file_folder_of(path), folder);
}

// The separator sets the number characters; an unknown code (5) leaves them.
TEST_F(Settings, DecimalSeparatorSetsTheNumberCharacters) {
    for (const auto& [separator, chars] :
         {std::pair<u32, const char16_t*>{1, u",."}, {5, u",."}, {0, u".,"}}) {
        settings_decimal_separator = separator;
        settings_apply_decimal_separator();
        EXPECT_EQ(std::u16string(mp_decimal_chars), chars) << separator;
    }
}

}  // namespace
