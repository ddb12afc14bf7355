// Powers of two as reals. 2^k is an integer and 2^-k = 5^k / 10^k, so both
// come down to the decimal digits of b^j for b = 2 or 5 and j = |k|, formed
// by binary powering on at most w = m + 2 words (m + 4, m + 8 on a retry).
//
// While b^j's digits fit w words the powering is exact and the result is
// rounded half up once: every power that the precision holds is exact, and
// the only possible tie (5^j with exactly 19m + 1 digits) is seen as one.
//
// Once they outgrow w words, the powering keeps the top 19w digits, and every
// step truncates, so the value never exceeds b^j and falls short of it by a
// bounded amount. When that bound cannot tell on which side of the rounding
// tie b^j lies, the powering is repeated with more guard words (a power that
// long is never a tie itself). So the result is b^j correctly rounded half
// up. The truncated steps poll mp_error: an error pending or arriving (a stop
// request) gives +0.
#include <iterator>

#include "numlib/dec.h"
#include "numlib/real_dec_impl.h"
#include "numlib/real_digits.h"
#include "numlib/real_fn.h"
#include "numlib/vec.h"

namespace {

// Guard words of the powering, tried in turn until the error bound decides
// the rounding; the last try is taken as it is.
constexpr i64 GUARD_TRIES[] = {2, 4, 8};

int bit_length(u64 j) {
    return 64 - __builtin_clzll(j);
}

// b^j so far: {x, len} exactly (least significant word first) while exact,
// else {x, w} holding the top 19w digits (x[w - 1] has 19) of a value with
// decimal exponent e. x has room for w + 1 words.
struct Power {
    u64* x;
    i64 len;
    i64 e;
    bool exact;
};

// {x, w} = the top 19w digits of {p, n}, n > w, p[n - 1] != 0, truncated;
// returns the decimal exponent of {p, n}.
i64 keep_top_digits(u64* x, i64 w, const u64* p, i64 n) {
    const int z = real_word_lead_zeros(p[n - 1]);
    const u64* src = p + n - w;
    if (z == 0) {
        vec_copy_fwd(x, src, w);
    } else {
        for (i64 i = 0; i < w; ++i) {
            u64 low, unused;
            real_div_pow10(src[i], 19 - z, &low);
            x[i] = low * REAL_POW10[z] + real_div_pow10(src[i - 1], 19 - z, &unused);
        }
    }
    return 19 * n - z - 1;
}

// x = x^2, times b when mul, exactly as long as it fits w words, else
// truncated to them. p holds 2w + 1 words, scratch dec_mul_scratch(w, w).
void exact_step(Power& s, i64 w, u64 b, bool mul, u64* p, u64* scratch) {
    dec_mul(p, s.x, s.len, s.x, s.len, scratch);
    i64 n = 2 * s.len;
    if (p[n - 1] == 0) --n;
    if (mul) {
        // The carry stays below b, so it is one decimal word.
        const u64 carry = dec_mul_word(p, p, n, b);
        if (carry) p[n++] = carry;
    }
    if (n <= w) {
        vec_copy_fwd(s.x, p, n);
        s.len = n;
        return;
    }
    s.e = keep_top_digits(s.x, w, p, n);
    s.len = w;
    s.exact = false;
}

// {x, w} = x * x truncated to its top 19w digits (x normalised); returns 1
// when the square reached a new digit (the exponent doubles and gains it),
// else 0. p holds 2w words, scratch dec_mul_scratch(w, w).
int square_step(u64* x, i64 w, u64* p, u64* scratch) {
    dec_mul(p, x, w, x, w, scratch);
    if (p[2 * w - 1] >= REAL_TOP) {
        vec_copy_fwd(x, p + w, w);
        return 1;
    }
    // A square below 10 has an 18-digit top word: move one digit up.
    dec_mul_word(x, p + w, w, 10);
    dec_add_1(x, x, w, p[w - 1] / REAL_TOP);
    return 0;
}

// {x, w} = x * b truncated likewise; returns the exponent gained (0 or 1).
// x has room for w + 1 words.
int mul_step(u64* x, i64 w, u64 b) {
    x[w] = dec_mul_word(x, x, w, b);
    if (x[w] == 0) return 0;
    dec_divmod_word(x, x, w + 1, 10);
    return 1;
}

// Left-to-right binary powering; false when an error is pending or arrives
// during the truncated steps.
bool power(Power& s, i64 w, u64 b, u64 j, u64* p, u64* scratch) {
    s = Power{s.x, 1, 0, true};
    s.x[0] = b;
    for (int i = bit_length(j) - 2; i >= 0; --i) {
        const bool mul = (j >> i) & 1;
        if (s.exact) {
            exact_step(s, w, b, mul, p, scratch);
            continue;
        }
        if (mp_err() != 0) return false;
        s.e = 2 * s.e + square_step(s.x, w, p, scratch);
        if (mul) s.e += mul_step(s.x, w, b);
    }
    return true;
}

// How far a truncated power falls short of b^j, in units of x[0]: each step
// loses less than one unit, a relative 10^(1 - 19w), and a square doubles the
// relative error it inherits, so after all steps it is below 2^(bits + 1)
// 10^(1 - 19w), less than 2^(bits + 1) * 10 units of the 19w-digit mantissa.
u128 error_bound(u64 j) {
    return (u128{1} << (bit_length(j) + 1)) * 10 + 10;
}

// Whether the truncated power {x, w} rounds up when its top m words are kept,
// given that b^j exceeds it by at most err units of x[0]: 1 or 0, or -1 when
// err leaves it open.
int round_up_decision(const u64* x, i64 w, i64 m, u128 err) {
    const i64 g = w - m;
    // The top two dropped words; lower ones only add to the uncertainty.
    const u128 top = static_cast<u128>(x[g - 1]) * REAL_BASE + x[g - 2];
    const u128 half = static_cast<u128>(REAL_BASE / 2) * REAL_BASE;
    u128 slack = err;
    for (i64 i = 2; i < g && slack > 0; ++i) slack /= REAL_BASE;
    slack += 1;
    if (top >= half) return 1;
    if (top + slack < half) return 0;
    return -1;
}

}  // namespace

void real_pow2(u64* dst, i64 k) {
    if (k == 0) return real_one(dst);
    // 2^k = 2^j, or 5^j * 10^-j for k = -j
    const u64 b = k > 0 ? 2 : 5;
    const u64 j = k > 0 ? static_cast<u64>(k) : 0 - static_cast<u64>(k);
    const i64 shift = k > 0 ? 0 : k;
    const i64 m = real_words();
    for (const i64 guard : GUARD_TRIES) {
        const i64 w = m + guard;
        ScratchMark mark;
        u64* x = mark.take(static_cast<std::size_t>(3 * w + 2 + dec_mul_scratch(w, w)));
        if (!x) return real_fail(dst, 0);
        Power s{x, 0, 0, true};
        if (!power(s, w, b, j, x + w + 1, x + 3 * w + 2)) return real_fail(dst, 0);
        if (s.exact) {
            const u64 spill = real_from_dec(dst, x, s.len, 19 * s.len - 1 + shift, 0);
            return real_round_guard(dst, spill, static_cast<i32>(m));
        }
        const int up = round_up_decision(x, w, m, error_bound(j));
        if (up < 0 && guard != GUARD_TRIES[std::size(GUARD_TRIES) - 1]) continue;
        real_from_dec(dst, x + guard, m, s.e + shift, 0);
        return real_round_guard(dst, up == 1 ? REAL_BASE / 2 : 0, static_cast<i32>(m));
    }
}
