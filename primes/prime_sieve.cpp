// Segmented sieve of Eratosthenes over the odd numbers.
#include "primes/prime_sieve.h"

#include <cmath>
#include <cstring>

#include "numlib/mp_context.h"
#include "numlib/mp_scratch.h"

namespace {

// Odd numbers per segment: one byte each, so a segment stays in the cache.
constexpr u64 SEGMENT_ODDS = u64{1} << 17;

u64 isqrt(u64 n) {
    u64 r = static_cast<u64>(std::sqrt(static_cast<double>(n)));
    while (r * r > n) --r;
    while ((r + 1) * (r + 1) <= n) ++r;
    return r;
}

// Bytes of the library scratch area still free.
u64 scratch_room() {
    if (mp_scratch_top == nullptr) return 0;
    return static_cast<u64>(mp_scratch_end - mp_scratch_top);
}

// The odd primes up to root into primes (room for at most capacity); returns
// their count. flags must hold root / 2 + 1 bytes; flag i stands for 2i + 1.
u64 odd_primes_up_to(u64 root, u8* flags, u32* primes) {
    const u64 odds = root / 2 + 1;
    std::memset(flags, 0, odds);
    u64 count = 0;
    for (u64 i = 1; i < odds; ++i) {
        if (flags[i] != 0) continue;
        const u64 p = 2 * i + 1;
        primes[count++] = static_cast<u32>(p);
        for (u64 j = (p * p) / 2; j < odds; j += p) flags[j] = 1;
    }
    return count;
}

// Marks the odd composites of the segment of odds odd numbers from the odd base.
void sieve_segment(u64 base, u64 odds, u8* flags, const u32* primes, u64 count) {
    std::memset(flags, 0, odds);
    const u64 last = base + 2 * (odds - 1);
    for (u64 k = 0; k < count; ++k) {
        const u64 p = primes[k];
        if (p * p > last) break;
        u64 m = (base + p - 1) / p * p;
        if (m < p * p) m = p * p;
        if ((m & 1) == 0) m += p;
        for (u64 j = (m - base) / 2; j < odds; j += p) flags[j] = 1;
    }
}

}  // namespace

PrimeSieveResult prime_sieve_interval(u64 lo, u64 hi, const std::function<bool(u64)>& emit) {
    const u64 root = isqrt(hi);
    const u64 root_odds = root / 2 + 1;
    // pi(x) < 1.25506 x / ln x for x > 1 bounds the table of sieving primes.
    const u64 prime_slots =
        root < 3 ? 1 : static_cast<u64>(1.25506 * static_cast<double>(root) / std::log(root)) + 2;
    const u64 flag_bytes = (std::max(root_odds, SEGMENT_ODDS) + 7) / 8 * 8;
    if (flag_bytes + 4 * prime_slots + 64 > scratch_room()) return PrimeSieveResult::NoRoom;
    ScratchMark mark;
    u8* flags = reinterpret_cast<u8*>(mark.take(flag_bytes / 8));
    u32* primes = reinterpret_cast<u32*>(mark.take((prime_slots + 1) / 2));
    const u64 count = odd_primes_up_to(root, flags, primes);

    if (lo <= 2 && hi >= 2 && !emit(2)) return PrimeSieveResult::Stopped;
    u64 base = lo <= 3 ? 3 : (lo | 1);
    while (base <= hi) {
        const u64 odds = std::min(SEGMENT_ODDS, (hi - base) / 2 + 1);
        sieve_segment(base, odds, flags, primes, count);
        for (u64 j = 0; j < odds; ++j)
            if (flags[j] == 0 && !emit(base + 2 * j)) return PrimeSieveResult::Stopped;
        base += 2 * odds;
    }
    return PrimeSieveResult::Done;
}
