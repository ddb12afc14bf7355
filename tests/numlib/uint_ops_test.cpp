// The uint routines against GMP, one table row per routine: the operands
// that matter to it (made for n words), the call and GMP's answer. Each call
// runs in every placement of the destination (check_uint_op). A scalar
// argument (a one-word value, a root index, a bit limit) is the low
// word of an operand. Then the hard cases random operands reach only by
// luck, stop requests and the double-length product.
#include <gmp.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/uint.h"
#include "support/numlib_fixture.h"
#include "support/uint_harness.h"

namespace {

using Words = std::vector<u64>;
using Ops = std::vector<const Mpz*>;
using Ptrs = std::vector<const u64*>;

Words small(i64 n, u64 v) {
    Words w(static_cast<std::size_t>(n));
    w[0] = v;
    return w;
}

u64 low(const Mpz& z) {
    return mpz_get_ui(z);
}

// ---- operands ------------------------------------------------------------

// a and a one-word value, often 0, 1 or all ones.
UintOperands word_operands(TestRng& rng, i64 n) {
    const u64 v = rng.chance(20) ? static_cast<u64>(rng.range(0, 1)) : rng.structured_word();
    return {random_operand(rng, n), small(n, v)};
}

// A value of at most two significant words, often next to 2^63 or 2^64.
UintOperands machine_operand(TestRng& rng, i64 n) {
    if (rng.chance(20)) return {random_operand(rng, n)};
    Words a = random_operand(rng, n, rng.range(0, std::min<i64>(n, 2)));
    if (rng.chance(40)) {
        a = small(n, (u64{1} << 63) + static_cast<u64>(rng.range(-1, 1)));
    } else if (n > 1 && rng.chance(30)) {  // 2^64 - 1 or 2^64
        const bool over = rng.chance(50);
        a = small(n, over ? 0 : ~u64{0});
        a[1] = over;
    }
    return {a};
}

// b close to a, or with a + b = 2^64n - 1 (+ 1): the sum just fits (or
// not); a = 2^64k, whose borrow runs through every word below k.
UintOperands sum_operands(TestRng& rng, i64 n) {
    UintOperands ops{random_operand(rng, n), {}};
    if (rng.chance(15)) {
        ops[0] = Words(static_cast<std::size_t>(n));
        ops[0][static_cast<std::size_t>(rng.range(0, n - 1))] = 1;
    }
    ops[1] = rng.chance(30) ? near_operand(rng, ops[0]) : random_operand(rng, n);
    if (rng.chance(15)) {
        for (std::size_t i = 0; i < ops[1].size(); ++i) ops[1][i] = ~ops[0][i];
        if (rng.chance(50)) ops[1][0] += ops[1][0] != ~u64{0};
    }
    return ops;
}

// Significant lengths that often add up to n or n + 1, where the product
// just fits or fits only if its top word is 0.
UintOperands mul_operands(TestRng& rng, i64 n) {
    const i64 la = random_len(rng, n);
    i64 lb = random_len(rng, n);
    if (la >= 1 && rng.chance(50)) lb = std::clamp<i64>(n + rng.range(0, 1) - la, 0, n);
    UintOperands ops{random_operand(rng, n, la), random_operand(rng, n, lb)};
    if (la >= 1 && lb >= 1 && rng.chance(30)) {  // small top words keep a top product word of 0
        ops[0][static_cast<std::size_t>(la - 1)] = static_cast<u64>(rng.range(1, 1 << 20));
        ops[1][static_cast<std::size_t>(lb - 1)] = static_cast<u64>(rng.range(1, 1 << 20));
    }
    return ops;
}

// The divisor often shorter than a, one word long, zero, close to a, or
// dividing a exactly.
UintOperands div_operands(TestRng& rng, i64 n) {
    const i64 la = random_len(rng, n);
    const i64 lb =
        rng.chance(70) ? rng.range(std::min<i64>(la, 1), std::max<i64>(la, 1)) : random_len(rng, n);
    UintOperands ops{random_operand(rng, n, la), random_operand(rng, n, std::min(lb, n))};
    if (rng.chance(15)) {
        ops[1] = near_operand(rng, ops[0]);
    } else if (lb >= 1 && lb < n && rng.chance(30)) {  // a = b q (+ 1)
        const Mpz b(ops[1].data(), n);
        const Words q = random_operand(rng, n, rng.range(1, n - lb));
        Mpz a(q.data(), n);
        mpz_mul(a, a, b);
        if (rng.chance(30)) mpz_add_ui(a, a, 1);
        if (a.fits(n)) a.store(ops[0].data(), n);
    }
    return ops;
}

// Consecutive Fibonacci numbers near the top of n words, times g: every
// quotient 1, Euclid's longest run.
UintOperands fibonacci_pair(i64 n, unsigned long g) {
    Mpz a, b;
    unsigned long k = static_cast<unsigned long>(64 * n * 1.44) - 8;
    do {
        mpz_fib2_ui(b, a, k--);
        mpz_mul_ui(a, a, g);
        mpz_mul_ui(b, b, g);
    } while (!b.fits(n));
    return {b.words(n), a.words(n)};
}

// A common factor, one dividing the other, close to each other, powers of
// two times a small odd factor, Fibonacci pairs, or random.
UintOperands gcd_operands(TestRng& rng, i64 n) {
    UintOperands ops{random_operand(rng, n), random_operand(rng, n)};
    Mpz a(ops[0].data(), n), b(ops[1].data(), n);
    switch (rng.range(0, 5)) {
        case 0: {  // a = g x, b = g y
            if (mpz_sgn(b.get()) == 0) return ops;
            const Words g = random_operand(rng, n, rng.range(1, std::max<i64>(1, n / 2)));
            const Mpz gz(g.data(), n);
            mpz_tdiv_q_2exp(a, a, static_cast<mp_bitcnt_t>(gz.bits()));
            mpz_tdiv_q_2exp(b, b, static_cast<mp_bitcnt_t>(gz.bits()));
            mpz_mul(a, a, gz);
            mpz_mul(b, b, gz);
            break;
        }
        case 1:  // b divides a
            if (mpz_sgn(a.get()) == 0) return ops;
            mpz_tdiv_q_2exp(b, b, static_cast<mp_bitcnt_t>(rng.range(0, a.bits())));
            if (mpz_sgn(b.get()) == 0) mpz_set_ui(b, 3);
            mpz_fdiv_q(a, a, b);
            mpz_mul(a, a, b);
            if (mpz_sgn(a.get()) == 0) mpz_set(a, b);
            break;
        case 2:
            return {ops[0], near_operand(rng, ops[0])};
        case 3:
            mpz_set_ui(a, static_cast<unsigned long>(rng.range(1, 99)));
            mpz_set_ui(b, static_cast<unsigned long>(rng.range(1, 99)));
            mpz_mul_2exp(a, a, static_cast<mp_bitcnt_t>(rng.range(0, 64 * n - 8)));
            mpz_mul_2exp(b, b, static_cast<mp_bitcnt_t>(rng.range(0, 64 * n - 8)));
            break;
        case 4:
            return fibonacci_pair(n, rng.chance(50) ? 1 : 6);
        default:
            return ops;
    }
    return {a.words(n), b.words(n)};
}

UintOperands mulinv_operands(TestRng& rng, i64 n) {
    UintOperands ops = gcd_operands(rng, n);
    if (rng.chance(40)) ops[1][0] |= 1;  // more coprime pairs
    return ops;
}

// floor(log_b a) and whether b^k = a, by bisection with GMP powers: b^lo <= a
// < b^hi throughout. A zero a, or a base below 2, is error 12.
void log_value(UintExpect& want, const Mpz& b, const Mpz& a) {
    if (mpz_sgn(a.get()) == 0 || mpz_cmp_ui(b.get(), 2) < 0) return want.fail(MP_ERR_OVERFLOW);
    const u64 bits_a = static_cast<u64>(a.bits()), bits_b = static_cast<u64>(b.bits());
    u64 lo = (bits_a - 1) / bits_b;                 // b^lo < 2^(bits_b lo) <= 2^(bits_a - 1)
    u64 hi = (bits_a + bits_b - 2) / (bits_b - 1);  // b^hi >= 2^((bits_b - 1) hi) >= 2^bits_a
    Mpz p;
    while (hi - lo > 1) {
        const u64 mid = lo + (hi - lo) / 2;
        mpz_pow_ui(p, b, mid);
        (mpz_cmp(p, a) <= 0 ? lo : hi) = mid;
    }
    mpz_pow_ui(p, b, lo);
    mpz_set_ui(want.value, lo);
    want.ret = mpz_cmp(p, a) == 0;
}

// b^k - 1, b^k or b^k + 1 for k up to the largest power that fits, else a
// random value.
Words near_power(TestRng& rng, const Words& b, i64 n) {
    if (rng.chance(50)) return random_operand(rng, n);
    Mpz all_ones, p;
    mpz_ui_pow_ui(all_ones, 2, static_cast<unsigned long>(64 * n));
    mpz_sub_ui(all_ones, all_ones, 1);
    UintExpect kmax(n);
    const Mpz bz(b.data(), n);
    log_value(kmax, bz, all_ones);
    const u64 top = low(kmax.value);
    mpz_pow_ui(p, bz, rng.chance(30) ? top : static_cast<u64>(rng.range(1, static_cast<i64>(top))));
    const int delta = static_cast<int>(rng.range(-1, 1));
    if (delta < 0) mpz_sub_ui(p, p, 1);
    if (delta > 0) mpz_add_ui(p, p, 1);
    return p.fits(n) && mpz_sgn(p.get()) != 0 ? p.words(n) : random_operand(rng, n);
}

UintOperands near_base_power(TestRng& rng, i64 n, u64 base) {
    return {small(n, base), near_power(rng, small(n, base), n)};
}

// A base of varied shape: small (often 10), a power of two, or long; and a
// value near one of its powers.
UintOperands log_operands(TestRng& rng, i64 n) {
    Words b = small(n, rng.chance(40) ? 10 : static_cast<u64>(rng.range(2, 1000)));
    if (rng.chance(25)) {
        const std::size_t at = static_cast<std::size_t>(rng.range(0, std::min<i64>(n, 3) - 1));
        b[0] = 0;
        b[at] = u64{1} << rng.range(1, 63);
    } else if (rng.chance(40)) {
        b = random_operand(rng, n, rng.range(1, n));
        b[0] |= 2;
    }
    return {b, near_power(rng, b, n)};
}

// a of a bit length near 64n / e, where a^e crosses the limit, and e.
UintOperands pow_operands(TestRng& rng, i64 n) {
    const i64 e = rng.chance(60)   ? rng.range(1, 12)
                  : rng.chance(60) ? rng.range(13, 300)
                                   : rng.range(1, 64 * n);
    const i64 bits = std::clamp<i64>(64 * n / e + rng.range(-2, 1), 2, 64 * n);
    Mpz a(random_operand(rng, n, n).data(), n);
    mpz_tdiv_r_2exp(a, a, static_cast<mp_bitcnt_t>(bits));
    mpz_setbit(a, static_cast<mp_bitcnt_t>(bits - 1));
    return {a.words(n), small(n, static_cast<u64>(e))};
}

// base and k around the largest power of base that fits n words, small, or
// one of the refused ones (negative as an i64, 2^63 and up).
UintOperands pow_exponent(TestRng& rng, i64 n, u64 base) {
    const double kmax = 64.0 * static_cast<double>(n) / std::log2(static_cast<double>(base));
    Words k = small(n, static_cast<u64>(kmax) + static_cast<u64>(rng.range(-1, 2)));
    if (rng.chance(20)) k[0] = static_cast<u64>(rng.range(0, 19));
    if (rng.chance(10))
        k[0] = rng.chance(50) ? u64{1} << 63 : rng.chance(50) ? ~u64{0} : u64{INT64_MAX};
    if (rng.chance(5) && n > 1) k[1] = 1;
    return {small(n, base), k};
}

// A modulus of n words: odd, 2^s times an odd part, a power of two, or tiny.
Words random_modulus(TestRng& rng, i64 n) {
    Mpz m(random_operand(rng, n).data(), n);
    const i64 shape = rng.range(0, 5);
    if (shape <= 2) mpz_setbit(m, 0);
    if (shape == 2) {  // 2^s * odd, s up to the free bits above the odd part
        const i64 room = 64 * n - m.bits();
        mpz_mul_2exp(m, m, static_cast<mp_bitcnt_t>(rng.range(std::min<i64>(1, room), room)));
    }
    if (shape == 3) mpz_set_ui(m, 0);
    if (shape == 3) mpz_setbit(m, static_cast<mp_bitcnt_t>(rng.range(0, 64 * n - 1)));
    if (shape == 4) mpz_set_ui(m, static_cast<unsigned long>(rng.range(1, 3)));
    return m.words(n);
}

// base, exponent, modulus and the exponent's bit limit (0: none, often
// next to the exponent's length). The cost grows with the exponent: one or
// two words, the full n only for small n, and a few bits above 130 words.
UintOperands powmod_operands(TestRng& rng, i64 n) {
    const i64 e_len = rng.chance(5)    ? 0
                      : rng.chance(70) ? 1
                                       : rng.range(1, std::min<i64>(n, n <= 16 ? n : 2));
    UintOperands ops{random_operand(rng, n), random_operand(rng, n, e_len), random_modulus(rng, n),
                     small(n, 0)};
    if (rng.chance(15) || n > 130) ops[1] = small(n, static_cast<u64>(rng.range(0, 11)));
    if (rng.chance(15))
        ops[3][0] = static_cast<u64>(Mpz(ops[1].data(), n).bits() + rng.range(-1, 1));
    return ops;
}

// x^k - 1, x^k or x^k + 1 of a length that fits n words, or a random value.
Words near_root_power(TestRng& rng, i64 n, u64 k) {
    if (rng.chance(40) || k > static_cast<u64>(64 * n))
        return random_operand(rng, n, rng.range(1, n));
    const i64 bits = rng.range(1, std::max<i64>(1, 64 * n / static_cast<i64>(k)));
    Mpz x(random_operand(rng, n, n).data(), n), p;
    mpz_tdiv_r_2exp(x, x, static_cast<mp_bitcnt_t>(bits));
    if (mpz_sgn(x.get()) == 0) mpz_set_ui(x, 2);
    mpz_pow_ui(p, x, k);
    const int delta = static_cast<int>(rng.range(-1, 1));
    if (delta > 0) mpz_add_ui(p, p, 1);
    if (delta < 0) mpz_sub_ui(p, p, 1);
    return p.fits(n) ? p.words(n) : random_operand(rng, n);
}

// a and an index k; sometimes k near a's bit length or far beyond it (as a
// second word too).
UintOperands root_operands(TestRng& rng, i64 n) {
    u64 k = static_cast<u64>(rng.chance(70) ? rng.range(3, 12) : rng.range(13, 200));
    if (rng.chance(40)) k = 2;
    const Words a = near_root_power(rng, n, k);
    const i64 bits = Mpz(a.data(), n).bits();
    const i64 far[] = {bits / 40 + 2, bits / 3 + 2, bits - 1, bits,
                       bits + 1,      i64{1} << 40, INT64_MAX};
    if (rng.chance(20)) k = static_cast<u64>(std::max<i64>(2, far[rng.range(0, 6)]));
    Words kw = small(n, k);
    if (rng.chance(3) && n > 1) kw[1] = 1;
    return {a, kw};
}

// Up to the largest factorial that fits and one past it, and sometimes
// arguments of more than a word, decided from their size alone.
UintOperands factorial_operands(TestRng& rng, i64 n) {
    if (rng.chance(5)) return {random_operand(rng, n)};
    Mpz f;  // vmax: the largest v with v! < 2^(64n)
    mpz_set_ui(f, 1);
    u64 vmax = 1;
    while (mpz_mul_ui(f, f, vmax + 1), f.fits(n)) ++vmax;
    const u64 picks[] = {vmax, vmax + 1, static_cast<u64>(rng.range(0, static_cast<i64>(vmax))),
                         static_cast<u64>(rng.range(0, 60))};
    return {small(n, picks[rng.range(0, 3)])};
}

// N, k and the loop limit (0: none; negative: none either).
UintOperands perm_comb_operands(TestRng& rng, i64 n) {
    Mpz big_n, k;
    // near the limit the cost of the big-j shapes grows with the word count
    switch (n > 300 ? rng.range(0, 1) : rng.range(0, 3)) {
        case 0:  // small operands, k sometimes above N
            mpz_set_ui(big_n, static_cast<unsigned long>(rng.range(0, 3000)));
            mpz_set_ui(k,
                       static_cast<unsigned long>(rng.range(0, static_cast<i64>(low(big_n)) + 2)));
            break;
        case 1: {  // long N, k or N - k small
            const Words w = random_operand(rng, n, rng.range(1, n));
            big_n.set(w.data(), n);
            mpz_set_ui(k, static_cast<unsigned long>(rng.range(0, 40)));
            if (rng.chance(40) && mpz_cmp(big_n, k) >= 0) mpz_sub(k, big_n, k);
            break;
        }
        case 2:  // N beyond the prime sieve, j up to where C(N, j) stops fitting
            mpz_set_ui(big_n, static_cast<unsigned long>(rng.range(1 << 22, 1 << 26)));
            mpz_set_ui(k, static_cast<unsigned long>(rng.range(0, 8 * n)));
            break;
        default: {  // C(N, N/2) around the limit: the largest loop counts that fit, where
            // for comb the last step j C(N, j) may overflow while C(N, j) still fits
            const i64 big = std::max<i64>(64 * n + rng.range(-40, 40), 2);
            mpz_set_ui(big_n, static_cast<unsigned long>(big));
            mpz_set_ui(k, static_cast<unsigned long>(std::max<i64>(big / 2 + rng.range(-3, 3), 0)));
            break;
        }
    }
    const i64 limit = rng.chance(20) ? rng.range(1, 100) : rng.chance(50) ? 0 : -rng.range(1, 5);
    return {big_n.words(n), k.words(n), small(n, static_cast<u64>(limit))};
}

// a and a bit index from just below 64n to far beyond, with the value to
// set (-1 to 2) plus 1 in bits 32 and up.
UintOperands bit_operands(TestRng& rng, i64 n) {
    const i64 bits = 64 * n;
    const i64 bit = rng.chance(25)   ? bits + rng.range(-1, 0)
                    : rng.chance(10) ? i64{UINT32_MAX}
                                     : rng.range(0, bits - 1);
    const u64 value = static_cast<u64>(rng.range(0, 3));
    return {random_operand(rng, n), small(n, static_cast<u64>(bit) | value << 32)};
}

// ---- calls -----------------------------------------------------------------

// Calls the routine of the row named op with dst d; returns its scalar
// result (a flag, a one-word remainder or a bit), else 0.
i64 call(const std::string& op, u64* d, const Ptrs& p) {
    const u64 w1 = p.size() > 1 ? p[1][0] : 0;  // read before d, which may be p[1], is written
    Words q(static_cast<std::size_t>(mp_int_words));
    if (op == "to_i64" || op == "to_u64" || op == "to_u64_quiet") {
        i64 si = -7;
        u64 ui = 7;
        const bool fits =
            op == "to_i64" ? uint_to_i64(&si, p[0]) : uint_to_u64(&ui, p[0], op != "to_u64");
        std::fill(d, d + mp_int_words, 0);
        d[0] = op == "to_i64" ? static_cast<u64>(si) : ui;
        return fits;
    }
    if (op == "set_bit" || op == "get_bit") {  // the bit in the low half of w1, the value + 1 above
        if (d != p[0]) uint_copy(d, p[0]);
        if (op == "get_bit") return uint_get_bit(d, static_cast<u32>(w1));
        uint_set_bit(d, static_cast<u32>(w1), static_cast<int>(w1 >> 32) - 1);
    }
    if (op == "add") uint_add(d, p[0], p[1]);
    if (op == "sub") uint_sub(d, p[0], p[1]);
    if (op == "dec") uint_dec(d, p[0]);
    if (op == "add_u64") uint_add_u64(d, p[0], w1);
    if (op == "mul_u64") uint_mul_u64(d, p[0], w1);
    if (op == "divmod_u64") {
        u64 r = 0x5a5a;
        uint_divmod_u64(d, &r, p[0], w1);
        return static_cast<i64>(r);
    }
    if (op == "mul") uint_mul(d, p[0], p[1]);
    if (op == "square") uint_mul(d, p[0], p[0]);
    if (op == "quotient") uint_divmod(d, nullptr, p[0], p[1]);
    if (op == "remainder") uint_divmod(q.data(), d, p[0], p[1]);
    if (op == "div_exact") return uint_div_exact(d, p[0], p[1]);
    if (op == "gcd") uint_gcd(d, p[0], p[1]);
    if (op == "lcm") uint_lcm(d, p[0], p[1]);
    if (op == "mulinv") uint_mulinv(d, p[0], p[1]);
    if (op == "log_floor") return uint_log_floor(d, p[0], p[1]);
    if (op == "log2_floor") return uint_log2_floor(d, p[1]);
    if (op == "log10_floor") return uint_log10_floor(d, p[1]);
    if (op == "pow") uint_pow(d, p[0], static_cast<i64>(w1));
    if (op == "pow_uint") uint_pow_uint(d, p[0], p[1]);
    if (op == "pow2") uint_pow2(d, static_cast<i64>(w1));
    if (op == "pow2_uint") uint_pow2_uint(d, p[1]);
    if (op == "pow10") uint_pow10(d, static_cast<i64>(w1));
    if (op == "pow10_uint") uint_pow10_uint(d, p[1]);
    if (op == "powmod") uint_powmod(d, p[0], p[1], p[2], static_cast<i64>(p[3][0]));
    if (op == "sqrt") return uint_sqrt(d, p[0]);
    if (op == "root") return uint_root(d, static_cast<i64>(w1), p[0]);
    if (op == "root_uint") return uint_root_uint(d, p[1], p[0]);
    if (op == "factorial") uint_factorial(d, p[0]);
    if (op == "perm" || op == "comb")
        uint_perm_comb(d, p[0], p[1], static_cast<i64>(p[2][0]), op == "perm");
    return 0;
}

// ---- GMP's answers ---------------------------------------------------------

// f(a, b), error 12 when it is negative or does not fit.
UintOracle arith(void (*f)(mpz_ptr, mpz_srcptr, mpz_srcptr)) {
    return [f](UintExpect& want, const Ops& v) {
        f(want.value, *v[0], *v[v.size() - 1]);
        if (mpz_sgn(want.value.get()) < 0 || !want.value.fits(want.n)) want.fail(MP_ERR_OVERFLOW);
    };
}
// The value if it fits bits bits (with the result true), else 0 and false
// and, unless quiet, error 14.
UintOracle machine_oracle(i64 bits, bool quiet) {
    return [bits, quiet](UintExpect& want, const Ops& v) {
        if (v[0]->bits() > bits) return want.fail(quiet ? 0 : MP_ERR_DOMAIN);
        mpz_set(want.value, *v[0]);
        want.ret = 1;
    };
}
// Bits from 64n on are outside: error 14, a unchanged and bit 0.
UintOracle bit_oracle(bool set) {
    return [set](UintExpect& want, const Ops& v) {
        const u64 bit = low(*v[1]) & 0xffffffff;
        mpz_set(want.value, *v[0]);
        if (bit >= static_cast<u64>(64 * want.n)) {
            want.err = MP_ERR_DOMAIN;
        } else if (!set) {
            want.ret = static_cast<u64>(mpz_tstbit(*v[0], bit));
        } else if ((low(*v[1]) >> 32) == 2) {
            mpz_setbit(want.value, bit);
        } else {
            mpz_clrbit(want.value, bit);
        }
    };
}
void word_divmod_oracle(UintExpect& want, const Ops& v) {
    if (mpz_sgn(v[1]->get()) == 0) return want.fail(MP_ERR_DIV_ZERO);
    want.ret = mpz_fdiv_q_ui(want.value, *v[0], low(*v[1]));
}
UintOracle divmod_oracle(void (*f)(mpz_ptr, mpz_srcptr, mpz_srcptr)) {
    return [f](UintExpect& want, const Ops& v) {
        if (mpz_sgn(v[1]->get()) == 0) return want.fail(MP_ERR_DIV_ZERO);
        f(want.value, *v[0], *v[1]);
    };
}
// A zero divisor is a failure: error 13, 0 and false, never a claim of
// exactness.
void div_exact_oracle(UintExpect& want, const Ops& v) {
    if (mpz_sgn(v[1]->get()) == 0) return want.fail(MP_ERR_DIV_ZERO);
    Mpz r;
    mpz_fdiv_qr(want.value, r, *v[0], *v[1]);
    want.ret = mpz_sgn(r.get()) == 0;
}
UintOracle gcd_oracle(void (*f)(mpz_ptr, mpz_srcptr, mpz_srcptr)) {
    return [f](UintExpect& want, const Ops& v) {
        if (mpz_sgn(v[0]->get()) == 0 || mpz_sgn(v[1]->get()) == 0) return want.fail(MP_ERR_DOMAIN);
        f(want.value, *v[0], *v[1]);
        want.fail_unless_fits();
    };
}
void mulinv_oracle(UintExpect& want, const Ops& v) {
    const Mpz &a = *v[0], &m = *v[1];
    if (mpz_cmp_ui(m.get(), 2) < 0) return want.fail(MP_ERR_DOMAIN);
    if (mpz_cmp_ui(a.get(), 1) == 0) return mpz_set_ui(want.value, 1);
    if (mpz_sgn(a.get()) == 0) return want.fail(MP_ERR_DIV_ZERO);
    if (!mpz_invert(want.value, a, m)) want.fail(MP_ERR_OVERFLOW);
}
void log_oracle(UintExpect& want, const Ops& v) {
    log_value(want, *v[0], *v[1]);
}
// a^e: 1 for e = 0, a for a base of 0 or 1, else error 12 once it does not
// fit. With signed_e the exponent is the low word as an i64, and a negative
// one is error 14.
void pow_value(UintExpect& want, const Mpz& a, const Mpz& e_in, bool signed_e) {
    Mpz e;
    mpz_set(e, e_in);
    if (signed_e && static_cast<i64>(low(e)) < 0) return want.fail(MP_ERR_DOMAIN);
    if (signed_e) mpz_set_ui(e, low(e));
    if (mpz_sgn(e.get()) == 0) return mpz_set_ui(want.value, 1);
    if (mpz_cmp_ui(a.get(), 1) <= 0) return mpz_set(want.value, a);
    if (mpz_cmp_ui(e.get(), static_cast<unsigned long>(64 * want.n)) >= 0)
        return want.fail(MP_ERR_OVERFLOW);
    mpz_pow_ui(want.value, a, low(e));
    want.fail_unless_fits();
}
UintOracle pow_oracle(bool signed_e) {
    return [signed_e](UintExpect& want, const Ops& v) { pow_value(want, *v[0], *v[1], signed_e); };
}
void powmod_oracle(UintExpect& want, const Ops& v) {
    const Mpz &base = *v[0], &e = *v[1], &m = *v[2];
    const i64 limit = static_cast<i64>(low(*v[3]));
    if (mpz_sgn(m.get()) == 0) return want.fail(MP_ERR_DIV_ZERO);
    if (mpz_sgn(e.get()) == 0) return mpz_set_ui(want.value, mpz_cmp_ui(m.get(), 1) != 0);
    if (limit != 0 && e.bits() > limit) return want.fail(MP_ERR_DOMAIN);
    mpz_powm(want.value, base, e, m);
}
// The k-th root and whether it is exact; an index beyond a's bit length
// gives 1 (0 for a = 0).
void root_value(UintExpect& want, const Mpz& a, const Mpz& k) {
    if (!mpz_fits_ulong_p(k) || mpz_cmp_ui(k.get(), static_cast<unsigned long>(a.bits() + 1)) > 0) {
        mpz_set_ui(want.value, mpz_sgn(a.get()) != 0);
        want.ret = mpz_cmp_ui(a.get(), 1) <= 0;
        return;
    }
    Mpz rem;
    mpz_rootrem(want.value, rem, a, low(k));
    want.ret = mpz_sgn(rem.get()) == 0;
}
// An index below 1 is error 14, with the result true.
void root_oracle(UintExpect& want, const Ops& v) {
    Mpz k;
    mpz_set_ui(k, low(*v[1]));
    if (static_cast<i64>(low(k)) >= 1) return root_value(want, *v[0], k);
    want.fail(MP_ERR_DOMAIN);
    want.ret = 1;
}
void root_uint_oracle(UintExpect& want, const Ops& v) {
    root_value(want, *v[0], *v[1]);
}
// a!, error 12 when it does not fit (a beyond 10^6 never does here).
void factorial_oracle(UintExpect& want, const Ops& v) {
    if (!mpz_fits_ulong_p(*v[0]) || low(*v[0]) > 1000000) return want.fail(MP_ERR_OVERFLOW);
    mpz_fac_ui(want.value, low(*v[0]));
    want.fail_unless_fits();
}
// What the step-wise evaluation gives: with j = k (perm) or min(k, N - k)
// (comb), error 14 above the loop limit, and error 12 once j! C(N, j)
// (perm) or j C(N, j) (comb), its last step, does not fit.
UintOracle perm_comb_oracle(bool perm) {
    return [perm](UintExpect& want, const Ops& v) {
        const Mpz &big_n = *v[0], &k = *v[1];
        const i64 limit = static_cast<i64>(low(*v[2]));
        if (mpz_cmp(big_n, k) < 0) return;
        Mpz t, j, c, last;
        mpz_sub(t, big_n, k);
        mpz_set(j, perm || mpz_cmp(k, t) <= 0 ? k.get() : t.get());
        if (limit >= 1 && mpz_cmp_ui(j.get(), static_cast<unsigned long>(limit)) > 0)
            return want.fail(MP_ERR_DOMAIN);
        // beyond this j! (perm) or C(2j, j) (comb) alone needs more than 128000 bits
        if (!mpz_fits_ulong_p(j) || low(j) > 200000) return want.fail(MP_ERR_OVERFLOW);
        // C(N, j) = C(N, N - k); for perm N - k may be the smaller, and then it is small
        mpz_bin_ui(c, big_n, mpz_cmp(t, j) < 0 ? low(t) : low(j));
        if (perm) {
            mpz_fac_ui(t, low(j));
            mpz_mul(c, c, t);
            mpz_set(last, c);
        } else {
            mpz_mul_ui(last, c, low(j));
        }
        if (!last.fits(want.n)) return want.fail(MP_ERR_OVERFLOW);
        mpz_set(want.value, c);
    };
}

// ---- the table -------------------------------------------------------------

struct UintOp {
    const char* name;
    UintOperands (*operands)(TestRng& rng, i64 n);
    UintOracle oracle;
};

const UintOp kOps[] = {
    {"to_i64", machine_operand, machine_oracle(63, true)},
    {"to_u64", machine_operand, machine_oracle(64, false)},
    {"to_u64_quiet", machine_operand, machine_oracle(64, true)},
    {"set_bit", bit_operands, bit_oracle(true)},
    {"get_bit", bit_operands, bit_oracle(false)},
    {"add", sum_operands, arith(mpz_add)},
    {"sub", sum_operands, arith(mpz_sub)},
    {"dec",
     [](TestRng& r, i64 n) {
         return UintOperands{sum_operands(r, n)[0], small(n, 1)};
     },
     arith(mpz_sub)},
    {"add_u64", word_operands, arith(mpz_add)},
    {"mul_u64", word_operands, arith(mpz_mul)},
    {"divmod_u64", word_operands, word_divmod_oracle},
    {"mul", mul_operands, arith(mpz_mul)},
    {"square", [](TestRng& r, i64 n) { return UintOperands{mul_operands(r, n)[0]}; },
     arith(mpz_mul)},
    {"quotient", div_operands, divmod_oracle(mpz_fdiv_q)},
    {"remainder", div_operands, divmod_oracle(mpz_fdiv_r)},
    {"div_exact", div_operands, div_exact_oracle},
    {"gcd", gcd_operands, gcd_oracle(mpz_gcd)},
    {"lcm", gcd_operands, gcd_oracle(mpz_lcm)},
    {"mulinv", mulinv_operands, mulinv_oracle},
    {"log_floor", log_operands, log_oracle},
    {"log2_floor", [](TestRng& r, i64 n) { return near_base_power(r, n, 2); }, log_oracle},
    {"log10_floor", [](TestRng& r, i64 n) { return near_base_power(r, n, 10); }, log_oracle},
    {"pow", pow_operands, pow_oracle(true)},
    {"pow_uint", pow_operands, pow_oracle(false)},
    {"pow2", [](TestRng& r, i64 n) { return pow_exponent(r, n, 2); }, pow_oracle(true)},
    {"pow2_uint", [](TestRng& r, i64 n) { return pow_exponent(r, n, 2); }, pow_oracle(false)},
    {"pow10", [](TestRng& r, i64 n) { return pow_exponent(r, n, 10); }, pow_oracle(true)},
    {"pow10_uint", [](TestRng& r, i64 n) { return pow_exponent(r, n, 10); }, pow_oracle(false)},
    {"powmod", powmod_operands, powmod_oracle},
    {"sqrt",
     [](TestRng& r, i64 n) {
         return UintOperands{near_root_power(r, n, 2), small(n, 2)};
     },
     root_uint_oracle},
    {"root", root_operands, root_oracle},
    {"root_uint", root_operands, root_uint_oracle},
    {"factorial", factorial_operands, factorial_oracle},
    {"perm", perm_comb_operands, perm_comb_oracle(true)},
    {"comb", perm_comb_operands, perm_comb_oracle(false)},
};

AliasCall run_of(const UintOp& op) {
    return [name = std::string(op.name)](u64* d, const Ptrs& p) { return call(name, d, p); };
}

class UintOpsTest : public NumlibTest, public ::testing::WithParamInterface<UintOp> {};

TEST_P(UintOpsTest, AgreesWithGmp) {
    const UintOp& op = GetParam();
    for (i64 it = 0; it < test_iterations(150); ++it) {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        ASSERT_TRUE(check_uint_op(op.name, run_of(op), op.oracle, op.operands(rng, n)));
    }
}

INSTANTIATE_TEST_SUITE_P(Routines, UintOpsTest, ::testing::ValuesIn(kOps),
                         [](const auto& p) { return std::string(p.param.name); });

// Cases random operands reach only by luck, each at the fewest words that
// hold it and at 40 words.
using UintEdgesTest = NumlibTest;

TEST_F(UintEdgesTest, HardCases) {
    constexpr u64 F = ~u64{0}, H = u64{1} << 63;
    const struct {
        const char* ops;
        UintOperands operands;
        const char* why;
    } cases[] = {
        {"mulinv", {{9}, {1}}, "modulus 1: error 14"},
        {"mulinv", {{1}, {1}}, "modulus 1 beats a = 1"},
        {"lcm", {{H}, {3}}, "at one word: just above 2^64, error 12"},
        {"lcm", {{(u64{1} << 62) + 1}, {2}}, "at one word: just below 2^64"},
        {"log_floor", {{0}, {1000}}, "base 0: error 12"},
        {"log_floor", {{1}, {1000}}, "base 1: error 12"},
        {"pow pow_uint", {{0}, {0}}, "0^0 = 1"},
        {"pow pow_uint", {{1}, {u64{1} << 62}}, "1^e never overflows"},
        {"pow", {{1}, {F}}, "a negative exponent: error 14"},
        {"pow", {{2}, {(u64{1} << 62) + 5}}, "the bound must not overflow an i64"},
        {"pow_uint", {{0, 0}, {H, 1}}, "e >= 2^64 for a base of 0"},
        {"pow_uint", {{1, 0}, {H, 1}}, "e >= 2^64 for a base of 1"},
        {"powmod", {{5}, {0}, {0}, {0}}, "modulus 0 is checked before e = 0: error 13"},
        {"powmod", {{5}, {0}, {1}, {0}}, "e = 0 modulo 1 gives 0"},
        {"powmod", {{0}, {0}, {7}, {0}}, "0^0 = 1"},
        {"powmod", {{6}, {2}, {9}, {0}}, "0 mod m from a non-zero base: fully reduced, not m"},
        {"powmod", {{6}, {3}, {24}, {0}}, "0 mod an even m through both halves of the CRT"},
        {"powmod", {{2}, {70}, {H}, {0}}, "an even base to a power >= s vanishes mod 2^s"},
        {"powmod", {{3}, {F}, {H}, {0}}, "an odd base mod 2^s: the exponent reduced mod 2^s"},
        {"powmod", {{3}, {1}, {1000}, {F}}, "a negative limit refuses every exponent"},
        {"powmod", {{3}, {0}, {1000}, {1}}, "e = 0 needs no limit check"},
        {"sqrt root root_uint", {{2}, {2}}, "the square root of 2 is not exact"},
        {"root root_uint", {{2}, {3}}, "nor is its cube root"},
        {"root", {{7}, {0}}, "an index of 0: error 14"},
        {"root", {{7}, {F - 2}}, "a negative index: error 14"},
        {"root_uint", {{F, 0, 3}, {H, 0, 0}}, "an index of 2^63: the root is 1"},
        {"root_uint", {{1, 0, 0}, {5, 0, 9}}, "an index of three words; 1 is exact"},
        {"comb", {{0, 0, 1 << 20}, {0, 0, 1 << 19}, {0}}, "2^147 factors"},
        {"comb", {{0, 0, 1 << 20}, {0, 0, 1 << 19}, {5}}, "the limit comes first"},
        {"perm", {{0, 64}, {0, 1}, {0}}, "2^64 factors for perm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        std::size_t words = 1;
        for (const Words& w : c.operands) words = std::max(words, w.size());
        for (std::size_t n : {words, std::size_t{40}}) {
            mp_set_int_words(static_cast<i32>(n));
            UintOperands ops = c.operands;
            for (Words& w : ops) w.resize(n);
            for (const UintOp& op : kOps) {
                const std::string listed = " " + std::string(c.ops) + " ";
                if (listed.find(" " + std::string(op.name) + " ") == std::string::npos) continue;
                EXPECT_TRUE(check_uint_op(op.name, run_of(op), op.oracle, ops));
            }
        }
    }
}

// A stop request from another thread ends a long run with 0 within a
// step; one still pending gives 0 at once.
TEST_F(UintEdgesTest, StopRequestsGiveZero) {
    const i64 n = 2000;
    mp_set_int_words(n);
    const Words base = random_operand(rng, n, n), e = random_operand(rng, n, n), m = small(n, 7),
                fact = small(n, 10000);
    Words odd_m = random_operand(rng, n, n);
    odd_m[0] |= 1;
    const std::function<void(u64*)> calls[] = {
        // at 2000 words with a 128000-bit exponent this would take many minutes
        [&](u64* d) { uint_powmod(d, base.data(), e.data(), odd_m.data(), 0); },
        [&](u64* d) { uint_factorial(d, fact.data()); },
        [&](u64* d) { uint_powmod(d, base.data(), e.data(), m.data(), 0); },
        [&](u64* d) { uint_gcd(d, base.data(), e.data()); },
        [&](u64* d) { uint_lcm(d, base.data(), e.data()); },
        [&](u64* d) { uint_mulinv(d, base.data(), odd_m.data()); },
    };
    Words dst = small(n, 1);
    u8* const top = mp_scratch_top;
    std::thread stopper([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        mp_error.store(MP_ERR_STOPPED);
    });
    calls[0](dst.data());
    stopper.join();
    EXPECT_EQ(mp_error, MP_ERR_STOPPED);
    EXPECT_EQ(dst, Words(static_cast<std::size_t>(n)));
    for (const auto& run : calls) {  // with the request still pending: 0 at once
        dst[0] = 1;
        run(dst.data());
        EXPECT_EQ(mp_error, MP_ERR_STOPPED);
        EXPECT_EQ(dst, Words(static_cast<std::size_t>(n)));
    }
    EXPECT_EQ(mp_scratch_top, top);
}

// uint_mul_full writes 2n words: the product, or error 30 and 0 when an
// operand overlaps dst anywhere from just below it to its last word; one
// that only touches its ends is fine.
TEST_F(UintEdgesTest, MulFullProductsAndOverlaps) {
    for (i64 it = 0; it < test_iterations(150); ++it) {
        const i64 n = rng.chance(30) ? rng.range(1, 3) : rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        Words area(static_cast<std::size_t>(4 * n + 4));
        rng.fill(area.data(), 4 * n + 4, 4 * n + 4);
        const Words other = mul_operands(rng, n)[0];
        u64* dst = area.data() + n + 2;
        const i64 at = rng.chance(50)
                           ? (rng.chance(50) ? -n - rng.range(0, 1) : 2 * n + rng.range(0, 1))
                           : rng.range(1 - n, 2 * n - 1);
        const bool overlap = at > -n && at < 2 * n, pending = !overlap && rng.chance(20);
        const u64 *a = rng.chance(50) ? dst + at : other.data(),
                  *b = a == other.data() ? dst + at : other.data();
        dst[-1] = dst[2 * n] = 0x77;  // before reading a and b: an adjacent operand may hold them
        Mpz want(a, n);
        mpz_mul(want, want, Mpz(b, n));
        if (overlap) mpz_set_ui(want, 0);
        const std::string inputs = "a=" + words_hex(a, n) + " b=" + words_hex(b, n);
        mp_error = pending ? MP_ERR_DIV_ZERO : 0;
        u8* const top = mp_scratch_top;
        uint_mul_full(dst, a, b);
        ASSERT_EQ(mp_err(), pending ? MP_ERR_DIV_ZERO : overlap ? MP_ERR_INTERNAL : 0) << inputs;
        mp_error = 0;
        ASSERT_TRUE(mp_scratch_top == top && dst[-1] == 0x77 && dst[2 * n] == 0x77 &&
                    mpz_cmp(Mpz(dst, 2 * n), want) == 0)
            << "operand at dst" << at << " got " << words_hex(dst, 2 * n) << " want " << want.hex()
            << "\n  " << inputs;
    }
}

}  // namespace
