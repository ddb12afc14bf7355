// ECM stage 1 (a Montgomery ladder per prime power up to B1) and stage 2
// (primes q = k w +- j up to B2 found as equal x-coordinates of k w P and
// j P).
#include "primes/prime_ecm.h"

#include <array>

#include "primes/prime_montgomery.h"
#include "primes/prime_test.h"

namespace {

constexpr u32 B1 = 1000;
constexpr u32 B2 = 50000;
constexpr u32 WHEEL = 210;  // giant step
constexpr int BABY = 24;    // j < 105 coprime to 210

struct Point {
    u128 x, z;
};

// Curve arithmetic with (A + 2) / 4 = num / den, kept as a fraction so no
// inverse is needed; the den factor scales both coordinates alike.
struct Curve {
    const Mont128& r;
    u128 num, den;

    Point dbl(const Point& p) const {
        const u128 s = r.mul(r.add(p.x, p.z), r.add(p.x, p.z));
        const u128 d = r.mul(r.sub(p.x, p.z), r.sub(p.x, p.z));
        const u128 t = r.sub(s, d);  // 4 x z
        const u128 dd = r.mul(d, den);
        return Point{r.mul(s, dd), r.mul(t, r.add(dd, r.mul(num, t)))};
    }
    // p + q from p - q.
    Point add(const Point& p, const Point& q, const Point& diff) const {
        const u128 u = r.mul(r.sub(p.x, p.z), r.add(q.x, q.z));
        const u128 v = r.mul(r.add(p.x, p.z), r.sub(q.x, q.z));
        const u128 plus = r.add(u, v), minus = r.sub(u, v);
        return Point{r.mul(diff.z, r.mul(plus, plus)), r.mul(diff.x, r.mul(minus, minus))};
    }
    Point times(const Point& p, u64 k) const {
        Point lo = p, hi = dbl(p);
        int top = 63;
        while (((k >> top) & 1) == 0) --top;
        for (int bit = top - 1; bit >= 0; --bit) {
            if (((k >> bit) & 1) != 0) {
                lo = add(hi, lo, p);
                hi = dbl(hi);
            } else {
                hi = add(lo, hi, p);
                lo = dbl(lo);
            }
        }
        return lo;
    }
};

// The primes up to B2 + WHEEL, built on first use.
struct PrimeFlags {
    std::array<bool, B2 + WHEEL + 1> prime{};
    PrimeFlags() {
        prime.fill(true);
        prime[0] = prime[1] = false;
        for (u32 p = 2; p * p <= B2 + WHEEL; ++p)
            if (prime[p])
                for (u32 m = p * p; m <= B2 + WHEEL; m += p) prime[m] = false;
    }
};

const PrimeFlags& flags() {
    static const PrimeFlags f;
    return f;
}

u128 gcd_with(u128 a, u128 n) {
    return gcd_u128(a, n);
}

// Stage 1 from Suyama's curve sigma; q is the multiple.
Point stage1(const Curve& c, Point q) {
    for (u32 p = 2; p <= B1; ++p) {
        if (!flags().prime[p]) continue;
        u64 pe = p;
        while (pe * p <= B1) pe *= p;
        q = c.times(q, pe);
    }
    return q;
}

// Stage 2: the product of x(kwQ) z(jQ) - x(jQ) z(kwQ) over kw +- j prime in (B1, B2].
u128 stage2(const Curve& c, const Point& q) {
    const Mont128& r = c.r;
    Point baby[BABY];
    u32 baby_j[BABY];
    // Odd multiples jQ by differential addition: (j+2)Q = jQ + 2Q from (j-2)Q.
    const Point q2 = c.dbl(q);
    Point prev = q, cur = c.add(q2, q, q);  // Q, 3Q
    int count = 0;
    for (u32 j = 1; j < WHEEL / 2; j += 2) {
        const Point pj = j == 1 ? prev : cur;
        if (j > 1) {
            const Point next = c.add(cur, q2, prev);
            prev = cur;
            cur = next;
        }
        if (j % 3 != 0 && j % 5 != 0 && j % 7 != 0) {
            baby[count] = pj;
            baby_j[count++] = j;
        }
    }
    const Point w = c.times(q, WHEEL);
    Point g_prev = w, g = c.dbl(w);  // kwQ for k = 1, 2
    u128 acc = r.one();
    for (u32 k = 2; k * WHEEL - WHEEL / 2 <= B2; ++k) {
        for (int i = 0; i < count; ++i) {
            const u32 lo = k * WHEEL - baby_j[i], hi = k * WHEEL + baby_j[i];
            const bool take = (lo > B1 && flags().prime[lo]) || (hi > B1 && hi <= B2 && flags().prime[hi]);
            if (!take) continue;
            acc = r.mul(acc, r.sub(r.mul(g.x, baby[i].z), r.mul(baby[i].x, g.z)));
        }
        const Point next = c.add(g, w, g_prev);
        g_prev = g;
        g = next;
    }
    return acc;
}

}  // namespace

RhoResult ecm_find_factor(u128 n, int curves, u128* factor) {
    const Mont128 r(n);
    for (int i = 0; i < curves; ++i) {
        if (prime_stop_requested()) return RhoResult::Stopped;
        // Suyama: u = s^2 - 5, v = 4 s, x = u^3, z = v^3,
        // (A + 2) / 4 = (v - u)^3 (3u + v) / (16 u^3 v).
        const u128 s = r.to(6 + static_cast<u64>(i));
        const u128 u = r.sub(r.mul(s, s), r.to(5));
        const u128 v = r.add(r.add(s, s), r.add(s, s));
        const u128 u3 = r.mul(r.mul(u, u), u), v3 = r.mul(r.mul(v, v), v);
        const u128 vu = r.sub(v, u);
        const u128 num = r.mul(r.mul(r.mul(vu, vu), vu), r.add(r.add(r.add(u, u), u), v));
        const u128 den = r.mul(r.mul(r.to(16), u3), v);
        const Curve c{r, num, den};
        const Point q = stage1(c, Point{u3, v3});
        u128 g = gcd_with(r.from(q.z), n);
        if (g == 1) g = gcd_with(r.from(stage2(c, q)), n);
        if (g != 1 && g != n) {
            *factor = g;
            return RhoResult::Found;
        }
    }
    return RhoResult::Exhausted;
}
