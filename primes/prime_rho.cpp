// Pollard-Brent rho over the 64-bit and the 128-bit Montgomery ring.
#include "primes/prime_rho.h"

#include <algorithm>
#include <numeric>

#include "primes/prime_montgomery.h"
#include "primes/prime_test.h"

namespace {

constexpr u64 BATCH = 128;  // differences multiplied together before one gcd

u128 gcd_with(u128 a, u128 n) {
    if (n >> 64 == 0) return std::gcd(static_cast<u64>(a % n), static_cast<u64>(n));
    return gcd_u128(a, n);
}

// One rho run with the polynomial x^2 + c. Returns a factor, n when the
// cycle closed without one (try another c), or 0 when the steps ran out.
template <class Ring>
u128 brent_run(const Ring& ring, u64 c_small, u64& steps_left) {
    using V = typename Ring::Value;
    const V n = ring.modulus();
    const V c = ring.to(c_small);
    auto f = [&](V v) { return ring.add(ring.mul(v, v), c); };
    V y = ring.to(2), x = y, ys = y, q = ring.one();
    u128 g = 1;
    for (u64 r = 1; g == 1; r *= 2) {
        x = y;
        for (u64 i = 0; i < r; i += BATCH) {
            if (steps_left < BATCH || prime_stop_requested()) return 0;
            steps_left -= BATCH;
            for (u64 j = 0; j < std::min(BATCH, r - i); ++j) y = f(y);
        }
        for (u64 k = 0; k < r && g == 1; k += BATCH) {
            if (steps_left < BATCH || prime_stop_requested()) return 0;
            steps_left -= BATCH;
            ys = y;
            const u64 m = std::min(BATCH, r - k);
            for (u64 i = 0; i < m; ++i) {
                y = f(y);
                q = ring.mul(q, ring.sub(x, y));
            }
            g = gcd_with(q, n);
        }
    }
    if (g == n) {
        // The batch overshot: step again one at a time from its start.
        do {
            ys = f(ys);
            g = gcd_with(ring.sub(x, ys), n);
        } while (g == 1);
    }
    return g;
}

template <class Ring>
RhoResult find(const Ring& ring, u64 budget, u128* factor) {
    const u128 n = ring.modulus();
    u64 steps_left = budget;
    for (u64 c = 1;; ++c) {
        const u128 g = brent_run(ring, c, steps_left);
        if (g == 0) return prime_stop_requested() ? RhoResult::Stopped : RhoResult::Exhausted;
        if (g != n) {
            *factor = g;
            return RhoResult::Found;
        }
    }
}

}  // namespace

RhoResult rho_find_factor(u128 n, u64 budget, u128* factor) {
    if (n >> 64 == 0) return find(Mont64(static_cast<u64>(n)), budget, factor);
    return find(Mont128(n), budget, factor);
}
