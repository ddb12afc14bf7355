// Permutations and combinations. The step-wise evaluation (multiply by s + i,
// divide by i) fails exactly when its last product j * C(n, k) (or, for
// permutations, the full product) does not fit, so the routine decides that
// from estimates of the sizes, forms the rising product (s + 1)...(s + j) by
// binary splitting and, for combinations, divides it by j! once; a
// combination of a small n with a large j comes from its prime factors.
#include <cmath>
#include <numbers>

#include "numlib/uint_binomial_primes.h"
#include "numlib/uint_pow_impl.h"
#include "numlib/uint_product.h"

namespace {

constexpr double kLn2 = std::numbers::ln2;
// The estimates below are good to a small fraction of a bit; the margin
// keeps their rounding from deciding an overflow that only the exact product
// may decide.
constexpr double kMarginBits = 2.0;

double log2_factorial(u64 j) {
    return std::lgamma(static_cast<double>(j) + 1.0) / kLn2;
}

// log2 of (s + 1)(s + 2)...(s + j) for 1 <= j < 2^17.
double log2_rising(const u64* s, i64 ls, u64 j) {
    const double jd = static_cast<double>(j);
    if (ls <= 1 && static_cast<double>(s[0]) + jd < 0x1p40) {
        const double sd = static_cast<double>(s[0]);
        return (std::lgamma(sd + jd + 1.0) - std::lgamma(sd + 1.0)) / kLn2;
    }
    // s >= 2^39: sum of log2(s) + log2(1 + i/s), with i/s below 2^-22
    const double l = vec_log2_approx(s, ls);
    return jd * l + jd * (jd + 1.0) / 2.0 * std::exp2(-l) / kLn2;
}

// {dst, (hi - lo)(ls + 1)} = (s + lo + 1)...(s + hi) for factors that need
// more than one word; the significant length, 0 when stopped.
i64 rising_product_wide(u64* dst, const u64* s, i64 ls, u64 lo, u64 hi) {
    if (hi - lo == 1) {
        vec_copy_fwd(dst, s, ls);
        dst[ls] = vec_add_1(dst, dst, ls, hi);
        return vec_len(dst, ls + 1);
    }
    if (mp_err() != 0) return 0;
    const u64 mid = lo + (hi - lo) / 2;
    const i64 w = ls + 1;
    ScratchMark mark;
    u64* left = mark.take(static_cast<std::size_t>(static_cast<i64>(mid - lo) * w));
    u64* right = mark.take(static_cast<std::size_t>(static_cast<i64>(hi - mid) * w));
    if (!left || !right) return 0;
    const i64 ll = rising_product_wide(left, s, ls, lo, mid);
    const i64 lr = ll ? rising_product_wide(right, s, ls, mid, hi) : 0;
    if (lr == 0 || !uint_mul_into(dst, left, ll, right, lr, mark)) return 0;
    return vec_len(dst, ll + lr);
}

// (s + 1)...(s + j) into scratch taken from mark; *len its significant
// length (0 when stopped or out of scratch).
u64* rising_product(const u64* s, i64 ls, u64 j, i64* len, ScratchMark& mark) {
    *len = 0;
    const u64 s0 = s[0];
    const bool narrow = ls <= 1 && s0 <= ~u64{0} - j;
    const i64 cap = narrow ? uint_range_product_words(s0, s0 + j) : static_cast<i64>(j) * (ls + 1);
    u64* p = mark.take(static_cast<std::size_t>(cap));
    if (p)
        *len =
            narrow ? uint_range_product(p, s0, s0 + j, false) : rising_product_wide(p, s, ls, 0, j);
    return p;
}

// {q, lp - lf + 1} = {p, lp} / j! exactly; the significant length, 0 on
// failure (a remainder would be an internal fault: error 30).
i64 divide_by_factorial(u64* q, const u64* p, i64 lp, u64 j, ScratchMark& mark) {
    u64* f = mark.take(static_cast<std::size_t>(uint_range_product_words(0, j)));
    const i64 lf = f ? uint_range_product(f, 0, j, false) : 0;
    u64* r = lf ? mark.take(static_cast<std::size_t>(lf)) : nullptr;
    u64* work = r ? mark.take(static_cast<std::size_t>(vec_divrem_scratch(lp, lf))) : nullptr;
    if (!work) return 0;
    vec_divrem(q, r, p, lp, f, lf, work);
    if (!vec_is_zero(r, lf)) {
        mp_raise(MP_ERR_INTERNAL);
        return 0;
    }
    return vec_len(q, lp - lf + 1);
}

// The rising product, for combinations divided by j!, into scratch taken
// from mark; *len its significant length (0 when stopped or out of scratch).
u64* rising_over_factorial(const u64* s, i64 ls, u64 j, bool perm, i64* len, ScratchMark& mark) {
    i64 lp;
    u64* p = rising_product(s, ls, j, &lp, mark);
    *len = lp;
    if (lp == 0 || perm || j == 1) return p;
    u64* c = mark.take(static_cast<std::size_t>(lp));
    *len = c ? divide_by_factorial(c, p, lp, j, mark) : 0;
    return c;
}

// Whether C(s + j, j) is cheaper from the primes up to s + j than from the
// rising product and j!: the sieve and the exponents cost a few nanoseconds
// per number up to s + j, the products and the division grow with the size
// of j!; measured, the two meet near s + j = 4 log2(j!).
bool by_primes(const u64* s, i64 ls, u64 j) {
    if (ls > 1 || j < 2 || j > UINT_BINOMIAL_SIEVE_MAX || s[0] > UINT_BINOMIAL_SIEVE_MAX - j)
        return false;
    return 4.0 * log2_factorial(j) >= static_cast<double>(s[0] + j);
}

// The value for 1 <= j < 2^64 and s = {s, ls} (significant length; s[0]
// readable) into dst, or error 12 when the step-wise evaluation would
// overflow.
void rising_quotient(u64* dst, const u64* s, i64 ls, u64 j, bool perm) {
    const i64 n = uint_words();
    const double limit = 64.0 * static_cast<double>(n) + kMarginBits;
    // Bounds from j alone come first, so that nothing below costs time in j:
    // the product is at least j!, and j * C(s + j, j) >= C(2j, j) >= 4^j / (2j + 1).
    const double jd = static_cast<double>(j);
    if ((perm ? log2_factorial(j) : 2.0 * jd - 2.0) > limit) return uint_fail(dst, MP_ERR_OVERFLOW);
    const double log2_p = log2_rising(s, ls, j);
    if ((perm ? log2_p : log2_p - log2_factorial(j) + std::log2(jd)) > limit)
        return uint_fail(dst, MP_ERR_OVERFLOW);
    ScratchMark mark;
    i64 lc;
    u64* c = !perm && by_primes(s, ls, j)
                 ? uint_binomial_by_primes(s[0] + j, j, 64 * n + 4, &lc, mark)
                 : rising_over_factorial(s, ls, j, perm, &lc, mark);
    if (lc == 0) return uint_zero(dst);  // stopped or out of scratch: raised already
    if (lc > n) return uint_fail(dst, MP_ERR_OVERFLOW);
    if (!perm) {  // the last step-wise product is j * C
        u64* jc = mark.take(static_cast<std::size_t>(lc + 1));
        if (!jc) return uint_zero(dst);
        jc[lc] = vec_mul_word(jc, c, lc, j);
        if (vec_len(jc, lc + 1) > n) return uint_fail(dst, MP_ERR_OVERFLOW);
    }
    uint_store(dst, c, lc);
}

}  // namespace

void uint_perm_comb(u64* dst, const u64* n, const u64* k, i64 limit, bool perm) {
    MpIsolate iso;
    // significant lengths throughout: small operands stay cheap at 2000 words
    const i64 ln = uint_len(n), lk = uint_len(k);
    if (vec_cmp_len(n, ln, k, lk) < 0) return uint_zero(dst);
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(ln + 1));
    if (!t) return uint_zero(dst);
    vec_sub(t, n, ln, k, lk);
    t[ln] = 0;
    const i64 lt = vec_len(t, ln);
    const bool t_smaller = !perm && vec_cmp_len(t, lt, k, lk) < 0;
    const u64* j = t_smaller ? t : k;
    const i64 lj = t_smaller ? lt : lk;
    const u64 jw = lj ? j[0] : 0;
    if (limit >= 1 && (lj > 1 || jw > static_cast<u64>(limit)))
        return uint_fail(dst, MP_ERR_DOMAIN);
    // a product of 2^64 or more factors, each at least 1, 2, 3, ..., cannot fit
    if (lj > 1) return uint_fail(dst, MP_ERR_OVERFLOW);
    if (jw == 0) return uint_set_u64(dst, 1);
    rising_quotient(dst, t_smaller ? k : t, t_smaller ? lk : lt, jw, perm);
    if (iso.inner() != 0) uint_zero(dst);
}
