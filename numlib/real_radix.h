// Radix conversion between binary integers (least significant word first)
// and base-10^19 vectors (most significant word first), for the real
// conversions (not part of the public interface).
#pragma once

#include "numlib/real_impl.h"

// Base-10^19 words enough for any integer of n binary words (1039/1024 bounds
// 64 log10(2) / 19).
inline i64 real_dec_words_for(i64 n) {
    return (n * 1039 + 1023) / 1024;
}

// {out, k} = the base-10^19 digits of {a, na} (na >= 0), most significant
// first, except that words more than need places below the first non-zero
// one may be left 0 (need >= 1). Divides and conquers with powers 10^(19 2^i)
// above a threshold, and divides by 10^19 word by word below it. False when
// the value needs more than k words (out is then undefined), the scratch
// area ran out (error 30 raised) or an error arrived during a long run (a
// stop request; one pending at the start does not count). out overlaps
// nothing.
bool real_bin_to_dec(u64* out, i64 k, const u64* a, i64 na, i64 need);

// The powers 10^(19 2^i), i < levels, in binary, shared by the conversions
// in both directions, and whether an error that arrives meanwhile (a stop
// request) ends a conversion.
struct RadixPowers {
    const u64* p[40];
    i64 len[40];
    int levels = 0;
    bool watch_errors = false;
};
// Fills pw with every power below k words (10^(19 2^i) for 2^i < k), taking
// them from mark; false when the scratch area ran out (error 30 raised).
bool radix_make_powers(RadixPowers* pw, i64 k, ScratchMark& mark);

// Decimal words the divide-and-conquer conversion starts from.
constexpr i64 REAL_BIN_TO_DEC_DC_THRESHOLD = 24;
