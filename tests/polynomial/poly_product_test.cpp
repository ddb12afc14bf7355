#include <mpc.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "numlib/cplx.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "poly_test_util.h"
#include "support/mpc_oracle.h"
#include "support/rat_harness.h"

namespace {

// Random small fractions p/q, a few of them zero.
void random_rat_poly(TestRng& rng, Poly& p, std::vector<Mpq>& ref, i32 degree) {
    poly_zero(p);
    for (i32 k = 0; k <= degree; ++k) {
        i64 num = rng.chance(15) ? 0 : rng.range(-1000, 1000);
        if (k == degree && num == 0) num = 7;
        Mpq& r = ref[static_cast<std::size_t>(k)];
        mpq_set_si(r, num, static_cast<unsigned long>(rng.range(1, 60)));
        mpq_canonicalize(r);
        const std::vector<u64> w = r.words(mp_int_words);
        std::copy(w.begin(), w.end(), p.slot(k));
    }
}

// Random cplx (or, with real_only, real) coefficients of mixed magnitude.
void random_cplx_poly(TestRng& rng, Poly& p, i32 degree, bool real_only) {
    poly_zero(p);
    for (i32 k = 0; k <= degree; ++k) {
        const std::vector<u64> c = random_cplx(rng, mp_real_words, RandomCplxOptions{-8, 8, 10});
        (real_only ? real_copy : cplx_copy)(p.slot(k), c.data());
    }
}

// The exact convolution of a and b against out, each coefficient within a
// unit of the digits-th digit of its value plus the rounding of the terms.
void check_cplx_product(const Poly& out, const Poly& a, const Poly& b, i32 digits, bool real) {
    const i32 m = mp_real_words;
    const mpfr_prec_t bits = 2 * cplx_ref_bits(m) + 64;
    auto value = [&](const Poly& p, i32 k, mpc_ptr z) {
        if (real) {
            mpfr_set_ui(mpc_imagref(z), 0, MPFR_RNDN);
            to_mpfr(mpc_realref(z), p.slot(k), m);
        } else {
            to_mpc(z, p.slot(k), m);
        }
    };
    for (i32 k = 0; k <= POLY_MAX_DEGREE; ++k) {
        Mpc sum(bits), size(bits), x(bits), y(bits), t(bits), got(bits);
        mpc_set_ui(sum, 0, MPC_RNDNN);
        mpfr_set_ui(size.re(), 0, MPFR_RNDN);
        for (i32 i = 0; i <= k; ++i) {
            value(a, i, x);
            value(b, k - i, y);
            mpc_mul(t, x, y, MPC_RNDNN);
            mpc_add(sum, sum, t, MPC_RNDNN);
            mpc_abs(got.re(), t, MPFR_RNDN);
            mpfr_add(size.re(), size.re(), got.re(), MPFR_RNDN);
        }
        value(out, k, got);
        mpc_sub(t, got, sum, MPC_RNDNN);
        Mpfr err(bits), bound(bits), mag(bits);
        mpc_abs(err, t, MPFR_RNDN);
        mpc_abs(mag, sum, MPFR_RNDN);
        // one unit of the digits-th digit of the result, and the word-level
        // rounding of each term on the scale of the largest one
        mpfr_mul_d(bound, mag, 2 * std::pow(10.0, 1 - digits), MPFR_RNDU);
        mpfr_mul_d(mag, size.re(), 1e-14 * std::pow(10.0, -19.0 * (m - 1)), MPFR_RNDU);
        mpfr_add(bound, bound, mag, MPFR_RNDU);
        EXPECT_LE(mpfr_cmp(err, bound), 0)
            << "coefficient " << k << " = " << cplx_text(out.slot(k), m)
            << (real ? " (real)" : " (cplx)");
    }
}

TEST_F(PolyTest, RatProductIsTheExactConvolution) {
    use_type(MP_TYPE_RAT, 6);
    for (i64 iter = 0; iter < test_iterations(60); ++iter) {
        const i32 da = static_cast<i32>(rng.range(0, 20));
        const i32 db = static_cast<i32>(rng.range(0, 20 - da));
        Poly a, b, out;
        std::vector<Mpq> ra(21), rb(21);
        random_rat_poly(rng, a, ra, da);
        random_rat_poly(rng, b, rb, db);
        poly_mul(out, a, b, 10);
        ASSERT_EQ(app_error(), 0u);
        EXPECT_EQ(poly_degree(out), da + db);
        for (i32 k = 0; k <= POLY_MAX_DEGREE; ++k) {
            Mpq want, t;
            for (i32 i = 0; i <= k; ++i) {
                if (i > da || k - i > db) continue;
                mpq_mul(t, ra[static_cast<std::size_t>(i)], rb[static_cast<std::size_t>(k - i)]);
                mpq_add(want, want, t);
            }
            Mpq got(out.slot(k), mp_int_words);
            EXPECT_TRUE(mpq_equal(got, want))
                << "x^" << k << ": " << got.text() << " vs " << want.text();
        }
    }
}

TEST_F(PolyTest, RealAndCplxProductsAreRoundedConvolutions) {
    for (bool real : {true, false}) {
        for (i64 iter = 0; iter < test_iterations(30); ++iter) {
            const i32 digits = static_cast<i32>(rng.range(5, 120));
            use_type(real ? MP_TYPE_REAL : MP_TYPE_CPLX,
                     num_words_for_digits(digits + 3, MP_TYPE_REAL));
            const i32 da = static_cast<i32>(rng.range(0, 12));
            const i32 db = static_cast<i32>(rng.range(0, 20 - da));
            Poly a, b, out;
            random_cplx_poly(rng, a, da, real);
            random_cplx_poly(rng, b, db, real);
            poly_mul(out, a, b, digits);
            ASSERT_EQ(app_error(), 0u);
            check_cplx_product(out, a, b, digits, real);
        }
    }
}

// q b + r = a with deg r < deg b: exactly for integer coefficients and a
// divisor with a unit leading coefficient in all three types (every
// quotient coefficient is then an integer), and for any rational divisor
// in rat.
TEST_F(PolyTest, QuotientTimesDivisorPlusRemainderIsTheDividend) {
    for (int pass = 0; pass < 4; ++pass) {
        const i32 type = pass == 1 ? MP_TYPE_REAL : pass == 2 ? MP_TYPE_CPLX : MP_TYPE_RAT;
        const bool fractions = pass == 3;
        use_type(type, fractions ? 10 : 6);
        for (i64 iter = 0; iter < test_iterations(40); ++iter) {
            const i32 db = static_cast<i32>(rng.range(0, fractions ? 6 : 10));
            const i32 da = static_cast<i32>(rng.range(0, fractions ? 12 : 20));
            Poly a, b, q, r, back;
            std::vector<Mpq> unused(21);
            if (fractions) {
                random_rat_poly(rng, a, unused, da);
                random_rat_poly(rng, b, unused, db);
            } else {
                for (i32 k = 0; k <= da; ++k) num_from_i64(a.slot(k), rng.range(-99, 99));
                for (i32 k = 0; k < db; ++k) num_from_i64(b.slot(k), rng.range(-99, 99));
                num_from_i64(b.slot(db), rng.chance(50) ? 1 : -1);
            }
            if (type == MP_TYPE_CPLX && rng.chance(50)) {
                cplx_from_text(a.slot(0), u"3-7i", 4, 0);
                cplx_from_text(b.slot(db), u"-i", 2, 0);
            }
            poly_divmod(q, r, a, b, 100);
            ASSERT_EQ(app_error(), 0u) << type;
            EXPECT_LT(poly_degree(r), db) << type;
            poly_mul(back, q, b, 100);
            poly_add_sub(back, back, r, false, 100);
            poly_add_sub(back, back, a, true, 100);
            ASSERT_EQ(app_error(), 0u);
            EXPECT_EQ(poly_degree(back), -1) << "type " << type << " da " << da << " db " << db;
        }
    }
}

}  // namespace
