// The mod-30 wheel tables and the crossing-off kernel.
#include "primes/prime_wheel30.h"

#include <array>

namespace {

// Gap from each residue of q to the next integer coprime to 30.
constexpr u8 GAP[8] = {6, 4, 2, 4, 2, 4, 6, 2};

struct Step {
    u8 keep;  // the byte mask that clears the bit of p q
    u8 gap;   // dq
    u8 corr;  // byte carry of the residues: (p q mod 30 + (p mod 30) dq) / 30
};

constexpr int residue_index(u64 r) {
    for (int j = 0; j < 8; ++j)
        if (WHEEL30_RESIDUES[j] == r) return j;
    return -1;
}

constexpr std::array<std::array<Step, 8>, 8> make_steps() {
    std::array<std::array<Step, 8>, 8> t{};
    for (int k = 0; k < 8; ++k) {
        for (int i = 0; i < 8; ++i) {
            const u64 rp = WHEEL30_RESIDUES[k], rq = WHEEL30_RESIDUES[i];
            const u64 m = rp * rq % 30;
            t[k][i] = Step{static_cast<u8>(~(1u << residue_index(m))), GAP[i],
                           static_cast<u8>((m + rp * GAP[i]) / 30)};
        }
    }
    return t;
}

constexpr auto STEPS = make_steps();

}  // namespace

SievePrime wheel30_first_multiple(u64 p, u64 start, u64 segment_byte) {
    u128 q = (u128{start} + p - 1) / p;
    if (q < p) q = p;
    int i = residue_index(static_cast<u64>(q % 30));
    while (i < 0) {
        ++q;
        i = residue_index(static_cast<u64>(q % 30));
    }
    const u64 byte = static_cast<u64>(u128{p} * q / 30);
    const u32 packed = static_cast<u32>((p / 30) << 6 | static_cast<u64>(residue_index(p % 30)) << 3 |
                                        static_cast<u64>(i));
    return SievePrime{static_cast<u32>(byte - segment_byte), packed};
}

void wheel30_cross_off(u8* seg, u32 size, SievePrime& sp) {
    const u64 a = sp.packed >> 6;
    const auto& steps = STEPS[(sp.packed >> 3) & 7];
    u32 i = sp.packed & 7;
    u64 byte = sp.byte;
    // Single steps up to the start of a turn of the wheel (i = 0).
    while (i != 0 && byte < size) {
        seg[byte] &= steps[i].keep;
        byte += a * steps[i].gap + steps[i].corr;
        i = (i + 1) & 7;
    }
    // Whole turns: eight multiples at fixed offsets, then p bytes on.
    if (i == 0) {
        u64 offset[8];
        u64 o = 0;
        for (int k = 0; k < 8; ++k) {
            offset[k] = o;
            o += a * steps[k].gap + steps[k].corr;
        }
        const u64 p_bytes = o;  // one turn moves p q by 30 p, that is p bytes
        while (byte + offset[7] < size) {
            u8* b = seg + byte;
            b[offset[0]] &= steps[0].keep;
            b[offset[1]] &= steps[1].keep;
            b[offset[2]] &= steps[2].keep;
            b[offset[3]] &= steps[3].keep;
            b[offset[4]] &= steps[4].keep;
            b[offset[5]] &= steps[5].keep;
            b[offset[6]] &= steps[6].keep;
            b[offset[7]] &= steps[7].keep;
            byte += p_bytes;
        }
        while (byte < size) {
            seg[byte] &= steps[i].keep;
            byte += a * steps[i].gap + steps[i].corr;
            i = (i + 1) & 7;
        }
    }
    sp.byte = static_cast<u32>(byte - size);
    sp.packed = (sp.packed & ~u32{7}) | i;
}
