// Trial-division factorization and the divisor enumeration.
#include "primes/prime_factor.h"

#include <cstring>

#include "app/app_error.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "primes/prime_split.h"

namespace {

void append_factor(PrimeFactorList& list, const u64* p, u64 multiplicity) {
    if (list.count < 0 || list.count >= PRIME_FACTOR_SLOTS) {
        list.count = -1;
        return;
    }
    list.primes[list.count][0] = p[0];
    list.primes[list.count][1] = p[1];
    list.multiplicities[list.count] = multiplicity;
    ++list.count;
}

}  // namespace

void prime_factorize(PrimeFactorList& list, const u64* n) {
    list.count = 0;
    if (mp_int_words != 2) {
        list.count = -1;
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return;
    }
    Factorization128 found;
    const FactorStatus status = factor_u128(u128{n[1]} << 64 | n[0], found);
    if (status == FactorStatus::Stopped) return;  // the caller prints nothing for n
    for (int i = 0; i < found.count; ++i) {
        const u64 p[2] = {static_cast<u64>(found.prime[i]), static_cast<u64>(found.prime[i] >> 64)};
        append_factor(list, p, found.exponent[i]);
    }
}

void divisor_list_insert(DivisorList& list, const u64* value) {
    if (static_cast<u64>(list.count) >= static_cast<u64>(DIVISOR_LIST_CAPACITY)) {
        list.count = -1;
        return;
    }
    i64 pos = list.count;
    while (pos > 0 && uint_cmp(list.values[pos - 1], value) > 0) --pos;
    std::memmove(list.values + pos + 1, list.values + pos,
                 static_cast<std::size_t>(list.count - pos) * sizeof(list.values[0]));
    list.values[pos][0] = value[0];
    list.values[pos][1] = value[1];
    ++list.count;
}

namespace {

// A divisor with the exponents still available to it and the lowest prime
// index it may still be multiplied by; growing each divisor only by primes
// at or after the last one used produces every divisor of a level once.
struct LevelEntry {
    u64 value[2];
    u8 exponents[PRIME_FACTOR_SLOTS];
    u8 first_prime;
};

struct Level {
    i64 count;
    LevelEntry* entries;
};

// Builds the next level from current; false when it overflows.
bool next_level(DivisorList& list, const PrimeFactorList& factors, const Level& current,
                Level& next) {
    next.count = 0;
    for (i64 e = 0; e < current.count; ++e) {
        const LevelEntry& from = current.entries[e];
        for (i64 j = from.first_prime; j < factors.count; ++j) {
            if (from.exponents[j] == 0) continue;
            if (next.count == DIVISOR_LEVEL_CAPACITY) return false;
            LevelEntry& to = next.entries[next.count++];
            to = from;
            uint_mul(to.value, from.value, factors.primes[j]);
            --to.exponents[j];
            to.first_prime = static_cast<u8>(j);
            divisor_list_insert(list, to.value);
            if (list.count < 0) return false;
        }
    }
    return true;
}

}  // namespace

void divisors_from_factors(DivisorList& list, const PrimeFactorList& factors) {
    if (factors.count < 0) {
        list.count = -1;
        return;
    }
    list.count = 0;
    const u64 one[2] = {1, 0};
    divisor_list_insert(list, one);
    if (factors.count == 0) return;
    ScratchMark mark;
    const std::size_t level_words =
        (static_cast<std::size_t>(DIVISOR_LEVEL_CAPACITY) * sizeof(LevelEntry) + 7) / 8;
    Level a{0, reinterpret_cast<LevelEntry*>(mark.take(level_words))};
    Level b{0, reinterpret_cast<LevelEntry*>(mark.take(level_words))};
    if (b.entries == nullptr) {
        list.count = -1;
        return;
    }
    // The level of the number 1: every exponent still available.
    a.count = 1;
    LevelEntry& root = a.entries[0];
    root.value[0] = 1;
    root.value[1] = 0;
    root.first_prime = 0;
    for (i64 j = 0; j < factors.count; ++j) {
        if (factors.multiplicities[j] < 1 || factors.multiplicities[j] > 255) {
            list.count = -1;
            return;
        }
        root.exponents[j] = static_cast<u8>(factors.multiplicities[j]);
    }
    Level* current = &a;
    Level* next = &b;
    while (current->count > 0 && list.count >= 0) {
        if (!next_level(list, factors, *current, *next)) {
            list.count = -1;
            return;
        }
        std::swap(current, next);
    }
}
