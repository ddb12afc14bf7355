// The segmented mod-30 sieve: sieving primes, pattern copy, segments.
#include "primes/prime_sieve.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

#include "numlib/mp_context.h"
#include "numlib/mp_scratch.h"
#include "primes/prime_bpsw.h"
#include "primes/prime_montgomery.h"
#include "primes/prime_test.h"
#include "primes/prime_wheel30.h"

namespace {

constexpr u32 SEGMENT_BYTES = 32768;       // 983,040 integers, the first-level cache
constexpr u64 SIEVE_PRIME_MAX = u64{1} << 21;  // the largest sieving prime
constexpr u64 FIRST_SIEVING_PRIME = 59;    // 7 .. 53 come with the patterns
constexpr std::size_t BATCH = 4096;

// The primes 7 .. 53 in groups whose products stay below 2^16: each group
// has a pattern of product bytes (a period of 30 * product integers) with
// its multiples cleared, which a segment copies or ANDs in, instead of
// crossing off these primes one multiple at a time. (For a larger prime an
// AND over the segment costs more than the crossings it saves.)
constexpr u32 PATTERN_GROUPS[][4] = {{7, 11, 13, 17}, {31, 29, 19}, {53, 47, 23}, {43, 41, 37}};
constexpr int PATTERN_COUNT = sizeof(PATTERN_GROUPS) / sizeof(PATTERN_GROUPS[0]);

constexpr u64 group_product(int g) {
    u64 p = 1;
    for (u32 q : PATTERN_GROUPS[g])
        if (q != 0) p *= q;
    return p;
}

constexpr u64 pattern_offset(int g) {
    u64 at = 0;
    for (int i = 0; i < g; ++i) at += group_product(i);
    return at;
}

constexpr u64 PATTERN_TOTAL = pattern_offset(PATTERN_COUNT);

// All patterns, one after the other, built on first use.
struct Patterns {
    std::array<u8, PATTERN_TOTAL> bytes{};
    Patterns() {
        for (int g = 0; g < PATTERN_COUNT; ++g) {
            u8* out = bytes.data() + pattern_offset(g);
            for (u64 b = 0; b < group_product(g); ++b) {
                u8 bits = 0;
                for (int j = 0; j < 8; ++j) {
                    const u64 v = wheel30_value(b, j);
                    bool kept = true;
                    for (u32 q : PATTERN_GROUPS[g]) kept = kept && (q == 0 || v % q != 0);
                    if (kept) bits |= static_cast<u8>(1u << j);
                }
                out[b] = bits;
            }
        }
    }
};

const u8* patterns() {
    static const Patterns table;
    return table.bytes.data();
}

int residue_bit(u64 r) {
    int j = 0;
    while (WHEEL30_RESIDUES[j] != r) ++j;
    return j;
}

void presieve(u8* seg, u64 seg_byte, u32 size) {
    const u8* all = patterns();
    for (int g = 0; g < PATTERN_COUNT; ++g) {
        const u8* pat = all + pattern_offset(g);
        const u64 period = group_product(g);
        u64 from = seg_byte % period;
        for (u32 done = 0; done < size;) {
            const u32 chunk = static_cast<u32>(std::min<u64>(size - done, period - from));
            u8* to = seg + done;
            const u8* in = pat + from;
            if (g == 0) {
                std::memcpy(to, in, chunk);
            } else {
                for (std::size_t i = 0; i < chunk; ++i) to[i] &= in[i];
            }
            done += chunk;
            from = 0;
        }
    }
}

// The patterns clear the pattern primes themselves (all below 60); a
// segment that holds them gets them back.
void restore_pattern_primes(u8* seg, u64 seg_byte, u32 size) {
    for (const auto& group : PATTERN_GROUPS) {
        for (u32 q : group) {
            if (q != 0 && q / 30 >= seg_byte && q / 30 < seg_byte + size)
                seg[q / 30 - seg_byte] |= static_cast<u8>(1u << residue_bit(q % 30));
        }
    }
}

u64 prime_of(const SievePrime& sp) {
    return 30 * (sp.packed >> 6) + WHEEL30_RESIDUES[(sp.packed >> 3) & 7];
}

// The primes from 19 to limit (limit <= SIEVE_PRIME_MAX) into out; flags
// holds limit / 30 + 1 bytes. Returns their count.
u64 sieving_primes(u64 limit, u8* flags, SievePrime* out) {
    const u32 bytes = static_cast<u32>(limit / 30 + 1);
    std::memset(flags, 0xFF, bytes);
    flags[0] &= 0xFE;  // 1
    u64 count = 0;
    for (u32 b = 0; b < bytes; ++b) {
        for (int j = 0; j < 8; ++j) {
            if ((flags[b] >> j & 1) == 0) continue;
            const u64 p = wheel30_value(b, j);
            if (p > limit) return count;
            if (p * p <= limit) {
                SievePrime sp = wheel30_first_multiple(p, p * p, 0);
                wheel30_cross_off(flags, bytes, sp);
            }
            if (p >= FIRST_SIEVING_PRIME) {
                SievePrime sp = wheel30_first_multiple(p, p, 0);
                out[count++] = SievePrime{0, sp.packed & ~u32{7}};
            }
        }
    }
    return count;
}

// An upper bound of pi(x) - 7 for the table size (pi(x) < 1.26 x / ln x).
u64 prime_slots(u64 x) {
    if (x < 20) return 1;
    return static_cast<u64>(1.26 * static_cast<double>(x) / std::log(static_cast<double>(x))) + 1;
}

struct SieveRun {
    u64 lo, hi;
    bool complete;  // sieved up to sqrt(hi): every surviving bit is a prime
    u8* seg;
    SievePrime* primes;
    u64 prime_count;
};

// Bit masks that keep, in the first and last byte, only values inside [lo, hi].
// (The last byte below 2^64 reaches beyond it, so the values are two words.)
u8 mask_from(u64 lo, u64 byte) {
    u8 m = 0;
    for (int j = 0; j < 8; ++j)
        if (u128{byte} * 30 + WHEEL30_RESIDUES[j] >= lo) m |= static_cast<u8>(1u << j);
    return m;
}
u8 mask_to(u64 hi, u64 byte) {
    u8 m = 0;
    for (int j = 0; j < 8; ++j)
        if (u128{byte} * 30 + WHEEL30_RESIDUES[j] <= hi) m |= static_cast<u8>(1u << j);
    return m;
}

// Sieves the segment of size bytes from byte seg_byte.
void sieve_segment(SieveRun& run, u64 seg_byte, u32 size, u64& active) {
    presieve(run.seg, seg_byte, size);
    const u64 seg_start = 30 * seg_byte;
    // A sieving prime joins with the segment that holds its square.
    while (active < run.prime_count) {
        const u64 p = prime_of(run.primes[active]);
        if (p * p / 30 >= seg_byte + size) break;
        run.primes[active] = wheel30_first_multiple(p, std::max(p * p, seg_start), seg_byte);
        ++active;
    }
    for (u64 j = 0; j < active; ++j) wheel30_cross_off(run.seg, size, run.primes[j]);
    if (seg_byte == 0) run.seg[0] &= 0xFE;  // 1 is no prime
    if (seg_byte < 2) restore_pattern_primes(run.seg, seg_byte, size);
    if (seg_byte == run.lo / 30) run.seg[0] &= mask_from(run.lo, seg_byte);
    if (seg_byte + size - 1 == run.hi / 30) run.seg[size - 1] &= mask_to(run.hi, seg_byte + size - 1);
    std::memset(run.seg + size, 0, 8);
}

// Runs the segments, handing each to on_segment(seg, seg_byte, size); the
// segment buffer has 8 zero bytes beyond size.
template <class OnSegment>
PrimeSieveResult sieve_run(u64 lo, u64 hi, OnSegment on_segment) {
    const u64 root = isqrt_u64(hi);
    // A short interval high up is sieved only with primes up to about its
    // length; Baillie-PSW then decides the survivors.
    const u64 limit = std::min({root, SIEVE_PRIME_MAX, std::max<u64>(1024, hi - lo)});
    const u64 slots = prime_slots(limit);
    const u64 words = (limit / 30 + 8) / 8 + slots + (SEGMENT_BYTES + 16) / 8 + 8;
    if (mp_scratch_top == nullptr || static_cast<u64>(mp_scratch_end - mp_scratch_top) / 8 < words)
        return PrimeSieveResult::NoRoom;
    ScratchMark mark;
    SieveRun run{lo, hi, limit == root, nullptr, nullptr, 0};
    u8* flags = reinterpret_cast<u8*>(mark.take((limit / 30 + 8) / 8));
    run.primes = reinterpret_cast<SievePrime*>(mark.take(slots));
    run.seg = reinterpret_cast<u8*>(mark.take((SEGMENT_BYTES + 16) / 8));
    run.prime_count = sieving_primes(limit, flags, run.primes);
    u64 active = 0;
    const u64 last_byte = hi / 30;
    for (u64 seg_byte = lo / 30; seg_byte <= last_byte; seg_byte += SEGMENT_BYTES) {
        const u32 size = static_cast<u32>(std::min<u64>(SEGMENT_BYTES, last_byte - seg_byte + 1));
        if (prime_stop_requested()) return PrimeSieveResult::Stopped;
        sieve_segment(run, seg_byte, size, active);
        if (!on_segment(run, seg_byte, size)) return PrimeSieveResult::Stopped;
        if (seg_byte > ~u64{0} - SEGMENT_BYTES) break;
    }
    return PrimeSieveResult::Done;
}

// Bits set in a word, without relying on a population-count instruction.
inline u64 bit_count(u64 w) {
    w -= (w >> 1) & 0x5555555555555555ull;
    w = (w & 0x3333333333333333ull) + ((w >> 2) & 0x3333333333333333ull);
    w = (w + (w >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return (w * 0x0101010101010101ull) >> 56;
}

u64 load_word(const u8* p) {
    u64 w;
    std::memcpy(&w, p, 8);
    return w;
}

// Calls f(value) for each surviving value of the segment, in order; a
// survivor of an incomplete sieve is passed only when it is prime.
template <class F>
bool each_prime(const SieveRun& run, u64 seg_byte, u32 size, F f) {
    for (u32 at = 0; at < size; at += 8) {
        u64 w = load_word(run.seg + at);
        while (w != 0) {
            const int bit = std::countr_zero(w);
            w &= w - 1;
            const u64 v = wheel30_value(seg_byte + at + static_cast<u32>(bit >> 3), bit & 7);
            if (!run.complete && !bpsw_is_prime_u64(v)) continue;
            if (!f(v)) return false;
        }
    }
    return true;
}

constexpr u64 SMALL[3] = {2, 3, 5};

}  // namespace

PrimeSieveResult prime_sieve_interval(u64 lo, u64 hi,
                                      const std::function<bool(const u64*, std::size_t)>& emit) {
    u64 batch[BATCH];
    std::size_t filled = 0;
    auto flush = [&] {
        const bool go_on = filled == 0 || emit(batch, filled);
        filled = 0;
        return go_on;
    };
    auto put = [&](u64 v) {
        batch[filled++] = v;
        return filled < BATCH || flush();
    };
    const PrimeSieveResult r = sieve_run(std::max<u64>(lo, 7), hi, [&](const SieveRun& run, u64 b, u32 size) {
        if (b == std::max<u64>(lo, 7) / 30) {
            for (u64 p : SMALL)
                if (p >= lo && p <= hi && !put(p)) return false;
        }
        return each_prime(run, b, size, put) && flush();
    });
    return r;
}

PrimeSieveResult prime_sieve_count(u64 lo, u64 hi, u64* count) {
    u64 n = 0;
    for (u64 p : SMALL) n += p >= lo && p <= hi ? 1 : 0;
    const PrimeSieveResult r = sieve_run(std::max<u64>(lo, 7), hi, [&](const SieveRun& run, u64 b, u32 size) {
        if (!run.complete) return each_prime(run, b, size, [&](u64) { return ++n, true; });
        for (u32 at = 0; at < size; at += 8) n += bit_count(load_word(run.seg + at));
        return true;
    });
    *count = n;
    return r;
}
