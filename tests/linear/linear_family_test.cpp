// Singular systems of every rank against their exact null spaces, real and
// complex solutions against the exact ones to the requested digits, the
// threshold below which values vanish, and the names of the parameters.
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

// x exactly for a regular system given as n rows of n + 1 (real) or, for
// cplx, as its real form [[Re, -Im], [Im, Re]] of 2n rows.
std::vector<mpq_class> exact_solution(const IntMatrix& re, const IntMatrix* im) {
    const std::size_t n = re.size();
    IntMatrix m = re;
    if (im != nullptr) {
        m.assign(2 * n, std::vector<i64>(2 * n + 1));
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                m[i][j] = m[n + i][n + j] = re[i][j];
                m[i][n + j] = -(*im)[i][j];
                m[n + i][j] = (*im)[i][j];
            }
            m[i][2 * n] = re[i][n];
            m[n + i][2 * n] = (*im)[i][n];
        }
    }
    QMatrix q = to_q(m);
    rref(q, static_cast<i32>(m.size()));
    std::vector<mpq_class> x;
    for (auto& row : q) x.push_back(row.back());
    return x;
}

// Diagonally dominant, so well conditioned.
IntMatrix dominant(TestRng& rng, i32 n, bool with_diagonal) {
    IntMatrix m(n, std::vector<i64>(n + 1));
    for (i32 i = 0; i < n; ++i) {
        for (auto& v : m[i]) v = rng.range(-1000, 1000);
        if (with_diagonal) m[i][i] = 1000 * (n + 1) * (rng.chance(50) ? 1 : -1);
    }
    return m;
}

}  // namespace

TEST_F(LinearTest, RealAndComplexSolutionsHaveTheirDigits) {
    for (i64 iter = 0; iter < test_iterations(24); ++iter) {
        const bool cplx = rng.chance(50);
        const i32 n = static_cast<i32>(rng.range(2, 25));
        const i32 digits =
            static_cast<i32>(rng.chance(20) ? rng.range(500, 1000) : rng.range(5, 80));
        SCOPED_TRACE(::testing::Message()
                     << "n " << n << " digits " << digits << (cplx ? " cplx" : " real"));
        const IntMatrix re = dominant(rng, n, true), im = dominant(rng, n, false);
        const std::vector<mpq_class> x = exact_solution(re, cplx ? &im : nullptr);
        OwnedSystem s(n, cplx ? MP_TYPE_CPLX : MP_TYPE_REAL, digits);
        for (i32 i = 0; i < n; ++i) {
            for (i32 j = 0; j <= n; ++j) {
                real_from_i64(s.a(i, j), re[i][j]);
                if (cplx) real_from_i64(cplx_im_of(s.a(i, j), mp_real_words), im[i][j]);
            }
        }
        solve_linear(s.sys, s.sol);
        ASSERT_EQ(appError.load(), 0u);
        ASSERT_EQ(s.sol.count, n);
        ASSERT_EQ(s.sol.param_count, 0);
        const mpfr_prec_t bits = oracle_bits(digits + 20);
        Mpfr ours(bits), exact(bits), diff(bits), size(bits), tol(bits);
        for (i32 i = 0; i < n; ++i) {
            // One unit of the last digit of |x_i|, plus the zero threshold.
            mpfr_set_q(size, x[i].get_mpq_t(), MPFR_RNDN);
            if (cplx) {
                mpfr_set_q(diff, x[n + i].get_mpq_t(), MPFR_RNDN);
                mpfr_hypot(size, size, diff, MPFR_RNDN);
            }
            mpfr_abs(size, size, MPFR_RNDN);
            mpfr_set_si(tol, 10, MPFR_RNDN);
            mpfr_pow_si(tol, tol, 1 - digits, MPFR_RNDN);
            mpfr_mul(tol, tol, size, MPFR_RNDN);
            mpfr_set_si(diff, 10, MPFR_RNDN);
            mpfr_pow_si(diff, diff, -digits, MPFR_RNDN);
            mpfr_add(tol, tol, diff, MPFR_RNDN);
            for (int part = 0; part < (cplx ? 2 : 1); ++part) {
                const u64* v = s.x(i, 0);
                to_mpfr(ours, part == 0 ? v : cplx_im_of(v, mp_real_words), mp_real_words);
                mpfr_set_q(exact, x[part * n + i].get_mpq_t(), MPFR_RNDN);
                mpfr_sub(diff, ours, exact, MPFR_RNDN);
                EXPECT_LE(mpfr_cmpabs(diff, tol), 0)
                    << "x" << i + 1 << " part " << part << " off by " << mpfr_get_d(diff, MPFR_RNDN)
                    << " of " << mpfr_get_d(exact, MPFR_RNDN);
            }
        }
    }
}

TEST_F(LinearTest, ValuesBelowTenToTheMinusDigitsVanish) {
    // x1 + x2 = 1, x1 + (1 + e) x2 = 1 + e: elimination leaves e in a22 and
    // b2; at or above 10^-D the system is regular, below it the second
    // equation vanishes.
    for (i32 digits : {5, 10, static_cast<i32>(rng.range(11, 999)), 1000}) {
        const std::string d = std::to_string(digits);
        for (const bool cplx : {false, true}) {
            for (const char* mantissa : {"1", "2", "0.9", "0.5"}) {
                std::string e = mantissa;
                e += "e-";
                e += d;
                if (cplx) e += "*i";
                const std::u16string a22(std::u16string(u"1+") +
                                         std::u16string(e.begin(), e.end()));
                LinearGridModel g;
                g.set_cell(0, 0, u"1");
                g.set_cell(0, 1, u"1");
                g.set_cell(0, LINEAR_COLUMN_B, u"1");
                g.set_cell(1, 0, u"1");
                g.set_cell(1, 1, a22);
                g.set_cell(1, LINEAR_COLUMN_B, a22);
                const std::string out = narrow(linear_solve_cells(
                    g, LinearSolveRequest{2, cplx ? MP_TYPE_CPLX : MP_TYPE_REAL, digits}));
                const bool kept = mantissa[0] != '0';
                EXPECT_EQ(out, kept ? "x1 = 0\r\nx2 = 1\r\n"
                                    : "x1 = 1-r\r\nx2 = r\r\n\r\nThe parameter variable r is "
                                      "freely selectable.\r\n")
                    << e;
            }
        }
    }
}

TEST_F(LinearTest, TinyComplexPartsVanishOneByOne) {
    const i32 digits = static_cast<i32>(rng.range(5, 1000));
    linear_set_context(MP_TYPE_CPLX, digits);
    const i64 w = mp_real_words;
    std::vector<u64> eps(w + 1), small(w + 1), v(2 * (w + 1));
    real_pow10(eps.data(), -digits);
    real_pow10(small.data(), -digits - 1);
    real_negate(small.data());
    u64* re = v.data();
    u64* im = cplx_im_of(v.data(), w);
    // (-eps/10) + eps i keeps only the imaginary part, and the other way round.
    real_copy(re, small.data());
    real_copy(im, eps.data());
    zero_if_tiny(v.data(), eps.data());
    EXPECT_TRUE(real_is_zero(re));
    EXPECT_EQ(real_cmp(im, eps.data()), 0);
    real_copy(re, eps.data());
    real_copy(im, small.data());
    zero_if_tiny(v.data(), eps.data());
    EXPECT_EQ(real_cmp(re, eps.data()), 0);
    EXPECT_TRUE(real_is_zero(im));
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
