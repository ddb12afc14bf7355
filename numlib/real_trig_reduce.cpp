// Octant reduction of trigonometric arguments. While the octant count fits a
// word, the subtraction y - q pi/4 runs in exact decimal fixed point over
// twice the working precision, so an argument just beside a multiple of pi/4
// keeps all its significant digits. Larger arguments take the digits of
// y 4/pi around the units place from a window of the long 4/pi table: the
// digits far above it only add multiples of 8 octants, so the work does not
// grow with the exponent.
#include <algorithm>
#include <cmath>

#include "numlib/dec.h"
#include "numlib/real_const.h"
#include "numlib/real_impl.h"
#include "numlib/real_trig_impl.h"
#include "numlib/vec.h"

namespace {

// Fixed point in base 10^19, most significant word first: word 0 counts
// 10^19, word 1 units, words 2.. the fraction.
constexpr i64 FIX_INT_WORDS = 2;

i64 floor_div19(i64 a) {
    return a >= 0 ? a / 19 : -((18 - a) / 19);
}

// Places y (exponent -19 .. 19) into {fx, n}; n >= m + 2 keeps every digit.
void fix_from_real(u64* fx, i64 n, const u64* y, i32 m) {
    vec_zero(fx, n);
    i64 a = real_exp_of(y) - 18;  // the exponent of word 1's last digit
    i64 fl = floor_div19(a);
    int k = static_cast<int>(a - 19 * fl);
    i64 j = 1 - fl;
    for (i32 i = 1; i <= m; ++i, ++j) {
        u64 w = y[i];
        if (j < n) fx[j] += (w % REAL_POW10[19 - k]) * REAL_POW10[k];
        if (k > 0 && j - 1 < n) fx[j - 1] += w / REAL_POW10[19 - k];
    }
}

// {t, n} = q pi/4 + (extra ? pi/4 : 0), with pi/4 truncated to n - 2 fraction
// words.
void fix_pi4_multiple(u64* t, i64 n, u64 q, bool extra) {
    u64 carry = 0;  // below q + 1 <= 2^64
    for (i64 j = n - 1; j >= FIX_INT_WORDS; --j) {
        u64 p = REAL_PI4_LONG[j - FIX_INT_WORDS];
        u128 v = static_cast<u128>(p) * q + carry + (extra ? p : 0);
        carry = udiv_128(static_cast<u64>(v >> 64), static_cast<u64>(v), REAL_BASE, &t[j]);
    }
    t[0] = udiv_128(0, carry, REAL_BASE, &t[1]);
}

// {d, n} = a - b in base 10^19; returns the borrow out.
u64 fix_sub(u64* d, const u64* a, const u64* b, i64 n) {
    u64 borrow = 0;
    for (i64 j = n - 1; j >= 0; --j) {
        u64 sub = b[j] + borrow;
        borrow = a[j] < sub ? 1 : 0;
        d[j] = a[j] + (borrow ? REAL_BASE : 0) - sub;
    }
    return borrow;
}

// {d, n} = 10^(19 n) - {d, n}: the magnitude of a difference that borrowed.
void fix_negate(u64* d, i64 n) {
    u64 borrow = 0;
    for (i64 j = n - 1; j >= 0; --j) {
        u64 sub = d[j] + borrow;
        borrow = sub != 0 ? 1 : 0;
        d[j] = borrow ? REAL_BASE - sub : 0;
    }
}

// r = {fx, n} with the given sign, rounded to m words.
void fix_to_real(u64* r, const u64* fx, i64 n, int sign, i32 m) {
    i64 top = 0;
    while (top < n && fx[top] == 0) ++top;
    if (top == n) return real_zero(r, sign);
    int d = real_word_digits(fx[top]);
    int s = 19 - d;
    auto word = [&](i64 j) -> u64 {
        u64 hi = j < n ? fx[j] % REAL_POW10[d] : 0;
        u64 lo = j + 1 < n ? fx[j + 1] / REAL_POW10[d] : 0;
        return hi * REAL_POW10[s] + lo;
    };
    for (i32 i = 1; i <= m; ++i) r[i] = word(top + i - 1);
    u64 spill = word(top + m);
    real_set_header(r, 0, sign);
    real_set_exp(r, 19 * (1 - top) + d - 1);
    real_round_guard(r, spill, m);
}

// The octant count floor(y 4/pi), possibly one too small or large near an
// octant boundary; false when it does not fit a u64.
bool octant_count(u64* o, const u64* y) {
    if (real_exp_of(y) > 19) return false;
    if (real_exp_of(y) < 14) {
        // Far below 2^53: the double estimate is off by at most one.
        const double u = std::pow(10.0, trig_log10_abs(y)) * (4 / 3.14159265358979323846);
        *o = static_cast<u64>(u);
        return true;
    }
    ScratchMark mark;
    u64* u = mark.take(static_cast<std::size_t>(mp_real_words) + 1);
    if (u == nullptr) return false;
    real_const(u, REAL_CONST_4_OVER_PI);
    trig_mul(u, u, y);
    MpIsolate probe;
    bool ok = real_to_u64(o, u, REAL_CONV_QUIET | REAL_CONV_TRUNCATE);
    if (probe.inner()) probe.clear_inner();
    // An odd octant's q = o + 1 must fit as well.
    return ok && *o < ~u64{0} - 1;
}

// Leading zero words of {fx, n}.
i64 zero_words(const u64* fx, i64 n) {
    i64 z = 0;
    while (z < n && fx[z] == 0) ++z;
    return z;
}

// The reduction of a y whose octant count does not fit a word, with a window
// of window words of 4/pi. y = Y 10^(t - 1) for the integer Y of its m
// mantissa words, t = e - 19m + 2 = 19 a + b (0 <= b < 19), and 4/pi =
// sum T[j] 10^(-18 - 19j); so y 4/pi = Y 10^b sum T[j] B^(a - j - 1). The
// terms j <= a - 2 are multiples of B, of 8 octants: the window starts at
// j0 = max(a - 1, 0), and the product Z = Y 10^b * {T[j0 ..]} has its units
// word at fw = window + j0 - a. The window's truncation moves Z by less than
// B^(m + 1): fraction words above that are exact. Returns the octant, -2
// when the fraction cancels too far for the window, -1 on an error.
int reduce_far_window(u64* r, const u64* y, i64 window) {
    const i32 m = mp_real_words;
    const i64 t = real_exp_of(y) - 19 * i64{m} + 2;
    const i64 a = floor_div19(t);
    const i64 j0 = std::max<i64>(a - 1, 0);
    if (j0 + window > REAL_4_OVER_PI_LONG_WORDS) return -1;
    const i64 fw = window + j0 - a;
    const i64 frac_words = fw - m - 1;
    ScratchMark mark;
    u64* yl = mark.take(static_cast<std::size_t>(m) + 1);
    u64* wl = mark.take(static_cast<std::size_t>(window));
    u64* z = mark.take(static_cast<std::size_t>(window + m + 1));
    u64* fx = mark.take(static_cast<std::size_t>(FIX_INT_WORDS + frac_words));
    u64* scratch = mark.take(static_cast<std::size_t>(dec_mul_scratch(window, m + 1)) + 1);
    if (scratch == nullptr) return -1;
    for (i32 k = 0; k < m; ++k) yl[k] = y[m - k];  // least significant word first
    yl[m] = dec_mul_word(yl, yl, m, REAL_POW10[t - 19 * a]);
    for (i64 k = 0; k < window; ++k) wl[k] = REAL_4_OVER_PI_LONG[j0 + window - 1 - k];
    dec_mul(z, wl, window, yl, m + 1, scratch);
    const int octant = static_cast<int>(z[fw] % 8);  // B is a multiple of 8
    fx[0] = fx[1] = 0;
    u64* frac = fx + FIX_INT_WORDS;
    for (i64 i = 0; i < frac_words; ++i) frac[i] = z[fw - 1 - i];
    // An odd octant measures r from its upper end: r = -(1 - fraction) pi/4.
    if (octant & 1) fix_negate(frac, frac_words);
    if (frac_words - zero_words(frac, frac_words) < i64{m} + 2) return -2;
    fix_to_real(r, fx, FIX_INT_WORDS + frac_words, octant & 1, m);
    real_const(fx, REAL_CONST_PI_4);
    trig_mul(r, r, fx);
    return octant;
}

// A window of 2m + 6 words leaves m + 4 exact fraction words: an argument
// within 10^-38 of a multiple of pi/4 (relative to its units) needs a wider
// one, which is rare, so it is widened only then.
int reduce_far(u64* r, const u64* y) {
    int octant = -2;
    // Below 10^19 only a pending error (no scratch) ends here.
    if (!mp_err() && real_exp_of(y) >= 19 && real_exp_of(y) < REAL_TRIG_EXP_LIMIT) {
        for (i64 window = 2 * i64{mp_real_words} + 6; octant == -2; window += mp_real_words + 2)
            octant = reduce_far_window(r, y, window);
    }
    if (octant < 0) {
        if (!mp_err()) mp_raise(MP_ERR_DOMAIN);
        real_zero(r, 0);
    }
    return octant;
}

}  // namespace

int real_trig_reduce(u64* r, const u64* y) {
    const i32 m = mp_real_words;
    u64 o = 0;
    if (!octant_count(&o, y)) return reduce_far(r, y);
    if (o == 0) {
        real_copy(r, y);
        return 0;
    }
    // Two words of integer part, then the fraction: q pi/4 and y need 2m + 4
    // fraction words for the difference to keep m significant words.
    i64 n = FIX_INT_WORDS + std::min<i64>(2 * i64{m} + 4, REAL_PI4_LONG_WORDS);
    ScratchMark mark;
    u64* fy = mark.take(static_cast<std::size_t>(2 * n));
    if (fy == nullptr) {
        real_zero(r, 0);
        return -1;
    }
    u64* ft = fy + n;
    fix_from_real(fy, n, y, m);
    // An odd octant measures r from its upper end: q = o + 1.
    fix_pi4_multiple(ft, n, o, (o & 1) != 0);
    int sign = 0;
    if (fix_sub(fy, fy, ft, n)) {
        fix_negate(fy, n);
        sign = 1;
    }
    fix_to_real(r, fy, n, sign, m);
    if (real_exp_of(r) >= 0) {  // |r| >= 1: the octant estimate cannot be that far off
        real_fail(r, MP_ERR_INTERNAL);
        return -1;
    }
    return static_cast<int>(o & 7);
}

double trig_log10_abs(const u64* x) {
    return static_cast<double>(real_exp_of(x)) + std::log10(static_cast<double>(x[1]) / 1e18);
}
