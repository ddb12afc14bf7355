// One-word multiply rows, the schoolbook product and square, and the choice
// between the portable row loops and the mulx/adx ones.
#include <cpuid.h>

#include <atomic>

#include "numlib/vec_mul_impl.h"
#include "numlib/vec_mul_rows.h"

namespace {

// Portable loops: the 128-bit product's halves carry into the next word.
struct PlainRows {
    static u64 mul_1(u64* r, const u64* a, i64 n, u64 v) {
        u64 carry = 0;
        for (i64 i = 0; i < n; ++i) {
            u128 p = static_cast<u128>(a[i]) * v + carry;
            r[i] = static_cast<u64>(p);
            carry = static_cast<u64>(p >> 64);
        }
        return carry;
    }
    static u64 addmul_1(u64* r, const u64* a, i64 n, u64 v) {
        u64 carry = 0;
        for (i64 i = 0; i < n; ++i) {
            u128 p = static_cast<u128>(a[i]) * v + carry + r[i];
            r[i] = static_cast<u64>(p);
            carry = static_cast<u64>(p >> 64);
        }
        return carry;
    }
};

void plain_mul(u64* dst, const u64* a, i64 la, const u64* b, i64 lb) {
    rows_mul<PlainRows>(dst, a, la, b, lb);
}
void plain_sqr(u64* dst, const u64* a, i64 n) {
    rows_sqr<PlainRows>(dst, a, n);
}

constexpr MulRowLoops plain_loops{PlainRows::mul_1, PlainRows::addmul_1, plain_mul, plain_sqr};

// Asks the processor directly (cpuid leaf 7: BMI2 is EBX bit 8, ADX bit 19);
// not every compiler's __builtin_cpu_supports knows "adx", and this may run
// before the library's own start-up.
bool has_mulx_adx() {
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) return false;
    return ((ebx >> 8) & 1) && ((ebx >> 19) & 1);
}

// Decided at the first use; an atomic so a worker thread may race the first
// use harmlessly (both store the same choice).
std::atomic<const MulRowLoops*> chosen{nullptr};

const MulRowLoops& loops() {
    const MulRowLoops* p = chosen.load(std::memory_order_relaxed);
    if (p == nullptr) {
        p = has_mulx_adx() ? &mul_row_loops_adx : &plain_loops;
        chosen.store(p, std::memory_order_relaxed);
    }
    return *p;
}

}  // namespace

bool vec_mul_use_fast_loops(bool fast) {
    const bool adx = fast && has_mulx_adx();
    chosen.store(adx ? &mul_row_loops_adx : &plain_loops, std::memory_order_relaxed);
    return adx;
}

u64 vec_mul_word(u64* r, const u64* a, i64 n, u64 v) {
    assert(n >= 0 && vec_same_or_apart(r, n, a, n));
    return n > 0 ? loops().mul_1(r, a, n, v) : 0;
}

u64 vec_addmul_word(u64* r, const u64* a, i64 n, u64 v) {
    assert(n >= 0 && vec_apart(r, n, a, n));
    return n > 0 ? loops().addmul_1(r, a, n, v) : 0;
}

u64 vec_submul_word(u64* r, const u64* a, i64 n, u64 v) {
    assert(n >= 0 && vec_apart(r, n, a, n));
    u64 borrow = 0;
    for (i64 i = 0; i < n; ++i) {
        u128 p = static_cast<u128>(a[i]) * v + borrow;
        u64 lo = static_cast<u64>(p);
        u64 x = r[i];
        r[i] = x - lo;
        borrow = static_cast<u64>(p >> 64) + (x < lo);
    }
    return borrow;
}

void vec_mul_rows(u64* dst, const u64* a, i64 la, const u64* b, i64 lb) {
    assert(la >= 1 && lb >= 1 && vec_apart(dst, la + lb, a, la) && vec_apart(dst, la + lb, b, lb));
    for (i64 i = 0; i < la; ++i) dst[i + lb] = vec_addmul_word(dst + i, b, lb, a[i]);
}

void vec_mul_basecase(u64* dst, const u64* a, i64 la, const u64* b, i64 lb) {
    assert(la >= lb && lb >= 1 && vec_apart(dst, la + lb, a, la) && vec_apart(dst, la + lb, b, lb));
    loops().mul(dst, a, la, b, lb);
}

void vec_sqr_basecase(u64* dst, const u64* a, i64 n) {
    assert(n >= 1 && vec_apart(dst, 2 * n, a, n));
    loops().sqr(dst, a, n);
}

void sqr_double_add_diagonal(u64* dst, const u64* a, i64 n) {
    u64 shifted_out = 0;
    unsigned char carry = 0;
    for (i64 i = 0; i < n; ++i) {
        const u128 sq = static_cast<u128>(a[i]) * a[i];
        const u64 d0 = dst[2 * i], d1 = dst[2 * i + 1];
        unsigned long long lo, hi;
        carry =
            __builtin_ia32_addcarryx_u64(carry, (d0 << 1) | shifted_out, static_cast<u64>(sq), &lo);
        carry = __builtin_ia32_addcarryx_u64(carry, (d1 << 1) | (d0 >> 63),
                                             static_cast<u64>(sq >> 64), &hi);
        shifted_out = d1 >> 63;
        dst[2 * i] = lo;
        dst[2 * i + 1] = hi;
    }
    assert(carry == 0 && shifted_out == 0);
}
