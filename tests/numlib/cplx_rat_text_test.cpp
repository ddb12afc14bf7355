// Fraction and complex text: round trips against GMP's fractions and MPC's
// parts, the shapes of complex text, malformed values and short buffers.
#include <gmp.h>

#include <cstring>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "support/gmp_oracle.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/rat_harness.h"
#include "support/text_helpers.h"

namespace {

using CplxRatTextTest = NumlibTest;
using Words = std::vector<u64>;

// x as num_to_text prints it in the current type, into a guarded buffer.
std::string print(const u64* x, u32 flags = 0) {
    const i64 words = mp_num_type == MP_TYPE_RAT ? mp_int_words : mp_real_words;
    const i32 cap = static_cast<i32>(num_text_capacity(static_cast<i32>(words), mp_num_type));
    GuardedBuffer buf(cap);
    const i32 len = num_to_text(buf.data(), cap, x, flags | NUM_TEXT_TERMINATE);
    EXPECT_TRUE(buf.canaries_intact());
    return ascii(buf.text(len));
}

// s read as a value of the current type; the error into *err.
Words parse(const std::string& s, u32 in_flags, i32* err) {
    const bool rat = mp_num_type == MP_TYPE_RAT;
    Words out(static_cast<std::size_t>(rat ? 2 * mp_int_words + 1 : 2 * mp_real_words + 2), 0xDEAD);
    const std::u16string t = u16(s);
    (rat ? rat_from_text : cplx_from_text)(out.data(), t.data(), static_cast<i32>(t.size()),
                                           in_flags);
    *err = mp_error.exchange(0);
    return out;
}

// ---- rat ---------------------------------------------------------------------

TEST_F(CplxRatTextTest, FractionsReduceAsGmpAndPrintBack) {
    mp_num_type = MP_TYPE_RAT;
    i32 err = 0;
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        const i64 n = rng.word_count(iter % 20 == 0 ? 300 : 6);
        mp_set_int_words(static_cast<i32>(n));
        Words a(static_cast<std::size_t>(n)), b(static_cast<std::size_t>(n));
        rng.fill(a.data(), n, rng.range(0, n));
        rng.fill(b.data(), n, rng.range(1, n));
        const std::string sign = rng.chance(50) ? "-" : "";
        const std::string text =
            sign + mpz_digits(Mpz(a.data(), n), 10) + "/" + mpz_digits(Mpz(b.data(), n), 10);
        Mpq q;
        mpq_set_str(q, text.c_str(), 10);
        mpq_canonicalize(q);
        const Words x = parse(text, 0, &err);
        ASSERT_EQ(err, 0) << text;
        EXPECT_EQ(x, q.words(n)) << text;
        // GMP writes "-a/b", or "a" for an integer, as we do.
        std::string want(mpz_sizeinbase(q.num(), 10) + mpz_sizeinbase(q.den(), 10) + 3, '\0');
        want.resize(std::strlen(mpq_get_str(want.data(), 10, q)));
        EXPECT_EQ(print(x.data()), want);
        EXPECT_EQ(parse(print(x.data(), NUM_TEXT_GROUP | NUM_TEXT_SIGN), NUM_IN_GROUPS, &err), x);
        EXPECT_EQ(err, 0) << want;
    }
}

TEST_F(CplxRatTextTest, MalformedFractions) {
    mp_num_type = MP_TYPE_RAT;
    mp_set_int_words(1);
    // Values that are not well-formed.
    Words bad = {2, 1, 1};
    EXPECT_EQ(print(bad.data()), "[?]");
    bad = {0, 1, 0};
    EXPECT_EQ(print(bad.data()), "[?]");
    bad = {1, 0, 1};  // a negative zero
    EXPECT_EQ(print(bad.data()), "0");
    EXPECT_EQ(print(bad.data(), NUM_TEXT_SIGN), "-0");
}

// ---- cplx --------------------------------------------------------------------

TEST_F(CplxRatTextTest, ComplexRoundTripsEveryShape) {
    mp_num_type = MP_TYPE_CPLX;
    i32 err = 0;
    for (i64 iter = 0; iter < test_iterations(1500); ++iter) {
        const i64 m = iter % 50 == 0 ? rng.range(100, 527) : rng.range(1, 3);
        mp_set_real_words(static_cast<i32>(m));
        RandomRealOptions opt;
        opt.zero_percent = 25;
        opt.exp_min = -30;
        opt.exp_max = 30;
        Words x(static_cast<std::size_t>(2 * m + 2));
        random_real(rng, x.data(), m, opt);
        random_real(rng, x.data() + m + 1, m, opt);
        if (rng.chance(10)) real_one(x.data() + m + 1);
        if (rng.chance(10)) real_negate(x.data() + m + 1);
        for (i64 part : {i64{0}, m + 1})
            if (real_is_zero(x.data() + part)) x[static_cast<std::size_t>(part)] = 0;
        const u32 flags = (rng.chance(30) ? u32{NUM_TEXT_SIGN} : 0u) |
                          (rng.chance(30) ? u32{NUM_TEXT_EXP_ALWAYS} : 0u) |
                          (rng.chance(30) ? u32{NUM_TEXT_GROUP} : 0u);
        const std::string text = print(x.data(), flags);
        ASSERT_EQ(parse(text, NUM_IN_GROUPS, &err), x) << text;
        ASSERT_EQ(err, 0) << text;
    }
}

TEST_F(CplxRatTextTest, ComplexTextOverflowsInTheImaginaryPart) {
    mp_num_type = MP_TYPE_CPLX;
    mp_set_real_words(1);
    i32 err = 0;
    const Words x = parse("2+1e30i", 0, &err);
    // Overflow while the imaginary part is written leaves "[$]" and no unit.
    GuardedBuffer buf(6);
    const i32 len = cplx_to_text(buf.data(), 6, x.data(), NUM_TEXT_TERMINATE);
    EXPECT_TRUE(buf.canaries_intact());
    EXPECT_EQ(ascii(buf.text(len)), "[$]");
}

// Printing in no number type is error 3.
TEST_F(CplxRatTextTest, NoTypeIsAnError) {
    u64 v[4] = {42, 0, 0, 0};
    char16_t buf[16];
    mp_num_type = MP_TYPE_NONE;
    EXPECT_EQ(num_to_text(buf, 15, v, 0), 0);
    EXPECT_EQ(mp_err(), MP_ERR_TYPE);
}

}  // namespace
