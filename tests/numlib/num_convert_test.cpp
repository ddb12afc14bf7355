// Conversions between the number types: values against GMP and MPFR at
// random word counts, and the refusals.
#include <gtest/gtest.h>

#include <algorithm>

#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"
#include "numlib/vec.h"
#include "support/gmp_oracle.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

class NumConvertTest : public NumlibTest {
  protected:
    // Room for a value of any type at up to words words.
    static std::vector<u64> room(i64 words) { return std::vector<u64>(2 * words + 2, 0xDEAD); }
    static void use(i32 type, i32 words) {
        mp_num_type = type;
        mp_int_words = mp_real_words = words;
    }
};

// An integer rounds half up to 19m digits exactly; a fraction lands within
// one unit of its value.
TEST_F(NumConvertTest, IntegersAndFractionsToReal) {
    for (i64 it = 0; it < test_iterations(300); ++it) {
        const i32 n = static_cast<i32>(rng.range(1, 30)), m = static_cast<i32>(rng.range(1, 20));
        auto a = words(n), x = room(m);
        rng.fill(a.data(), n, rng.range(1, n));
        num_convert(x.data(), m, MP_TYPE_CPLX, a.data(), n, MP_TYPE_UINT);
        Mpfr v(64 * n + 64);
        mpfr_set_z(v, Mpz(a.data(), n), MPFR_RNDN);
        ASSERT_TRUE(real_is_rounded(x.data(), m, v));
        ASSERT_TRUE(real_is_zero(cplx_im_of(x.data(), m)));

        mp_int_words = n;
        auto q = room(n);
        rng.fill(rat_num(q.data()), n, rng.range(1, n));
        rng.fill(rat_den(q.data()), n, rng.range(1, n));
        q[0] = rng.range(0, 1);
        rat_reduce(rat_num(q.data()), rat_den(q.data()));
        num_convert(x.data(), m, MP_TYPE_REAL, q.data(), n, MP_TYPE_RAT);
        ASSERT_EQ(mp_err(), 0);
        Mpz num(rat_num(q.data()), n), den(rat_den(q.data()), n);
        Mpfr ref(oracle_bits(19 * m + 40)), d(oracle_bits(19 * m + 40));
        mpfr_set_z(ref, num, MPFR_RNDN);
        mpfr_set_z(d, den, MPFR_RNDN);
        mpfr_div(ref, ref, d, MPFR_RNDN);
        if (q[0] && !uint_is_zero(rat_num(q.data()))) mpfr_neg(ref, ref, MPFR_RNDN);
        ASSERT_LE(std::abs(ulps_from(x.data(), m, ref)), 1.0) << num.hex() << " / " << den.hex();
    }
}

// Integers survive every round trip through the other types when the target
// is wide enough; a value too long for the target is error 12.
TEST_F(NumConvertTest, IntegersRoundTripThroughEveryType) {
    const i32 types[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};
    for (i64 it = 0; it < test_iterations(200); ++it) {
        const i32 n = static_cast<i32>(rng.range(1, 20));
        auto a = words(n);
        rng.fill(a.data(), n, rng.range(1, n));
        const i32 via = types[rng.range(0, 3)];
        // 19m digits hold any n-word integer once 19m >= 19.27n.
        const i32 via_words = via == MP_TYPE_REAL || via == MP_TYPE_CPLX ? n + n / 50 + 1 : n;
        auto mid = room(std::max(n, via_words) + 1);
        auto back = room(n);
        num_convert(mid.data(), via_words, via, a.data(), n, MP_TYPE_UINT);
        num_convert(back.data(), n, MP_TYPE_UINT, mid.data(), via_words, via);
        ASSERT_EQ(mp_err(), 0) << "via type " << via;
        ASSERT_TRUE(std::equal(a.begin(), a.end(), back.begin())) << Mpz(a.data(), n).hex();

        const i32 len = static_cast<i32>(vec_len(a.data(), n));
        if (len < 2) continue;
        num_convert(back.data(), len - 1, MP_TYPE_UINT, mid.data(), via_words, via);
        ASSERT_EQ(mp_err(), MP_ERR_OVERFLOW) << "via type " << via;
        mp_error = 0;
    }
}

// Every ordered pair of types: 7 converts; -7/2 (2 + i in cplx) converts
// only where the target can hold it, else error 14 and zero.
TEST_F(NumConvertTest, EveryTypePair) {
    const i32 types[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};
    for (i32 src : types) {
        for (i32 dst : types) {
            for (bool fraction : {false, src != MP_TYPE_UINT}) {
                SCOPED_TRACE(testing::Message() << src << " to " << dst << " " << fraction);
                const i32 sw = static_cast<i32>(rng.range(1, 3)),
                          dw = static_cast<i32>(rng.range(1, 3));
                auto a = room(sw), out = room(dw);
                use(src, sw);
                num_from_i64(a.data(), fraction ? -7 : 7);
                if (fraction) num_div_u64(a.data(), a.data(), 2);
                if (fraction && src == MP_TYPE_CPLX) real_one(cplx_im_of(a.data(), sw));
                num_convert(out.data(), dw, dst, a.data(), sw, src);
                const bool held = !fraction || dst == src || (dst == MP_TYPE_CPLX) ||
                                  (src == MP_TYPE_RAT && dst == MP_TYPE_REAL);
                EXPECT_EQ(mp_err(), held ? 0 : MP_ERR_DOMAIN);
                mp_error = 0;
                use(dst, dw);
                i64 back = 0;
                const bool whole = num_to_i64(&back, out.data());
                // A fraction that converted has no i64; the others are 7 or 0.
                EXPECT_TRUE((fraction && held) || (whole && back == (fraction ? 0 : 7)));
            }
        }
    }
}

// An error pending before the call is kept; an unknown type and a word
// count below 1 are refused, and the context's word counts are restored.
TEST_F(NumConvertTest, PendingErrorsAndBadArguments) {
    auto x = room(1), u = room(1);
    mp_int_words = 1;
    rat_from_i64(x.data(), -3);
    mp_error = MP_ERR_DIV_ZERO;
    num_convert(u.data(), 1, MP_TYPE_UINT, x.data(), 1, MP_TYPE_RAT);
    EXPECT_EQ(mp_err(), MP_ERR_DIV_ZERO) << "negative rat into uint under a pending error";
    mp_error = 0;
    num_convert(u.data(), 1, 7, x.data(), 1, MP_TYPE_RAT);
    EXPECT_EQ(mp_err(), MP_ERR_TYPE);
    mp_error = 0;
    num_convert(u.data(), 0, MP_TYPE_UINT, x.data(), 1, MP_TYPE_RAT);
    EXPECT_EQ(mp_err(), MP_ERR_WORD_COUNT);
    EXPECT_EQ(mp_int_words, 1) << "context word counts restored";
}

}  // namespace
