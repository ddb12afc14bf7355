#include <cmath>
#include <vector>

#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "roots_test_util.h"
#include "support/mpfr_oracle.h"

namespace {

// p(z) and p'(z) in MPC for the integer coefficients c (a_0 first).
void eval_mpc(mpc_ptr p, mpc_ptr dp, const std::vector<i64>& c, mpc_srcptr z) {
    mpc_set_ui(p, 0, MPC_RNDNN);
    mpc_set_ui(dp, 0, MPC_RNDNN);
    for (std::size_t k = c.size(); k-- > 0;) {
        mpc_mul(dp, dp, z, MPC_RNDNN);
        mpc_add(dp, dp, p, MPC_RNDNN);
        mpc_mul(p, p, z, MPC_RNDNN);
        mpc_add_si(p, p, c[k], MPC_RNDNN);
    }
}

// Newton's method from a found root to the exact root it approximates.
void polish(mpc_ptr z, const std::vector<i64>& c, mpfr_prec_t bits) {
    Mpc p(bits), dp(bits);
    for (int it = 0; it < 40; ++it) {
        eval_mpc(p, dp, c, z);
        if (mpc_cmp_si(dp, 0) == 0) return;
        mpc_div(p, p, dp, MPC_RNDNN);
        mpc_sub(z, z, p, MPC_RNDNN);
    }
}

// Random integer polynomials of degree 1 to 10: every root found, polished
// by Newton's method in MPC, must be within a unit of its last digit of the
// exact root, distinct roots must polish to distinct roots, and the
// multiplicities must add up to the degree.
TEST_F(RootsTest, RandomIntegerPolynomialsAgainstPolishedRoots) {
    for (i64 iter = 0; iter < test_iterations(40); ++iter) {
        const i32 n = static_cast<i32>(rng.range(1, 10));
        const i32 digits = static_cast<i32>(rng.chance(70) ? rng.range(5, 40) : rng.range(41, 250));
        prepare(n, digits);
        std::vector<i64> c(static_cast<std::size_t>(n + 1));
        for (i64& v : c) v = rng.range(-100, 100);
        if (c.back() == 0) c.back() = 1;
        SCOPED_TRACE("degree " + std::to_string(n) + ", digits " + std::to_string(digits));
        const i64 count = solve(from_ints(c));
        ASSERT_GE(count, 1) << "app error " << appError.load() << ", library error " << mp_err()
                            << ", sweeps " << result.sweeps;
        i64 total = 0;
        std::vector<std::unique_ptr<Mpc>> exact;
        for (i64 i = 0; i < count; ++i) {
            total += result.multiplicity[i];
            exact.push_back(std::make_unique<Mpc>(ref_bits()));
            Mpc& z = *exact.back();
            to_mpc(z, result.roots[i], words);
            if (result.multiplicity[i] == 1) polish(z, c, ref_bits());
            if (!mpfr_zero_p(z.im())) {
                // a real root polished from a complex start keeps a trace of
                // an imaginary part; the root itself is real
                Mpfr mag(ref_bits());
                mpc_abs(mag, z, MPFR_RNDN);
                mpfr_div(mag, z.im(), mag, MPFR_RNDN);
                if (std::fabs(mpfr_get_d(mag, MPFR_RNDN)) < 1e-50)
                    mpfr_set_ui(z.im(), 0, MPFR_RNDN);
            }
            EXPECT_TRUE(near_root(i, *exact.back()));
            for (i64 j = 0; j < i; ++j)
                EXPECT_NE(mpc_cmp(*exact[static_cast<std::size_t>(j)], *exact.back()), 0);
        }
        EXPECT_EQ(total, n);
    }
}

}  // namespace
