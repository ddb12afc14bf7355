// Number text of every type through one harness. A table of (type, base,
// flags) rows drives the round trip: random values are printed (against
// GMP's digits for integers and fractions), read back, read from another
// spelling (GMP's digits in any base, unreduced fractions, the exact digits
// of reals), and printed again into buffers around the text's length.
// Mutated texts end with a value, which takes the same round trip, or an
// error. The edge texts random runs do not produce are rows of
// tests/golden/number_text.txt, and so are the cases of the type dispatch
// of numlib/num.h, whose operands are read as texts. Real texts also run
// against their layout from the exact digits in every notation and flag
// combination, and against exactly rounded decimal values when read.
#include "numlib/num_text.h"

#include <gmp.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"
#include "support/golden_runner.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/rat_harness.h"
#include "support/text_helpers.h"

namespace {

using NumTextTest = NumlibTest;
using Words = std::vector<u64>;

using Type = i32;
constexpr Type kUint = MP_TYPE_UINT, kRat = MP_TYPE_RAT, kReal = MP_TYPE_REAL, kCplx = MP_TYPE_CPLX;

struct Row {
    Type type;
    i32 base;
    u32 flags;
};

// The flags a row prints with; it reads with NUM_IN_GROUPS.
constexpr u32 kSign = NUM_TEXT_SIGN, kGroup = NUM_TEXT_GROUP;
constexpr u32 kBoth = kSign | kGroup, kAll = kBoth | NUM_TEXT_EXP_ALWAYS;
constexpr Row kRows[] = {{kUint, 10, 0}, {kUint, 10, kGroup}, {kUint, 2, kSign}, {kUint, 4, kGroup},
                         {kUint, 8, 0},  {kUint, 16, kBoth},  {kRat, 10, 0},     {kRat, 10, kBoth},
                         {kReal, 10, 0}, {kReal, 10, kAll},   {kCplx, 10, 0},    {kCplx, 10, kAll}};

// The text read as a value of type t (to_nul: up to its first 0 character),
// with a guard word after the value; the value and the error raised.
std::pair<Words, i32> parse(Type t, const std::u16string& text, u32 in_flags, i32 base = 10,
                            bool to_nul = false) {
    constexpr u64 kGuard = 0xA5A5A5A5A5A5A5A5ULL;
    Words x(static_cast<std::size_t>(num_size_bytes(0, t) / 8 + 1), kGuard);
    const i32 len = to_nul ? -1 : static_cast<i32>(text.size());
    mp_error = 0;
    if (t == kUint) uint_from_text(x.data(), text.c_str(), len, in_flags, base);
    if (t == kRat) rat_from_text(x.data(), text.c_str(), len, in_flags);
    if (t == kReal) real_from_text(x.data(), text.c_str(), len, in_flags);
    if (t == kCplx) cplx_from_text(x.data(), text.c_str(), len, in_flags);
    EXPECT_EQ(x.back(), kGuard) << "written past the value";
    x.pop_back();
    return {x, mp_error.exchange(0)};
}

// x printed into a buffer of capacity cap guarded on both sides, with the
// error pending on entry: integers in base, the others through num_to_text.
// The text and the error; the buffer ends with a 0 character or a "#".
std::pair<std::string, i32> print(Type t, const u64* x, u32 flags, i32 base, i32 cap,
                                  i32 pending = 0) {
    GuardedBuffer buf(cap);
    mp_num_type = t;
    mp_error = pending;
    const i32 len = t == kUint ? uint_to_text(buf.data(), cap, x, flags, base)
                               : num_to_text(buf.data(), cap, x, flags);
    EXPECT_TRUE(buf.canaries_intact()) << "capacity " << cap;
    EXPECT_TRUE(len >= 0 && len <= std::max(cap, 0)) << len;
    const bool terminate = flags & NUM_TEXT_TERMINATE;
    if (len < cap || (terminate && len == cap)) {
        EXPECT_EQ(buf.data()[len], terminate ? u'\0' : u'#') << "capacity " << cap;
    }
    return {ascii(buf.text(len)), mp_error.exchange(0)};
}

// x printed as the row says and read back, its text equal to want unless
// want is empty; then the same text in a buffer a little larger or smaller,
// sometimes with an error pending: the text (after "!"), or "[$]" (nothing
// below three characters) and error 20 when it does not fit.
void check_round_trip(TestRng& rng, const Row& r, const Words& x, const std::string& want,
                      i32 cap) {
    const auto [text, err] = print(r.type, x.data(), r.flags | NUM_TEXT_TERMINATE, r.base, cap);
    ASSERT_EQ(err, 0) << text;
    ASSERT_TRUE(want.empty() || text == want) << text << " instead of " << want;
    const auto [back, read_err] = parse(r.type, u16(text), NUM_IN_GROUPS, r.base);
    ASSERT_EQ(read_err, 0) << text;
    ASSERT_EQ(back, x) << text;
    const i32 pending = rng.chance(20) ? MP_ERR_DIV_ZERO : 0;
    const std::string full = (pending ? "!" : "") + text;
    const i32 size = static_cast<i32>(full.size()),
              small = static_cast<i32>(size + rng.range(-2, 1));
    const u32 end = rng.chance(50) ? u32{NUM_TEXT_TERMINATE} : 0u;
    const auto [shown, shown_err] = print(r.type, x.data(), r.flags | end, r.base, small, pending);
    ASSERT_EQ(shown, small >= size ? full : small >= 3 ? "[$]" : "") << "capacity " << small;
    ASSERT_EQ(shown_err, pending ? pending : small >= size ? 0 : MP_ERR_TEXT_SPACE);
}

// The digits of z in base, grouped by 3 in base 10 and by 4 in the others
// when group is set.
std::string digits(mpz_srcptr z, i32 base, bool group) {
    const std::string d = mpz_digits(z, base);
    return group ? grouped(d, base == 10 ? 3 : 4) : d;
}

// A random value of type t; a zero real has no sign (it prints as "0").
Words random_value(TestRng& rng, Type t) {
    const i64 n = mp_int_words, m = mp_real_words;
    if (t == kRat) return random_rat(rng, n);
    Words x(static_cast<std::size_t>(num_size_bytes(0, t) / 8));
    if (t == kUint) {
        rng.fill(x.data(), n, rng.range(0, n));
        return x;
    }
    RandomRealOptions opt;
    opt.zero_percent = 20;
    opt.edge_percent = 5;
    for (u64* part = x.data(); part < x.data() + x.size(); part += m + 1) {
        random_real(rng, part, m, opt);
        if (part > x.data() && rng.chance(10)) real_one(part);  // "i" and "-i"
        if (part > x.data() && rng.chance(10)) real_negate(part);
        if (real_is_zero(part)) part[0] = 0;
    }
    return x;
}

TEST_F(NumTextTest, RoundTripsAgainstGmpAndExactDigits) {
    for (i64 iter = 0; iter < test_iterations(150); ++iter) {
        mp_set_int_words(static_cast<i32>(rng.word_count(iter % 10 == 0 ? 2000 : 80)));
        mp_set_real_words(static_cast<i32>(iter % 25 == 0 ? rng.range(100, 527) : rng.range(1, 3)));
        for (const Row& r : kRows) {
            const Words x = random_value(rng, r.type);
            const i64 n = mp_int_words, m = mp_real_words;
            const bool sign = r.flags & kSign, group = r.flags & kGroup;
            // What GMP prints, and a text of the value in another spelling.
            std::string want, other;
            i32 in_base = r.base, overflow = 0;
            u32 in = NUM_IN_GROUPS;
            if (r.type == kUint) {
                Mpz z(x.data(), n);
                want = (sign ? "+" : "") + digits(z, r.base, group);
                // GMP's digits in any base, decorated, or of a value past n words
                // (error 12, which comes before the syntax error after it).
                in_base = static_cast<i32>(rng.range(2, 16));
                if (rng.chance(30)) {
                    mpz_setbit(z, static_cast<mp_bitcnt_t>(64 * n + rng.range(0, 70)));
                    overflow = MP_ERR_OVERFLOW;
                }
                other = "  +00" + grouped(mpz_digits(z, in_base), 2) + (overflow ? "-" : " ");
                if (rng.chance(30)) in |= NUM_IN_LOWER_HEX;
                if (in & NUM_IN_LOWER_HEX)
                    for (char& c : other) c = static_cast<char>(std::tolower(c));
            } else if (r.type == kRat) {
                Mpq q(x.data(), n);
                want = other = q.sgn() < 0 ? "-" : "";
                if (sign && q.sgn() >= 0) want = "+";
                mpz_abs(q.num(), q.num());
                want += digits(q.num(), 10, group);
                if (mpz_cmp_ui(q.den(), 1) != 0) want += "/" + digits(q.den(), 10, group);
                // Unreduced by a factor that keeps both parts within n words.
                const u64 f = 1 + (rng.word() >> rng.range(0, 63));
                mpz_mul_ui(q.num(), q.num(), f);
                mpz_mul_ui(q.den(), q.den(), f);
                if (!q.fits(n)) mpq_canonicalize(q);
                other += mpz_digits(q.num(), 10) + " / " + mpz_digits(q.den(), 10);
            } else {
                other = real_text(x.data(), m);
                if (r.type == kCplx) {
                    const std::string im = real_text(x.data() + m + 1, m);
                    other += im[0] == '-' ? "-(" + im.substr(1) + ")i" : "+(" + im + ")i";
                }
            }
            SCOPED_TRACE(testing::Message() << "type " << r.type << " base " << r.base << " flags "
                                            << std::hex << r.flags << " words " << n << "/" << m);
            const i32 words = static_cast<i32>(r.type == kUint || r.type == kRat ? n : m);
            check_round_trip(rng, r, x, want, static_cast<i32>(num_text_capacity(words, r.type)));
            const auto [back, err] = parse(r.type, u16(other), in, in_base);
            ASSERT_EQ(err, overflow) << other << " in base " << in_base;
            ASSERT_EQ(back, overflow ? Words(x.size()) : x) << other << " in base " << in_base;
        }
    }
}

// Valid and invalid texts to mutate, separated by "|".
constexpr char16_t kSeedTexts[] =
    u"0|7|123456789012345678901234567890|1'234'567|+42|FF|ff|1010|777|-3/4|6/4|3/0|1.5|-0.001|1e10|"
    u"2.5e-3|9.99e-99999|1e+5|1,5|.5|5.|1..2|--1|3-4i|-4i+3|i|-i|1+(2e5)i|(2e-20)i|0.5j|3i+4i| 12 |"
    u"1e9999999999999999999|99999999999999999999999999999|1/2/3|()|+|e|1'|'1|0x1F";

// Characters of every class the parsers look at, and some they must reject.
const char16_t kAlphabet[] = {u'0', u'1', u'5',   u'9',   u'A',   u'F',   u'a', u'f',  u'+', u'-',
                              u'.', u',', u'\'',  u'e',   u'E',   u'i',   u'j', u' ',  u'/', u'(',
                              u')', 0,    0xD800, 0xDFFF, 0x2026, 0xFFFF, u'x', 0x00A7};

char16_t random_char(TestRng& rng) {
    if (rng.chance(10)) return static_cast<char16_t>(rng.range(0, 0xFFFF));
    return kAlphabet[rng.range(0, std::ssize(kAlphabet) - 1)];
}

std::u16string random_seed(TestRng& rng) {
    const std::u16string all = kSeedTexts;
    std::size_t start = 0;
    for (i64 k = rng.range(0, std::count(all.begin(), all.end(), u'|')); k > 0; --k)
        start = all.find(u'|', start) + 1;
    return all.substr(start, all.find(u'|', start) - start);
}

// A seed text with up to four edits: a character inserted, removed or
// replaced, a piece of another seed, or a run of one digit; or noise.
std::u16string mutate(TestRng& rng) {
    std::u16string s;
    if (rng.chance(5)) {
        for (i64 len = rng.range(0, 40); len > 0; --len) s.push_back(random_char(rng));
        return s;
    }
    s = random_seed(rng);
    for (i64 steps = rng.range(0, 4); steps > 0; --steps) {
        const auto at = static_cast<std::size_t>(rng.range(0, static_cast<i64>(s.size())));
        const i64 edit = rng.range(0, 4);
        if (edit == 0) s.insert(at, 1, random_char(rng));
        if (edit == 1 && at < s.size()) s.erase(at, 1);
        if (edit == 2 && at < s.size()) s[at] = random_char(rng);
        if (edit == 3) {
            const std::u16string other = random_seed(rng);
            const auto from =
                static_cast<std::size_t>(rng.range(0, static_cast<i64>(other.size())));
            s.insert(at, other.substr(from, static_cast<std::size_t>(rng.range(0, 8))));
        }
        if (edit == 4)
            s.insert(at, static_cast<std::size_t>(rng.range(1, 60)),
                     u"0123456789"[rng.range(0, 9)]);
    }
    return s;
}

TEST_F(NumTextTest, MutatedTextsEndWithAValueOrAnError) {
    for (i64 iter = 0; iter < test_iterations(100000); ++iter) {
        const Row& r = kRows[rng.range(0, std::ssize(kRows) - 1)];
        mp_set_int_words(static_cast<i32>(rng.chance(2) ? rng.range(1, 2000) : rng.range(1, 3)));
        mp_set_real_words(static_cast<i32>(rng.chance(2) ? rng.range(1, 527) : rng.range(1, 3)));
        const std::u16string text = mutate(rng);
        SCOPED_TRACE(ascii(text));
        auto [x, err] =
            parse(r.type, text, static_cast<u32>(rng.range(0, 3)), r.base, rng.chance(20));
        if (err != 0) {
            const bool integer = r.type >= kUint;
            ASSERT_TRUE(err == MP_ERR_SYNTAX ||
                        err == (integer ? MP_ERR_OVERFLOW : MP_ERR_EXP_OVERFLOW) ||
                        (r.type == kRat && err == MP_ERR_DOMAIN))
                << err;
            Words zero(x.size());
            if (r.type == kRat) zero[static_cast<std::size_t>(mp_int_words) + 1] = 1;
            ASSERT_EQ(x, zero);
            continue;
        }
        // A bad value prints as "[?]", which the round trip finds; a zero
        // keeps a sign but prints as "0": the round trip takes it without.
        if (r.type == kReal || r.type == kCplx) {
            for (std::size_t part = 0; part < x.size(); part += mp_real_words + 1)
                if (real_is_zero(x.data() + part)) x[part] = 0;
        }
        check_round_trip(rng, r, x, "", 2000);
        if (HasFatalFailure()) return;
    }
}

// Values with no text: a rat whose sign word or denominator is bad, a rat
// zero with the sign set, a real that is not well-formed; no buffer; no
// number type.
TEST_F(NumTextTest, MalformedValuesAndNoType) {
    mp_set_int_words(1);
    const Words bad_sign = {2, 1, 1}, zero_den = {0, 1, 0}, minus_zero = {1, 0, 1};
    EXPECT_EQ(print(kRat, bad_sign.data(), 0, 10, 20).first, "[?]");
    EXPECT_EQ(print(kRat, zero_den.data(), 0, 10, 20).first, "[?]");
    EXPECT_EQ(print(kRat, minus_zero.data(), 0, 10, 20).first, "0");
    EXPECT_EQ(print(kRat, minus_zero.data(), kSign, 10, 20).first, "-0");
    EXPECT_EQ(uint_to_text(nullptr, 10, bad_sign.data(), NUM_TEXT_TERMINATE, 10), 0);
    EXPECT_EQ(mp_err(), MP_ERR_TEXT_SPACE);
    EXPECT_EQ(print(MP_TYPE_NONE, bad_sign.data(), 0, 10, 0),
              std::pair(std::string(), i32{MP_ERR_TYPE}));
    // a real's word 1 below 10^18, a zero with an exponent, a word above the base
    mp_set_real_words(2);
    for (const Words& bad : {Words{0, 5, 0}, Words{2, 0, 0}, Words{0, REAL_TOP, REAL_BASE}})
        EXPECT_EQ(print(kReal, bad.data(), 0, 10, 20).first, "[?]");
}

// ---- real texts --------------------------------------------------------------

constexpr u32 kAllFlags = NUM_TEXT_SIGN | NUM_TEXT_EXP_NO_PLUS | NUM_TEXT_GROUP |
                          NUM_TEXT_POINT_ZERO | NUM_TEXT_WHOLE | NUM_TEXT_EXP_ALWAYS |
                          NUM_TEXT_ALL_DIGITS;

// The digits of x, or for the whole-number display |x| rounded half up to an
// integer, exactly: trailing zeros removed, "" for zero.
DecimalDigits digits_of(const u64* x, i64 m, bool whole) {
    DecimalDigits d;
    d.sign = real_sign(x) && !real_is_zero(x);
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
    d.exp = static_cast<i64>(d.digits.size()) - 1 + e10;
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    return d;
}

std::string zeros(i64 n) {
    return std::string(static_cast<std::size_t>(n > 0 ? n : 0), '0');
}

// Digits i .. i + count - 1 of d, "0" past its end.
std::string slice(const DecimalDigits& d, i64 from, i64 count) {
    if (count <= 0) return "";
    std::string s = d.digits + zeros(from + count - static_cast<i64>(d.digits.size()));
    return s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count));
}

// The expected text, laid out from the digits by string operations.
std::string layout(const DecimalDigits& v, i64 m, u32 flags) {
    const i64 d = 19 * m, k = static_cast<i64>(v.digits.size()), e = v.exp;
    const bool whole = flags & NUM_TEXT_WHOLE, all = flags & NUM_TEXT_ALL_DIGITS;
    std::string out = v.sign ? "-" : (flags & NUM_TEXT_SIGN) ? "+" : "";
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

TEST_F(NumTextTest, LaysOutTheDigitsInEveryNotation) {
    for (i64 iter = 0; iter < test_iterations(1500); ++iter) {
        const i64 m = iter % 50 == 0 ? rng.range(100, 527) : rng.range(1, 4);
        mp_set_real_words(static_cast<i32>(m));
        const bool wide = rng.chance(20);
        mp_fixed_exp_low = wide ? -1000 : -4;
        mp_fixed_exp_high = wide ? 10000 : 10;
        const Words x = random_real(
            rng, m, {.exp_min = -60, .exp_max = 60, .zero_percent = 5, .edge_percent = 3});
        // each flag a quarter of the time
        const u32 flags = static_cast<u32>(rng.word() & rng.word()) & kAllFlags;
        if ((flags & NUM_TEXT_WHOLE) && real_exp_of(x.data()) > 100000) continue;
        const DecimalDigits v = digits_of(x.data(), m, flags & NUM_TEXT_WHOLE);
        // room for the zeros of fixed notation with the thresholds moved
        const i32 cap = static_cast<i32>(num_text_capacity(static_cast<i32>(m), kReal)) + 3000;
        ASSERT_EQ(print(kReal, x.data(), flags | NUM_TEXT_TERMINATE, 10, cap),
                  std::pair(layout(v, m, flags), 0))
            << "flags " << std::hex << flags << std::dec << " x " << real_text(x.data(), m, 60);
    }
}

// A random decimal text with more or fewer digits than the precision, a
// separator anywhere and an exponent, against the exactly rounded value.
TEST_F(NumTextTest, ParsesDecimalTextRoundedHalfUp) {
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
        auto [got, err] = parse(kReal, u16(text), 0);
        ASSERT_EQ(err, 0) << text;
        ASSERT_EQ(got, want) << text << "\n want " << real_text(want.data(), m, 60) << "\n got  "
                             << real_text(got.data(), m, 60);
    }
}

// Display thresholds moved far out give a text far longer than any buffer:
// it is cut to "[$]", and beyond a billion digits refused outright.
TEST_F(NumTextTest, HugeFixedRealTextsStayBounded) {
    mp_set_real_words(1);
    mp_fixed_exp_high = 2000000000;
    const i32 cap = static_cast<i32>(num_text_capacity(1, kReal));
    auto [x, err] = parse(kReal, u"1e999999999", 0);
    EXPECT_EQ(print(kReal, x.data(), NUM_TEXT_TERMINATE, 10, cap),
              std::pair(std::string("[$]"), i32{MP_ERR_TEXT_SPACE}));
    std::tie(x, err) = parse(kReal, u"1e1000000001", 0);
    EXPECT_EQ(print(kReal, x.data(), NUM_TEXT_TERMINATE, 10, cap),
              std::pair(std::string("[\\u00A7]"), i32{MP_ERR_INTERNAL}));
}

// ---- tests/golden/number_text.txt --------------------------------------------

// Reading flags below NUM_TEXT_TERMINATE, printing flags from it on.
constexpr u32 kZeroSign = 0x100, kToNul = 0x200;
const std::map<std::string, u32> kFlags = {
    {"groups", NUM_IN_GROUPS},           {"lower", NUM_IN_LOWER_HEX}, {"sign", NUM_TEXT_SIGN},
    {"group", NUM_TEXT_GROUP},           {"whole", NUM_TEXT_WHOLE},   {"exp", NUM_TEXT_EXP_ALWAYS},
    {"point_zero", NUM_TEXT_POINT_ZERO}, {"zero_sign", kZeroSign},    {"nul", kToNul}};
const std::map<std::string, Type> kTypes = {
    {"uint", kUint}, {"rat", kRat}, {"real", kReal}, {"cplx", kCplx}};

// An [operations] row: the operands read as texts of the type (or as
// integers), the result printed as the type (a conversion's as its target).
std::string check_op_row(const GoldenLine& row) {
    const auto head = row.words(0), op = row.words(1);
    Type type = kTypes.at(head.at(0));
    const i32 words = std::stoi(head.at(1));
    mp_int_words = mp_real_words = words;
    const auto arg = [&](std::size_t i) { return parse(type, u16(op.at(i)), 0).first; };
    const auto k = [&](std::size_t i) { return std::stoll(op.at(i)); };
    const std::string& name = op.at(0);
    Words r(8, 0xABCD);  // noise the result must overwrite
    std::string shown;
    i64 out = 1;
    mp_num_type = type;
    if (name == "pow") num_pow(r.data(), arg(1).data(), arg(2).data());
    if (name == "pow_int") num_pow_int(r.data(), arg(1).data(), k(2));
    if (name == "pow10") num_pow10(r.data(), k(1));
    if (name == "logx") num_logx(r.data(), arg(1).data(), arg(2).data());
    if (name == "copy") num_copy(r.data(), arg(1).data());
    if (name == "abs") num_abs(r.data(), arg(1).data());
    if (name == "div_u64") num_div_u64(r.data(), arg(1).data(), static_cast<u64>(k(2)));
    if (name == "round") num_round_digits(r.data(), arg(1).data(), static_cast<i32>(k(2)));
    if (name == "from_i64") num_from_i64(r.data(), k(1));
    if (name == "to_i64") shown = num_to_i64(&out, arg(1).data()) ? "" : "none ";
    if (name == "convert") {
        const i32 to_words = static_cast<i32>(k(3));
        num_convert(r.data(), to_words, kTypes.at(op.at(2)), arg(1).data(), words, type);
        type = kTypes.at(op.at(2));
        mp_int_words = mp_real_words = to_words;
    }
    const i32 err = mp_error.exchange(0);
    shown =
        name == "to_i64" ? shown + std::to_string(out) : print(type, r.data(), 0, 10, 200).first;
    if (err != std::stoi(row.text(2)) || (row.text(3) != "*" && shown != row.text(3)))
        return "error " + std::to_string(err) + ", shown \"" + shown + "\"";
    return "";
}

std::string check_row(const GoldenLine& row) {
    if (row.section == "operations") return check_op_row(row);
    const auto head = row.words(0);
    const Type type = kTypes.at(head.at(0));
    const i32 words = std::stoi(head.at(1)), base = head.size() > 2 ? std::stoi(head[2]) : 10;
    u32 in = 0, out = NUM_TEXT_TERMINATE;
    for (const std::string& f : row.words(4)) {
        (kFlags.at(f) < NUM_TEXT_TERMINATE ? in : out) |= kFlags.at(f);
    }
    mp_int_words = mp_real_words = words;
    const auto [x, err] = parse(type, u16(row.text(1)), in & 3, base, in & kToNul);
    std::string shown = print(type, x.data(), out, base >= 2 && base <= 16 ? base : 10, 200).first;
    if ((in & kZeroSign) && type == kReal && real_is_zero(x.data()) && real_sign(x.data()))
        shown = "-" + shown;
    if (err != std::stoi(row.text(2)) || shown != row.text(3))
        return "error " + std::to_string(err) + ", shown \"" + shown + "\"";
    return "";
}

TEST_F(NumTextTest, GoldenRows) {
    golden_run("number_text.txt", check_row);
}

}  // namespace
