// Trial division, the Jacobi symbol and the Euler tests.
#include "primes/prime_test.h"

#include <bit>

#include "app/app_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "numlib/vec.h"
#include "primes/prime_proof.h"
#include "primes/prime_tables.h"

bool prime_stop_requested() {
    return appError.load(std::memory_order_relaxed) != 0;
}

u64 uint_rem_u64(const u64* a, u64 v) {
    u64 rem = 0;
    for (i64 i = vec_len(a, mp_int_words) - 1; i >= 0; --i) udiv_128(rem, a[i], v, &rem);
    return rem;
}

namespace {

std::size_t words() {
    return static_cast<std::size_t>(mp_int_words);
}

// a := a / 2^k for the number of trailing zero bits k of a (a != 0); returns k mod 2.
int strip_twos(u64* a) {
    int parity = 0;
    while ((a[0] & 1) == 0) {
        const u64 low = a[0];
        const u64 shift = low == 0 ? 63 : static_cast<u64>(std::countr_zero(low));
        const std::size_t n = words();
        for (std::size_t i = 0; i + 1 < n; ++i) a[i] = a[i] >> shift | a[i + 1] << (64 - shift);
        a[n - 1] >>= shift;
        parity ^= static_cast<int>(shift & 1);
    }
    return parity;
}

}  // namespace

int jacobi_symbol(const u64* a_in, const u64* n_in) {
    if (uint_cmp_u64(n_in, 3) < 0 || (n_in[0] & 1) == 0) {
        mp_raise(MP_ERR_DOMAIN);
        return 0;
    }
    ScratchMark mark;
    u64* a = mark.take(words());
    u64* n = mark.take(words());
    if (n == nullptr) return 0;
    uint_divmod(nullptr, a, a_in, n_in);
    uint_copy(n, n_in);
    int sign = 1;
    while (uint_cmp_u64(a, 2) >= 0) {
        if ((a[0] & 1) == 0) {
            // (2/n) = -1 exactly when n = 3 or 5 mod 8.
            const u64 n8 = n[0] & 7;
            if (strip_twos(a) != 0 && (n8 == 3 || n8 == 5)) sign = -sign;
            continue;
        }
        // Reciprocity: the sign flips when both are 3 mod 4.
        if ((a[0] & 3) == 3 && (n[0] & 3) == 3) sign = -sign;
        uint_divmod(nullptr, n, n, a);
        for (std::size_t i = 0; i < words(); ++i) std::swap(a[i], n[i]);
        if (mp_err() != 0) return 0;
    }
    return uint_is_one(a) ? sign : 0;
}

namespace {

// x = base^((n-1)/2) mod n; false when an error stopped the power.
bool euler_power(u64* x, u64 base, const u64* n) {
    ScratchMark mark;
    u64* b = mark.take(words());
    u64* e = mark.take(words());
    if (e == nullptr) return false;
    uint_set_u64(b, base);
    u64 odd_bit = 0;
    uint_divmod_u64(e, &odd_bit, n, 2);
    uint_powmod(x, b, e, n, 0);
    return mp_err() == 0;
}

// True when x = n - 1.
bool is_minus_one(const u64* x, const u64* n) {
    ScratchMark mark;
    u64* m = mark.take(words());
    if (m == nullptr) return false;
    uint_dec(m, n);
    return uint_cmp(x, m) == 0;
}

}  // namespace

bool euler_test_base2(const u64* n) {
    ScratchMark mark;
    u64* x = mark.take(words());
    if (x == nullptr || !euler_power(x, 2, n)) return false;
    const u64 n8 = n[0] & 7;
    return n8 == 3 || n8 == 5 ? is_minus_one(x, n) : uint_is_one(x);
}

bool euler_test_base3(const u64* n) {
    ScratchMark mark;
    u64* x = mark.take(words());
    if (x == nullptr) return false;
    uint_set_u64(x, 3);
    const int j = jacobi_symbol(x, n);
    if (j == 0 || !euler_power(x, 3, n)) return false;
    return j == 1 ? uint_is_one(x) : is_minus_one(x, n);
}

u32 prime_test_probabilistic(const u64* n) {
    if (mp_int_words == 0) {
        mp_raise(MP_ERR_DOMAIN);
        return 1;
    }
    if (uint_cmp_u64(n, 1008) <= 0) {
        for (const auto p : small_primes) {
            if (uint_cmp_u64(n, p) <= 0) return uint_cmp_u64(n, p) == 0 ? 0 : 1;
        }
        return 1;
    }
    if ((n[0] & 1) == 0) return 1;
    for (std::size_t i = 1; i < small_primes.size(); ++i) {
        if (uint_rem_u64(n, small_primes[i]) == 0) return 1;
    }
    if (!euler_test_base2(n) || !euler_test_base3(n)) return 1;
    return lucas_test_strong(n) ? 0 : 1;
}

namespace {

// Below this, trial division along the wheel is quicker than Baillie-PSW.
constexpr u64 TRIAL_DIVISION_BELOW = u64{1} << 20;

}  // namespace

bool prime_test_exact(const u64* n) {
    if (uint_cmp_u64(n, 2) < 0) return false;
    const i64 len = vec_len(n, mp_int_words);
    if (len <= 2 && (len < 2 ? n[0] : ~u64{0}) >= TRIAL_DIVISION_BELOW) {
        const u128 v = len == 2 ? u128{n[1]} << 64 | n[0] : n[0];
        return prime_prove_u128(v) != ProofResult::Composite;
    }
    u64 limit = 0;
    {
        ScratchMark mark;
        u64* s = mark.take(words());
        if (s == nullptr) return true;
        uint_sqrt(s, n);
        uint_to_u64(&limit, s, false);
    }
    WheelCursor cursor{1, 0};
    while (cursor.advance() && cursor.divisor <= limit && !prime_stop_requested()) {
        if (uint_rem_u64(n, cursor.divisor) == 0) return false;
    }
    return true;
}
