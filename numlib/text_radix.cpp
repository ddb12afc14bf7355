// Base-10^19 words to binary for long decimal texts: the value of the top
// half times 10^(19 h) plus the low half, recursively, so that the cost
// follows the fast products instead of growing with the square of the length.
#include "numlib/real_radix.h"
#include "numlib/text_impl.h"
#include "numlib/uint_impl.h"
#include "numlib/vec.h"

namespace {

constexpr u64 kDecBase = 10000000000000000000ULL;

// Horner's rule from the top word down.
i64 convert_basecase(u64* out, const u64* dec, i64 k) {
    i64 len = 0;
    for (i64 i = k - 1; i >= 0; --i) {
        if (len > 0) {
            const u64 carry = vec_mul_word(out, out, len, kDecBase);
            if (carry) out[len++] = carry;
        }
        if (dec[i] != 0) {
            if (len == 0) {
                out[len++] = dec[i];
            } else if (vec_add_1(out, out, len, dec[i])) {
                out[len++] = 1;
            }
        }
    }
    vec_zero(out + len, k - len);
    return len;
}

i64 convert(u64* out, const u64* dec, i64 k, const RadixPowers& pw) {
    if (k <= TEXT_DEC_TO_BIN_DC_THRESHOLD) return convert_basecase(out, dec, k);
    int i = 0;
    while ((i64{2} << i) < k) ++i;
    const i64 h = i64{1} << i;  // words of the low half, h < k <= 2h
    ScratchMark mark;
    u64* lo = mark.take(static_cast<std::size_t>(h));
    u64* hi = mark.take(static_cast<std::size_t>(k - h));
    if (!lo || !hi) return -1;
    const i64 llo = convert(lo, dec, h, pw);
    const i64 lhi = llo < 0 ? -1 : convert(hi, dec + h, k - h, pw);
    if (lhi < 0) return -1;
    vec_zero(out, k);
    if (lhi > 0) {
        const u64* a = hi;
        const u64* b = pw.p[i];
        i64 la = lhi, lb = pw.len[i];
        if (la < lb) {
            std::swap(a, b);
            std::swap(la, lb);
        }
        u64* scratch = mark.take(static_cast<std::size_t>(vec_mul_scratch(la, lb)) + 1);
        if (!scratch) return -1;
        vec_mul(out, a, la, b, lb, scratch);  // la + lb <= k: the value is below 10^(19k)
    }
    if (llo > 0) vec_add(out, out, k, lo, llo);
    return vec_len(out, k);
}

}  // namespace

i64 text_dec_to_bin(u64* out, const u64* dec, i64 k) {
    if (k <= TEXT_DEC_TO_BIN_DC_THRESHOLD) return convert_basecase(out, dec, k);
    ScratchMark mark;
    RadixPowers pw;
    if (!radix_make_powers(&pw, k, mark)) return -1;
    return convert(out, dec, k, pw);
}
