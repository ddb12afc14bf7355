// Reciprocal of a decimal vector by Newton's iteration x' = x + x (1 - d x),
// at a precision that nearly doubles per step.
//
// Scaled to integers: X_h approximates B^(2h) / D_h, where D_h is the top h
// words of the divisor. One step to p > h words forms
//   T = B^(p + h) - D_p X_h   and   X_p = X_h B^(p - h) + X_h T / B^(2h).
// If X_h B^(p - h) = (B^(2p) / D_p)(1 - e), then X_p = (B^(2p) / D_p)(1 - e^2)
// up to the truncations: the relative error after a step is e^2 plus at most
// 12 B^-p (10 B^-p from the divisor words a step leaves out, 1.1 units from
// forming only the product columns that matter). The start,
// floor(B^2 / D_1), has a relative error below 1.1 10^-18. The step sizes
// are chosen from the top down for the error asked for; for the full
// precision e^2 costs the final step less than a tenth of a unit, and the
// result is within 1.2 units.
//
// T is small (|T| < B^(p + h) e), so D_p X_h lies just below or above
// B^(p + h): its words from p + 2 up are all B - 1 or all 0 and are not
// formed; word p + 1 tells which (T > 0 leaves B^(p + 2) - |T| below them).
#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

#include "numlib/dec_mul_impl.h"

namespace {

constexpr i64 MIN_WORDS = 3;  // two-word results are cut from three

// The precisions of the steps, largest first, for a final relative error
// below 10^-digits at n words; returns their count (at most 64). A step to p
// adds 12 B^-p to the square of its input's error: with need the log10 of
// the error its input must have, the step before goes to the smallest p with
// 12 B^-p <= need / 2 and needs sqrt(need / 2) itself. The start (1.1e-18)
// feeds any step that needs no better; the step from it to two words leaves
// 1.33e-36, which feeds any step that needs no better; every other step
// goes to at least three words.
int step_sizes(i64 n, double digits, i64* sizes) {
    constexpr double START_LOG_ERROR = -17.95, TWO_WORD_LOG_ERROR = -35.8;
    int count = 0;
    i64 p = std::max(n, MIN_WORDS);
    sizes[count++] = p;
    double need = (-digits - std::log10(2.0)) / 2.0;
    while (need < START_LOG_ERROR) {
        if (need >= TWO_WORD_LOG_ERROR) {
            sizes[count++] = 2;
            break;
        }
        const i64 q = static_cast<i64>((std::log10(24.0) - need) / 19.0) + 1;
        p = std::min(std::max(q, MIN_WORDS), p - 1);
        sizes[count++] = p;
        need = (need - std::log10(2.0)) / 2.0;
    }
    return count;
}

// {x, 2} = floor(B^2 / d1) for 10^18 <= d1 < B.
void start(u64* x, u64 d1) {
    x[1] = DEC_BASE / d1;
    const u128 rest = static_cast<u128>(DEC_BASE % d1) * DEC_BASE;
    u64 unused;
    x[0] = udiv_128(static_cast<u64>(rest >> 64), static_cast<u64>(rest), d1, &unused);
}

// {xp, p + 1} from {xh, h + 1} and the top p words {dp, p} of the divisor.
// buf holds 2 (p + h + 2) words, scratch dec_mul_scratch of the products.
void step(u64* xp, i64 p, const u64* xh, i64 h, const u64* dp, u64* buf, u64* scratch) {
    assert(p > h);
    // {t, nt} = words h - 1 .. p + 1 of D_p X_h (the columns from h - 2
    // leave word h - 1 short by up to p units, which moves the correction
    // below by less than 10 p / B units).
    const i64 nt = p - h + 3;
    u64* t = const_cast<u64*>(dec_mul_part(buf, dp, p, xh, h + 1, h - 1, p + 2, scratch));
    // From one word, word p + 1 is the top of D_p X_h itself: take B^(p + 1) off.
    if (h == 1) t[nt - 1] = t[nt - 1] == 0 ? DEC_BASE - 1 : t[nt - 1] - 1;
    const bool short_x = t[nt - 1] >= DEC_BASE / 2;  // T > 0: the correction is added
    if (short_x) dec_negate(t, t, nt);
    dec_place(xp, p - h, xh, h + 1);
    const i64 lt = vec_len(t, nt);
    if (lt == 0) return;
    assert(lt <= p + 1);
    // The correction X_h |T| / B^(2h): words h + 1 up of X_h (|T| / B^(h - 1)),
    // from the columns h - 1 up (short by less than one unit).
    u64* cbuf = buf + (p + h + 2);
    const u64* c = dec_mul_part(cbuf, xh, h + 1, t, lt, h, h + 1 + lt, scratch) + 1;
    if (short_x)
        dec_add(xp, xp, p + 1, c, lt);
    else
        dec_sub(xp, xp, p + 1, c, lt);
}

}  // namespace

i64 dec_recip_scratch(i64 n) {
    const i64 top = std::max(n, MIN_WORDS);
    // The divisor, two values of top + 1 words, the product buffers, and the
    // products' own scratch (no operand exceeds top + 2 words).
    return top + 2 * (top + 1) + 2 * (2 * top + 4) + dec_mul_scratch(top + 2, top + 2);
}

namespace {

void recip(u64* x, const u64* d, i64 nd, i64 n, double digits, u64* scratch) {
    assert(n >= 1 && nd >= 1 && d[nd - 1] >= DEC_BASE / 10);
    i64 sizes[64];
    const int count = step_sizes(n, digits, sizes);
    const i64 top = sizes[0];
    // The divisor's top words, zero-filled below to top words.
    u64* dv = scratch;
    const i64 used = std::min(nd, top);
    dec_place(dv, top - used, d + nd - used, used);
    u64* cur = dv + top;
    u64* next = cur + top + 1;
    u64* buf = next + top + 1;
    u64* rest = buf + 2 * (2 * top + 4);

    start(cur, dv[top - 1]);
    i64 h = 1;
    for (int i = count - 1; i >= 0; --i) {
        step(next, sizes[i], cur, h, dv + top - sizes[i], buf, rest);
        std::swap(cur, next);
        h = sizes[i];
    }
    // Below three words: the top n + 1 words, one unit short at most.
    dec_place(x, 0, cur + (top - n), n + 1);
}

}  // namespace

void dec_recip(u64* x, const u64* d, i64 nd, i64 n, u64* scratch) {
    // Within 2 units of x <= 10 B^n: a tenth of a unit for the square of the
    // last step's input error, the rest for the step itself.
    recip(x, d, nd, n, 19.0 * static_cast<double>(n) + 1.7, scratch);
}

void dec_recip_digits(u64* x, const u64* d, i64 nd, i64 n, i64 digits, u64* scratch) {
    recip(x, d, nd, n, static_cast<double>(digits), scratch);
}
