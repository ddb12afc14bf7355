// The history: entries through the file and back, damaged and foreign files,
// and pasted text cleaned of grouping. (The atomic write beneath the save is
// the settings file's.)
#include "calculator/calc_history.h"

#include <algorithm>
#include <filesystem>

#include "calc_test_util.h"
#include "calculator/formula_edit.h"

namespace {

// Random entries survive the file unchanged; the list keeps the newest
// thousand; a file cut anywhere or with a bad byte gives a sound prefix.
TEST(CalcHistory, FileRoundTripAndDamagedFiles) {
    SCOPED_TRACE(test_seed_text());
    TestRng rng;
    CalcHistory h;
    h.shown = false;
    for (int i = 0; i < 1005; ++i)
        calcHistoryAdd(h, randomText(rng, 1, 12), randomText(rng, 1, 12));
    calcHistoryAdd(h, u"1\n+2", u"3");  // a line break cannot split an entry
    ASSERT_EQ(h.entries.size(), 1000u);
    EXPECT_EQ(h.entries.back().formula, u"1 +2");
    const std::string bytes = calcHistoryEncode(h);
    const CalcHistory back = calcHistoryDecode(bytes);
    EXPECT_FALSE(back.shown);
    EXPECT_EQ(back.entries, h.entries);

    // Cut anywhere, perhaps with a random byte before the cut: the lines
    // wholly before the damage are read as written.
    for (int round = 0; round < 200; ++round) {
        const auto cut = static_cast<std::size_t>(rng.range(0, 4000));
        std::string damaged = bytes.substr(0, cut);
        std::size_t damage = cut;
        if (rng.chance(50) && cut > 0) {
            damage = static_cast<std::size_t>(rng.range(0, static_cast<i64>(cut) - 1));
            damaged[damage] = static_cast<char>(rng.range(0, 255));
        }
        const auto lines =
            std::count(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(damage), '\n');
        const std::size_t intact =
            lines > 0 ? static_cast<std::size_t>(lines - 1) : 0;  // after the header
        const CalcHistory got = calcHistoryDecode(damaged);
        ASSERT_GE(got.entries.size(), intact);
        for (std::size_t i = 0; i < intact; ++i) ASSERT_EQ(got.entries[i], h.entries[i]);
    }
    std::string foreign(3000, '\0');
    for (char& c : foreign) c = static_cast<char>(rng.range(0, 255));
    EXPECT_LE(calcHistoryDecode(foreign).entries.size(), 1u);
    const CalcHistory crlf = calcHistoryDecode("2^10 = 1024\r\nbad line\r\n1 = 1\n");
    ASSERT_EQ(crlf.entries.size(), 1u);
    EXPECT_TRUE(crlf.shown);
    EXPECT_EQ(calcHistoryLine(crlf.entries[0]), u"2^10 = 1024");
    EXPECT_TRUE(calcHistoryDecode("x = \xC0\xAF\n").entries.empty());  // an overlong form
}

TEST(CalcHistory, SavedAndLoadedThroughItsFile) {
    char folder[] = "/tmp/velmarix-history-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string path = std::string(folder) + "/history.txt";
    EXPECT_TRUE(calcHistoryLoad(path).entries.empty());  // missing
    CalcHistory h;
    calcHistoryAdd(h, u"2^100", u"1267650600228229401496703205376");
    ASSERT_TRUE(calcHistorySave(h, path));
    EXPECT_EQ(calcHistoryLoad(path).entries, h.entries);
    EXPECT_FALSE(calcHistorySave(h, std::string(folder) + "/missing/history.txt"));
    std::filesystem::remove_all(folder);
}

TEST(CalcPaste, GroupCharactersAndBlanksInsideNumbersAreDropped) {
    EXPECT_EQ(cleanPastedText(u"1'234'567.5 + 2 000\n*3", u"'"), u"1234567.5 + 2000 *3");
    EXPECT_EQ(cleanPastedText(u"1'234,5\u00A0+ sin 3", u"'"), u"1234,5\u00A0+ sin 3");
    EXPECT_EQ(cleanPastedText(u"FF FF'FF\t", u"'"), u"FFFFFF ");
    const std::u16string big(100000, u'7');
    std::u16string spaced;
    for (char16_t c : big) (spaced += c) += u' ';
    EXPECT_EQ(cleanPastedText(spaced, u"'"), big + u" ");
}

}  // namespace
