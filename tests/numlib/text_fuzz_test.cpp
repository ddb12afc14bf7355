// Mutation fuzzing of the four text parsers: seeded mutations of valid and
// invalid texts must end with a value or an error code (the value zero), and
// a parsed value printed into a small buffer must never write past it and,
// when it fits, parse back to itself. VELMARIX_TEST_ITERATIONS multiplies the
// input count.
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/text_helpers.h"

namespace {

using TextFuzzTest = NumlibTest;
using Words = std::vector<u64>;

// Valid and invalid texts to mutate, separated by "|".
constexpr char kSeedTexts[] =
    "0|7|123456789012345678901234567890|1'234'567|+42|FF|ff|1010|777|-3/4|6/4|3/0|1.5|-0.001|1e10|"
    "2.5e-3|9.99e-99999|1e+5|1,5|.5|5.|1..2|--1|3-4i|-4i+3|i|-i|1+(2e5)i|(2e-20)i|0.5j|3i+4i| 12 |"
    "1e9999999999999999999|99999999999999999999999999999|1/2/3|()|+|e|1'|'1|0x1F";

const std::vector<std::u16string> kSeeds = [] {
    std::vector<std::u16string> out;
    std::string text = kSeedTexts;
    for (std::size_t bar; (bar = text.find('|')) != std::string::npos; text.erase(0, bar + 1))
        out.push_back(u16(text.substr(0, bar)));
    out.push_back(u16(text));
    return out;
}();

// Characters of every class the parsers look at, and some they must reject.
const char16_t kAlphabet[] = {u'0', u'1', u'5',   u'9',   u'A',   u'F',   u'a', u'f',  u'+', u'-',
                              u'.', u',', u'\'',  u'e',   u'E',   u'i',   u'j', u' ',  u'/', u'(',
                              u')', 0,    0xD800, 0xDFFF, 0x2026, 0xFFFF, u'x', 0x00A7};

char16_t random_char(TestRng& rng) {
    if (rng.chance(10)) return static_cast<char16_t>(rng.range(0, 0xFFFF));
    return kAlphabet[rng.range(0, std::size(kAlphabet) - 1)];
}

std::u16string mutate(TestRng& rng) {
    std::u16string s;
    if (rng.chance(5)) {
        const i64 len = rng.range(0, 40);
        for (i64 i = 0; i < len; ++i) s.push_back(random_char(rng));
        return s;
    }
    s = kSeeds[static_cast<std::size_t>(rng.range(0, std::ssize(kSeeds) - 1))];
    const i64 steps = rng.range(0, 4);
    for (i64 k = 0; k < steps; ++k) {
        const i64 at = rng.range(0, static_cast<i64>(s.size()));
        const auto pos = static_cast<std::size_t>(at);
        switch (rng.range(0, 4)) {
            case 0:
                s.insert(pos, 1, random_char(rng));
                break;
            case 1:
                if (pos < s.size()) s.erase(pos, 1);
                break;
            case 2:
                if (pos < s.size()) s[pos] = random_char(rng);
                break;
            case 3: {  // splice a piece of another seed
                const std::u16string& other =
                    kSeeds[static_cast<std::size_t>(rng.range(0, std::ssize(kSeeds) - 1))];
                const auto from =
                    static_cast<std::size_t>(rng.range(0, static_cast<i64>(other.size())));
                s.insert(pos, other.substr(from, static_cast<std::size_t>(rng.range(0, 8))));
                break;
            }
            default:  // a long run of digits
                s.insert(pos, static_cast<std::size_t>(rng.range(1, 60)),
                         u"0123456789"[rng.range(0, 9)]);
        }
    }
    return s;
}

enum Kind { kUint, kRat, kReal, kCplx };

struct Case {
    Kind kind;
    i32 base = 10;
    u32 in_flags = 0;
};

i64 value_words(Kind k) {
    if (k == kUint) return mp_int_words;
    if (k == kRat) return 2 * i64{mp_int_words} + 1;
    return k == kReal ? i64{mp_real_words} + 1 : 2 * i64{mp_real_words} + 2;
}

void parse(const Case& c, u64* dst, const char16_t* t, i32 len) {
    if (c.kind == kUint) return uint_from_text(dst, t, len, c.in_flags, c.base);
    if (c.kind == kRat) return rat_from_text(dst, t, len, c.in_flags);
    if (c.kind == kReal) return real_from_text(dst, t, len, c.in_flags);
    cplx_from_text(dst, t, len, c.in_flags);
}

i32 print(const Case& c, char16_t* buf, i32 cap, const u64* x, u32 flags, i32 base) {
    if (c.kind == kUint) return uint_to_text(buf, cap, x, flags, base);
    if (c.kind == kRat) return rat_to_text(buf, cap, x, flags);
    if (c.kind == kReal) return real_to_text(buf, cap, x, flags);
    return cplx_to_text(buf, cap, x, flags);
}

bool allowed_error(Kind k, i32 err) {
    if (err == MP_ERR_SYNTAX) return true;
    if (k == kUint || k == kRat) return err == MP_ERR_OVERFLOW || err == MP_ERR_DOMAIN;
    return err == MP_ERR_EXP_OVERFLOW;
}

// The zero of the kind: all words 0, but a rat's denominator 1.
Words zero_of(Kind k) {
    Words z(static_cast<std::size_t>(value_words(k)));
    if (k == kRat) z[static_cast<std::size_t>(mp_int_words) + 1] = 1;
    return z;
}

// Whether printing with these flags keeps every digit, so the text parses
// back to the same words.
bool exact_print(const Case& c, const Words& x, u32 flags) {
    if (flags & NUM_TEXT_WHOLE) return false;
    if (c.kind == kReal || c.kind == kCplx) {
        // A negative zero prints as "0".
        const i64 m = mp_real_words;
        for (i64 part = 0; part < value_words(c.kind); part += m + 1)
            if (real_is_zero(x.data() + part) && real_sign(x.data() + part)) return false;
    }
    return true;
}

TEST_F(TextFuzzTest, ParsersEndWithAValueOrAnErrorAndPrintWithinTheBuffer) {
    const i64 runs = test_iterations(200000);
    for (i64 iter = 0; iter < runs; ++iter) {
        Case c{static_cast<Kind>(iter % 4)};
        mp_set_int_words(static_cast<i32>(rng.chance(2) ? rng.range(1, 2000) : rng.range(1, 3)));
        mp_set_real_words(static_cast<i32>(rng.chance(2) ? rng.range(1, 527) : rng.range(1, 3)));
        c.base = c.kind == kUint ? static_cast<i32>(rng.range(0, 17)) : 10;
        c.in_flags = static_cast<u32>(rng.range(0, 3));
        const std::u16string text = mutate(rng);
        const bool terminated = rng.chance(20);
        const i32 len = terminated ? -1 : static_cast<i32>(text.size());
        Words x(static_cast<std::size_t>(value_words(c.kind) + 2), 0xA5A5A5A5A5A5A5A5ULL);
        const u64 canary = x.back();
        mp_error = 0;
        parse(c, x.data(), text.c_str(), len);
        const i32 err = mp_err();
        ASSERT_EQ(x.back(), canary);
        x.resize(static_cast<std::size_t>(value_words(c.kind)));
        if (err != 0) {
            ASSERT_TRUE(allowed_error(c.kind, err)) << err << " " << ascii(text);
            ASSERT_EQ(x, zero_of(c.kind)) << ascii(text);
            continue;
        }
        if (c.kind == kReal) {
            ASSERT_TRUE(real_well_formed(x.data(), mp_real_words)) << ascii(text);
        }
        if (c.kind == kRat) {
            ASSERT_FALSE(uint_is_zero(rat_den(x.data()))) << ascii(text);
        }

        // Print into a small buffer guarded on both sides.
        const i32 cap = rng.chance(30) ? 200 : static_cast<i32>(rng.range(-1, 48));
        const u32 flags = static_cast<u32>(rng.range(0, 255)) << 24;
        static const i32 kOutBases[] = {2, 4, 8, 10, 16, 0, 3};
        const i32 out_base = kOutBases[rng.range(0, 6)];
        GuardedBuffer buf(cap);
        mp_error = 0;
        const i32 out = print(c, buf.data(), cap, x.data(), flags, out_base);
        ASSERT_TRUE(buf.canaries_intact()) << ascii(text) << " cap " << cap;
        ASSERT_GE(out, 0);
        ASSERT_LE(out, cap < 0 ? 0 : cap);
        const i32 perr = mp_err();
        ASSERT_TRUE(perr == 0 || perr == MP_ERR_TEXT_SPACE ||
                    (perr == MP_ERR_DOMAIN && out_base == 3))
            << perr << " " << ascii(text);
        if (perr != 0 || !exact_print(c, x, flags) ||
            (c.kind == kUint && out_base != 10 && out_base != 0))
            continue;
        // The text fitted: it reads back to the same value.
        Words back(x.size());
        mp_error = 0;
        parse(Case{c.kind, 10, NUM_IN_GROUPS}, back.data(), buf.data(), out);
        ASSERT_EQ(mp_err(), 0) << ascii(buf.text(out));
        ASSERT_EQ(back, x) << ascii(text) << " -> " << ascii(buf.text(out));
    }
}

}  // namespace
