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

// Magnitudes of equal effective sign: {dst + 1, m} = big + small (small
// already moved down, with its spill). Returns the new spill; *e grows by one
// when the sum carries out of the top word.
u64 add_magnitudes(u64* dst, const u64* big, const u64* small, u64 spill, i64* e) {
    const i64 m = real_words();
    if (dec_add(dst + 1, big + 1, small, m) == 0) return spill;
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
        spill = add_magnitudes(dst, big, s, spill, &e);
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
