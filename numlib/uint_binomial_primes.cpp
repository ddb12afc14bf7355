// Binomial coefficients of a small n from their prime factorisation. With a
// loop count j near n/2, the quotient of the rising product by j! costs two
// products and a division many times the size of the result; the exponents
// of the primes up to n (Legendre's formula) give C(n, j) as one product of
// the size of the result.
#include "numlib/uint_binomial_primes.h"

#include "numlib/uint_product.h"

namespace {

// Exponent of the prime p in C(n, k) = n! / (k! (n - k)!).
u64 exponent_in_binomial(u64 n, u64 k, u64 p) {
    u64 e = 0;
    for (u64 q = p;; q *= p) {
        e += n / q - k / q - (n - k) / q;
        if (q > n / p) return e;
    }
}

bool is_composite(const u64* bits, u64 odd) {
    return (bits[odd / 128] >> (odd / 2 % 64)) & 1;
}

// Marks the odd composites up to n in {bits, n / 128 + 1}.
void sieve_odd(u64* bits, u64 n) {
    vec_zero(bits, static_cast<i64>(n / 128 + 1));
    for (u64 p = 3; p * p <= n; p += 2) {
        if (is_composite(bits, p)) continue;
        for (u64 m = p * p; m <= n; m += 2 * p) bits[m / 128] |= u64{1} << (m / 2 % 64);
    }
}

// Appends p^e to the packed list {w, *count}: each word holds as many factors
// as fit. False when the list is full (the caller's bound was wrong).
bool pack_power(u64* w, i64* count, i64 cap, u64 p, u64 e) {
    for (; e > 0; --e) {
        const u128 prod = static_cast<u128>(w[*count - 1]) * p;
        if ((prod >> 64) == 0) {
            w[*count - 1] = static_cast<u64>(prod);
        } else {
            if (*count == cap) return false;
            w[(*count)++] = p;
        }
    }
    return true;
}

// Packs the prime powers of C(n, k) into {w, cap}; the count, 0 on failure.
i64 pack_binomial(u64* w, i64 cap, u64 n, u64 k) {
    ScratchMark mark;
    u64* bits = mark.take(static_cast<std::size_t>(n / 128 + 1));
    if (!bits) return 0;
    sieve_odd(bits, n);
    i64 count = 1;
    w[0] = 1;
    bool ok = pack_power(w, &count, cap, 2, exponent_in_binomial(n, k, 2));
    for (u64 p = 3; ok && p <= n; p += 2)
        if (!is_composite(bits, p))
            ok = pack_power(w, &count, cap, p, exponent_in_binomial(n, k, p));
    if (ok) return count;
    mp_raise(MP_ERR_INTERNAL);
    return 0;
}

}  // namespace

u64* uint_binomial_by_primes(u64 n, u64 k, i64 max_bits, i64* len, ScratchMark& mark) {
    *len = 0;
    // every word but the last holds more than 64 - 22 bits of the result
    const i64 cap = max_bits / 42 + 2;
    u64* w = mark.take(static_cast<std::size_t>(cap));
    u64* c = w ? mark.take(static_cast<std::size_t>(cap)) : nullptr;
    if (!c) return nullptr;
    const i64 count = pack_binomial(w, cap, n, k);
    if (count) *len = uint_words_product(c, w, count);
    return c;
}
