// Singular systems of every rank against their exact null spaces, every
// shown digit of ill-conditioned real and complex solutions against the
// exact ones, and the names of the parameters.
#include <flint/fmpq_mat.h>
#include <mpfr.h>

#include <string>
#include <vector>

#include "linear_exact.h"
#include "linear_test_util.h"
#include "numlib/cplx.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"

namespace {

std::string narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) out += c < 128 ? static_cast<char>(c) : '#';
    return out;
}

std::string text_of(const linear_solution& sol, i64 i) {
    char16_t chars[4096];
    TextBuf buf{0, 4095, chars};
    solution_text(buf, sol, i);
    return narrow(std::u16string(chars, static_cast<std::size_t>(buf.length)));
}

// The name of the q-th free unknown (1-based, in increasing order).
std::string expected_name(i64 q) {
    if (q <= 4) return std::string(1, "rstu"[q - 1]);
    std::string name = "v";
    name += std::to_string(q - 4);
    return name;
}

// A = B C with B n x k and C k x n random, so rank A <= k (almost always k).
IntMatrix product_of_rank(TestRng& rng, i32 n, i32 k) {
    IntMatrix b(n, std::vector<i64>(k)), c(k, std::vector<i64>(n));
    for (auto& row : b)
        for (auto& v : row) v = rng.range(-4, 4);
    for (auto& row : c)
        for (auto& v : row) v = rng.range(-4, 4);
    IntMatrix a(n, std::vector<i64>(n + 1, 0));
    for (i32 i = 0; i < n; ++i)
        for (i32 j = 0; j < n; ++j)
            for (i32 l = 0; l < k; ++l) a[i][j] += b[i][l] * c[l][j];
    return a;
}

void fill_rat(OwnedSystem& s, const IntMatrix& m) {
    for (std::size_t i = 0; i < m.size(); ++i)
        for (std::size_t j = 0; j < m[i].size(); ++j)
            rat_from_i64(s.a(static_cast<i32>(i), static_cast<i32>(j)), m[i][j]);
}

}  // namespace

TEST_F(LinearTest, SingularSystemsOfEveryRank) {
    for (i64 iter = 0; iter < test_iterations(4); ++iter) {
        const i32 n = static_cast<i32>(rng.range(2, iter == 0 ? 25 : 9));
        for (i32 k = 0; k <= n; ++k) {
            IntMatrix m = product_of_rank(rng, n, k);
            const bool consistent = rng.chance(70);
            std::vector<i64> x0(n);
            for (auto& v : x0) v = rng.range(-9, 9);
            for (i32 i = 0; i < n; ++i) {
                for (i32 j = 0; j < n; ++j) m[i][n] += m[i][j] * x0[j];
                if (!consistent) m[i][n] += rng.range(-3, 3);
            }
            QMatrix q = to_q(m);
            const std::vector<i32> pivots = rref(q, n);
            const i32 rank = static_cast<i32>(pivots.size());
            SCOPED_TRACE(::testing::Message() << "n " << n << " rank " << rank);
            OwnedSystem s(n, MP_TYPE_RAT, 10);
            fill_rat(s, m);
            solve_linear(s.sys, s.sol);
            ASSERT_EQ(appError.load(), 0u);
            if (exact_rank(m, n + 1) > rank) {
                EXPECT_EQ(s.sol.count, -1);
                continue;
            }
            ASSERT_EQ(s.sol.count, n);
            ASSERT_EQ(s.sol.param_count, n - rank);
            // The non-pivot unknowns are the parameters, named r, s, t, ... upwards.
            i64 q_free = 0;
            for (i32 j = 0, p = 0; j < n; ++j) {
                if (p < rank && pivots[p] == j) {
                    ++p;
                    continue;
                }
                EXPECT_EQ(text_of(s.sol, j), expected_name(++q_free)) << "x" << j + 1;
            }
            // Slot 0 solves A x = b, each parameter slot spans the null space,
            // so every member of the family is a solution.
            std::vector<mpq_class> t(s.sol.param_count + 1);
            t[0] = 1;
            for (std::size_t p = 1; p < t.size(); ++p) t[p] = rng.range(-50, 50);
            for (i32 i = 0; i < n; ++i) {
                mpq_class sum = 0;
                for (i32 j = 0; j < n; ++j) {
                    mpq_class xj = 0;
                    for (std::size_t p = 0; p < t.size(); ++p)
                        xj += t[p] * rat_value(s.x(j, static_cast<i32>(p)));
                    sum += m[i][j] * xj;
                }
                EXPECT_TRUE(sum == m[i][n]) << "row " << i << ": " << sum.get_str();
            }
        }
    }
}

namespace {

// A system as cell texts beside its exact values (real and imaginary parts).
struct TextSystem {
    std::vector<std::vector<std::string>> cells;
    QMatrix re, im;
};

// x exactly, real parts then imaginary parts, from the real form
// [[Re, -Im], [Im, Re]] of 2n rows (FLINT); empty when the system is singular.
std::vector<mpq_class> exact_solution(const TextSystem& s) {
    const slong n = static_cast<slong>(s.re.size());
    fmpq_mat_t a, b, x;
    fmpq_mat_init(a, 2 * n, 2 * n);
    fmpq_mat_init(b, 2 * n, 1);
    fmpq_mat_init(x, 2 * n, 1);
    for (slong i = 0; i < n; ++i) {
        for (slong j = 0; j < n; ++j) {
            const mpq_class& re = s.re[i][j];
            const mpq_class& im = s.im[i][j];
            fmpq_set_mpq(fmpq_mat_entry(a, i, j), re.get_mpq_t());
            fmpq_set_mpq(fmpq_mat_entry(a, n + i, n + j), re.get_mpq_t());
            fmpq_set_mpq(fmpq_mat_entry(a, i, n + j), mpq_class(-im).get_mpq_t());
            fmpq_set_mpq(fmpq_mat_entry(a, n + i, j), im.get_mpq_t());
        }
        fmpq_set_mpq(fmpq_mat_entry(b, i, 0), s.re[i][n].get_mpq_t());
        fmpq_set_mpq(fmpq_mat_entry(b, n + i, 0), s.im[i][n].get_mpq_t());
    }
    std::vector<mpq_class> out;
    if (fmpq_mat_solve(x, a, b)) {
        for (slong i = 0; i < 2 * n; ++i) {
            out.emplace_back();
            fmpq_get_mpq(out.back().get_mpq_t(), fmpq_mat_entry(x, i, 0));
        }
    }
    fmpq_mat_clear(a);
    fmpq_mat_clear(b);
    fmpq_mat_clear(x);
    return out;
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
            s.re[i][j] = mpq_class(p, q);
            if (family == 1) {
                t += "*1e" + std::to_string(scale);
                mpz_class ten;
                mpz_ui_pow_ui(ten.get_mpz_t(), 10, static_cast<unsigned long>(std::labs(scale)));
                if (scale < 0) s.re[i][j] /= ten;
                if (scale > 0) s.re[i][j] *= ten;
            }
            const bool near_first = family == 2 && i == n - 1;
            if (near_first) {
                mpz_class ten;
                mpz_ui_pow_ui(ten.get_mpz_t(), 10, static_cast<unsigned long>(tiny));
                s.re[i][j] = s.re[0][j] + mpq_class(p, 1) / ten;
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

// shown is exact rounded half up to `digits` significant digits (within
// half a unit of its last digit), or exactly 0 when exact is.
::testing::AssertionResult rounded_from(mpfr_srcptr shown, const mpq_class& exact, i32 digits) {
    Mpfr v(4000), err(4000), unit(4000);
    mpfr_set_q(v, exact.get_mpq_t(), MPFR_RNDN);
    if (exact == 0) {
        if (mpfr_zero_p(shown)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "not 0 but " << mpfr_get_d(shown, MPFR_RNDN);
    }
    mpfr_sub(err, shown, v, MPFR_RNDN);
    mpfr_abs(v, v, MPFR_RNDN);
    mpfr_log10(unit, v, MPFR_RNDD);
    mpfr_floor(unit, unit);
    mpfr_sub_si(unit, unit, digits - 1, MPFR_RNDN);
    mpfr_exp10(unit, unit, MPFR_RNDN);
    mpfr_div(err, err, unit, MPFR_RNDN);
    if (mpfr_cmpabs_ui(err, 1) < 0 && std::fabs(mpfr_get_d(err, MPFR_RNDN)) <= 0.5 + 1e-9)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << mpfr_get_d(err, MPFR_RNDN) << " units of the last digit off the exact value";
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
        for (i32 i = 0; i < n; ++i) {
            for (i32 j = 0; j <= n; ++j) {
                const std::string& t = s.cells[i][j];
                g.set_cell(i, j == n ? LINEAR_COLUMN_B : j, std::u16string(t.begin(), t.end()));
            }
        }
        const std::string out = narrow(linear_solve_cells(
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

TEST_F(LinearTest, ParameterNamesForUpToThirtyParameters) {
    for (i64 p = 1; p <= 30; ++p) {
        linear_solution sol;
        sol.param_count = p;
        std::string want;
        for (i64 q = 1; q <= p; ++q) {
            if (q > 1) want += ", ";
            if (q == 6 && p > 6) {
                want += "#, ";
                want += expected_name(p);
                break;
            }
            want += expected_name(q);
        }
        char16_t list[LINEAR_PARAM_LIST_CHARS + 1];
        const i64 len = parameter_list_text(list, sol);
        EXPECT_EQ(narrow(std::u16string(list, static_cast<std::size_t>(len))), want) << p;
        EXPECT_EQ(appError.load(), 0u);
        // Slot s carries the name of free unknown P + 1 - s.
        for (i64 s = 1; s <= p; ++s) {
            char16_t chars[16];
            TextBuf buf{0, 15, chars};
            parameter_name(buf, p, s);
            EXPECT_EQ(narrow(std::u16string(chars, static_cast<std::size_t>(buf.length))),
                      expected_name(p + 1 - s));
        }
    }
}
