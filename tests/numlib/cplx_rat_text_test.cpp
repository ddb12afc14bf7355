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

template <class Fn>
std::string print_with(Fn fn, const u64* x, u32 flags, i32 cap) {
    GuardedBuffer buf(cap);
    const i32 len = fn(buf.data(), cap, x, flags | NUM_TEXT_TERMINATE);
    EXPECT_TRUE(buf.canaries_intact());
    return ascii(buf.text(len));
}

std::string print_rat(const u64* x, u32 flags = 0) {
    return print_with(rat_to_text, x, flags,
                      static_cast<i32>(num_text_capacity(mp_int_words, MP_TYPE_RAT)));
}

std::string print_cplx(const u64* x, u32 flags = 0) {
    return print_with(cplx_to_text, x, flags,
                      static_cast<i32>(num_text_capacity(mp_real_words, MP_TYPE_CPLX)));
}

template <class Fn>
std::pair<Words, i32> parse_with(Fn fn, i64 words, const std::string& s, u32 in_flags) {
    Words out(static_cast<std::size_t>(words), 0xDEAD);
    const std::u16string t = u16(s);
    mp_error = 0;
    fn(out.data(), t.data(), static_cast<i32>(t.size()), in_flags);
    const i32 err = mp_err();
    mp_error = 0;
    return {out, err};
}

std::pair<Words, i32> parse_rat(const std::string& s, u32 in_flags = 0) {
    return parse_with(rat_from_text, 2 * mp_int_words + 1, s, in_flags);
}

std::pair<Words, i32> parse_cplx(const std::string& s, u32 in_flags = 0) {
    return parse_with(cplx_from_text, 2 * mp_real_words + 2, s, in_flags);
}

// ---- rat ---------------------------------------------------------------------

TEST_F(CplxRatTextTest, FractionsReduceAsGmpAndPrintBack) {
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
        auto [x, err] = parse_rat(text);
        ASSERT_EQ(err, 0) << text;
        EXPECT_EQ(x, q.words(n)) << text;
        // GMP writes "-a/b", or "a" for an integer, as we do.
        std::string want(mpz_sizeinbase(q.num(), 10) + mpz_sizeinbase(q.den(), 10) + 3, '\0');
        want.resize(std::strlen(mpq_get_str(want.data(), 10, q)));
        const std::string shown = print_rat(x.data());
        EXPECT_EQ(shown, want);
        auto [back, err2] =
            parse_rat(print_rat(x.data(), NUM_TEXT_GROUP | NUM_TEXT_SIGN), NUM_IN_GROUPS);
        EXPECT_EQ(err2, 0);
        EXPECT_EQ(back, x) << shown;
    }
}

TEST_F(CplxRatTextTest, MalformedFractions) {
    mp_set_int_words(1);
    // Values that are not well-formed.
    Words bad = {2, 1, 1};
    EXPECT_EQ(print_rat(bad.data()), "[?]");
    bad = {0, 1, 0};
    EXPECT_EQ(print_rat(bad.data()), "[?]");
    bad = {1, 0, 1};  // a negative zero
    EXPECT_EQ(print_rat(bad.data()), "0");
    EXPECT_EQ(print_rat(bad.data(), NUM_TEXT_SIGN), "-0");
}

// ---- cplx --------------------------------------------------------------------

TEST_F(CplxRatTextTest, ComplexRoundTripsEveryShape) {
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
        const std::string text = print_cplx(x.data(), flags);
        auto [back, err] = parse_cplx(text, NUM_IN_GROUPS);
        ASSERT_EQ(err, 0) << text;
        ASSERT_EQ(back, x) << text;
    }
}

TEST_F(CplxRatTextTest, ComplexTextOverflowsInTheImaginaryPart) {
    mp_set_real_words(1);
    auto [x, err] = parse_cplx("2+1e30i");
    // Overflow while the imaginary part is written leaves "[$]" and no unit.
    GuardedBuffer buf(6);
    const i32 len = cplx_to_text(buf.data(), 6, x.data(), NUM_TEXT_TERMINATE);
    EXPECT_TRUE(buf.canaries_intact());
    EXPECT_EQ(ascii(buf.text(len)), "[$]");
}

TEST_F(CplxRatTextTest, CurrentTypeDispatch) {
    u64 v[4] = {42, 0, 0, 0};
    char16_t buf[16];
    mp_num_type = MP_TYPE_UINT;
    EXPECT_EQ(ascii(std::u16string(buf, static_cast<std::size_t>(num_to_text(buf, 15, v, 0)))),
              "42");
    mp_num_type = MP_TYPE_NONE;
    EXPECT_EQ(num_to_text(buf, 15, v, 0), 0);
    EXPECT_EQ(mp_err(), MP_ERR_TYPE);
}

}  // namespace
