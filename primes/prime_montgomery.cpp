// Integer roots, squares and gcd of two-word numbers.
#include "primes/prime_montgomery.h"

#include <bit>
#include <algorithm>
#include <cmath>

u64 isqrt_u64(u64 n) {
    u64 r = static_cast<u64>(std::sqrt(static_cast<double>(n)));
    while (r > 0 && (r > 0xFFFFFFFFull || r * r > n)) --r;
    while (r < 0xFFFFFFFFull && (r + 1) * (r + 1) <= n) ++r;
    return r;
}

u64 isqrt_u128(u128 n) {
    if (n >> 64 == 0) return isqrt_u64(static_cast<u64>(n));
    // A double gives about 52 correct bits; two Newton steps make it exact
    // up to a final correction.
    u128 r = static_cast<u128>(std::sqrt(static_cast<long double>(n)));
    if (r > 0xFFFFFFFFFFFFFFFFull) r = 0xFFFFFFFFFFFFFFFFull;
    for (int i = 0; i < 2 && r != 0; ++i) {
        const u128 next = (r + n / r) >> 1;
        r = next > 0xFFFFFFFFFFFFFFFFull ? 0xFFFFFFFFFFFFFFFFull : next;
    }
    while (r * r > n) --r;
    while (r < 0xFFFFFFFFFFFFFFFFull && (r + 1) * (r + 1) <= n) ++r;
    return static_cast<u64>(r);
}

bool is_square_u128(u128 n) {
    // Squares mod 64 and mod 63 (= 9 * 7) reject most non-squares at once.
    constexpr u64 squares_mod_64 = 0x0202021202030213ull;
    if (((squares_mod_64 >> (static_cast<u64>(n) & 63)) & 1) == 0) return false;
    const u64 r63 = static_cast<u64>(n % 63);
    constexpr u64 squares_mod_63 = 0x0402483012450293ull;
    if (((squares_mod_63 >> r63) & 1) == 0) return false;
    const u128 r = isqrt_u128(n);
    return r * r == n;
}

u128 gcd_u128(u128 a, u128 b) {
    if (a == 0) return b;
    if (b == 0) return a;
    auto ctz = [](u128 v) {
        const u64 lo = static_cast<u64>(v);
        return lo != 0 ? std::countr_zero(lo) : 64 + std::countr_zero(static_cast<u64>(v >> 64));
    };
    const int shift = std::min(ctz(a), ctz(b));
    a >>= ctz(a);
    while (b != 0) {
        b >>= ctz(b);
        if (a > b) std::swap(a, b);
        b -= a;
    }
    return a << shift;
}

u128 iroot_u128(u128 n, int k) {
    if (n < 2) return n;
    u128 r = static_cast<u128>(std::pow(static_cast<long double>(n), 1.0L / k));
    // Correct the floating guess: r^k <= n < (r + 1)^k, with overflow checks.
    auto pow_le = [&](u128 base) {
        u128 acc = 1;
        for (int i = 0; i < k; ++i) {
            if (base != 0 && acc > U128_TOP / base) return false;
            acc *= base;
        }
        return acc <= n;
    };
    while (r > 0 && !pow_le(r)) --r;
    while (pow_le(r + 1)) ++r;
    return r;
}
