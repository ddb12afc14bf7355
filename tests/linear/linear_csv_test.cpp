// CSV files of the coefficient grid: round trips with non-ASCII text and
// separators inside cells, hand-made files (also Latin-1 ones) that load or
// are refused by line, and cut or junk files, which must do no harm.
#include "linear/linear_csv.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/settings_values.h"
#include "linear_test_util.h"
#include "support/golden_runner.h"
#include "support/text_helpers.h"
#include "textbuf/text_utf8.h"

namespace {

// One file per process: ctest runs the tests of this file side by side, and
// one test read the file another had just written.
std::string temp_path() {
    return ::testing::TempDir() + "linear_grid_" + std::to_string(getpid()) + ".csv";
}

void write_bytes(const std::string& bytes) {
    std::ofstream(temp_path(), std::ios::binary) << bytes;
}

// g written to the file and read back.
LinearGridModel round_trip(const LinearGridModel& g) {
    LinearGridModel back;
    EXPECT_TRUE(linear_csv_write(u16(temp_path()), g) && linear_csv_read(u16(temp_path()), back));
    return back;
}

}  // namespace

// Every cell comes back with its decimal separators as the current one;
// 1030 units stay whole, longer cells come back cut, never with half a
// surrogate pair in front of the mark.
TEST_F(LinearTest, CsvRoundTripKeepsEveryCell) {
    const std::u16string greek = std::u16string(1029, u'α') + u"π";
    const std::u16string longer = u"1" + std::u16string(1030, u'0');
    std::u16string pairs;
    for (int i = 0; i < 516; ++i) pairs += u"😀";
    const std::u16string samples[][2] = {{u"", u""},
                                         {u"2*π", u"2*π"},
                                         {u"αβ+1", u"αβ+1"},
                                         {u"ncr(5;2)", u"ncr(5;2)"},
                                         {u"\"q\"", u"\"q\""},
                                         {u"a\"b", u"a\"b"},
                                         {u"1,5", u"1.5"},
                                         {u"😀x", u"😀x"},
                                         {u"x;", u"x;"},
                                         {u"2.5*pi", u"2.5*pi"},
                                         {greek, greek},
                                         {longer, longer.substr(0, 1029) + u"…"},
                                         {pairs, pairs.substr(0, 1028) + u"…"}};
    for (int iter = 0; iter < 20; ++iter) {
        const bool comma = iter % 2 == 1;
        settings_decimal_separator = comma ? SETTINGS_SEPARATOR_COMMA : SETTINGS_SEPARATOR_POINT;
        settings_apply_decimal_separator();
        LinearGridModel g;
        g.set_equation_count(
            static_cast<i32>(iter == 0 ? 25 : rng.range(2, 25)));  // the largest first
        const i32 n = g.equation_count();
        std::vector<std::vector<int>> pick(n, std::vector<int>(LINEAR_GRID_COLUMNS, 0));
        for (i32 r = 0; r < n; ++r) {
            for (i32 j = 0; j <= n; ++j) {
                const i32 c = j == n ? LINEAR_COLUMN_B : j;
                pick[r][c] = static_cast<int>(rng.range(0, std::size(samples) - 1));
                g.set_cell(r, c, samples[pick[r][c]][0]);
            }
        }
        const LinearGridModel back = round_trip(g);
        ASSERT_EQ(back.equation_count(), n);
        for (i32 r = 0; r < n; ++r) {
            for (i32 c = 0; c < LINEAR_GRID_COLUMNS; ++c) {
                std::u16string want = samples[pick[r][c]][1];
                std::replace(want.begin(), want.end(), comma ? u'.' : u',', comma ? u',' : u'.');
                EXPECT_TRUE(back.cell(r, c) == (c < n || c == LINEAR_COLUMN_B ? want : u""))
                    << r << " " << c;
            }
        }
    }
    settings_reset();
    settings_apply_decimal_separator();
    std::remove(temp_path().c_str());
}

namespace {

// A grid of three equations whose every cell is "old".
LinearGridModel old_grid() {
    LinearGridModel g;
    g.set_equation_count(3);
    for (i32 r = 0; r < 3; ++r)
        for (i32 c = 0; c < LINEAR_GRID_COLUMNS; ++c) g.set_cell(r, c, u"old");
    return g;
}

bool unchanged(const LinearGridModel& g) {
    bool same = g.equation_count() == 3;
    for (i32 r = 0; r < 3; ++r)
        for (i32 c = 0; c < LINEAR_GRID_COLUMNS; ++c) same = same && g.cell(r, c) == u"old";
    return same;
}

}  // namespace

// Files as the writer wrote them or as people edit them load; any other
// file is refused with the line at fault, and the grid keeps what it had.
TEST_F(LinearTest, HandMadeFilesLoadOrAreRefusedByLine) {
    const auto check_row = [&](const GoldenLine& row) {
        write_bytes(row.text(0));
        LinearGridModel g = old_grid();
        const bool loaded = linear_csv_read(u16(temp_path()), g) && appError.load() == 0;
        const std::vector<std::string> got =
            loaded ? std::vector<std::string>{"loads", std::to_string(g.equation_count()),
                                              text_to_utf8(g.cell(0, 0)),
                                              text_to_utf8(g.cell(1, LINEAR_COLUMN_B))}
                   : std::vector<std::string>{"refused", std::to_string(appError.load()),
                                              text_to_utf8(appErrorText1)};
        clearErrors();
        if (got != row.words(1)) return "got " + ::testing::PrintToString(got);
        return loaded || unchanged(g) ? std::string() : std::string("the grid changed");
    };
    golden_run("linear.txt", check_row, "csv");
    EXPECT_FALSE(
        linear_csv_read(u16(temp_path() + ".missing"), *std::make_unique<LinearGridModel>()));
    EXPECT_EQ(appError.load(), u32{APP_ERR_FILE_NOT_FOUND});
    clearErrors();
    EXPECT_FALSE(linear_csv_write(u"/nonexistent-folder/x.csv", old_grid()));
    EXPECT_EQ(appError.load(), u32{APP_ERR_FILE_ACCESS});
    std::remove(temp_path().c_str());
}

// Cut files, junk and a header of ten million separators: a load either
// succeeds within the cell bounds or is refused with the grid untouched.
TEST_F(LinearTest, CutFilesAndJunkLoadWithoutHarm) {
    std::string good = "a1;a2;a3;b\r\n";
    for (int r = 0; r < 3; ++r) good += "1;\"2;3\";\xCF\x80;4\r\n";
    std::string junk = "a1;a2;a3;a4;b\n";
    while (junk.size() < (10u << 20)) junk += static_cast<char>(rng.word());
    std::vector<std::string> files = {junk, std::string(10u << 20, ';')};
    for (std::size_t cut = 0; cut <= good.size(); ++cut) files.push_back(good.substr(0, cut));
    for (const std::string& bytes : files) {
        write_bytes(bytes);
        LinearGridModel g = old_grid();
        if (!linear_csv_read(u16(temp_path()), g)) {
            EXPECT_NE(appError.load(), 0u);
            EXPECT_TRUE(unchanged(g)) << bytes.size();
        }
        for (i32 r = 0; r < LINEAR_GRID_ROWS; ++r)
            for (i32 c = 0; c < LINEAR_GRID_COLUMNS; ++c)
                EXPECT_LE(g.cell(r, c).size(), std::size_t{LINEAR_CELL_MAX});
        clearErrors();
    }
    std::remove(temp_path().c_str());
}
