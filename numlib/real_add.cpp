// Addition and subtraction: the operand with the smaller exponent is moved
// down to the larger one, its first 19 lost digits kept as the spill word.
#include "numlib/real_digits.h"
#include "numlib/vec.h"

namespace {

// {r, n} = {x, n} + {y, n} in base 10^19 (most significant word first);
// returns the carry out of the top word. r may equal x or y.
u64 dec_add(u64* r, const u64* x, const u64* y, i64 n) {
    u64 carry = 0;
    for (i64 i = n - 1; i >= 0; --i) {
        // x + y may exceed 2^64, so test against the room left in y's word.
        // Branch-free: carries are as unpredictable as the data.
        const u64 t = x[i] + carry;
        const u64 room = REAL_BASE - y[i];
        carry = t >= room;
        r[i] = carry ? t - room : t + y[i];
    }
    return carry;
}

// {r, n} = {x, n} - {y, n} - borrow in base 10^19; returns the borrow out of
// the top word. r may equal x or y.
u64 dec_sub(u64* r, const u64* x, const u64* y, i64 n, u64 borrow) {
    for (i64 i = n - 1; i >= 0; --i) {
        const u64 s = y[i] + borrow;
        const u64 diff = x[i] - s;
        borrow = x[i] < s;
        r[i] = borrow ? diff + REAL_BASE : diff;
    }
    return borrow;
}

int dec_cmp(const u64* x, const u64* y, i64 n) {
    for (i64 i = 0; i < n; ++i)
        if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
    return 0;
}

// After a sum of magnitudes into {dst + 1, m} with the given carry out of
// its top word: the new spill; *e grows by one when the sum carried.
u64 carry_out(u64* dst, u64 carry, u64 spill, i64* e) {
    const i64 m = real_words();
    if (carry == 0) return spill;
    // The sum is 10^19 + {dst + 1}: one digit down, with a leading 1.
    u64 last;
    real_div_pow10(dst[m], 1, &last);
    u64 unused;
    const u64 out = last * REAL_POW10[18] + real_div_pow10(spill, 1, &unused);
    real_digits_shr(dst + 1, dst + 1, m, 1);
    dst[1] += REAL_TOP;
    ++*e;
    return out;
}

// {r, m} = {x, m} +- ({y, m} moved down by d digits), for d not a multiple of
// 19 and below 19m, in one pass from the bottom (each word of y is split once
// at 10^s); *spill gets the first 19 digits moved out. A subtraction takes
// the spill as the subtrahend's (borrowing one from the mantissa when it is
// not zero, and leaving B - spill). Returns the carry or borrow out of the
// top. r may equal x or y: word i reads y only above i.
u64 add_sub_moved(u64* r, const u64* x, const u64* y, i64 m, i64 d, u64* spill, bool sub) {
    const i64 words = d / 19;
    const int s = static_cast<int>(d % 19);
    const u64 scale = REAL_POW10[19 - s];
    u64 low, unused;
    u64 top = real_div_pow10(y[m - 1 - words], s, &low);
    *spill = (words >= 1 ? real_div_pow10(y[m - words], s, &unused) : 0) + low * scale;
    u64 carry = 0;
    if (sub && *spill != 0) {
        *spill = REAL_BASE - *spill;
        carry = 1;
    }
    for (i64 i = m - 1; i >= words; --i) {
        const u64 t = top;
        top = i > words ? real_div_pow10(y[i - words - 1], s, &low) : (low = 0);
        const u64 v = t + low * scale;
        if (sub) {
            const u64 w = v + carry;
            carry = x[i] < w;
            r[i] = x[i] - w + (carry ? REAL_BASE : 0);
        } else {
            const u64 w = x[i] + carry, room = REAL_BASE - v;
            carry = w >= room;
            r[i] = carry ? w - room : w + v;
        }
    }
    for (i64 i = words - 1; i >= 0; --i) {
        const u64 w = x[i];
        if (sub) {
            r[i] = w - carry + (w < carry ? REAL_BASE : 0);
            carry = w < carry;
        } else {
            r[i] = w + carry == REAL_BASE ? 0 : w + carry;
            carry = w + carry == REAL_BASE;
        }
    }
    return carry;
}

}  // namespace

u64 real_add_sub(u64* dst, const u64* a, const u64* b, int sub) {
    const i64 m = real_words();
    const int sa = real_sign(a), sb = real_sign(b) ^ (sub & 1);
    if (real_is_zero(a)) {
        const i64 eb = real_exp_of(b);
        real_copy(dst, b);
        real_set_header(dst, eb, sb);
        return 0;
    }
    if (real_is_zero(b)) {
        real_copy(dst, a);
        return 0;
    }
    const i64 ea = real_exp_of(a), eb = real_exp_of(b);
    // big has the larger exponent (a on a tie); small is moved down to it.
    const bool a_big = ea >= eb;
    const u64* big = a_big ? a : b;
    const u64* small = a_big ? b : a;
    const int sign_big = a_big ? sa : sb, sign_small = a_big ? sb : sa;
    const i64 diff = a_big ? ea - eb : eb - ea;
    i64 e = a_big ? ea : eb;

    if (diff % 19 != 0 && diff < 19 * m) {
        // One pass: big is the larger magnitude since diff > 0.
        u64 spill = 0;
        const bool subtract = sign_big != sign_small;
        const u64 c = add_sub_moved(dst + 1, big + 1, small + 1, m, diff, &spill, subtract);
        if (subtract) {
            e -= real_digits_normalise(dst + 1, m, &spill);
        } else {
            spill = carry_out(dst, c, spill, &e);
        }
        return real_set_exp_sign(dst, e, sign_big) ? spill : 0;
    }
    ScratchMark mark;
    const u64* s = small + 1;
    u64 spill = 0;
    if (diff > 0) {
        u64* t = mark.take(static_cast<std::size_t>(m));
        if (!t) {
            real_fail(dst, 0);  // error 30 is raised
            return 0;
        }
        spill = real_digits_shr(t, small + 1, m, diff);
        s = t;
    }
    int sign = sign_big;
    if (sign_big == sign_small) {
        spill = carry_out(dst, dec_add(dst + 1, big + 1, s, m), spill, &e);
    } else {
        // With diff > 0 big is the larger magnitude; on equal exponents the
        // words decide, and then there is no spill.
        const int c = diff > 0 ? 1 : dec_cmp(big + 1, s, m);
        if (c == 0) {
            real_zero(dst, 0);  // an exact cancellation is +0
            return 0;
        }
        if (c > 0) {
            // The spill belongs to the subtrahend: borrow one from the mantissa.
            const u64 borrow = spill != 0;
            if (borrow) spill = REAL_BASE - spill;
            dec_sub(dst + 1, big + 1, s, m, borrow);
        } else {
            dec_sub(dst + 1, s, big + 1, m, 0);
            sign = sign_small;
        }
        e -= real_digits_normalise(dst + 1, m, &spill);
    }
    return real_set_exp_sign(dst, e, sign) ? spill : 0;
}
