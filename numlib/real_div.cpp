// Reciprocals and quotients of reals. Both aim at the digits the caller
// needs, 19m - mp_guard_digits, plus a word: outside guarded calls a
// reciprocal is formed to m + 1 words and rounded (correct except within 2
// units of the 20th extra digit of a tie), and a quotient's spill is good to
// 2 units. Short mantissas are divided word by word (real_div_short.cpp);
// a longer quotient is the dividend times the divisor's reciprocal, but
// with the reciprocal only to half the words and the product refined by one
// Newton correction (Karp and Markstein's step): the final Newton step and
// the full product would cost twice as much.
#include <algorithm>

#include "numlib/dec_impl.h"
#include "numlib/real_dec_impl.h"
#include "numlib/real_div_impl.h"
#include "numlib/vec.h"

namespace {

// Words of the reciprocal's working precision.
i64 recip_words(i64 m) {
    const i64 digits = 19 * m - mp_guard_digits;
    return std::max<i64>(digits / 19 + 1, 1);
}

}  // namespace

void real_recip(u64* dst, const u64* a) {
    if (real_is_zero(a)) return real_fail(dst, MP_ERR_DIV_ZERO);
    const i64 m = real_words(), n = recip_words(m), e = real_exp_of(a);
    const int sign = real_sign(a);
    ScratchMark mark;
    u64* d = mark.take(static_cast<std::size_t>(m + n + 1 + dec_recip_scratch(n)));
    if (!d) return real_fail(dst, 0);  // error 30 is raised
    u64* x = d + m;
    real_mantissa_to_dec(d, a, m);
    dec_recip(x, d, m, n, x + n + 1);
    // x ~ (10 / y) B^n for the mantissa value 1 <= y < 10: its top word is
    // the units digit of 10 / y, the digit 10^-1 of 1 / y.
    const u64 spill = real_from_dec(dst, x, n + 1, 17 - e, sign);
    real_round_guard(dst, spill, static_cast<i32>(m));
}

namespace {

// The quotient's words for real_div by Karp and Markstein's step: with x
// the reciprocal of M to h words (relative error e), y = A x to h words and
// the exact residual r = A - M y, the quotient A / M = y + x r up to e^2.
// Scaled to integers (A, M of m words, n the words of the quotient's
// fraction, h = floor(n / 2) + 1 so that e^2 costs nothing):
//   Y = floor(A_h X / B^h) ~ (A / M) B^h   (A_h: A's top h words)
//   R = A B^h - M Y                         (small: see below)
//   Q = Y B^(n - h) + X R / B^(m + 2h - n) ~ (A / M) B^n.
// Words of R below r0 = m + h - n - 1 move Q by less than 10 / B units and
// are not formed, nor the columns of M Y below them. |R| stays below
// B^(m + 1) / 30 (e B^(m + h) plus the cut words of A and Y), so R's words
// from m + 1 up are those of a sign extension and word m + 1 gives the sign.
// Returns Q's words, n + 1, in q.
struct QuotientWork {
    i64 m, n, h, r0, nr;
    explicit QuotientWork(i64 words, i64 frac)
        : m(words),
          n(frac),
          h(frac / 2 + 1),
          r0(std::max<i64>(words + h - frac - 1, 0)),
          nr(words + 2 - r0) {}
    // x, A_h, Y's product, M Y's product, R, X R's product, then scratch.
    i64 words() const {
        return (h + 1) + h + (2 * h + 1) + (m + h + 1) + nr + (h + 1 + nr) +
               std::max(dec_recip_scratch(h), dec_mul_scratch(m + 2, m + 2));
    }
};

void quotient(u64* q, const u64* a, const u64* mv, const QuotientWork& w, u64* scratch) {
    const i64 m = w.m, n = w.n, h = w.h, r0 = w.r0, nr = w.nr;
    u64* x = scratch;
    u64* ah = x + (h + 1);
    u64* ybuf = ah + h;
    u64* pbuf = ybuf + (2 * h + 1);
    u64* r = pbuf + (m + h + 1);
    u64* cbuf = r + nr;
    u64* rest = cbuf + (h + 1 + nr);
    dec_recip_digits(x, mv, m, h, (19 * n + 3) / 2, rest);
    // A_h: A's top h words, zero-filled below when h > m.
    const i64 used = std::min(h, m);
    dec_place(ah, h - used, a + m - used, used);
    const u64* y = dec_mul_part(ybuf, x, h + 1, ah, h, h, 2 * h + 1, rest);
    // R's words r0 .. m + 1: A B^h less M Y there.
    const i64 pend = m + 2;  // M Y has m + h + 1 >= m + 2 words
    const u64* p = dec_mul_part(pbuf, mv, m, y, h + 1, r0, pend, rest);
    for (i64 j = r0; j < m + 2; ++j) r[j - r0] = j >= h && j - h < m ? a[j - h] : 0;
    dec_sub(r, r, nr, p, pend - r0);
    const bool negative = r[nr - 1] >= DEC_BASE / 2;
    if (negative) dec_negate(r, r, nr);
    dec_place(q, n - h, y, h + 1);
    const i64 lr = vec_len(r, nr);
    if (lr == 0) return;
    // X |R| / B^(m + 2h - n - r0) (= X |R| / B^(h + 1) when r0 > 0), from
    // the product's columns one word lower (short by less than a unit).
    const i64 shift = m + 2 * h - n - r0;
    const u64* c = dec_mul_part(cbuf, x, h + 1, r, lr, shift - 1, h + 1 + lr, rest) + 1;
    const i64 lc = h + 1 + lr - shift;
    if (negative)
        dec_sub(q, q, n + 1, c, std::min(lc, n + 1));
    else
        dec_add(q, q, n + 1, c, std::min(lc, n + 1));
}

}  // namespace

u64 real_div(u64* dst, const u64* a, const u64* b) {
    if (real_is_zero(b)) {
        real_fail(dst, MP_ERR_DIV_ZERO);
        return 0;
    }
    const int sign = real_sign(a) ^ real_sign(b);
    if (real_is_zero(a)) {
        real_zero(dst, sign);
        return 0;
    }
    const i64 m = real_words();
    const QuotientWork work(m, recip_words(m));
    // Short mantissas: long division, exact to Q's last word.
    const bool by_words = m <= REAL_DIV_SHORT_MAX;
    const i64 work_words = by_words ? real_div_short_scratch(m, work.n) : work.words();
    ScratchMark mark;
    u64* ar = mark.take(static_cast<std::size_t>(2 * m + (work.n + 1) + work_words));
    if (!ar) {
        real_fail(dst, 0);  // error 30 is raised
        return 0;
    }
    u64* br = ar + m;
    u64* q = br + m;
    real_mantissa_to_dec(ar, a, m);
    real_mantissa_to_dec(br, b, m);
    if (by_words)
        real_div_short(q, ar, br, m, work.n, q + work.n + 1);
    else
        quotient(q, ar, br, work, q + work.n + 1);
    // Q ~ (y_a / y_b) B^n: the top word is the units digit of y_a / y_b.
    const i64 e_top = real_exp_sum(real_exp_of(a), real_exp_sum(18, -real_exp_of(b)));
    return real_from_dec(dst, q, work.n + 1, e_top, sign);
}

u64 real_div_u64(u64* dst, const u64* a, u64 v) {
    if (v == 0) {
        real_fail(dst, MP_ERR_DIV_ZERO);
        return 0;
    }
    const int sign = real_sign(a);
    if (real_is_zero(a)) {
        real_zero(dst, sign);
        return 0;
    }
    const i64 m = real_words();
    ScratchMark mark;
    u64* p = mark.take(static_cast<std::size_t>(m + 3));
    if (!p) {
        real_fail(dst, 0);
        return 0;
    }
    // floor(A B^3 / v): the quotient's top 19m digits, the spill and the
    // digits a normalising shift pulls in, all exact.
    vec_zero(p, 3);
    real_mantissa_to_dec(p + 3, a, m);
    dec_divmod_word(p, p, m + 3, v);
    return real_from_dec(dst, p, m + 3, real_exp_of(a), sign);
}
