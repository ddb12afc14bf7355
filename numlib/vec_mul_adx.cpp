// Row loops on mulx, adcx and adox (BMI2 and ADX): two independent carry
// chains, one in CF for the product words and one in OF for the
// accumulation, so a row costs little more than its multiplications. Only
// called after the processor was checked (vec_mul_basecase.cpp).
#include "numlib/vec_mul_rows.h"

namespace {

// {r, n} = {a, n} * v + carry for n a positive multiple of 4; returns the
// carry word. r may equal a (each word is read before it is written). The
// counter runs from -n up to 0 in rcx: lea and jrcxz leave the flags alone,
// so the carry chain survives from one block of four to the next.
inline u64 mul_1_blocks(u64* r, const u64* a, i64 n, u64 v, u64 carry) {
    i64 i = -n;
    u64 lo, hi;
    __asm__ volatile(
        "clc\n\t"
        "1:\n\t"
        "mulx (%[a],%[i],8), %[lo], %[hi]\n\t"
        "adcx %[c], %[lo]\n\t"
        "mov %[lo], (%[r],%[i],8)\n\t"
        "mulx 8(%[a],%[i],8), %[lo], %[c]\n\t"
        "adcx %[hi], %[lo]\n\t"
        "mov %[lo], 8(%[r],%[i],8)\n\t"
        "mulx 16(%[a],%[i],8), %[lo], %[hi]\n\t"
        "adcx %[c], %[lo]\n\t"
        "mov %[lo], 16(%[r],%[i],8)\n\t"
        "mulx 24(%[a],%[i],8), %[lo], %[c]\n\t"
        "adcx %[hi], %[lo]\n\t"
        "mov %[lo], 24(%[r],%[i],8)\n\t"
        "lea 4(%[i]), %[i]\n\t"
        "jrcxz 2f\n\t"
        "jmp 1b\n"
        "2:\n\t"
        "adc $0, %[c]\n\t"
        : [i] "+&c"(i), [lo] "=&r"(lo), [hi] "=&r"(hi), [c] "+&r"(carry)
        : [a] "r"(a + n), [r] "r"(r + n), "d"(v)
        : "cc", "memory");
    return carry;
}

// {r, n} += {a, n} * v + carry for n a positive multiple of 4; returns the
// carry word. r and a do not overlap. CF carries the high product words into
// the next low word, OF the sum into r; both are folded into the carry at the
// end (the total r + a * v + carry always fits two words).
inline u64 addmul_1_blocks(u64* r, const u64* a, i64 n, u64 v, u64 carry) {
    i64 i = -n;
    u64 lo, hi, zero;
    __asm__ volatile(
        "xor %k[z], %k[z]\n\t"  // also clears CF and OF
        "1:\n\t"
        "mulx (%[a],%[i],8), %[lo], %[hi]\n\t"
        "adcx %[c], %[lo]\n\t"
        "adox (%[r],%[i],8), %[lo]\n\t"
        "mov %[lo], (%[r],%[i],8)\n\t"
        "mulx 8(%[a],%[i],8), %[lo], %[c]\n\t"
        "adcx %[hi], %[lo]\n\t"
        "adox 8(%[r],%[i],8), %[lo]\n\t"
        "mov %[lo], 8(%[r],%[i],8)\n\t"
        "mulx 16(%[a],%[i],8), %[lo], %[hi]\n\t"
        "adcx %[c], %[lo]\n\t"
        "adox 16(%[r],%[i],8), %[lo]\n\t"
        "mov %[lo], 16(%[r],%[i],8)\n\t"
        "mulx 24(%[a],%[i],8), %[lo], %[c]\n\t"
        "adcx %[hi], %[lo]\n\t"
        "adox 24(%[r],%[i],8), %[lo]\n\t"
        "mov %[lo], 24(%[r],%[i],8)\n\t"
        "lea 4(%[i]), %[i]\n\t"
        "jrcxz 2f\n\t"
        "jmp 1b\n"
        "2:\n\t"
        "adcx %[z], %[c]\n\t"
        "adox %[z], %[c]\n\t"
        : [i] "+&c"(i), [lo] "=&r"(lo), [hi] "=&r"(hi), [c] "+&r"(carry), [z] "=&r"(zero)
        : [a] "r"(a + n), [r] "r"(r + n), "d"(v)
        : "cc", "memory");
    return carry;
}

// The rows take the n mod 4 lowest words one at a time, then the blocks.
struct AdxRows {
    static u64 mul_1(u64* r, const u64* a, i64 n, u64 v) {
        const i64 head = n & 3;
        u64 carry = 0;
        for (i64 i = 0; i < head; ++i) {
            u128 p = static_cast<u128>(a[i]) * v + carry;
            r[i] = static_cast<u64>(p);
            carry = static_cast<u64>(p >> 64);
        }
        return n > head ? mul_1_blocks(r + head, a + head, n - head, v, carry) : carry;
    }
    static u64 addmul_1(u64* r, const u64* a, i64 n, u64 v) {
        const i64 head = n & 3;
        u64 carry = 0;
        for (i64 i = 0; i < head; ++i) {
            u128 p = static_cast<u128>(a[i]) * v + carry + r[i];
            r[i] = static_cast<u64>(p);
            carry = static_cast<u64>(p >> 64);
        }
        return n > head ? addmul_1_blocks(r + head, a + head, n - head, v, carry) : carry;
    }
};

__attribute__((target("bmi2,adx"))) u64 adx_mul_1(u64* r, const u64* a, i64 n, u64 v) {
    return AdxRows::mul_1(r, a, n, v);
}

__attribute__((target("bmi2,adx"))) u64 adx_addmul_1(u64* r, const u64* a, i64 n, u64 v) {
    return AdxRows::addmul_1(r, a, n, v);
}

__attribute__((target("bmi2,adx"))) void adx_mul(u64* dst, const u64* a, i64 la, const u64* b,
                                                 i64 lb) {
    rows_mul<AdxRows>(dst, a, la, b, lb);
}

__attribute__((target("bmi2,adx"))) void adx_sqr(u64* dst, const u64* a, i64 n) {
    rows_sqr<AdxRows>(dst, a, n);
}

}  // namespace

const MulRowLoops mul_row_loops_adx{adx_mul_1, adx_addmul_1, adx_mul, adx_sqr};
