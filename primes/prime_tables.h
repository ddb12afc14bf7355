// The primes below 1000 and the mod-30030 trial-division wheel, both
// computed at compile time from their definitions, and the wheel cursor that
// walks the trial divisors.
#pragma once

#include <array>

#include "numlib/mp_types.h"

constexpr int SMALL_PRIME_COUNT = 168;
// Wheel layout: seven steps from 1 to 17 (through 2, 3, 5, 7, 11, 13), then
// the 5760 gaps between consecutive integers coprime to 30030 from 17 on,
// repeated for ever from index WHEEL_CYCLE_START.
constexpr int WHEEL_STEP_COUNT = 5767;
constexpr int WHEEL_CYCLE_START = 7;
constexpr u64 WHEEL_MODULUS = 30030;

namespace prime_tables_detail {

constexpr std::array<std::uint16_t, SMALL_PRIME_COUNT> make_small_primes() {
    std::array<bool, 1000> composite{};
    std::array<std::uint16_t, SMALL_PRIME_COUNT> out{};
    int count = 0;
    for (int p = 2; p < 1000; ++p) {
        if (composite[p]) continue;
        out[count++] = static_cast<std::uint16_t>(p);
        for (int m = p * p; m < 1000; m += p) composite[m] = true;
    }
    return out;
}

constexpr bool coprime_to_wheel(u64 v) {
    return v % 2 != 0 && v % 3 != 0 && v % 5 != 0 && v % 7 != 0 && v % 11 != 0 && v % 13 != 0;
}

constexpr std::array<u8, WHEEL_STEP_COUNT> make_wheel_steps() {
    std::array<u8, WHEEL_STEP_COUNT> out{1, 1, 2, 2, 4, 2, 4};
    int count = WHEEL_CYCLE_START;
    u64 last = 17;
    for (u64 v = 19; v <= 17 + WHEEL_MODULUS; ++v) {
        if (!coprime_to_wheel(v)) continue;
        out[count++] = static_cast<u8>(v - last);
        last = v;
    }
    return out;
}

}  // namespace prime_tables_detail

inline constexpr std::array<std::uint16_t, SMALL_PRIME_COUNT> small_primes =
    prime_tables_detail::make_small_primes();
inline constexpr std::array<u8, WHEEL_STEP_COUNT> wheel_steps =
    prime_tables_detail::make_wheel_steps();

static_assert(small_primes[0] == 2 && small_primes[SMALL_PRIME_COUNT - 1] == 997);
static_assert(wheel_steps[WHEEL_CYCLE_START] == 2 && wheel_steps[WHEEL_STEP_COUNT - 1] == 16);

// A position on the wheel: the current divisor and the index of the next
// step. Start at (1, 0) for every divisor from 2 on, at (2, 1) to skip 2.
struct WheelCursor {
    u64 divisor;
    i32 index;

    // Moves to the next divisor. Returns false when the 64-bit divisor
    // wrapped round (there is no next divisor); the cursor is then unusable.
    bool advance() {
        const u64 step = wheel_steps[static_cast<std::size_t>(index)];
        divisor += step;
        index = index + 1 == WHEEL_STEP_COUNT ? WHEEL_CYCLE_START : index + 1;
        return divisor >= step;
    }
};
