// Baillie-PSW on 64-bit and 128-bit Montgomery rings.
#include "primes/prime_bpsw.h"

#include <utility>

#include "primes/prime_montgomery.h"

namespace {

// The Jacobi symbol (a/m) of machine words, m odd.
int jacobi_u64(u64 a, u64 m) {
    int sign = 1;
    a %= m;
    while (a != 0) {
        while ((a & 1) == 0) {
            a >>= 1;
            if ((m & 7) == 3 || (m & 7) == 5) sign = -sign;
        }
        std::swap(a, m);
        if ((a & 3) == 3 && (m & 3) == 3) sign = -sign;
        a %= m;
    }
    return m == 1 ? sign : 0;
}

// (d/n) for a small odd |d| and odd n, by reciprocity reduced to machine words.
int jacobi_small(i64 d, u128 n) {
    const u64 abs_d = static_cast<u64>(d < 0 ? -d : d);
    int sign = 1;
    if (d < 0 && (n & 3) == 3) sign = -1;  // (-1/n)
    // (|d|/n) = (n/|d|) unless both are 3 mod 4.
    if ((abs_d & 3) == 3 && (n & 3) == 3) sign = -sign;
    return sign * jacobi_u64(static_cast<u64>(n % abs_d), abs_d);
}

// n - 1 = d 2^s with d odd: x = 2^d, then s - 1 squarings looking for -1.
template <class Ring>
bool strong_test_base2(const Ring& ring) {
    using V = typename Ring::Value;
    const V n = ring.modulus();
    V d = n - 1;
    int s = 0;
    while ((d & 1) == 0) {
        d >>= 1;
        ++s;
    }
    const V one = ring.one();
    const V minus_one = ring.sub(0, one);
    V x = mont_pow(ring, ring.add(one, one), d);
    if (x == one || x == minus_one) return true;
    for (int i = 1; i < s; ++i) {
        x = ring.mul(x, x);
        if (x == minus_one) return true;
        if (x == one) return false;
    }
    return false;
}

// Selfridge's D, or 0 when n is composite by a shared factor.
i64 selfridge_d(u128 n) {
    for (i64 abs_d = 5, sign = 1;; abs_d += 2, sign = -sign) {
        const int j = jacobi_small(sign * abs_d, n);
        if (j == -1) return sign * abs_d;
        if (j == 0 && n != static_cast<u128>(abs_d)) return 0;
    }
}

// Strong Lucas test: n + 1 = k 2^s, k odd; U_k = 0 or V_(k 2^r) = 0 for some r < s.
template <class Ring>
bool strong_lucas(const Ring& ring, i64 d_param) {
    using V = typename Ring::Value;
    const V n = ring.modulus();
    const V dm = ring.from_small(d_param);
    const V qm = ring.from_small((1 - d_param) / 4);
    // n + 1 may not fit the word when n is the largest odd value; k is then (n >> 1) + 1 shifted.
    V k = (n >> 1) + 1;  // (n + 1) / 2, exact for odd n
    int s = 1;
    while ((k & 1) == 0) {
        k >>= 1;
        ++s;
    }
    V u = ring.one(), v = ring.one(), qk = qm;
    int top = static_cast<int>(sizeof(V) * 8) - 1;
    while (((k >> top) & 1) == 0) --top;
    for (int bit = top - 1; bit >= 0; --bit) {
        u = ring.mul(u, v);                                // U_2j = U_j V_j
        v = ring.sub(ring.sub(ring.mul(v, v), qk), qk);    // V_2j = V_j^2 - 2 Q^j
        qk = ring.mul(qk, qk);
        if (((k >> bit) & 1) == 0) continue;
        const V du = ring.mul(dm, u);                      // P = 1:
        u = ring.half(ring.add(u, v));                     // U_j+1 = (U_j + V_j) / 2
        v = ring.half(ring.add(v, du));                    // V_j+1 = (D U_j + V_j) / 2
        qk = ring.mul(qk, qm);
    }
    if (u == 0 || v == 0) return true;
    for (int r = 1; r < s; ++r) {
        v = ring.sub(ring.sub(ring.mul(v, v), qk), qk);
        if (v == 0) return true;
        qk = ring.mul(qk, qk);
    }
    return false;
}

constexpr u64 SMALL_ODD_PRIMES[] = {3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47};

// Small n, even n and n with a factor below 50 are settled here: 1 prime, 0
// composite, -1 undecided.
int small_verdict(u128 n) {
    if (n < 2) return 0;
    if ((n & 1) == 0) return n == 2 ? 1 : 0;
    for (u64 p : SMALL_ODD_PRIMES) {
        if (n == p) return 1;
        if (n % p == 0) return 0;
    }
    return n < 53 * 53 ? 1 : -1;
}

template <class Ring>
bool bpsw(const Ring& ring) {
    if (!strong_test_base2(ring)) return false;
    const u128 n = ring.modulus();
    if (is_square_u128(n)) return false;  // no D exists for a square
    const i64 d = selfridge_d(n);
    return d != 0 && strong_lucas(ring, d);
}

}  // namespace

bool bpsw_is_prime_u64(u64 n) {
    const int v = small_verdict(n);
    if (v >= 0) return v == 1;
    return bpsw(Mont64(n));
}

bool bpsw_is_probable_prime(u128 n) {
    if (n >> 64 == 0) return bpsw_is_prime_u64(static_cast<u64>(n));
    const int v = small_verdict(n);
    if (v >= 0) return v == 1;
    return bpsw(Mont128(n));
}
