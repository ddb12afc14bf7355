// The solver against exact rational arithmetic from GMP (random systems,
// singular families, inconsistent systems) and against MPFR residuals for
// real and complex systems.
#include <gmp.h>
#include <mpfr.h>

#include <cmath>
#include <string>
#include <vector>

#include "linear_exact.h"
#include "linear_test_util.h"
#include "numlib/cplx.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "support/gmp_oracle.h"
#include "support/mpfr_oracle.h"

namespace {

// Random integer rows; some rows are combinations of earlier ones (with
// their b, or with a changed b that makes the system inconsistent), some
// columns are zero.
IntMatrix random_matrix(TestRng& rng, i32 n, i64 bound) {
    IntMatrix m(static_cast<std::size_t>(n), std::vector<i64>(static_cast<std::size_t>(n + 1)));
    const bool singular = rng.chance(50);
    for (i32 i = 0; i < n; ++i) {
        for (auto& v : m[i]) v = rng.range(-bound, bound);
        if (singular && i > 0 && rng.chance(30)) {
            const i64 c1 = rng.range(-3, 3), c2 = rng.range(-3, 3);
            const i32 p = static_cast<i32>(rng.range(0, i - 1)),
                      q = static_cast<i32>(rng.range(0, i - 1));
            for (i32 j = 0; j <= n; ++j) m[i][j] = c1 * m[p][j] + c2 * m[q][j];
            if (rng.chance(20)) m[i][n] += rng.range(1, 5);
        }
    }
    if (singular && rng.chance(30)) {
        const auto col = static_cast<std::size_t>(rng.range(0, n - 1));
        for (auto& row : m) row[col] = 0;
    }
    return m;
}

void fill(OwnedSystem& s, const IntMatrix& m, bool complex_part_random, TestRng& rng) {
    const i32 n = static_cast<i32>(m.size());
    for (i32 i = 0; i < n; ++i) {
        for (i32 j = 0; j <= n; ++j) {
            u64* v = s.a(i, j);
            if (s.sys.type == MP_TYPE_RAT) {
                rat_from_i64(v, m[i][j]);
                continue;
            }
            real_from_i64(v, m[i][j]);
            if (s.sys.type == MP_TYPE_CPLX) {
                u64* im = cplx_im_of(v, mp_real_words);
                real_from_i64(im, complex_part_random ? rng.range(-50, 50) : 0);
            }
        }
    }
}

}  // namespace

TEST_F(LinearTest, RationalSystemsAreSolvedExactly) {
    mpq_t sum, term, xv, cv;
    mpq_inits(sum, term, xv, cv, nullptr);
    for (i64 iter = 0; iter < test_iterations(60); ++iter) {
        const i32 n = static_cast<i32>(rng.range(2, 25));
        const IntMatrix m = random_matrix(rng, n, 9);
        OwnedSystem s(n, MP_TYPE_RAT, 10);
        fill(s, m, false, rng);
        solve_linear(s.sys, s.sol);
        ASSERT_EQ(appError.load(), 0u) << "n " << n;
        const i32 rank = exact_rank(m, n), rank_b = exact_rank(m, n + 1);
        if (rank_b > rank) {
            EXPECT_EQ(s.sol.count, -1) << "n " << n;
            continue;
        }
        std::string rows;
        for (const auto& row : m) {
            for (i64 v : row) rows.append(std::to_string(v)).append(" ");
            rows.append("; ");
        }
        ASSERT_EQ(s.sol.count, n) << rows;
        ASSERT_EQ(s.sol.param_count, n - rank);
        // Every member of the family solves the system.
        for (int trial = 0; trial < 3; ++trial) {
            std::vector<i64> t(static_cast<std::size_t>(s.sol.param_count + 1));
            for (auto& v : t) v = rng.range(-20, 20);
            std::vector<__mpq_struct> x(static_cast<std::size_t>(n));
            for (i32 j = 0; j < n; ++j) {
                mpq_init(&x[j]);
                mpq_set(&x[j], rat_value(s.x(j, 0)).get_mpq_t());
                for (i64 p = 1; p <= s.sol.param_count; ++p) {
                    mpq_set(cv, rat_value(s.x(j, static_cast<i32>(p))).get_mpq_t());
                    mpq_set_si(term, t[p], 1);
                    mpq_mul(term, term, cv);
                    mpq_add(&x[j], &x[j], term);
                }
            }
            for (i32 i = 0; i < n; ++i) {
                mpq_set_si(sum, 0, 1);
                for (i32 j = 0; j < n; ++j) {
                    mpq_set_si(term, m[i][j], 1);
                    mpq_mul(term, term, &x[j]);
                    mpq_add(sum, sum, term);
                }
                mpq_set_si(term, m[i][n], 1);
                EXPECT_TRUE(mpq_equal(sum, term)) << "n " << n << " row " << i;
            }
            for (auto& q : x) mpq_clear(&q);
        }
    }
    mpq_clears(sum, term, xv, cv, nullptr);
}

namespace {

// |sum_j a_ij x_j - b_i| for one part (re or im) of a complex system, with
// x_j = c_0 + sum_s c_s t_s; the integer matrices carry imaginary parts in im.
double residual(OwnedSystem& s, const IntMatrix& re, const IntMatrix& im, const std::vector<i64>& t,
                i32 row, bool imag_part) {
    const i32 n = static_cast<i32>(re.size());
    const mpfr_prec_t bits = 4000;
    Mpfr sum(bits), xr(bits), xi(bits), cr(bits), ci(bits);
    mpfr_set_si(sum, 0, MPFR_RNDN);
    const bool cplx = s.sys.type == MP_TYPE_CPLX;
    for (i32 j = 0; j < n; ++j) {
        mpfr_set_si(xr, 0, MPFR_RNDN);
        mpfr_set_si(xi, 0, MPFR_RNDN);
        for (i64 p = 0; p <= s.sol.param_count; ++p) {
            const u64* c = s.x(j, static_cast<i32>(p));
            to_mpfr(cr, c, mp_real_words);
            mpfr_mul_si(cr, cr, p == 0 ? 1 : t[static_cast<std::size_t>(p)], MPFR_RNDN);
            mpfr_add(xr, xr, cr, MPFR_RNDN);
            if (cplx) {
                to_mpfr(ci, cplx_im_of(c, mp_real_words), mp_real_words);
                mpfr_mul_si(ci, ci, p == 0 ? 1 : t[static_cast<std::size_t>(p)], MPFR_RNDN);
                mpfr_add(xi, xi, ci, MPFR_RNDN);
            }
        }
        // (a + bi)(xr + xi i): real part a xr - b xi, imaginary part a xi + b xr.
        const long a = re[row][j], b = im[row][j];
        mpfr_mul_si(cr, imag_part ? xi : xr, a, MPFR_RNDN);
        mpfr_mul_si(ci, imag_part ? xr : xi, b, MPFR_RNDN);
        if (imag_part) {
            mpfr_add(cr, cr, ci, MPFR_RNDN);
        } else {
            mpfr_sub(cr, cr, ci, MPFR_RNDN);
        }
        mpfr_add(sum, sum, cr, MPFR_RNDN);
    }
    mpfr_sub_si(sum, sum, imag_part ? im[row][n] : re[row][n], MPFR_RNDN);
    return mpfr_get_d(sum, MPFR_RNDN);
}

}  // namespace

TEST_F(LinearTest, RealAndComplexSystemsHaveSmallResiduals) {
    for (i64 iter = 0; iter < test_iterations(40); ++iter) {
        const bool cplx = rng.chance(50);
        const i32 n = static_cast<i32>(rng.range(2, 25));
        const i32 digits = static_cast<i32>(rng.range(20, 60));
        // Complex systems stay regular: the exact rank is known for the real ones only.
        const IntMatrix re = cplx ? random_matrix(rng, n, 0) : random_matrix(rng, n, 9);
        IntMatrix im = re;
        for (auto& row : im) {
            for (auto& v : row) v = cplx ? rng.range(-9, 9) : 0;
        }
        IntMatrix re_full = re;
        if (cplx) {
            for (auto& row : re_full) {
                for (auto& v : row) v = rng.range(-9, 9);
            }
        }
        OwnedSystem s(n, cplx ? MP_TYPE_CPLX : MP_TYPE_REAL, digits);
        for (i32 i = 0; i < n; ++i) {
            for (i32 j = 0; j <= n; ++j) {
                real_from_i64(s.a(i, j), re_full[i][j]);
                if (cplx) real_from_i64(cplx_im_of(s.a(i, j), mp_real_words), im[i][j]);
            }
        }
        solve_linear(s.sys, s.sol);
        ASSERT_EQ(appError.load(), 0u);
        SCOPED_TRACE("n " + std::to_string(n) + " digits " + std::to_string(digits));
        if (!cplx) {
            const i32 rank = exact_rank(re_full, n), rank_b = exact_rank(re_full, n + 1);
            if (rank_b > rank) {
                EXPECT_EQ(s.sol.count, -1);
                continue;
            }
            ASSERT_EQ(s.sol.param_count, n - rank);
        }
        if (s.sol.count < 0) continue;  // a numerically singular complex system
        std::vector<i64> t(static_cast<std::size_t>(s.sol.param_count + 1));
        for (auto& v : t) v = rng.range(-5, 5);
        const double tol = std::pow(10.0, -(digits - 8));
        for (i32 i = 0; i < n; ++i) {
            EXPECT_LT(std::fabs(residual(s, re_full, im, t, i, false)), tol) << "row " << i;
            if (cplx) {
                EXPECT_LT(std::fabs(residual(s, re_full, im, t, i, true)), tol) << "row " << i;
            }
        }
    }
}
