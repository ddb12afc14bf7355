// The polynomial page without its window: output texts of the operations,
// the page's errors and messages in both languages, the result buttons, and
// exact products and quotients compared with GMP.
#include "polynomial/poly_page.h"

#include <gmp.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/app_error.h"
#include "app/error_message.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "numlib/mp_context.h"
#include "support/test_random.h"
#include "support/text_helpers.h"

namespace {

// ASCII stays as it is (line ends included); anything else becomes \uXXXX.
std::string plain(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\u%04X", static_cast<unsigned>(c));
        out += hex;
    }
    return out;
}

class PolyPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings_reset();
        mp_context_reset();
        ui_texts_english();
        clearErrors();
    }
    void TearDown() override {
        clearErrors();
        ui_texts_english();
        mp_context_reset();
    }
    // Row `row` from coefficient texts, highest degree first.
    void set_row(i32 row, std::vector<std::string> coefs) {
        const i32 degree = static_cast<i32>(coefs.size()) - 1;
        for (i32 k = 0; k <= degree; ++k) page.set_cell(row, k, u16(coefs[degree - k]));
    }
    std::string run(PolyOp op) { return plain(page.run(op)); }
    // The message the page would show (and the error state cleared).
    std::string message() {
        const ErrorMessage m = takeErrorMessage();
        return m.shown ? plain(m.text) : std::string();
    }

    PolyPage page;
};

TEST_F(PolyPageTest, OutputOfEachOperation) {
    set_row(0, {"1", "1"});
    set_row(1, {"1", "-1"});
    EXPECT_EQ(run(PolyOp::multiply),
              "P0(x) * P1(x) = b2*x^2 + b1*x + b0\r\n\r\nb2 = 1\r\nb1 = 0\r\nb0 = -1\r\n");
    EXPECT_TRUE(page.results_enabled());
    EXPECT_EQ(run(PolyOp::add), "P0(x) + P1(x) = b1*x + b0\r\n\r\nb1 = 2\r\nb0 = 0\r\n");
    // Subtraction writes a hyphen-minus; equal operands give the single line b0 = 0.
    set_row(1, {"1", "1"});
    EXPECT_EQ(run(PolyOp::subtract), "P0(x) - P1(x) = b0\r\n\r\nb0 = 0\r\n");
    set_row(1, {"0", "2"});
    EXPECT_EQ(run(PolyOp::power),
              "P0(x) ^ 2 = b2*x^2 + b1*x + b0\r\n\r\nb2 = 1\r\nb1 = 2\r\nb0 = 1\r\n");
    set_row(1, {"0", "3"});
    EXPECT_EQ(run(PolyOp::power),
              "P0(x) ^ 3 = b3*x^3 + b2*x^2 + b1*x + b0\r\n\r\n"
              "b3 = 1\r\nb2 = 3\r\nb1 = 3\r\nb0 = 1\r\n");
    EXPECT_EQ(message(), "");
}

TEST_F(PolyPageTest, QuotientAndRemainderInBothLanguages) {
    set_row(0, {"1", "0", "1"});  // x^2 + 1 = (x - 1)(x + 1) + 2
    set_row(1, {"1", "-1"});
    const std::string lines = "\r\n\r\nb1 = 1\r\nb0 = 1\r\n\r\nr0 = 2\r\n";
    EXPECT_EQ(run(PolyOp::divide), "P0(x) / P1(x) = b1*x + b0    Remainder    r0" + lines);
    ui_texts_german();
    EXPECT_EQ(run(PolyOp::divide), "P0(x) / P1(x) = b1*x + b0    Rest    r0" + lines);
    // The remainder is not saved: only the quotient goes back into the grid.
    EXPECT_EQ(plain(page.saved(0)), "1");
    EXPECT_EQ(plain(page.saved(1)), "1");
    EXPECT_EQ(plain(page.saved(2)), "");
    // A dividend of lower degree: quotient 0, remainder the dividend.
    page.clear_row(0);
    set_row(0, {"5"});
    EXPECT_EQ(run(PolyOp::divide),
              "P0(x) / P1(x) = b0    Rest    r0\r\n\r\nb0 = 0\r\n\r\nr0 = 5\r\n");
}

TEST_F(PolyPageTest, NumberTypesAndPrecision) {
    set_row(0, {"1/3", "1"});
    set_row(1, {"0", "0"});
    page.set_type(MP_TYPE_RAT);
    EXPECT_FALSE(page.precision_enabled());
    EXPECT_EQ(run(PolyOp::add), "P0(x) + P1(x) = b1*x + b0\r\n\r\nb1 = 1/3\r\nb0 = 1\r\n");
    // real sums are rounded to the page's digits, not to the working precision.
    page.set_type(MP_TYPE_REAL);
    page.set_digits(5);
    EXPECT_TRUE(page.precision_enabled());
    EXPECT_EQ(run(PolyOp::add), "P0(x) + P1(x) = b1*x + b0\r\n\r\nb1 = 0.33333\r\nb0 = 1\r\n");
    // The first power is shown at the page's digits too, like every other result.
    set_row(1, {"0", "1"});
    EXPECT_EQ(run(PolyOp::power), "P0(x) ^ 1 = b1*x + b0\r\n\r\nb1 = 0.33333\r\nb0 = 1\r\n");
    page.set_type(MP_TYPE_CPLX);
    set_row(0, {"1", "i"});
    set_row(1, {"1", "-i"});
    EXPECT_EQ(run(PolyOp::multiply),
              "P0(x) * P1(x) = b2*x^2 + b1*x + b0\r\n\r\nb2 = 1\r\nb1 = 0\r\nb0 = 1\r\n");
    // Digit grouping follows the equation tools' setting.
    settings_thousands_equations = 1;
    page.set_type(MP_TYPE_RAT);
    set_row(0, {"1234567"});
    page.set_cell(0, 1, u"");
    set_row(1, {"0"});
    page.set_cell(1, 1, u"");
    const std::string out = run(PolyOp::add);
    EXPECT_NE(out.find("b0 = 1"), std::string::npos);
    EXPECT_EQ(out.find("1234567"), std::string::npos) << out;
}

TEST_F(PolyPageTest, CellErrorsNameCoefficientAndPolynomial) {
    set_row(0, {"1", "2"});
    set_row(1, {"1", "2+"});
    EXPECT_EQ(run(PolyOp::add), "");
    EXPECT_FALSE(page.results_enabled());
    EXPECT_EQ(message().rfind("Error evaluating coefficient \"a0\" in polynomial \"P1(x)\". ", 0),
              0u);
    ui_texts_german();
    run(PolyOp::add);
    EXPECT_EQ(message().rfind(
                  "Fehler bei der Auswertung des Koeffizienten \"a0\" im Polynom \"P1(x)\". ", 0),
              0u);
    ui_texts_english();
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

TEST_F(PolyPageTest, OperationErrors) {
    page.set_max_degree(20);
    page.set_cell(0, 10, u"1");
    page.set_cell(1, 11, u"1");
    EXPECT_EQ(run(PolyOp::multiply), "");
    EXPECT_EQ(message(), "The maximum polynomial degree of the result may not exceed 20!");
    page.clear_all();
    page.set_cell(0, 1, u"1");
    EXPECT_EQ(run(PolyOp::divide), "");
    EXPECT_EQ(message(), "Division by 0!");
    for (const char16_t* bad : {u"2.5", u"21", u"-1"}) {
        page.set_cell(1, 0, bad);
        run(PolyOp::power);
        EXPECT_EQ(message(), "The polynomial \"P1(x)\" must be an integer number from 0 to 20!");
    }
    page.set_cell(1, 0, u"2");
    page.set_cell(1, 1, u"1");
    run(PolyOp::power);
    EXPECT_EQ(message(), "The polynomial \"P1(x)\" must be an integer number from 0 to 20!");
    // An overflow in a rational result becomes the page's overflow message.
    page.clear_all();
    page.set_type(MP_TYPE_RAT);
    page.set_cell(0, 1, u"10^300");
    page.set_cell(1, 1, u"10^300");
    run(PolyOp::multiply);
    EXPECT_EQ(message(), "Overflow in mathematical calculation!");
    EXPECT_FALSE(page.results_enabled());
    EXPECT_FALSE(page.apply_result(0));
}

TEST_F(PolyPageTest, CountDegreeAndResultButtons) {
    page.set_count(3);
    EXPECT_FALSE(page.op_enabled(PolyOp::divide));
    EXPECT_FALSE(page.op_enabled(PolyOp::power));
    EXPECT_EQ(run(PolyOp::divide), "");
    set_row(0, {"1"});
    set_row(1, {"2"});
    set_row(2, {"3"});
    EXPECT_EQ(run(PolyOp::add).rfind("P0(x) + P1(x) + P2(x) = b0\r\n\r\nb0 = 6\r\n", 0), 0u);
    page.set_count(2);
    EXPECT_TRUE(page.op_enabled(PolyOp::divide));
    page.set_count(3);
    EXPECT_EQ(plain(page.cell(2, 0)), "");  // deleted rows come back empty

    page.set_count(2);
    page.clear_all();
    EXPECT_EQ(plain(page.hint()),
              "Enter the coefficients of the polynomials Pi(x) = a2*x^2 + a1*x + a0 into the data "
              "grid. Empty text cells are read as 0.");
    set_row(0, {"1", "1"});
    set_row(1, {"0", "7"});
    ASSERT_NE(run(PolyOp::power).find("b7 = 1"), std::string::npos);
    ASSERT_TRUE(page.apply_result(1));
    EXPECT_EQ(page.max_degree(), 7);
    EXPECT_EQ(plain(page.cell(1, 7)), "1");
    EXPECT_EQ(plain(page.cell(1, 3)), "35");
    EXPECT_EQ(plain(page.hint()).find("a7*x^7 + a6*x^6 + ... + a1*x + a0"), 50u);
    // (x + 1)^7 back in P1: P0 * P1 = (x + 1)^8.
    EXPECT_NE(run(PolyOp::multiply).find("b4 = 70"), std::string::npos);
}

// ---- exact results against GMP ----------------------------------------------------

struct Q {
    Q() { mpq_init(v); }
    ~Q() { mpq_clear(v); }
    Q(const Q&) = delete;
    Q& operator=(const Q&) = delete;
    mpq_t v;
};

std::string random_rational(TestRng& rng) {
    const i64 den = rng.range(1, 12);
    const i64 num = rng.chance(15) ? 0 : rng.range(-40, 40);
    std::string text = std::to_string(num);
    if (den > 1) {
        text += "/";
        text += std::to_string(den);
    }
    return text;
}

// Coefficients from the constant upwards; a non-zero leading one when lead.
std::vector<std::string> random_poly(TestRng& rng, i32 degree, bool lead) {
    std::vector<std::string> c;
    for (i32 k = 0; k <= degree; ++k) c.push_back(random_rational(rng));
    if (lead && c.back().front() == '0') c.back() = "-3/7";
    return c;
}

// The values of the lines "<letter>k = value" of an output text, by k.
void parse_lines(const std::string& out, char letter, std::vector<Q>& coefs) {
    std::size_t pos = 0;
    while ((pos = out.find('\n', pos)) != std::string::npos) {
        ++pos;
        if (pos >= out.size() || out[pos] != letter) continue;
        const std::size_t eq = out.find(" = ", pos);
        const std::size_t end = out.find('\r', eq);
        const std::size_t k = std::stoul(out.substr(pos + 1, eq - pos - 1));
        ASSERT_LT(k, coefs.size());
        const std::string value = out.substr(eq + 3, end - eq - 3);
        ASSERT_EQ(mpq_set_str(coefs[k].v, value.c_str(), 10), 0) << value;
        mpq_canonicalize(coefs[k].v);
    }
}

void set_q(Q& q, const std::string& text) {
    mpq_set_str(q.v, text.c_str(), 10);
    mpq_canonicalize(q.v);
}

TEST_F(PolyPageTest, RandomExactProductsMatchConvolution) {
    TestRng rng;
    page.set_type(MP_TYPE_RAT);
    page.set_max_degree(20);
    for (i64 it = 0; it < test_iterations(40); ++it) {
        const i32 count = static_cast<i32>(rng.range(2, 4));
        page.set_count(count);
        page.clear_all();
        std::vector<Q> expect(21), next(21), factor(21);
        mpq_set_si(expect[0].v, 1, 1);
        i32 total = 0;
        for (i32 row = 0; row < count; ++row) {
            const i32 degree = static_cast<i32>(rng.range(0, 20 / count));
            const std::vector<std::string> c = random_poly(rng, degree, false);
            for (i32 k = 0; k <= 20; ++k) mpq_set_si(factor[k].v, 0, 1);
            for (i32 k = 0; k <= degree; ++k) {
                page.set_cell(row, k, u16(c[k]));
                set_q(factor[k], c[k]);
            }
            total += degree;
            for (i32 k = 0; k <= 20; ++k) mpq_set_si(next[k].v, 0, 1);
            Q t;
            for (i32 i = 0; i <= total - degree; ++i) {
                for (i32 j = 0; j <= degree; ++j) {
                    mpq_mul(t.v, expect[i].v, factor[j].v);
                    mpq_add(next[i + j].v, next[i + j].v, t.v);
                }
            }
            for (i32 k = 0; k <= 20; ++k) mpq_set(expect[k].v, next[k].v);
        }
        const std::string out = run(PolyOp::multiply);
        ASSERT_EQ(message(), "") << out;
        std::vector<Q> got(21);
        parse_lines(out, 'b', got);
        for (i32 k = 0; k <= 20; ++k) {
            EXPECT_TRUE(mpq_equal(got[k].v, expect[k].v)) << "k " << k << "\n" << out;
            // The saved text is the line's number.
            if (k <= total) {
                Q saved;
                set_q(saved, plain(page.saved(k)));
                EXPECT_TRUE(mpq_equal(saved.v, got[k].v)) << k;
            }
        }
    }
}

TEST_F(PolyPageTest, RandomExactQuotientTimesDivisorPlusRemainder) {
    TestRng rng;
    page.set_type(MP_TYPE_RAT);
    page.set_max_degree(20);
    for (i64 it = 0; it < test_iterations(40); ++it) {
        page.clear_all();
        const i32 da = static_cast<i32>(rng.range(0, 20));
        const i32 db = static_cast<i32>(rng.range(0, 12));
        const std::vector<std::string> a = random_poly(rng, da, false);
        const std::vector<std::string> b = random_poly(rng, db, true);
        for (i32 k = 0; k <= da; ++k) page.set_cell(0, k, u16(a[k]));
        for (i32 k = 0; k <= db; ++k) page.set_cell(1, k, u16(b[k]));
        const std::string out = run(PolyOp::divide);
        ASSERT_EQ(message(), "") << out;
        std::vector<Q> q(21), r(21), check(21);
        parse_lines(out, 'b', q);
        parse_lines(out, 'r', r);
        for (i32 k = 0; k <= 20; ++k) mpq_set(check[k].v, r[k].v);
        Q t, bk;
        for (i32 j = 0; j <= db; ++j) {
            set_q(bk, b[j]);
            for (i32 i = 0; i + j <= 20; ++i) {
                mpq_mul(t.v, q[i].v, bk.v);
                mpq_add(check[i + j].v, check[i + j].v, t.v);
            }
        }
        for (i32 k = 0; k <= 20; ++k) {
            Q ak;
            if (k <= da) set_q(ak, a[k]);
            EXPECT_TRUE(mpq_equal(check[k].v, ak.v)) << "k " << k << "\n" << out;
            if (k >= db) {
                EXPECT_EQ(mpq_sgn(r[k].v), 0) << "remainder degree, k " << k;
            }
        }
    }
}

}  // namespace
