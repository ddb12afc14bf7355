// Products of reals: the mantissa product in base 10^19, its top m words as
// the result and the next word as the spill. One and two words use 128-bit
// arithmetic and are exact; longer mantissas form only the columns that
// reach the top m + 1 words (short by at most m units of the spill, 10m + 9
// after a normalising shift pulls in a digit that was not formed), and from
// REAL_MUL_FULL_MIN words (a square from DEC_SQR_PART_FULL_MIN) the full
// Karatsuba product, which is exact; the half product by columns is the
// cheaper one at every real precision (dec.h).
#include "numlib/dec_impl.h"
#include "numlib/real_dec_impl.h"

namespace {

constexpr i64 REAL_MUL_FULL_MIN = DEC_MUL_PART_FULL_MIN;

// {p, 4} = exact product of two-word mantissas {a, 2}, {b, 2} (most
// significant word first), least significant word first.
void product_2(u64* p, const u64* a, const u64* b) {
    u64 c0;
    p[0] = dec_split(static_cast<u128>(a[1]) * b[1], &c0);
    // The middle column may reach 2 B^2, past dec_split's range.
    const u128 mid = static_cast<u128>(a[0]) * b[1] + static_cast<u128>(a[1]) * b[0] + c0;
    u64 r1;
    const u64 q1 = dec_div_base(0, static_cast<u64>(mid >> 64), &r1);
    const u64 q0 = dec_div_base(r1, static_cast<u64>(mid), &p[1]);
    const u128 top = static_cast<u128>(a[0]) * b[0] + ((static_cast<u128>(q1) << 64) | q0);
    p[2] = dec_split(top, &p[3]);
}

u64 mul_long(u64* dst, const u64* a, const u64* b, i64 e_top, int sign) {
    const i64 m = real_words();
    const bool full = m >= REAL_MUL_FULL_MIN || (a == b && m >= DEC_SQR_PART_FULL_MIN);
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(full ? 4 * m + dec_mul_scratch(m, m) : 3 * m + 1));
    if (!t) {
        real_fail(dst, 0);  // error 30 is raised
        return 0;
    }
    u64* ar = t;
    u64* br = a == b ? ar : t + m;  // a square: dec_mul squares
    u64* p = t + 2 * m;
    real_mantissa_to_dec(ar, a, m);
    if (br != ar) real_mantissa_to_dec(br, b, m);
    if (full) {
        dec_mul(p, ar, m, br, m, p + 2 * m);
        return real_from_dec(dst, p, 2 * m, e_top, sign);
    }
    dec_mul_high(p, ar, m, br, m, m - 1);
    return real_from_dec(dst, p, m + 1, e_top, sign);
}

}  // namespace

u64 real_mul(u64* dst, const u64* a, const u64* b) {
    const int sign = real_sign(a) ^ real_sign(b);
    if (real_is_zero(a) || real_is_zero(b)) {
        real_zero(dst, sign);
        return 0;
    }
    // The product of the top words has 37 or 38 digits: with 38 the
    // exponent is e_a + e_b + 1.
    const i64 e_top = real_exp_of(a) + real_exp_of(b) + 1;
    const i64 m = real_words();
    if (m > 2) return mul_long(dst, a, b, e_top, sign);
    u64 p[4];
    if (m == 1)
        p[0] = dec_split(static_cast<u128>(a[1]) * b[1], &p[1]);
    else
        product_2(p, a + 1, b + 1);
    return real_from_dec(dst, p, 2 * m, e_top, sign);
}

u64 real_mul_u64(u64* dst, const u64* a, u64 v) {
    const int sign = real_sign(a);
    if (real_is_zero(a) || v == 0) {
        real_zero(dst, sign);
        return 0;
    }
    const i64 m = real_words();
    ScratchMark mark;
    u64* p = mark.take(static_cast<std::size_t>(m + 2));
    if (!p) {
        real_fail(dst, 0);
        return 0;
    }
    real_mantissa_to_dec(p, a, m);
    // The carry is below v < 2^64 < 2B: one word and a possible 1 above it.
    const u64 carry = dec_mul_word(p, p, m, v);
    p[m + 1] = carry >= DEC_BASE;
    p[m] = carry - (p[m + 1] ? DEC_BASE : 0);
    // p[m - 1] sits where a's top word was: two words below the top.
    return real_from_dec(dst, p, m + 2, real_exp_of(a) + 38, sign);
}
