// Whole solves from grid cells: the output texts in both languages, the
// errors of unreadable cells, and every shown digit of ill-conditioned real
// and complex solutions against the exact ones from FLINT.
#include <gmpxx.h>
#include <mpfr.h>

#include <algorithm>
#include <string>
#include <vector>

#include "linear_test_util.h"
#include "support/golden_runner.h"
#include "support/mpfr_oracle.h"
#include "support/text_helpers.h"
#include "textbuf/text_utf8.h"

namespace {

std::u16string solve(const LinearGridModel& g, i32 type, i32 digits = 10) {
    return linear_solve_cells(g, LinearSolveRequest{g.equation_count(), type, digits});
}

}  // namespace

TEST_F(LinearTest, ResultTextsOfSingularAndRegularSystems) {
    const auto check_row = [](const GoldenLine& row) {
        LinearGridModel g;
        g.set_equation_count(2);
        i32 r = 0, j = 0;
        for (const std::string& w : row.words(1)) {
            if (w == ";") {
                ++r, j = 0;
                continue;
            }
            g.set_cell(r, j == 2 ? LINEAR_COLUMN_B : j, text_from_utf8(w));
            ++j;
        }
        const std::string type = row.words(0).at(0);
        row.words(0).size() > 1 ? ui_texts_german() : ui_texts_english();
        const std::string got = text_to_utf8(solve(g, type == "rat"    ? MP_TYPE_RAT
                                                      : type == "real" ? MP_TYPE_REAL
                                                                       : MP_TYPE_CPLX));
        std::string shown = got;
        if (appError.load() != 0) shown = "error " + std::to_string(appError.load());
        for (const char16_t* insert : {appErrorText1, appErrorText2})
            if (appError.load() != 0 && insert[0] != 0) shown += " " + text_to_utf8(insert);
        clearErrors();
        return shown == row.text(2) ? std::string() : "got " + shown;
    };
    golden_run("linear.txt", check_row, "texts");
}

// 1030 characters are read, one more is refused before it is evaluated.
TEST_F(LinearTest, OverlongCellsNameEquationAndColumn) {
    LinearGridModel g;
    g.set_equation_count(3);
    g.set_cell(2, 1, std::u16string(1031, u'1'));
    EXPECT_TRUE(solve(g, MP_TYPE_RAT).empty());
    EXPECT_EQ(appError.load(), u32{APP_ERR_LINEAR_COEFFICIENT_LONG});
    EXPECT_EQ(std::u16string(appErrorText1), u"3");
    EXPECT_EQ(std::u16string(appErrorText2), u"a2");
    g.set_cell(2, 1, u"1" + std::u16string(1029, u'0'));
    solve(g, MP_TYPE_REAL);
    EXPECT_NE(appError.load(), u32{APP_ERR_LINEAR_COEFFICIENT_LONG});
}

namespace {

// A system as cell texts beside its exact values (real and imaginary parts).
struct TextSystem {
    std::vector<std::vector<std::string>> cells;
    QMatrix re, im;
};

// x exactly, real parts then imaginary parts, from the real form
// [[Re, -Im], [Im, Re]] of 2n rows; empty when the system is singular.
std::vector<mpq_class> exact_solution(const TextSystem& s) {
    const std::size_t n = s.re.size();
    QMatrix a(2 * n, std::vector<mpq_class>(2 * n + 1));
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            a[i][j] = a[n + i][n + j] = s.re[i][j];
            a[i][n + j] = -s.im[i][j];
            a[n + i][j] = s.im[i][j];
        }
        a[i][2 * n] = s.re[i][n];
        a[n + i][2 * n] = s.im[i][n];
    }
    std::vector<bool> is_free;
    std::vector<mpq_class> out;
    for (const auto& x : echelon_family(a, is_free)) out.push_back(x[0]);
    return std::count(is_free.begin(), is_free.end(), true) == 0 ? out : std::vector<mpq_class>();
}

// Ill-conditioned and badly scaled regular systems: Hilbert-like 1/(i + j +
// k), random fractions with every row scaled by its own power of ten, or
// small integers whose last row differs from the first by 10^-e; complex
// ones get small Gaussian-integer parts.
TextSystem random_system(TestRng& rng, i32 n, bool cplx) {
    TextSystem s{std::vector<std::vector<std::string>>(n),
                 QMatrix(n, std::vector<mpq_class>(n + 1)),
                 QMatrix(n, std::vector<mpq_class>(n + 1))};
    const int family = static_cast<int>(rng.range(0, 2));
    const long shift = rng.range(1, 3), tiny = rng.range(8, 80);
    for (i32 i = 0; i < n; ++i) {
        const long scale = rng.range(-30, 30);
        for (i32 j = 0; j <= n; ++j) {
            long p = rng.range(-9, 9), q = 1;
            if (family == 0 && j < n) p = 1, q = i + j + shift;
            if (family == 1) q = rng.range(1, 99);
            std::string t = std::to_string(p) + "/" + std::to_string(q);
            s.re[i][j] = mpq_class(p) / q * pow10(family == 1 ? scale : 0);
            if (family == 1) t += "*1e" + std::to_string(scale);
            const bool near_first = family == 2 && i == n - 1;
            if (near_first) {
                s.re[i][j] = s.re[0][j] + p * pow10(-tiny);
                t = s.re[0][j].get_str() + "+(" + std::to_string(p) + "e-" + std::to_string(tiny) +
                    ")";
            }
            if (cplx) {
                s.im[i][j] = near_first ? s.im[0][j] : mpq_class(rng.range(-3, 3));
                t += "+(" + s.im[i][j].get_str() + ")*i";
            }
            s.cells[i].push_back(t);
        }
    }
    return s;
}

// A shown value "re", "re+imi", "imi", "i", with a part in parentheses when
// it has an exponent, into re and im.
bool parse_shown(std::string t, mpfr_ptr re, mpfr_ptr im) {
    std::erase(t, '(');
    std::erase(t, ')');
    mpfr_set_zero(re, 1);
    mpfr_set_zero(im, 1);
    if (t.empty() || t.back() != 'i') return mpfr_set_str(re, t.c_str(), 10, MPFR_RNDN) == 0;
    t.pop_back();
    std::size_t split = 0;  // the imaginary part's sign
    for (std::size_t k = 1; k < t.size(); ++k) {
        if ((t[k] == '+' || t[k] == '-') && t[k - 1] != 'e') split = k;
    }
    std::string imag = t.substr(split);
    if (imag.empty() || imag == "+" || imag == "-") imag += "1";
    if (split > 0 && mpfr_set_str(re, t.substr(0, split).c_str(), 10, MPFR_RNDN) != 0) return false;
    return mpfr_set_str(im, imag.c_str(), 10, MPFR_RNDN) == 0;
}

// shown is exact rounded half up to `digits` significant digits (0 when it
// is 0); either way near a tie, where the last digit is the solve's choice.
::testing::AssertionResult rounded_from(mpfr_srcptr shown, const mpq_class& exact, i32 digits) {
    Mpfr v(4000);
    mpfr_set_q(v, exact.get_mpq_t(), MPFR_RNDN);
    const DecimalDigits want = correctly_rounded_half_up(v, digits);
    const DecimalDigits got = correctly_rounded_half_up(shown, digits);
    if (near_tie(v, digits) ||
        (got.sign == want.sign && got.digits == want.digits && got.exp == want.exp))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << digits_text(got) << " instead of " << digits_text(want);
}

}  // namespace

// Whole solves of regular systems that elimination at the shown digits gets
// wrong (a Hilbert system of 12 equations came out unsolvable): every shown
// digit must be that of the exact solution from GMP.
TEST_F(LinearTest, ShownDigitsAreThoseOfTheExactSolution) {
    for (i64 iter = 0; iter < test_iterations(16); ++iter) {
        const bool cplx = rng.chance(40);
        const i32 n = static_cast<i32>(rng.chance(50) ? rng.range(2, 8) : rng.range(9, 25));
        const i32 digits =
            static_cast<i32>(rng.chance(20) ? rng.range(100, 400) : rng.range(5, 40));
        const TextSystem s = random_system(rng, n, cplx);
        const std::vector<mpq_class> x = exact_solution(s);
        if (x.empty()) continue;
        LinearGridModel g;
        g.set_equation_count(n);
        for (i32 i = 0; i < n; ++i)
            for (i32 j = 0; j <= n; ++j)
                g.set_cell(i, j == n ? LINEAR_COLUMN_B : j, u16(s.cells[i][j]));
        const std::string out = text_to_utf8(linear_solve_cells(
            g, LinearSolveRequest{n, cplx ? MP_TYPE_CPLX : MP_TYPE_REAL, digits}));
        SCOPED_TRACE(::testing::Message() << "n " << n << " digits " << digits << " first row "
                                          << ::testing::PrintToString(s.cells[0]) << "\n"
                                          << out);
        ASSERT_EQ(appError.load(), 0u);
        std::size_t pos = 0;
        Mpfr re(4000), im(4000);
        for (i32 i = 0; i < n; ++i) {
            std::string head = "x";
            head.append(std::to_string(i + 1)).append(" = ");
            const std::size_t end = out.find("\r\n", pos);
            ASSERT_EQ(out.compare(pos, head.size(), head), 0);
            ASSERT_TRUE(
                parse_shown(out.substr(pos + head.size(), end - pos - head.size()), re, im));
            EXPECT_TRUE(rounded_from(re, x[i], digits)) << "x" << i + 1;
            EXPECT_TRUE(rounded_from(im, x[n + i], digits)) << "x" << i + 1 << " imaginary";
            pos = end + 2;
        }
        EXPECT_EQ(pos, out.size());
    }
}
