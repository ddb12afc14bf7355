// Decimal products: the column schoolbook and the dispatcher. Each column
// sum of word products stays below 2^192 and is split by B only once, so
// the schoolbook costs about one 128-bit product and three additions per
// word pair, plus two divisions by B per column.
#include <algorithm>
#include <cassert>
#include <utility>

#include "numlib/dec_mul_impl.h"

namespace {

// (*high : *mid : *low) = (hi : lo) + sum of ap[i] * bp[-i] for i < count,
// count >= 1. Two sums of alternate products keep two carry chains side by
// side; blocks of four products are written out in assembly on x86-64, where
// the compiler's version spends a third more instructions on moves.
inline void column_sum(const u64* ap, const u64* bp, i64 count, u64 lo, u64 hi, u64* low,
                       u64* mid, u64* high) {
    u64 l0 = lo, m0 = hi, h0 = 0, l1 = 0, m1 = 0, h1 = 0;
#if defined(__x86_64__)
    if (i64 quads = count >> 2; quads > 0) {
        __asm__(
            "1:\n\t"
            "movq (%[a]), %%rax\n\t"
            "mulq (%[b])\n\t"
            "addq %%rax, %[l0]\n\t"
            "adcq %%rdx, %[m0]\n\t"
            "adcq $0, %[h0]\n\t"
            "movq 8(%[a]), %%rax\n\t"
            "mulq -8(%[b])\n\t"
            "addq %%rax, %[l1]\n\t"
            "adcq %%rdx, %[m1]\n\t"
            "adcq $0, %[h1]\n\t"
            "movq 16(%[a]), %%rax\n\t"
            "mulq -16(%[b])\n\t"
            "addq %%rax, %[l0]\n\t"
            "adcq %%rdx, %[m0]\n\t"
            "adcq $0, %[h0]\n\t"
            "movq 24(%[a]), %%rax\n\t"
            "mulq -24(%[b])\n\t"
            "addq %%rax, %[l1]\n\t"
            "adcq %%rdx, %[m1]\n\t"
            "adcq $0, %[h1]\n\t"
            "addq $32, %[a]\n\t"
            "subq $32, %[b]\n\t"
            "decq %[n]\n\t"
            "jnz 1b\n\t"
            : [a] "+r"(ap), [b] "+r"(bp), [n] "+r"(quads), [l0] "+r"(l0), [m0] "+r"(m0),
              [h0] "+r"(h0), [l1] "+r"(l1), [m1] "+r"(m1), [h1] "+r"(h1)
            :
            : "rax", "rdx", "cc", "memory");
        count &= 3;
    }
#endif
    u128 s0 = (static_cast<u128>(m0) << 64) | l0, s1 = (static_cast<u128>(m1) << 64) | l1;
    for (; count >= 2; count -= 2, ap += 2, bp -= 2) {
        const u128 p0 = static_cast<u128>(ap[0]) * bp[0];
        const u128 p1 = static_cast<u128>(ap[1]) * bp[-1];
        s0 += p0;
        h0 += s0 < p0;
        s1 += p1;
        h1 += s1 < p1;
    }
    if (count > 0) {
        const u128 p0 = static_cast<u128>(*ap) * *bp;
        s0 += p0;
        h0 += s0 < p0;
    }
    s0 += s1;
    *high = h0 + h1 + (s0 < s1);
    *low = static_cast<u64>(s0);
    *mid = static_cast<u64>(s0 >> 64);
}

// The digit of a column sum (high : mid : low) below B^3, and the carry
// (carry_hi : carry_lo) it passes to the next column: split by B in two
// steps; below 2^128 the first is a comparison.
inline u64 column_digit(u64 high, u64 mid, u64 low, u64* carry_lo, u64* carry_hi) {
    u64 q1, r1, digit;
    if (high == 0) {
        q1 = mid >= DEC_BASE;
        r1 = q1 ? mid - DEC_BASE : mid;
    } else {
        q1 = dec_div_base(high, mid, &r1);
    }
    *carry_lo = dec_div_base(r1, low, &digit);
    *carry_hi = q1;
    return digit;
}

}  // namespace

void dec_mul_columns(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, i64 k, i64 end) {
    assert(la >= 1 && lb >= 1 && k >= 0 && k < end && end <= la + lb);
    const i64 columns = std::min(la + lb - 1, end);
    u64 carry_lo = 0, carry_hi = 0;  // the carry into the column, below B^2
    for (i64 c = k > 0 ? k - 1 : 0; c < columns; ++c) {
        const i64 lo_i = c < lb ? 0 : c - lb + 1, hi_i = c < la ? c : la - 1;
        // The column sum (high : mid : low), the carry from below included.
        const u64* ap = a + lo_i;
        const u64* bp = b + (c - lo_i);
        u64 low, mid, high;
        column_sum(ap, bp, hi_i - lo_i + 1, carry_lo, carry_hi, &low, &mid, &high);
        const u64 digit = column_digit(high, mid, low, &carry_lo, &carry_hi);
        if (c >= k) dst[c - k] = digit;
    }
    // The whole product is below B^(la + lb), so the last carry is one word.
    if (end == la + lb) dst[end - 1 - k] = carry_lo;
}

namespace {

// The square by columns from column k - 1 (as dec_mul_high with k): each
// column's products a_i a_j (i < j) once, doubled, then the square on the
// diagonal and the carry added.
void sqr_columns(u64* dst, const u64* a, i64 n, i64 k) {
    u64 carry_lo = 0, carry_hi = 0;
    for (i64 c = k > 0 ? k - 1 : 0; c < 2 * n - 1; ++c) {
        const i64 lo_i = c < n ? 0 : c - n + 1, half = (c + 1) / 2;  // i < half: i < c - i
        u64 low = 0, mid = 0, high = 0;
        if (half > lo_i) column_sum(a + lo_i, a + (c - lo_i), half - lo_i, 0, 0, &low, &mid, &high);
        high = (high << 1) | (mid >> 63);
        mid = (mid << 1) | (low >> 63);
        low <<= 1;
        u128 add = (static_cast<u128>(carry_hi) << 64) | carry_lo;
        if ((c & 1) == 0) {
            const u128 d = static_cast<u128>(a[c / 2]) * a[c / 2];
            add += d;
            high += add < d;
        }
        const u128 s = ((static_cast<u128>(mid) << 64) | low) + add;
        high += s < add;
        low = static_cast<u64>(s);
        mid = static_cast<u64>(s >> 64);
        const u64 digit = column_digit(high, mid, low, &carry_lo, &carry_hi);
        if (c >= k) dst[c - k] = digit;
    }
    dst[2 * n - 1 - k] = carry_lo;
}

}  // namespace

void dec_mul_high(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, i64 k) {
    if (a == b && la == lb && la >= DEC_SQR_COLUMNS_MIN) return sqr_columns(dst, a, la, k);
    dec_mul_columns(dst, a, la, b, lb, k, la + lb);
}

namespace {

// {dst, la + lb} = {a, la} * {b, lb} for la well above lb: a in lb-word
// pieces, each piece's product added in above the ones before it.
void mul_sliced(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch) {
    u64* piece = scratch;
    u64* rest = scratch + 2 * lb;
    dec_mul(dst, a, lb, b, lb, rest);
    for (i64 off = lb; off < la; off += lb) {
        const i64 k = std::min(lb, la - off);
        dec_mul(piece, b, lb, a + off, k, rest);
        const u64 carry = dec_add_n(dst + off, dst + off, piece, lb);
        vec_copy_fwd(dst + off + lb, piece + lb, k);
        // The sum so far is a product of off + k words of a: no carry out.
        dec_add_1(dst + off + lb, dst + off + lb, k, carry);
    }
}

}  // namespace

// One bound for all paths, growing with both sizes so that callers may size
// scratch by their largest product: a Karatsuba step takes 2h words and
// recurses at h = ceil(la / 2), 2h + 6h + 64 <= 6 la + 64; a sliced product
// takes 2 lb words and recurses at lb < 3 la / 4, 8 lb + 64 <= 6 la + 64.
i64 dec_mul_scratch(i64 la, i64 lb) {
    if (std::min(la, lb) < DEC_KARATSUBA_MIN) return 0;
    return 6 * std::max(la, lb) + 64;
}

void dec_sqr(u64* dst, const u64* a, i64 n, u64* scratch) {
    if (n < DEC_SQR_COLUMNS_MIN)
        dec_mul_high(dst, a, n, a, n, 0);
    else if (n < DEC_SQR_KARATSUBA_MIN)
        sqr_columns(dst, a, n, 0);
    else
        dec_sqr_karatsuba(dst, a, n, scratch);
}

void dec_mul(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch) {
    assert(la >= lb && lb >= 1);
    if (a == b && la == lb) return dec_sqr(dst, a, la, scratch);
    if (lb < DEC_KARATSUBA_MIN)
        dec_mul_high(dst, a, la, b, lb, 0);
    else if (!dec_mul_is_balanced(la, lb))
        mul_sliced(dst, a, la, b, lb, scratch);
    else
        dec_mul_karatsuba(dst, a, la, b, lb, scratch);
}

const u64* dec_mul_part(u64* buf, const u64* a, i64 la, const u64* b, i64 lb, i64 k, i64 end,
                        u64* scratch) {
    if (la < lb) {
        std::swap(a, b);
        std::swap(la, lb);
    }
    if (lb < DEC_MUL_PART_FULL_MIN)
        dec_mul_columns(buf + k, a, la, b, lb, k, end);
    else
        dec_mul(buf, a, la, b, lb, scratch);
    return buf + k;
}
