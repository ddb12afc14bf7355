// Comparisons and digit tests. Normalised values order by exponent first, so
// the mantissa words decide only between equal exponents.
#include "numlib/real_digits.h"

namespace {

int cmp3(i64 x, i64 y) {
    return x < y ? -1 : (x > y ? 1 : 0);
}

// The mantissa digit (0 = the leading one) at position pos < 19 m.
int mantissa_digit(const u64* x, i64 pos) {
    u64 unused;
    const u64 above = real_div_pow10(x[1 + pos / 19], 18 - static_cast<int>(pos % 19), &unused);
    return static_cast<int>(above % 10);
}

}  // namespace

int real_cmp_abs(const u64* a, const u64* b) {
    const bool za = real_is_zero(a), zb = real_is_zero(b);
    if (za || zb) return static_cast<int>(zb) - static_cast<int>(za);
    if (const int c = cmp3(real_exp_of(a), real_exp_of(b))) return c;
    const i64 m = real_words();
    for (i64 i = 1; i <= m; ++i)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

int real_cmp(const u64* a, const u64* b) {
    const bool za = real_is_zero(a), zb = real_is_zero(b);
    if (za && zb) return 0;
    // A zero takes the sign of the other operand's opposite.
    const int sa = za ? 1 - real_sign(b) : real_sign(a);
    const int sb = zb ? 1 - real_sign(a) : real_sign(b);
    if (sa != sb) return sa ? -1 : 1;
    const int c = real_cmp_abs(a, b);
    return sa ? -c : c;
}

int real_cmp_i64(const u64* a, i64 v) {
    const int sv = v < 0;
    if (real_is_zero(a)) return v == 0 ? 0 : (sv ? 1 : -1);
    const int sa = real_sign(a);
    if (v == 0 || sa != sv) return sa ? -1 : 1;
    // |v| as a normalised word: at most 19 digits, even for -2^63.
    const u64 mag = sv ? 0 - static_cast<u64>(v) : static_cast<u64>(v);
    const int digits = real_word_digits(mag);
    const u64 word = mag * REAL_POW10[19 - digits];
    int c = cmp3(real_exp_of(a), digits - 1);
    if (c == 0) c = a[1] != word ? (a[1] < word ? -1 : 1) : 0;
    if (c == 0) {
        const i64 m = real_words();
        for (i64 i = 2; i <= m && c == 0; ++i) c = a[i] != 0;
    }
    return sa ? -c : c;
}

bool real_abs_at_least(const u64* x, u64 d9, i64 e) {
    if (d9 == 0) return true;
    if (d9 < REAL_POW10[8] || d9 >= REAL_POW10[9]) {
        mp_raise(MP_ERR_DOMAIN);
        return false;
    }
    if (real_is_zero(x)) return false;
    const i64 ex = real_exp_of(x);
    if (ex != e) return ex > e;
    // Equal exponents: the top nine digits decide, the rest can only add.
    u64 unused;
    return real_div_pow10(x[1], 10, &unused) >= d9;
}

bool real_is_integer(const u64* x) {
    if (real_is_zero(x)) return true;
    const i64 e = real_exp_of(x), m = real_words();
    if (e < 0) return false;
    if (e >= 19 * m - 1) return true;
    // Fraction digits start at mantissa position e + 1.
    const i64 first = e + 1;
    const i64 w = 1 + first / 19;
    u64 low;
    real_div_pow10(x[w], 19 - static_cast<int>(first % 19), &low);
    if (low != 0) return false;
    for (i64 i = w + 1; i <= m; ++i)
        if (x[i] != 0) return false;
    return true;
}

bool real_is_even(const u64* x) {
    if (real_is_zero(x)) return true;
    const i64 e = real_exp_of(x);
    if (e < 0 || e >= 19 * real_words()) return true;
    return mantissa_digit(x, e) % 2 == 0;
}
