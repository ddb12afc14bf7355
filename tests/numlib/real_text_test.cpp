// Real text: the layout of a value's exact digits in every notation and flag
// combination, whole-number display against exact integer rounding, parsing
// against exactly rounded decimal values, markers and buffers (the syntax
// rules are rows of golden/number_text.txt).
#include <gmp.h>

#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/text_helpers.h"

namespace {

using RealTextTest = NumlibTest;
using Words = std::vector<u64>;

constexpr u32 kAllFlags = NUM_TEXT_SIGN | NUM_TEXT_EXP_NO_PLUS | NUM_TEXT_GROUP |
                          NUM_TEXT_POINT_ZERO | NUM_TEXT_WHOLE | NUM_TEXT_EXP_ALWAYS |
                          NUM_TEXT_ALL_DIGITS;

// The text in a buffer of the capacity a value needs, plus room for the
// zeros of fixed notation when a test moves the display thresholds.
std::string print(const u64* x, i64 m, u32 flags, i32 extra = 0) {
    const i32 cap = static_cast<i32>(num_text_capacity(static_cast<i32>(m), MP_TYPE_REAL)) + extra;
    GuardedBuffer buf(cap);
    const i32 len = real_to_text(buf.data(), cap, x, flags | NUM_TEXT_TERMINATE);
    EXPECT_TRUE(buf.canaries_intact());
    return ascii(buf.text(len));
}

std::pair<Words, i32> parse(const std::string& s, i64 m) {
    Words out(static_cast<std::size_t>(m + 1), 0xDEAD);
    const std::u16string t = u16(s);
    mp_error = 0;
    real_from_text(out.data(), t.data(), static_cast<i32>(t.size()), 0);
    const i32 err = mp_err();
    mp_error = 0;
    return {out, err};
}

// A value as sign, significant digits (trailing zeros removed, "" for zero)
// and decimal exponent of the first digit.
struct Decimal {
    bool negative = false;
    std::string digits;
    i64 e = 0;
};

// The digits of x, or for the whole-number display |x| rounded half up to an
// integer, exactly.
Decimal digits_of(const u64* x, i64 m, bool whole) {
    Decimal d;
    d.negative = real_sign(x) && !real_is_zero(x);
    if (whole && real_exp_of(x) < -1) return d;  // below one tenth: no need of a huge power
    Mpz n;
    i64 e10;
    real_exact(n, &e10, x, m);
    mpz_abs(n.get(), n.get());
    if (whole && e10 < 0) {
        Mpz p;
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(-e10));
        mpz_mul_2exp(n, n, 1);
        mpz_add(n, n, p);
        mpz_mul_2exp(p, p, 1);
        mpz_fdiv_q(n, n, p);
        e10 = 0;
    }
    if (mpz_sgn(n.get()) == 0) return d;
    d.digits = mpz_digits(n, 10);
    d.e = static_cast<i64>(d.digits.size()) - 1 + e10;
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    return d;
}

std::string zeros(i64 n) {
    return std::string(static_cast<std::size_t>(n > 0 ? n : 0), '0');
}

// Digits i .. i + count - 1 of d, "0" past its end.
std::string slice(const Decimal& d, i64 from, i64 count) {
    if (count <= 0) return "";
    std::string s = d.digits + zeros(from + count - static_cast<i64>(d.digits.size()));
    return s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
}

// The expected text, laid out from the digits by string operations.
std::string layout(const Decimal& v, i64 m, u32 flags) {
    const i64 d = 19 * m, k = static_cast<i64>(v.digits.size()), e = v.e;
    const bool whole = flags & NUM_TEXT_WHOLE, all = flags & NUM_TEXT_ALL_DIGITS;
    std::string out = v.negative ? "-" : (flags & NUM_TEXT_SIGN) ? "+" : "";
    const bool fixed = (whole || (!(flags & NUM_TEXT_EXP_ALWAYS) && e > mp_fixed_exp_low)) &&
                       e < (whole ? mp_fixed_exp_high_int : mp_fixed_exp_high);
    std::string frac;
    if (!fixed) {
        out += slice(v, 0, 1);
        frac = slice(v, 1, all ? d - 1 : k - 1);
        if (frac.empty() && (flags & NUM_TEXT_POINT_ZERO)) frac = "0";
        if (!frac.empty()) out.append(".").append(frac);
        out.append("e").append(e < 0 ? "-" : (flags & NUM_TEXT_EXP_NO_PLUS) ? "" : "+");
        out.append(std::to_string(e < 0 ? -e : e));
        return out;
    }
    if (e >= 0) {
        const std::string whole_part = slice(v, 0, e + 1);
        out += (flags & NUM_TEXT_GROUP) ? grouped(whole_part, 3) : whole_part;
        if (!whole) frac = slice(v, e + 1, (all ? d : k) - (e + 1));
    } else {
        out += "0";
        if (!whole) frac = zeros(-e - 1) + slice(v, 0, all ? d : k);
    }
    if (frac.empty() && (flags & NUM_TEXT_POINT_ZERO)) frac = "0";
    if (!frac.empty()) out.append(".").append(frac);
    return out;
}

u32 random_flags(TestRng& rng) {
    u32 f = 0;
    for (u32 bit = 25; bit <= 31; ++bit)
        if (rng.chance(25)) f |= 1u << bit;
    return f & kAllFlags;
}

TEST_F(RealTextTest, LaysOutTheDigitsInEveryNotation) {
    for (i64 iter = 0; iter < test_iterations(1500); ++iter) {
        const i64 m = iter % 50 == 0 ? rng.range(100, 527) : rng.range(1, 4);
        mp_set_real_words(static_cast<i32>(m));
        const bool wide = rng.chance(20);
        mp_fixed_exp_low = wide ? -1000 : -4;
        mp_fixed_exp_high = wide ? 10000 : 10;
        const Words x = random_real(
            rng, m, {.exp_min = -60, .exp_max = 60, .zero_percent = 5, .edge_percent = 3});
        const u32 flags = random_flags(rng);
        if ((flags & NUM_TEXT_WHOLE) && real_exp_of(x.data()) > 100000) continue;
        const Decimal v = digits_of(x.data(), m, flags & NUM_TEXT_WHOLE);
        ASSERT_EQ(print(x.data(), m, flags, 3000), layout(v, m, flags))
            << "flags " << std::hex << flags << std::dec << " x " << real_text(x.data(), m, 60);
        ASSERT_EQ(mp_err(), 0);
    }
}

// A random decimal text with more or fewer digits than the precision, a
// separator anywhere and an exponent, against the exactly rounded value.
TEST_F(RealTextTest, ParsesDecimalTextRoundedHalfUp) {
    for (i64 iter = 0; iter < test_iterations(1500); ++iter) {
        const i64 m = iter % 50 == 0 ? rng.range(100, 527) : rng.range(1, 4);
        mp_set_real_words(static_cast<i32>(m));
        const i64 len = rng.range(1, 19 * m + 25);
        const int style = static_cast<int>(rng.range(0, 3));  // random, nines, zeros, round-up tail
        std::string digits(static_cast<std::size_t>(len), style == 1 ? '9' : '0');
        if (style != 1 && style != 2)
            for (char& c : digits) c = static_cast<char>('0' + rng.range(0, 9));
        if (style == 3 && len > 19 * m) digits[static_cast<std::size_t>(19 * m)] = '5';
        const i64 lead = rng.chance(30) ? rng.range(0, 30) : 0;
        digits = zeros(lead) + digits;
        const i64 point = rng.range(1, static_cast<i64>(digits.size()));  // digits before it
        const i64 exp = rng.chance(50) ? rng.range(-100000, 100000) : 0;
        const bool neg = rng.chance(50);
        std::string text = neg ? "-" : rng.chance(20) ? "+" : "";
        text.append(digits, 0, static_cast<std::size_t>(point));
        if (point < static_cast<i64>(digits.size()))
            text.append(rng.chance(50) ? "." : ",").append(digits, static_cast<std::size_t>(point));
        if (exp != 0 || rng.chance(10))
            text.append(rng.chance(50) ? "e" : "E").append(std::to_string(exp));
        DecimalDigits want_d{neg ? 1 : 0, digits, point - 1 + exp};
        Words want(static_cast<std::size_t>(m + 1));
        real_from_digits(want.data(), m, want_d);
        auto [got, err] = parse(text, m);
        ASSERT_EQ(err, 0) << text;
        ASSERT_EQ(got, want) << text << "\n want " << real_text(want.data(), m, 60) << "\n got  "
                             << real_text(got.data(), m, 60);
    }
}

// The marker rows: a value that is not well-formed, a pending error, and
// capacities around the length.
TEST_F(RealTextTest, MarkersAndBufferBoundaries) {
    mp_set_real_words(2);
    // word 1 below 10^18, a zero with an exponent, a word above the base
    for (const Words& bad : {Words{0, 5, 0}, Words{2, 0, 0}, Words{0, REAL_TOP, REAL_BASE}})
        EXPECT_EQ(print(bad.data(), 2, 0), "[?]");
    auto [x, err] = parse("-123.25", 2);
    mp_error = MP_ERR_DIV_ZERO;
    EXPECT_EQ(print(x.data(), 2, 0), "!-123.25");
    for (i32 cap = 0; cap <= 9; ++cap) {
        mp_error = 0;
        GuardedBuffer buf(cap);
        const i32 len = real_to_text(buf.data(), cap, x.data(), NUM_TEXT_TERMINATE);
        ASSERT_TRUE(buf.canaries_intact());
        const std::string want = cap >= 7 ? "-123.25" : cap >= 3 ? "[$]" : "";
        EXPECT_EQ(ascii(buf.text(len)), want) << cap;
        EXPECT_EQ(mp_err(), cap >= 7 ? 0 : MP_ERR_TEXT_SPACE);
    }
}

// Display thresholds moved far out give a text far longer than any buffer:
// it is cut to "[$]", and beyond a billion digits refused outright.
TEST_F(RealTextTest, HugeFixedTextsStayBounded) {
    auto [x, err] = parse("1e999999999", 1);
    mp_fixed_exp_high = 2000000000;
    EXPECT_EQ(print(x.data(), 1, 0), "[$]");
    EXPECT_EQ(mp_err(), MP_ERR_TEXT_SPACE);
    mp_error = 0;
    std::tie(x, err) = parse("1e1000000001", 1);
    EXPECT_EQ(print(x.data(), 1, 0), "[\\u00A7]");
    EXPECT_EQ(mp_err(), MP_ERR_INTERNAL);
}

}  // namespace
