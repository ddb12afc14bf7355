// CSV files of the coefficient grid: round trips with non-ASCII text and
// separators inside cells, files from the plain ASCII writer, and malformed
// or cut files, which must load without harm.
#include "linear/linear_csv.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "app/settings_values.h"
#include "linear_test_util.h"

namespace {

std::string temp_path() {
    return ::testing::TempDir() + "linear_grid.csv";
}
std::u16string u16(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

void write_bytes(const std::string& bytes) {
    std::ofstream(temp_path(), std::ios::binary) << bytes;
}

}  // namespace

TEST_F(LinearTest, CsvRoundTripKeepsEveryCell) {
    const char16_t* samples[] = {u"",     u"2*π", u"αβ+1", u"ncr(5;2)", u"\"q\"",
                                 u"a\"b", u"1,5", u"😀x",   u"x;"};
    for (int iter = 0; iter < 20; ++iter) {
        LinearGridModel g;
        g.set_equation_count(static_cast<i32>(rng.range(2, 25)));
        const i32 n = g.equation_count();
        for (i32 r = 0; r < n; ++r) {
            for (i32 j = 0; j <= n; ++j) {
                g.set_cell(r, j == n ? LINEAR_COLUMN_B : j, samples[rng.range(0, 8)]);
            }
        }
        ASSERT_TRUE(linear_csv_write(u16(temp_path()), g));
        LinearGridModel back;
        ASSERT_TRUE(linear_csv_read(u16(temp_path()), back));
        ASSERT_EQ(back.equation_count(), n);
        for (i32 r = 0; r < n; ++r) {
            for (i32 c = 0; c < LINEAR_GRID_COLUMNS; ++c) {
                const std::u16string want = g.cell(r, c) == u"1,5" ? u"1.5" : g.cell(r, c);
                EXPECT_TRUE(back.cell(r, c) == (c < n || c == LINEAR_COLUMN_B ? want : u""))
                    << r << " " << c;
            }
        }
    }
}

TEST_F(LinearTest, CsvOfThePlainWriterAndLatin1Bytes) {
    write_bytes("a1;a2;b\r\n1;2.5;3\r\n4;;x\xE9\r\n");
    LinearGridModel g;
    ASSERT_TRUE(linear_csv_read(u16(temp_path()), g));
    EXPECT_TRUE(g.cell(0, 1) == u"2.5");
    EXPECT_TRUE(g.cell(1, 1).empty());
    EXPECT_TRUE(g.cell(1, LINEAR_COLUMN_B) == u"xé");
}

TEST_F(LinearTest, CsvErrors) {
    write_bytes("a1;b\r\n1;2\r\n");
    LinearGridModel g;
    EXPECT_FALSE(linear_csv_read(u16(temp_path()), g));
    EXPECT_EQ(appError.load(), u32{APP_ERR_LINEAR_COUNT});
    EXPECT_TRUE(std::u16string(appErrorText1) == u"25");
    clearErrors();
    EXPECT_FALSE(linear_csv_read(u16(temp_path() + ".missing"), g));
    EXPECT_EQ(appError.load(), u32{APP_ERR_FILE_NOT_FOUND});
    clearErrors();
    EXPECT_FALSE(linear_csv_write(u"/nonexistent-folder/x.csv", g));
    EXPECT_EQ(appError.load(), u32{APP_ERR_FILE_ACCESS});
}

TEST_F(LinearTest, CutAndOverlongFilesLoadWithoutHarm) {
    std::string good = "a1;a2;a3;b\r\n";
    for (int r = 0; r < 3; ++r) good += "1;\"2;3\";\xCF\x80;4\r\n";
    for (std::size_t cut = 0; cut <= good.size(); ++cut) {
        write_bytes(good.substr(0, cut));
        LinearGridModel g;
        linear_csv_read(u16(temp_path()), g);
        clearErrors();
    }
    // Too many fields and lines, a huge field, bytes of every value.
    std::string odd = "a1;a2;b\n" + std::string(5000, '7') + ";1;2;3;4;5\n\"unclosed";
    for (int i = 0; i < 256; ++i) odd += static_cast<char>(i);
    for (int r = 0; r < 30; ++r) odd += "1;2;3\n";
    write_bytes(odd);
    LinearGridModel g;
    EXPECT_TRUE(linear_csv_read(u16(temp_path()), g));
    EXPECT_EQ(g.cell(0, 0).size(), 1030u);
    EXPECT_TRUE(g.cell(0, 0).back() == u'…');
    EXPECT_TRUE(g.cell(0, LINEAR_COLUMN_B) == u"2");
    std::remove(temp_path().c_str());
}

TEST_F(LinearTest, LongCellsAndTheDecimalCommaSurviveARoundTrip) {
    settings_decimal_separator = SETTINGS_SEPARATOR_COMMA;
    settings_apply_decimal_separator();
    // 1030 units stay whole; longer cells come back cut, never with half a
    // surrogate pair in front of the mark.
    const std::u16string greek = std::u16string(1029, u'α') + u"π";
    const std::u16string longer = u"1" + std::u16string(1030, u'0');
    std::u16string pairs;
    for (int i = 0; i < 516; ++i) pairs += u"😀";
    LinearGridModel g;
    g.set_equation_count(2);
    g.set_cell(0, 0, greek);
    g.set_cell(0, 1, longer);
    g.set_cell(1, 0, pairs);
    g.set_cell(1, LINEAR_COLUMN_B, u"2.5*pi");
    ASSERT_TRUE(linear_csv_write(u16(temp_path()), g));
    LinearGridModel back;
    ASSERT_TRUE(linear_csv_read(u16(temp_path()), back));
    EXPECT_TRUE(back.cell(0, 0) == greek);
    EXPECT_TRUE(back.cell(0, 1) == longer.substr(0, 1029) + u"…");
    EXPECT_TRUE(back.cell(1, 0) == pairs.substr(0, 1028) + u"…");
    EXPECT_TRUE(back.cell(1, LINEAR_COLUMN_B) == u"2,5*pi");
    settings_reset();
    settings_apply_decimal_separator();
}

TEST_F(LinearTest, LineEndsAndMissingPiecesOfHandMadeFiles) {
    struct Case {
        const char* bytes;
        i32 n;
        const char16_t* a1;  // row 0 column 0
        const char16_t* b2;  // row 1 column b
    };
    const Case cases[] = {
        {"a1;a2;b\r1;2;3\r4;5;6\r", 2, u"1", u"6"},          // classic Mac line ends
        {"a1;a2;b\n1;2;3\n4;5;6", 2, u"1", u"6"},            // no final line feed
        {"a1;a2;b\r\n1\r\n4;5\r\n", 2, u"1", u""},           // short lines
        {"a1;a2;b\n1;2;3;9;9;9\n4;5;6;7\n", 2, u"1", u"6"},  // long lines
        {"1;2;3\n4;5;6\n", 2, u"4", u""},                    // no header: the first line counts
        {"a1;a2;a3;b", 3, u"", u""},                         // a header alone
    };
    for (const Case& c : cases) {
        write_bytes(c.bytes);
        LinearGridModel g;
        EXPECT_TRUE(linear_csv_read(u16(temp_path()), g)) << c.bytes;
        EXPECT_EQ(g.equation_count(), c.n) << c.bytes;
        EXPECT_TRUE(g.cell(0, 0) == c.a1) << c.bytes;
        EXPECT_TRUE(g.cell(1, LINEAR_COLUMN_B) == c.b2) << c.bytes;
        EXPECT_EQ(appError.load(), 0u);
    }
    // An empty file and a CR-only header without separators count 0.
    for (const char* bytes : {"", "\r\r\r", "a1\nb\n"}) {
        write_bytes(bytes);
        LinearGridModel g;
        EXPECT_FALSE(linear_csv_read(u16(temp_path()), g));
        EXPECT_EQ(appError.load(), u32{APP_ERR_LINEAR_COUNT});
        clearErrors();
    }
}

TEST_F(LinearTest, TenMegabytesOfJunkLoadWithinBounds) {
    std::string junk = "a1;a2;a3;a4;b\n";
    junk.reserve(10u << 20);
    while (junk.size() < (10u << 20)) junk += static_cast<char>(rng.word());
    write_bytes(junk);
    LinearGridModel g;
    EXPECT_TRUE(linear_csv_read(u16(temp_path()), g));
    for (i32 r = 0; r < LINEAR_GRID_ROWS; ++r)
        for (i32 c = 0; c < LINEAR_GRID_COLUMNS; ++c)
            EXPECT_LE(g.cell(r, c).size(), std::size_t{LINEAR_CELL_MAX});
    // Whatever was loaded solves or fails with a message, never harm.
    linear_solve_cells(g, LinearSolveRequest{g.equation_count(), MP_TYPE_RAT, 10});
    clearErrors();
    // A header of ten million separators is not a count of 2 to 25.
    write_bytes(std::string(10u << 20, ';'));
    EXPECT_FALSE(linear_csv_read(u16(temp_path()), g));
    EXPECT_EQ(appError.load(), u32{APP_ERR_LINEAR_COUNT});
    std::remove(temp_path().c_str());
}
