// Decimal-word additions, subtractions and one-word products and quotients.
// Two decimal words may sum past 2^64 (2 * 10^19 > 2^64), so sums are
// tested against the room left below B instead of for a wrapped carry.
#include <cassert>

#include "numlib/dec_impl.h"
#include "numlib/vec.h"

u64 dec_add_n(u64* r, const u64* a, const u64* b, i64 n) {
    u64 carry = 0;
    for (i64 i = 0; i < n; ++i) {
        const u64 t = a[i] + carry, room = DEC_BASE - b[i];
        carry = t >= room;
        r[i] = carry ? t - room : t + b[i];
    }
    return carry;
}

u64 dec_sub_n(u64* r, const u64* a, const u64* b, i64 n) {
    u64 borrow = 0;
    for (i64 i = 0; i < n; ++i) {
        const u64 s = b[i] + borrow;
        borrow = a[i] < s;
        r[i] = a[i] - s + (borrow ? DEC_BASE : 0);
    }
    return borrow;
}

u64 dec_add_1(u64* r, const u64* a, i64 n, u64 v) {
    for (i64 i = 0; i < n; ++i) {
        if (a[i] < DEC_BASE - v) {
            r[i] = a[i] + v;
            if (r != a) vec_copy_fwd(r + i + 1, a + i + 1, n - i - 1);
            return 0;
        }
        r[i] = a[i] - (DEC_BASE - v);
        v = 1;
    }
    return v;
}

u64 dec_sub_1(u64* r, const u64* a, i64 n, u64 v) {
    for (i64 i = 0; i < n; ++i) {
        if (a[i] >= v) {
            r[i] = a[i] - v;
            if (r != a) vec_copy_fwd(r + i + 1, a + i + 1, n - i - 1);
            return 0;
        }
        r[i] = a[i] + (DEC_BASE - v);
        v = 1;
    }
    return v;
}

u64 dec_add(u64* r, const u64* a, i64 an, const u64* b, i64 bn) {
    const u64 carry = dec_add_n(r, a, b, bn);
    return dec_add_1(r + bn, a + bn, an - bn, carry);
}

u64 dec_sub(u64* r, const u64* a, i64 an, const u64* b, i64 bn) {
    const u64 borrow = dec_sub_n(r, a, b, bn);
    return dec_sub_1(r + bn, a + bn, an - bn, borrow);
}

void dec_negate(u64* r, const u64* a, i64 n) {
    i64 i = 0;
    for (; a[i] == 0; ++i) r[i] = 0;
    assert(i < n);
    r[i] = DEC_BASE - a[i];
    for (++i; i < n; ++i) r[i] = DEC_BASE - 1 - a[i];
}

u64 dec_mul_word(u64* r, const u64* a, i64 n, u64 v) {
    // a[i] v + carry < B v, so every quotient by B is below v.
    u64 carry = 0;
    for (i64 i = 0; i < n; ++i) {
        const u128 t = static_cast<u128>(a[i]) * v + carry;
        carry = dec_div_base(static_cast<u64>(t >> 64), static_cast<u64>(t), &r[i]);
    }
    return carry;
}

namespace {

// Division by an invariant word (Moller and Granlund): d normalised (top bit
// set) with inv = floor((2^128 - 1) / d) - 2^64; (hi, lo) / d for hi < d,
// two products instead of a hardware division.
inline u64 div_preinv(u64 hi, u64 lo, u64 d, u64 inv, u64* rem) {
    const u128 est = static_cast<u128>(hi) * inv + ((static_cast<u128>(hi) << 64) | lo);
    u64 q = static_cast<u64>(est >> 64) + 1;
    u64 r = lo - q * d;
    if (r > static_cast<u64>(est)) {
        --q;
        r += d;
    }
    if (r >= d) {
        ++q;
        r -= d;
    }
    *rem = r;
    return q;
}

}  // namespace

u64 dec_divmod_word(u64* q, const u64* a, i64 n, u64 v) {
    assert(v != 0);
    u64 rem = 0;
    if (n < 4) {
        for (i64 i = n - 1; i >= 0; --i) {
            // rem < v, so rem B + a[i] < v 2^64.
            const u128 t = static_cast<u128>(rem) * DEC_BASE + a[i];
            q[i] = udiv_128(static_cast<u64>(t >> 64), static_cast<u64>(t), v, &rem);
        }
        return rem;
    }
    // Longer vectors divide by the normalised v << shift with its reciprocal,
    // the numerator shifted alike; the remainder comes back shifted.
    const int shift = __builtin_clzll(v);
    const u64 d = v << shift;
    u64 unused;
    const u64 inv = udiv_128(~d, ~u64{0}, d, &unused);
    for (i64 i = n - 1; i >= 0; --i) {
        const u128 t = (static_cast<u128>(rem) * DEC_BASE + a[i]) << shift;
        q[i] = div_preinv(static_cast<u64>(t >> 64), static_cast<u64>(t), d, inv, &rem);
        rem >>= shift;
    }
    return rem;
}
