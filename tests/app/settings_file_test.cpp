// The settings file on disk: encoding, damaged and oversized files, the path,
// and saves that fail without touching the previous file.
#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/settings_io.h"
#include "app/settings_path.h"
#include "numlib/mp_context.h"
#include "settings_test_util.h"

namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test {
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
    fs::path folder_;
};

TEST_F(SettingsFile, SavedFileIsMarkedUtf16AndOnlySuchAFileLoads) {
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
TEST_F(SettingsFile, FileCutAtAnyByteKeepsWhatIsWholeAndDefaultsTheRest) {
    SettingsSnapshot saved;
    const std::string bytes = sample_file(saved);
    const std::u16string text = settings_decode(bytes);
    const size_t hints = text.find(u"\r\n[hints]");
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        SCOPED_TRACE("cut at byte " + std::to_string(cut));
        const SettingsSnapshot s = load(bytes.substr(0, cut));
        EXPECT_TRUE(s.language == saved.language || s.language == SETTINGS_LANGUAGE_AUTO);
        EXPECT_LE(s.precision, SETTINGS_MAX_PRECISION);
        EXPECT_TRUE(settings_base_valid(s.in_base) && settings_base_valid(s.out_base));
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

TEST_F(SettingsFile, GarbageAndHugeFilesNeverCrash) {
    SCOPED_TRACE(test_seed_text());
    TestRng rng;
    const char16_t alphabet[] = u"variable0123=; \r\n[options]ängle_type";
    for (int iter = 0; iter < 200; ++iter) {
        std::u16string text;
        for (i64 i = rng.range(0, 400); i > 0; --i)
            text += rng.chance(80) ? alphabet[rng.range(0, 36)] : char16_t(rng.word());
        const SettingsSnapshot s = load(settings_encode(text));
        EXPECT_TRUE(s.language >= 1 && s.language <= 3);
        EXPECT_TRUE(settings_base_valid(s.in_base) && s.vars.size() <= 100);
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
}

TEST_F(SettingsFile, FailedSaveLeavesTheOldFileAndReportsIt) {
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
    // A folder that cannot be written to (not for root, who may write anywhere).
    if (geteuid() != 0) {
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(settings_save());
        fs::permissions(folder_, fs::perms::owner_all);
        EXPECT_EQ(get(), old_bytes);
    }
    EXPECT_TRUE(settings_save());
    EXPECT_EQ(settings_dirty, 0);
    EXPECT_NE(get(), old_bytes);
}

TEST_F(SettingsFile, PathFollowsXdgConfigHomeAndCreatesTheFolder) {
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
}

TEST_F(SettingsFile, DecimalSeparatorSetsTheNumberCharacters) {
    mp_context_reset();
    // 5 is unknown: the characters stay as they were.
    const std::pair<u32, const char16_t*> rows[] = {
        {SETTINGS_SEPARATOR_COMMA, u",."}, {5, u",."}, {SETTINGS_SEPARATOR_POINT, u".,"}};
    for (const auto& [separator, chars] : rows) {
        settings_decimal_separator = separator;
        settings_apply_decimal_separator();
        EXPECT_EQ(std::u16string(mp_decimal_chars), chars) << separator;
    }
}

}  // namespace
