// Conversions between the number types: values against GMP and MPFR at
// random word counts, and the refusals (every pair of types is a row of
// tests/golden/number_text.txt, run by num_text_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>

#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/vec.h"
#include "support/gmp_oracle.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/rat_harness.h"

namespace {

using NumConvertTest = NumlibTest;

// Room for a value of any type at up to words words.
std::vector<u64> room(i64 words) {
    return std::vector<u64>(static_cast<std::size_t>(2 * words + 2), 0xDEAD);
}

// Integers and fractions into reals against MPFR: an integer rounds half up
// to 19m digits exactly, a fraction lands within one unit of its value.
// Integers survive every round trip through the other types when the target
// is wide enough; a value too long for the target is error 12.
TEST_F(NumConvertTest, AgainstMpfrAndRoundTripsThroughEveryType) {
    const i32 types[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};
    for (i64 it = 0; it < test_iterations(300); ++it) {
        const i32 n = static_cast<i32>(rng.range(1, 30)), m = static_cast<i32>(rng.range(1, 20));
        auto a = words(n), x = room(m);
        rng.fill(a.data(), n, rng.range(1, n));
        num_convert(x.data(), m, MP_TYPE_CPLX, a.data(), n, MP_TYPE_UINT);
        Mpfr v(64 * n + 64);
        mpfr_set_z(v, Mpz(a.data(), n), MPFR_RNDN);
        ASSERT_TRUE(real_is_rounded(x.data(), m, v));
        ASSERT_TRUE(real_is_zero(cplx_im_of(x.data(), m)));

        const auto q = random_rat(rng, n);
        num_convert(x.data(), m, MP_TYPE_REAL, q.data(), n, MP_TYPE_RAT);
        ASSERT_EQ(mp_err(), 0);
        const Mpq vq(q.data(), n);
        Mpfr ref(oracle_bits(19 * m + 40));
        mpfr_set_q(ref, vq, MPFR_RNDN);
        ASSERT_LE(std::abs(ulps_from(x.data(), m, ref)), 1.0) << vq.text();

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

// An error pending before the call is kept; an unknown type and a word
// count below 1 are refused, and the context's word counts are restored; the
// other operations refuse an unknown type too, touching nothing.
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
    const auto before = u;
    mp_error = 0;
    mp_num_type = 5;
    num_copy(u.data(), x.data());
    EXPECT_EQ(mp_err(), MP_ERR_TYPE);
    mp_error = 0;
    num_pow10(u.data(), 3);
    EXPECT_EQ(mp_err(), MP_ERR_TYPE);
    EXPECT_EQ(u, before);
}

}  // namespace
