// The polynomial page without its window: output texts of the operations,
// the page's errors and messages in both languages and the result buttons.
// The arithmetic itself is compared with GMP and MPC in poly_product_test.
#include "polynomial/poly_page.h"

#include <string>
#include <vector>

#include "app/error_message.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "poly_test_util.h"
#include "support/golden_runner.h"
#include "support/text_helpers.h"
#include "textbuf/text_utf8.h"

namespace {

class PolyPageTest : public PolyTest {
  protected:
    void SetUp() override {
        PolyTest::SetUp();
        settings_reset();
        ui_texts_english();
    }
    // Row `row` from coefficient texts, highest degree first.
    void set_row(i32 row, std::vector<std::string> coefs) {
        const i32 degree = static_cast<i32>(coefs.size()) - 1;
        for (i32 k = 0; k <= degree; ++k) page.set_cell(row, k, u16(coefs[degree - k]));
    }
    std::string run(PolyOp op) { return text_to_utf8(page.run(op)); }
    // The message the page would show (and the error state cleared).
    std::string message() {
        const ErrorMessage m = takeErrorMessage();
        return m.shown ? text_to_utf8(m.text) : std::string();
    }

    PolyPage page;
};

TEST_F(PolyPageTest, OutputOfEachOperation) {
    const auto check_row = [&](const GoldenLine& row) {
        const std::vector<std::string> w = row.words(0);
        settings_thousands_equations = w.size() > 4;  // "groups"
        page.clear_all();
        page.set_max_degree(20);
        page.set_type(w.at(0) == "rat"    ? MP_TYPE_RAT
                      : w.at(0) == "real" ? MP_TYPE_REAL
                                          : MP_TYPE_CPLX);
        page.set_digits(std::atoi(w.at(1).c_str()));
        w.at(2) == "de" ? ui_texts_german() : ui_texts_english();
        set_row(0, row.words(1));
        set_row(1, row.words(2));
        const std::string ops = "+-*/^";
        const std::string out = run(static_cast<PolyOp>(ops.find(w.at(3))));
        const std::string shown = message();
        const std::string got = out.empty()     ? "! " + shown
                                : shown.empty() ? out
                                                : "message " + shown;
        if (got != row.text(3)) return "got " + got;
        // A refused run leaves no result to apply.
        if (page.results_enabled() == out.empty() || (out.empty() && page.apply_result(0)))
            return std::string("result buttons wrong");
        return std::string();
    };
    golden_run("polynomial.txt", check_row, "page");
    // The remainder is not saved: only the quotient goes back into the grid.
    set_row(0, {"1", "0", "1"});
    set_row(1, {"1", "-1"});
    run(PolyOp::divide);
    EXPECT_EQ(text_to_utf8(page.saved(0)), "1");
    EXPECT_EQ(text_to_utf8(page.saved(1)), "1");
    EXPECT_EQ(text_to_utf8(page.saved(2)), "");
}

TEST_F(PolyPageTest, LongAndHiddenCells) {
    set_row(0, {"1", "2"});
    set_row(1, {"1", "2"});
    // 1030 characters are read; one more is refused before it is evaluated.
    std::u16string blanks(1029, u' ');
    page.set_cell(1, 0, blanks + u"7");
    EXPECT_NE(run(PolyOp::add).find("b0 = 9"), std::string::npos);
    page.set_cell(1, 0, blanks + u"77");
    run(PolyOp::add);
    EXPECT_EQ(message(), "The coefficient \"a0\" in polynomial \"P1(x)\" is too long!");
    // A cell of a hidden degree is not read.
    page.set_cell(1, 0, u"");
    page.set_cell(1, 5, u"garbage(");
    EXPECT_EQ(run(PolyOp::add), "P0(x) + P1(x) = b1*x + b0\r\n\r\nb1 = 2\r\nb0 = 2\r\n");
}

TEST_F(PolyPageTest, CountDegreeAndResultButtons) {
    page.set_count(3);
    EXPECT_EQ(run(PolyOp::divide), "");  // the window turns "/" and "^" off
    for (i32 r = 0; r < 3; ++r) set_row(r, {std::to_string(r + 1)});
    EXPECT_EQ(run(PolyOp::add).rfind("P0(x) + P1(x) + P2(x) = b0\r\n\r\nb0 = 6\r\n", 0), 0u);
    EXPECT_NE(run(PolyOp::multiply).find("b0 = 6\r\n"), std::string::npos);  // every row, not two
    page.set_count(2);
    EXPECT_TRUE(page.op_enabled(PolyOp::divide));
    page.set_count(3);
    EXPECT_EQ(text_to_utf8(page.cell(2, 0)), "");  // deleted rows come back empty

    page.set_count(2);
    page.clear_all();
    EXPECT_EQ(text_to_utf8(page.hint()),
              "Enter the coefficients of the polynomials Pi(x) = a2*x^2 + a1*x + a0 into the data "
              "grid. Empty text cells are read as 0.");
    set_row(0, {"1", "1"});
    set_row(1, {"0", "7"});
    ASSERT_NE(run(PolyOp::power).find("b7 = 1"), std::string::npos);
    ASSERT_TRUE(page.apply_result(1));
    EXPECT_EQ(text_to_utf8(page.hint()).find("a7*x^7 + a6*x^6 + ... + a1*x + a0"), 50u);
    // (x + 1)^7 back in P1, whose degree 7 cells are now read: P0 * P1 = (x + 1)^8.
    EXPECT_NE(run(PolyOp::multiply).find("b4 = 70"), std::string::npos);
}

}  // namespace
