// The square part of an integer by trial division. Once the trial divisor
// passes the cube root of the unfactored rest, that rest has at most two
// prime factors, so it is either a square (caught by the square test) or
// square-free. A cube rest c^3 is replaced by c at once: sqrt(c^3) = c sqrt(c).
//
// A rest with two prime factors of 20 digits each would need some 10^13
// divisions to reach its cube root, so the search also ends at a fixed
// divisor bound. Below the bound's cube (2^60) the result is exact; above
// it a prime squared beyond the bound may stay inside s, which leaves
// o^2 s = n, and so the value of every text, intact.
#include "app/app_error.h"
#include "equations/exact.h"
#include "equations/exact_impl.h"
#include "numlib/uint.h"

namespace {

constexpr u64 trial_divisor_bound = u64{1} << 20;

// 2, 3, 5, 7, 9, ...: odd composites never divide once their primes are gone.
u64 next_divisor(u64 d) {
    return d == 2 ? 3 : d + 2;
}

// Takes every factor d out of n: d^2 pairs into o, a single one left over
// into s. n is divisible by d; q holds n / d on entry.
void take_divisor(u64* o, u64* s, u64* n, u64* q, u64 d, UintValues& t) {
    bool divides = true;
    while (divides) {
        u64 rest = 0;
        uint_divmod_u64(t[0], &rest, q, d);
        if (rest != 0) break;
        uint_mul_u64(o, o, d);
        uint_copy(n, t[0]);
        uint_divmod_u64(q, &rest, n, d);
        divides = rest == 0;
    }
    if (divides) {
        uint_mul_u64(s, s, d);
        uint_copy(n, q);
    }
}

}  // namespace

void square_part(u64* o, u64* s, const u64* n_in) {
    UintValues t(4);  // scratch, rest n, root, quotient
    u64* n = t[1];
    u64* root = t[2];
    u64* q = t[3];
    uint_copy(n, n_in);
    uint_set_u64(o, 1);
    uint_set_u64(s, 1);
    u64 d = 2;
    for (;;) {
        if (uint_sqrt(root, n)) {
            uint_mul(o, o, root);
            return;
        }
        if (uint_root(root, 3, n)) {
            uint_mul(o, o, root);
            uint_copy(n, root);
            continue;
        }
        // root = floor(cbrt(n)) for the trial divisions until n changes
        bool changed = false;
        bool first = true;
        while (!changed) {
            if (uint_cmp_u64(root, d) < 0 || d > trial_divisor_bound ||
                (!first && appError.load() != 0)) {
                uint_mul(s, s, n);
                return;
            }
            first = false;
            u64 rest = 0;
            uint_divmod_u64(q, &rest, n, d);
            if (rest == 0) {
                take_divisor(o, s, n, q, d, t);
                changed = true;
            }
            d = next_divisor(d);
        }
    }
}
