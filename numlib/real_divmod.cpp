// Integer division of reals with an exact remainder. With a = A 10^(e_a - s)
// and b = M 10^(e_b - s) (A, M the mantissa integers, s = 19m - 1) and
// delta = e_a - e_b >= 0, the quotient is floor(A 10^delta / M) and the
// remainder (A 10^delta mod M) 10^(e_b - s). The quotient keeps at most 19m
// digits: its top digits are floor(A 10^k / M) for the k that gives 19m of
// them, and when that k is below delta the remainder comes from a modular
// power of ten instead. Both divisions use M's reciprocal, so the cost is a
// few mantissa products (times log2(delta) for a huge delta), never one step
// per digit.
#include <algorithm>

#include "numlib/dec.h"
#include "numlib/real_dec_impl.h"
#include "numlib/vec.h"

namespace {

// Scratch for the reductions modulo an m-word divisor.
i64 reduce_scratch(i64 m) {
    return std::max(dec_mul_scratch(m, m), dec_divrem_recip_scratch(2 * m, m));
}

// {r, m} = {a, m} 10^e mod {d, m} by left-to-right binary powering, with x
// the reciprocal of d. scratch holds 3m + reduce_scratch(m) words. False
// when an error (a stop request) arrives on the way.
bool mul_pow10_mod(u64* r, const u64* a, i64 e, const u64* d, const u64* x, i64 m, u64* scratch) {
    u64* p = scratch;
    u64* t = p + m;
    u64* rest = t + 2 * m;
    vec_zero(p, m);
    p[0] = 1;
    for (int bit = 63 - __builtin_clzll(static_cast<u64>(e)); bit >= 0; --bit) {
        if (mp_err()) return false;
        dec_mul(t, p, m, p, m, rest);
        dec_divrem_recip(nullptr, p, t, 2 * m, d, m, x, rest);
        if ((e >> bit) & 1) {
            t[m] = dec_mul_word(t, p, m, 10);
            dec_divrem_recip(nullptr, p, t, m + 1, d, m, x, rest);
        }
    }
    dec_mul(t, a, m, p, m, rest);
    dec_divrem_recip(nullptr, r, t, 2 * m, d, m, x, rest);
    return true;
}

// The division itself for |a| >= |b|, delta = e_a - e_b >= 0 and a quotient
// of digits digits: q and r (either may be nullptr) with the sign. False
// when an error stopped it.
bool divide(u64* q, u64* r, const u64* a, const u64* b, i64 delta, i64 digits, int sign) {
    const i64 m = real_words();
    ScratchMark mark;
    // A, M, M's reciprocal, A 10^k, the quotient and remainder, work space.
    const i64 work = std::max(dec_recip_scratch(m), 3 * m + reduce_scratch(m));
    u64* ar = mark.take(static_cast<std::size_t>(2 * m + (m + 1) + 2 * m + (m + 1) + m + work));
    if (!ar) return false;
    u64* mr = ar + m;
    u64* x = mr + m;
    u64* num = x + (m + 1);
    u64* qv = num + 2 * m;
    u64* rv = qv + (m + 1);
    u64* rest = rv + m;
    real_mantissa_to_dec(ar, a, m);
    real_mantissa_to_dec(mr, b, m);
    const i64 e_b = real_exp_of(b);
    dec_recip(x, mr, m, m, rest);
    // A 10^k with k <= 19m fits 2m words (and is at least M).
    const i64 k = digits <= 19 * m ? delta : delta - (digits - 19 * m);
    vec_zero(num, 2 * m);
    const u64 carry = dec_mul_word(num + k / 19, ar, m, REAL_POW10[k % 19]);
    if (k / 19 + m < 2 * m) num[k / 19 + m] = carry;
    const i64 len = vec_len(num, 2 * m);
    dec_divrem_recip(qv, rv, num, len, mr, m, x, rest);
    if (k < delta && r && !mul_pow10_mod(rv, ar, delta, mr, x, m, rest)) return false;
    // Written only now: q or r may be an operand.
    if (r) real_from_dec(r, rv, m, e_b, sign);
    if (q) {
        const i64 nq = len - m + 1;
        real_from_dec(q, qv, nq, real_exp_sum(18 + 19 * (nq - 1), delta - k), sign);
    }
    return true;
}

}  // namespace

void real_divmod(u64* q, u64* r, const u64* a, const u64* b, i64 limit) {
    MpIsolate isolate;
    const int sign = real_sign(a) ^ real_sign(b);
    if (real_is_zero(b)) {
        real_fail(q, MP_ERR_DIV_ZERO);
        real_fail(r, 0);
        return;
    }
    if (real_is_zero(a)) {
        if (q) real_zero(q, sign);
        if (r) real_zero(r, sign);
        return;
    }
    if (real_cmp_abs(a, b) < 0) {
        // r first: q may be a.
        if (r) real_copy(r, a);
        if (q) real_zero(q, sign);
        return;
    }
    const i64 m = real_words();
    const i64 delta = real_exp_of(a) - real_exp_of(b);
    // One digit fewer when A < M.
    int mant = 0;
    for (i64 i = 1; i <= m && mant == 0; ++i) mant = a[i] < b[i] ? -1 : (a[i] > b[i] ? 1 : 0);
    const i64 digits = delta + (mant < 0 ? 0 : 1);
    if (limit > 0 && digits > limit) {
        real_fail(q, MP_ERR_DOMAIN);
        real_fail(r, 0);
        return;
    }
    if (!divide(q, r, a, b, delta, digits, sign) || isolate.inner()) {
        real_fail(q, 0);
        real_fail(r, 0);
    }
}
