// Modular arithmetic with a fixed odd modulus below 2^64 or below 2^128 in
// Montgomery form (R = 2^64 or 2^128), for the exact tests and the
// factorization of two-word numbers. Residues are kept reduced, in [0, n).
// Both classes offer the same operations, so the tests and the factoring
// loops are written once as templates over the ring.
#pragma once

#include "numlib/mp_types.h"

__extension__ typedef __int128 i128;

constexpr u128 U128_TOP = ~u128{0};

// The inverse of the odd v modulo 2^64 (Newton's iteration doubles the
// correct low bits from the 3 that v itself gives).
constexpr u64 inverse_mod_2_64(u64 v) {
    u64 inv = v;
    for (int i = 0; i < 5; ++i) inv *= 2 - v * inv;
    return inv;
}

// Sums, differences and halves of residues in [0, n), shared by both rings
// (which keep their residues reduced in Montgomery form; halving is the
// same there).
template <class V>
V mod_add(V a, V b, V n) {
    const V s = a + b;
    return s < a || s >= n ? s - n : s;
}
template <class V>
V mod_sub(V a, V b, V n) {
    return a >= b ? a - b : a - b + n;
}
// (a + n) / 2 for odd a without overflow (n odd).
template <class V>
V mod_half(V a, V n) {
    return (a & 1) == 0 ? a >> 1 : (a >> 1) + (n >> 1) + 1;
}
// A small signed constant v in the ring.
template <class Ring>
typename Ring::Value mod_small(const Ring& ring, i64 v) {
    using V = typename Ring::Value;
    return v >= 0 ? ring.to(static_cast<V>(v)) : ring.sub(0, ring.to(static_cast<V>(-v)));
}

class Mont64 {
  public:
    using Value = u64;

    explicit Mont64(u64 n) : n_(n), inv_(inverse_mod_2_64(n)) {
        one_ = static_cast<u64>((u128{1} << 64) % n);
        r2_ = static_cast<u64>((u128{one_} << 64) % n);
    }
    u64 modulus() const { return n_; }
    u64 one() const { return one_; }
    u64 to(u64 a) const { return mul(a % n_, r2_); }
    u64 from(u64 a) const { return reduce(a); }

    // a * b / R mod n: the low words of t and m n cancel, so only the high
    // words are subtracted.
    u64 mul(u64 a, u64 b) const { return reduce(u128{a} * b); }
    u64 add(u64 a, u64 b) const { return mod_add(a, b, n_); }
    u64 sub(u64 a, u64 b) const { return mod_sub(a, b, n_); }
    u64 half(u64 a) const { return mod_half(a, n_); }
    u64 from_small(i64 v) const { return mod_small(*this, v); }

  private:
    u64 reduce(u128 t) const {
        const u64 m = static_cast<u64>(t) * inv_;
        const u64 hi = static_cast<u64>(t >> 64);
        const u64 mn = static_cast<u64>((u128{m} * n_) >> 64);
        return hi >= mn ? hi - mn : hi - mn + n_;
    }

    u64 n_;
    u64 inv_;  // n^-1 mod 2^64
    u64 one_;  // R mod n
    u64 r2_;   // R^2 mod n
};

class Mont128 {
  public:
    using Value = u128;

    explicit Mont128(u128 n)
        : n_(n),
          n0_(static_cast<u64>(n)),
          n1_(static_cast<u64>(n >> 64)),
          inv_(0 - inverse_mod_2_64(static_cast<u64>(n))) {
        // R mod n = (2^128 - n) mod n; then R^2 mod n by 128 doublings.
        one_ = (0 - n) % n;
        r2_ = one_;
        for (int i = 0; i < 128; ++i) r2_ = add(r2_, r2_);
    }
    u128 modulus() const { return n_; }
    u128 one() const { return one_; }
    u128 to(u128 a) const { return mul(a % n_, r2_); }
    u128 from(u128 a) const { return mul(a, 1); }

    // The full product, then two word-wise reduction rounds (each adds m n
    // with m chosen to clear the lowest word, and drops that word).
    u128 mul(u128 a, u128 b) const {
        const u64 a0 = static_cast<u64>(a), a1 = static_cast<u64>(a >> 64);
        const u64 b0 = static_cast<u64>(b), b1 = static_cast<u64>(b >> 64);
        const u128 p00 = u128{a0} * b0, p01 = u128{a0} * b1, p10 = u128{a1} * b0, p11 = u128{a1} * b1;
        // t = a b in four words t0..t3.
        const u64 t0 = static_cast<u64>(p00);
        u128 mid = (p00 >> 64) + static_cast<u64>(p01) + static_cast<u64>(p10);
        u64 t1 = static_cast<u64>(mid);
        u128 high = p11 + (p01 >> 64) + (p10 >> 64) + (mid >> 64);
        u64 t2 = static_cast<u64>(high), t3 = static_cast<u64>(high >> 64);
        // Round 1: clear t0.
        u64 m = t0 * inv_;
        u128 c = (u128{m} * n0_ + t0) >> 64;
        c += u128{m} * n1_ + t1;
        t1 = static_cast<u64>(c);
        c = (c >> 64) + t2;
        t2 = static_cast<u64>(c);
        c = (c >> 64) + t3;
        t3 = static_cast<u64>(c);
        u64 t4 = static_cast<u64>(c >> 64);
        // Round 2: clear t1.
        m = t1 * inv_;
        c = (u128{m} * n0_ + t1) >> 64;
        c += u128{m} * n1_ + t2;
        t2 = static_cast<u64>(c);
        c = (c >> 64) + t3;
        t3 = static_cast<u64>(c);
        t4 += static_cast<u64>(c >> 64);
        const u128 r = u128{t3} << 64 | t2;
        return t4 != 0 || r >= n_ ? r - n_ : r;
    }
    u128 add(u128 a, u128 b) const { return mod_add(a, b, n_); }
    u128 sub(u128 a, u128 b) const { return mod_sub(a, b, n_); }
    u128 half(u128 a) const { return mod_half(a, n_); }
    u128 from_small(i64 v) const { return mod_small(*this, v); }

  private:
    u128 n_;
    u64 n0_, n1_;  // the words of n
    u64 inv_;      // -n^-1 mod 2^64
    u128 one_;
    u128 r2_;
};

// base^e in the ring (base in Montgomery form, result too).
template <class Ring>
typename Ring::Value mont_pow(const Ring& ring, typename Ring::Value base, u128 e) {
    typename Ring::Value x = ring.one();
    int top = 127;
    while (top >= 0 && ((e >> top) & 1) == 0) --top;
    for (int bit = top; bit >= 0; --bit) {
        x = ring.mul(x, x);
        if (((e >> bit) & 1) != 0) x = ring.mul(x, base);
    }
    return x;
}

// floor(sqrt(n)).
u64 isqrt_u128(u128 n);
u64 isqrt_u64(u64 n);
// True when n is a perfect square (quick residue filters first).
bool is_square_u128(u128 n);
u128 gcd_u128(u128 a, u128 b);
// floor(n^(1/k)) for k >= 2.
u128 iroot_u128(u128 n, int k);
