// The mod-30 bit sieve: byte b stands for the 30 integers from 30 b on, and
// its bits j = 0..7 for 30 b + 1, 7, 11, 13, 17, 19, 23, 29, the residues
// coprime to 30. A sieving prime p > 5 crosses off its multiples p q with q
// coprime to 30; from one such q to the next, the byte index of p q grows by
// (p / 30) dq + corr and the bit follows from the residues of p and q alone,
// so the walk needs neither division nor multiplication.
#pragma once

#include "numlib/mp_types.h"

inline constexpr u8 WHEEL30_RESIDUES[8] = {1, 7, 11, 13, 17, 19, 23, 29};

// A sieving prime and its next multiple: the byte index (relative to the
// current segment) and the packed p / 30, residue index of p and residue
// index of the current q.
struct SievePrime {
    u32 byte;
    u32 packed;  // (p / 30) << 6 | residue index of p << 3 | residue index of q
};

// The sieving prime p (7 <= p < 2^26) with its first multiple p q >= start
// (and q >= p, so composites only), as an offset from the byte segment_byte.
SievePrime wheel30_first_multiple(u64 p, u64 start, u64 segment_byte);

// Clears the multiples of sp in seg[0 .. size) and leaves sp at its first
// multiple beyond, relative to the next segment (which starts at byte size).
void wheel30_cross_off(u8* seg, u32 size, SievePrime& sp);

// The value of a set bit: byte index (absolute) and bit.
inline u64 wheel30_value(u64 byte, int bit) {
    return 30 * byte + WHEEL30_RESIDUES[bit];
}
