// Permutations, combinations and the gcd of integral reals, by the integer
// algorithms: a step-wise product for the first two while its count of
// factors is short (else through ln x!, real_perm_comb_gamma.cpp), Euclid for
// the gcd.
#include <cmath>

#include "numlib/real_factorial_impl.h"
#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"

namespace {

// Most factors of the step-wise product; longer counts go through ln x!,
// whose work depends on the precision only. Measured at 20 to 10,013 digits:
// machine-word factors cost as much as the logarithms near LOOP_PER_WORD * w
// of them at w words, real factors (a full product each) near LOOP_REAL.
constexpr i64 LOOP_PER_WORD = 400;
constexpr i64 LOOP_REAL = 1000;

// Natural logarithm of the largest real, 10^(2^62): results whose logarithm
// clearly exceeds it are refused before any work.
constexpr double LN_RANGE = 4611686018427387904.0 * 2.302585092994045684;

// x ln(1 + y/x) for non-negative x, y, with x beyond the double range
// standing for a factor that tends to y.
double x_log1p(double x, double y) {
    if (!std::isfinite(x)) return y;
    return x == 0 ? 0 : x * std::log1p(y / x);
}

// The natural logarithm of the result estimated in doubles (relative error
// far below 10^-9): perm: (s + 1/2) ln(1 + k/s) + k (ln n - 1), or
// comb: k ln(1 + s/k) + s ln(1 + k/s).
double ln_estimate(const u64* n, const u64* k, const u64* s, bool perm) {
    const double ln_n = real_approx_log10(n) * 2.302585092994045684;
    const double kd = real_approx_double(k), sd = real_approx_double(s);
    if (perm) return x_log1p(sd, kd) + kd * (ln_n - 1);
    return x_log1p(kd, sd) + x_log1p(sd, kd);
}

void round_with(u64* x, u64 spill) {
    real_round_guard(x, spill, mp_real_words);
}

bool is_natural(const u64* x) {
    return real_is_integer(x) && (real_is_zero(x) || real_sign(x) == 0);
}

// Whether the factors s + 1 .. s + j are machine words below 10^19 (then
// s fits *s_word).
bool word_factors(const u64* s, u64 j, u64* s_word) {
    return real_to_u64(s_word, s, REAL_CONV_QUIET) && j < REAL_BASE - 1 &&
           *s_word < REAL_BASE - 1 - j;
}

// dst = (s + 1)(s + 2)...(s + j), for a combination divided step by step by
// 1, 2, ..., j (each quotient is an integer again). The factors are machine
// words while they stay below 10^19, else reals. s is overwritten.
void rising_product(u64* dst, u64* s, u64 j, bool comb) {
    ScratchMark mark;
    u64* f = mark.take(static_cast<std::size_t>(mp_real_words) + 1);
    if (!f) return real_fail(dst, 0);
    u64 s_word = 0;
    const bool narrow = word_factors(s, j, &s_word);
    real_one(f);
    real_one(dst);
    for (u64 i = 1; i <= j && mp_err() == 0; ++i) {
        if (narrow) {
            round_with(dst, real_mul_u64(dst, dst, s_word + i));
        } else {
            round_with(s, real_add_sub(s, s, f, 0));
            round_with(dst, real_mul(dst, dst, s));
        }
        if (comb) round_with(dst, real_div_u64(dst, dst, i));
    }
    if (mp_err() != 0) real_fail(dst, 0);
}

}  // namespace

void real_perm_comb(u64* dst, const u64* n, const u64* k, i64 limit, bool perm) {
    if (!is_natural(n) || !is_natural(k)) return real_fail(dst, MP_ERR_DOMAIN);
    if (real_cmp(n, k) < 0) return real_zero(dst, 0);
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* t = mark.take(w);
    u64* s = mark.take(w);
    if (!s) return real_fail(dst, 0);
    round_with(t, real_add_sub(t, n, k, 1));
    // The loop runs over the smaller of k and n - k for a combination.
    const bool swap = !perm && real_cmp(t, k) < 0;
    const u64* loop = swap ? t : k;
    real_copy(s, swap ? k : t);
    // A count beyond i64 exceeds every limit, and its result the exponent
    // range: at least C(2j, j) > 10^(5 10^18).
    i64 j = 0;
    if (!real_to_i64(&j, loop, REAL_CONV_QUIET))
        return real_fail(dst, limit >= 1 ? MP_ERR_DOMAIN : MP_ERR_EXP_OVERFLOW);
    if (limit >= 1 && j > limit) return real_fail(dst, MP_ERR_DOMAIN);
    u64 s_word = 0;
    const i64 loop_max = word_factors(s, static_cast<u64>(j), &s_word)
                             ? LOOP_PER_WORD * mp_real_words
                             : LOOP_REAL;
    if (j <= loop_max) return rising_product(dst, s, static_cast<u64>(j), !perm);
    if (ln_estimate(n, k, t, perm) > LN_RANGE * (1 + 1e-9))
        return real_fail(dst, MP_ERR_EXP_OVERFLOW);
    real_perm_comb_gamma(dst, n, k, t, perm);
}

void real_gcd(u64* dst, const u64* a, const u64* b, i64 limit) {
    if (!is_natural(a) || !is_natural(b) || real_is_zero(a) || real_is_zero(b))
        return real_fail(dst, MP_ERR_DOMAIN);
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* g = mark.take(w);
    u64* r = mark.take(w);
    u64* next = mark.take(w);
    if (!next) return real_fail(dst, 0);
    real_copy(g, b);
    real_divmod(nullptr, r, a, b, limit);
    while (!real_is_zero(r) && mp_err() == 0) {
        real_divmod(nullptr, next, g, r, limit);  // (g, r) = (r, g mod r)
        u64* old_g = g;
        g = r;
        r = next;
        next = old_g;
    }
    if (mp_err() != 0) return real_fail(dst, 0);
    real_copy(dst, g);
    dst[0] &= ~u64{1};
}

void real_lcm(u64* dst, const u64* a, const u64* b, i64 limit) {
    if (!is_natural(a) || !is_natural(b) || real_is_zero(a) || real_is_zero(b))
        return real_fail(dst, MP_ERR_DOMAIN);
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* g = mark.take(w);
    u64* q = mark.take(w);
    if (!q) return real_fail(dst, 0);
    real_gcd(g, a, b, limit);
    real_divmod(q, nullptr, a, g, limit);  // exact: g divides a
    if (mp_err() != 0) return real_fail(dst, 0);
    const u64 spill = real_mul(dst, q, b);
    real_round_guard(dst, spill, mp_real_words);
}
