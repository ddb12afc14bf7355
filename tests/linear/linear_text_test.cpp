// The output text of a whole solve from grid cells, in both languages, and
// the errors of unreadable cells.
#include <string>

#include "linear_test_util.h"

namespace {

std::string narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) out += c < 128 ? static_cast<char>(c) : '#';
    return out;
}

// Fills rows of "a1;a2;...;b" into a grid of n equations.
LinearGridModel grid(i32 n, std::initializer_list<std::initializer_list<const char16_t*>> rows) {
    LinearGridModel g;
    g.set_equation_count(n);
    i32 r = 0;
    for (const auto& row : rows) {
        i32 j = 0;
        for (const char16_t* cell : row) {
            g.set_cell(r, j == n ? LINEAR_COLUMN_B : j, cell);
            ++j;
        }
        ++r;
    }
    return g;
}

std::u16string solve(const LinearGridModel& g, i32 type, i32 digits = 10) {
    return linear_solve_cells(g, LinearSolveRequest{g.equation_count(), type, digits});
}

}  // namespace

TEST_F(LinearTest, ResultTextsOfSingularAndRegularSystems) {
    struct Case {
        i32 type;
        std::initializer_list<std::initializer_list<const char16_t*>> rows;
        const char16_t* text;
    };
    const Case cases[] = {
        // One free unknown: the last one becomes r.
        {MP_TYPE_RAT,
         {{u"1", u"1", u"2"}, {u"2", u"2", u"4"}},
         u"x1 = 2-r\r\nx2 = r\r\n\r\nThe parameter variable r is freely selectable.\r\n"},
        {MP_TYPE_REAL,
         {{u"1", u"1", u"2"}, {u"2", u"2", u"4"}},
         u"x1 = 2-r\r\nx2 = r\r\n\r\nThe parameter variable r is freely selectable.\r\n"},
        // Empty cells are 0: both unknowns free, the lower one named r.
        {MP_TYPE_REAL,
         {{u"", u" ", u"\t"}, {u"", u"", u""}},
         u"x1 = r\r\nx2 = s\r\n\r\nThe parameter variables r, s are freely selectable.\r\n"},
        {MP_TYPE_RAT,
         {{u"1", u"1", u"1"}, {u"1", u"1", u"2"}},
         u"Equation system is unsolvable!\r\n"},
        // A fractional coefficient in parentheses with its sign in front.
        {MP_TYPE_RAT,
         {{u"4", u"3", u"2"}, {u"8", u"6", u"4"}},
         u"x1 = 1/2-(3/4)*r\r\nx2 = r\r\n\r\nThe parameter variable r is freely selectable.\r\n"},
        {MP_TYPE_RAT,
         {{u"1", u"-3", u"2"}, {u"2", u"-6", u"4"}},
         u"x1 = 2+3*r\r\nx2 = r\r\n\r\nThe parameter variable r is freely selectable.\r\n"},
        // A zero first column with a non-zero entry beside it: x2 is fixed by row 1
        // although row 1 has no pivot in its own column.
        {MP_TYPE_RAT,
         {{u"0", u"2", u"1"}, {u"0", u"0", u"0"}},
         u"x1 = r\r\nx2 = 1/2\r\n\r\nThe parameter variable r is freely selectable.\r\n"},
        // Every cell is a formula.
        {MP_TYPE_RAT, {{u"2*3", u"0", u"3"}, {u"0", u"1/2", u"(1+1)"}}, u"x1 = 1/2\r\nx2 = 4\r\n"},
        {MP_TYPE_REAL,
         {{u"3", u"0", u"1"}, {u"0", u"1", u"2"}},
         u"x1 = 0.3333333333\r\nx2 = 2\r\n"},
        // Rows that differ far below the digits shown are still independent,
        // in both approximate types, up to 100 digits beyond them.
        {MP_TYPE_REAL, {{u"1", u"1", u"1"}, {u"2", u"2+1e-11", u"2"}}, u"x1 = 1\r\nx2 = 0\r\n"},
        {MP_TYPE_CPLX,
         {{u"1", u"1", u"1"}, {u"1", u"1+1e-90", u"1+1e-90"}},
         u"x1 = 0\r\nx2 = 1\r\n"},
        {MP_TYPE_REAL,
         {{u"1", u"1", u"1"}, {u"1", u"1+1e-200", u"1+1e-200"}},
         u"x1 = 1-r\r\nx2 = r\r\n\r\nThe parameter variable r is freely selectable.\r\n"},
        // Rows dependent in exact arithmetic stay so whatever their rounding;
        // a right-hand side that differs beyond the first solve's digits does not.
        {MP_TYPE_REAL,
         {{u"1/3", u"1/3", u"2/3"}, {u"1", u"1", u"2"}},
         u"x1 = 2-r\r\nx2 = r\r\n\r\nThe parameter variable r is freely selectable.\r\n"},
        {MP_TYPE_CPLX,
         {{u"sqrt(2)", u"sqrt(3)", u"1"}, {u"sqrt(8)", u"sqrt(12)", u"2"}},
         u"x1 = 0.7071067812-1.224744871*r\r\nx2 = r\r\n\r\nThe parameter variable r is "
         u"freely selectable.\r\n"},
        {MP_TYPE_CPLX,
         {{u"1/3", u"1/3", u"1/3+1e-30"}, {u"1", u"1", u"1"}},
         u"Equation system is unsolvable!\r\n"},
        // A complex coefficient with both parts in parentheses.
        {MP_TYPE_CPLX,
         {{u"1", u"-1-i", u"i"}, {u"2", u"-2-2i", u"2i"}},
         u"x1 = i+(1+i)*r\r\nx2 = r\r\n\r\nThe parameter variable r is freely selectable.\r\n"},
    };
    for (const Case& c : cases) {
        const std::u16string out = solve(grid(2, c.rows), c.type);
        EXPECT_EQ(appError.load(), 0u);
        EXPECT_EQ(narrow(out), narrow(c.text));
    }
}

TEST_F(LinearTest, GermanTexts) {
    ui_texts_german();
    EXPECT_EQ(solve(grid(2, {{u"1", u"1", u"1"}, {u"1", u"1", u"2"}}), MP_TYPE_RAT),
              u"Gleichungssystem ist unlösbar!\r\n");
    EXPECT_EQ(solve(grid(2, {{u"1", u"1", u"2"}, {u"2", u"2", u"4"}}), MP_TYPE_RAT),
              u"x1 = 2-r\r\nx2 = r\r\n\r\nDie Parametervariable r ist frei wählbar.\r\n");
    EXPECT_EQ(solve(grid(2, {}), MP_TYPE_RAT),
              u"x1 = r\r\nx2 = s\r\n\r\nDie Parametervariablen r, s sind frei wählbar.\r\n");
}

TEST_F(LinearTest, ParameterNamesAndTheirList) {
    // All-zero systems: every unknown is free, named in order r, s, t, u, v1, ...
    const char* const lists[] = {"",
                                 "",
                                 "r, s",
                                 "r, s, t",
                                 "r, s, t, u",
                                 "r, s, t, u, v1",
                                 "r, s, t, u, v1, v2",
                                 "r, s, t, u, v1, #, v3",
                                 "r, s, t, u, v1, #, v4"};
    for (i32 n = 2; n <= 25; ++n) {
        const std::string out = narrow(solve(grid(n, {}), MP_TYPE_RAT));
        EXPECT_NE(out.find("x1 = r\r\nx2 = s\r\n"), std::string::npos) << n;
        std::string last = "x";
        last.append(std::to_string(n)).append(" = ");
        if (n <= 4) {
            last.push_back("rstu"[n - 1]);
        } else {
            last.append("v").append(std::to_string(n - 4));
        }
        last.append("\r\n");
        EXPECT_NE(out.find(last), std::string::npos) << n;
        std::string list = " ";
        list.append(n < 9 ? lists[n] : "r, s, t, u, v1, #, v")
            .append(n < 9 ? "" : std::to_string(n - 4));
        list.append(" are");
        EXPECT_NE(out.find(list), std::string::npos) << out;
    }
}

TEST_F(LinearTest, UnreadableCellsNameEquationAndColumn) {
    LinearGridModel g = grid(3, {{u"1", u"2", u"3", u"4"}});
    g.set_cell(1, LINEAR_COLUMN_B, u"2+*3");
    EXPECT_TRUE(solve(g, MP_TYPE_REAL).empty());
    EXPECT_EQ(appError.load(), u32{APP_ERR_LINEAR_COEFFICIENT});
    EXPECT_EQ(std::u16string(appErrorText1), u"2");
    EXPECT_EQ(std::u16string(appErrorText2), u"b");

    g.set_cell(1, LINEAR_COLUMN_B, u"");
    g.set_cell(2, 1, std::u16string(1031, u'1'));
    EXPECT_TRUE(solve(g, MP_TYPE_RAT).empty());
    EXPECT_EQ(appError.load(), u32{APP_ERR_LINEAR_COEFFICIENT_LONG});
    EXPECT_EQ(std::u16string(appErrorText1), u"3");
    EXPECT_EQ(std::u16string(appErrorText2), u"a2");

    // 1030 characters are still read.
    g.set_cell(2, 1, u"1" + std::u16string(1029, u'0'));
    solve(g, MP_TYPE_REAL);
    EXPECT_NE(appError.load(), u32{APP_ERR_LINEAR_COEFFICIENT_LONG});
}

TEST_F(LinearTest, RationalOverflowIsReportedAsOverflow) {
    LinearGridModel g = grid(2, {{u"10^400", u"1", u"1"}, {u"1", u"10^400", u"3"}});
    EXPECT_TRUE(solve(g, MP_TYPE_RAT).empty());
    EXPECT_EQ(appError.load(), u32{APP_ERR_OVERFLOW});
}
