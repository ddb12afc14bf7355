// The grid's data and geometry at their boundaries: every call's result and
// refusal, the column letters, and the geometry against its own inverse on
// random layouts.
#include "ui/grid_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "ui/grid_geometry.h"
#include "ui/grid_paste.h"

namespace {

// Three text columns and a number column of four rows; cell (1, 2) protected.
GridModel sample() {
    GridModel m;
    for (const char16_t* t : {u"a", u"b", u"c"}) m.append_column(GRID_COLUMN_TEXT, t);
    m.append_column(7, u"n");
    for (const char16_t* h : {u"r1", u"r2", u"r3", u"r4"}) m.append_row(h);
    m.set_cell_text(1, 2, u"x");
    m.set_cell_protected(1, 2, true);
    return m;
}

TEST(GridModel, EveryCallAnswersItsResultOrItsRefusal) {
    std::u16string s;
    const int RANGE = GRID_ERR_RANGE, MISSING = GRID_ERR_MISSING;
    struct Row {
        const char* what;
        std::function<i64(GridModel&)> call;
        i64 result;
        int error;
    } rows[] = {
        {"append column", [](auto& m) { return m.append_column(1, u"d"); }, 4, 0},
        {"insert row at the end", [](auto& m) { return m.insert_row(4, u""); }, 5, 0},
        {"insert past the end", [](auto& m) { return m.insert_row(5, u""); }, -1, RANGE},
        {"delete row", [](auto& m) { return m.delete_row(0); }, 2, 0},
        {"delete missing", [](auto& m) { return m.delete_row(4); }, -1, RANGE},
        {"header", [&](auto& m) { return m.column_header(2, s); }, 1, 0},
        {"header of headers", [&](auto& m) { return m.column_header(-1, s); }, 0, 0},
        {"header past the end", [&](auto& m) { return m.column_header(4, s); }, -1, RANGE},
        {"hidden", [](auto& m) { return m.set_column_hidden(0, true), m.column_width(0); }, 0, 0},
        {"negative", [](auto& m) { return m.set_column_width(0, -5), m.column_width(0); }, 0, 0},
        {"row header text", [&](auto& m) { return m.cell_text(-1, 3, s); }, 2, 0},
        {"number text", [&](auto& m) { return m.cell_text(3, 0, s); }, 0, 0},
        {"set number text",
         [&](auto& m) { return m.set_cell_text(3, 0, u"9"), m.cell_text(3, 0, s); }, 0, 0},
        {"missing row", [&](auto& m) { return m.cell_text(0, 4, s); }, -1, MISSING},
        {"negative row", [&](auto& m) { return m.set_cell_text(0, -1, u""); }, -1, MISSING},
        {"missing column", [&](auto& m) { return m.set_cell_text(5, 0, u""); }, -1, RANGE},
        {"row header flag", [](auto& m) { return m.cell_protected(-1, 0); }, -1, RANGE},
        {"no row header", [&](auto& m) { return m.row_header(-1, s); }, -1, MISSING},
        {"clear", [](auto& m) { return m.clear(), m.columns() * 10 + m.rows(); }, 11, 0},
    };
    for (const Row& r : rows) {
        GridModel m = sample();
        EXPECT_EQ(r.call(m), r.result) << r.what;
        if (r.error != 0) {
            EXPECT_EQ(m.last_error(), r.error) << r.what;
        }
    }
}

TEST(GridModel, RowsInsertedAndDeletedMoveEveryColumnAlike) {
    GridModel m = sample();
    std::u16string s, h;
    m.insert_row(1, u"new");
    EXPECT_TRUE(m.cell_text(1, 3, s) >= 0 && s == u"x" && m.cell_protected(1, 3) == 1);
    EXPECT_TRUE(m.row_header(1, h) >= 0 && h == u"new");
    m.delete_row(1);
    EXPECT_TRUE(m.cell_text(1, 2, s) >= 0 && s == u"x");
    for (i64 c = 0; c < m.columns(); ++c) EXPECT_EQ(m.column(c).cells.size(), 5u);
}

TEST(GridModel, TheColumnLimitIsTheLastFourLetterName) {
    GridModel m;
    for (i64 i = 0; i < GRID_MAX_COLUMNS; ++i) ASSERT_EQ(m.append_column(1, u""), i);
    EXPECT_EQ(m.append_column(1, u""), -2);
    EXPECT_EQ(m.last_error(), GRID_ERR_LIMIT);
    EXPECT_EQ(grid_column_letters(m.column_count()), u"ZZZZ");
}

TEST(GridGeometry, ColumnLettersCountInBijectiveBase26) {
    const i64 n[] = {0, 1, 26, 27, 28, 702, 703, 18278, 18279, 475254, 475255, -3};
    const char16_t* want[] = {u"",    u"A",   u"Z",    u"AA",   u"AB", u"ZZ",
                              u"AAA", u"ZZZ", u"AAAA", u"ZZZZ", u"",   u""};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(grid_column_letters(n[i]), want[i]) << n[i];
}

TEST(GridGeometry, ScrollBarsAppearExactlyWhenTheContentDoesNotFit) {
    GridModel m;
    m.append_column(1, u"");
    GridView v{
        .client_w = 200, .client_h = 10 + 20 + 5 * 20, .title_h = 10, .header_h = 20, .row_h = 20};
    for (int rows = 0; rows <= 7; ++rows) {
        const GridGeometry g(m, v);
        EXPECT_EQ(g.rows_per_page(), 5);
        EXPECT_EQ(g.vertical().shown, rows > 5) << rows;
        EXPECT_EQ(g.vertical().max, rows > 5 ? rows - 4 : 1) << rows;
        m.append_row(u"");
    }
    m.column(0).width = 50;
    m.column(1).width = 150;  // 50 + 150 = 200 fits exactly
    EXPECT_FALSE(GridGeometry(m, v).horizontal().shown);
    m.append_column(1, u"");
    m.column(2).hidden = true;
    EXPECT_FALSE(GridGeometry(m, v).horizontal().shown);
    m.column(2).hidden = false;
    EXPECT_EQ(GridGeometry(m, v).horizontal().max, 2);
}

TEST(GridGeometry, HitFindsTheCellWhoseRectangleHoldsThePointOnRandomLayouts) {
    std::mt19937 rng(11);
    for (int round = 0; round < 200; ++round) {
        GridModel m;
        const int cols = static_cast<int>(rng() % 6), rows = static_cast<int>(rng() % 30);
        for (int c = 0; c < cols; ++c) {
            m.append_column(1, u"");
            m.column(c + 1).width = static_cast<int>(rng() % 90);
            m.column(c + 1).hidden = rng() % 5 == 0;
        }
        for (int r = 0; r < rows; ++r) m.append_row(u"");
        GridView v{.client_w = static_cast<int>(rng() % 400),
                   .client_h = static_cast<int>(rng() % 400),
                   .title_h = static_cast<int>(rng() % 30),
                   .header_h = 1 + static_cast<int>(rng() % 30),
                   .row_h = 1 + static_cast<int>(rng() % 30),
                   .top_row = 1 + static_cast<i64>(rng() % 5),
                   .left_column = 1 + static_cast<i64>(rng() % 3),
                   .extend_last_column = rng() % 2 == 0};
        const GridGeometry g(m, v);
        for (int k = 0; k < 50; ++k) {
            const int x = static_cast<int>(rng() % 450), y = static_cast<int>(rng() % 450);
            i64 c, r;
            g.hit(x, y, c, r);
            if (c < 0) continue;
            const GridRect rect = g.cell_rect(c, r);
            ASSERT_TRUE(x >= rect.x && x < rect.x + rect.w && y >= rect.y && y < rect.y + rect.h)
                << "round " << round << " point " << x << "," << y << " cell " << c << "," << r;
        }
        // The current cell scrolled into view has a rectangle (when a row fits at all).
        if (rows > 0 && !g.visible_columns().empty() && v.client_h > v.title_h + v.header_h) {
            const i64 c = g.visible_columns()[rng() % g.visible_columns().size()];
            const i64 r = 1 + static_cast<i64>(rng() % rows);
            GridView moved = v;
            g.scroll_into_view(c, r, moved.top_row, moved.left_column);
            EXPECT_GT(GridGeometry(m, moved).cell_rect(0, r).h, 0) << "round " << round;
        }
    }
}

TEST(GridGeometry, AColumnBorderIsTakenWithinTenPixels) {
    GridModel m;
    m.append_column(1, u"");
    m.append_column(1, u"");
    m.column(0).width = 40;
    m.column(1).width = 60;  // border at 100
    m.column(2).width = 60;  // border at 160
    const GridGeometry g(m, GridView{.client_w = 300, .client_h = 200, .header_h = 20});
    // x, y and the border taken; only in the header row.
    const int probes[] = {90, 5, 1, 110, 5, 1, 111, 5, -1, 165, 5, 2, 100, 25, -1};
    for (int i = 0; i < 15; i += 3)
        EXPECT_EQ(g.border_near(probes[i], probes[i + 1]), probes[i + 2]);
}

}  // namespace

// Random blocks in every line-end and separator form, pasted anywhere into
// a grid with a hidden column, a protected cell and a number column: each
// cell lands on the shown column and row it counts to, or is counted as
// skipped or dropped.
TEST(GridPaste, ABlockFillsToTheRightAndDownwardsOverTheShownColumns) {
    std::mt19937_64 rng(16);
    for (int round = 0; round < 300; ++round) {
        GridModel m = sample();
        m.set_column_hidden(0, true);
        const i64 col = static_cast<i64>(rng() % 4), row = static_cast<i64>(rng() % 4);
        const std::size_t rows = 1 + rng() % 5, cols = 1 + rng() % 5;
        const bool tabs = rng() % 2;
        const char16_t* ends[] = {u"\n", u"\r\n", u"\r"};
        std::u16string text;
        std::vector<std::vector<std::u16string>> block(rows);
        for (std::size_t i = 0; i < rows; ++i) {
            for (std::size_t j = 0; j < cols; ++j) {
                std::u16string cell;
                // A row's first cell is never empty: an empty last line is no row.
                if (j == 0 || rng() % 5 != 0)
                    cell = {u'v', static_cast<char16_t>(u'a' + rng() % 26)};
                block[i].push_back(cell);
                text += (j > 0 ? (tabs ? u"\t" : u";") : u"") + block[i][j];
            }
            if (i + 1 < rows || rng() % 2) text += ends[rng() % 3];
        }
        GridModel expect = m;
        const GridPasteResult r = grid_paste(m, col, row, text);
        std::vector<i64> shown;
        for (i64 c = std::max<i64>(col, 1); c < 4; ++c) shown.push_back(c);
        GridPasteResult want;
        for (std::size_t i = 0; i < rows; ++i)
            for (std::size_t j = 0; j < cols; ++j) {
                const i64 rr = row + static_cast<i64>(i);
                if (j >= shown.size() || rr >= 4)
                    ++want.dropped;
                else if (shown[j] == 3 || (shown[j] == 1 && rr == 2))
                    ++want.skipped;
                else
                    expect.set_cell_text(shown[j], rr, block[i][j]), ++want.written;
            }
        SCOPED_TRACE(round);
        EXPECT_TRUE(r.written == want.written && r.skipped == want.skipped &&
                    r.dropped == want.dropped)
            << r.written << " " << r.skipped << " " << r.dropped;
        std::u16string a, b;
        for (i64 c = 0; c < 3; ++c)
            for (i64 rr = 0; rr < 4; ++rr) {
                m.cell_text(c, rr, a), expect.cell_text(c, rr, b);
                EXPECT_EQ(a, b) << c << "," << rr;
            }
    }
    GridModel m = sample();
    EXPECT_EQ(grid_paste(m, 4, 0, u"x").written, 0);  // not a data cell
    EXPECT_EQ(grid_paste(m, 0, 4, u"x").written, 0);
}
