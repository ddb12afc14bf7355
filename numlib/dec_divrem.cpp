// Division by a divisor whose reciprocal is known (Barrett's method in base
// B = 10^19): the quotient is estimated from the top words of the dividend
// times the reciprocal, the remainder formed exactly, and the estimate
// corrected by single steps.
//
// With x within 2 units of B^(2 nb) / d and a < B^(2 nb), the estimate
// floor(floor(a / B^(nb - 1)) x / B^(nb + 1)) differs from the quotient by
// less than 2 above and 4 below, so the correction loops run a few times
// at most.
#include <algorithm>
#include <cassert>

#include "numlib/dec_mul_impl.h"

i64 dec_divrem_recip_scratch(i64 na, i64 nb) {
    // Product of the estimate (na + 2), quotient (na - nb + 1), q d and the
    // signed remainder (na + 1 each), the products' scratch.
    return (na + 2) + (na - nb + 1) + 2 * (na + 1) + dec_mul_scratch(na + 1, nb + 1);
}

namespace {

// {r, nr} -= {d, nb} while it is at least d; returns the count.
i64 reduce_down(u64* r, i64 nr, const u64* d, i64 nb) {
    i64 count = 0;
    while (!vec_is_zero(r + nb, nr - nb) || vec_cmp(r, d, nb) >= 0) {
        dec_sub(r, r, nr, d, nb);
        ++count;
    }
    return count;
}

// A negative remainder -{r, nr}: adds d until it is non-negative; returns
// the count.
i64 reduce_up(u64* r, i64 nr, const u64* d, i64 nb) {
    i64 count = 0;
    // -r + d >= 0 once r <= d; then the remainder is d - r.
    while (!vec_is_zero(r + nb, nr - nb) || vec_cmp(r, d, nb) > 0) {
        dec_sub(r, r, nr, d, nb);
        ++count;
    }
    dec_sub_n(r, d, r, nb);
    return count + 1;
}

}  // namespace

void dec_divrem_recip(u64* q, u64* r, const u64* a, i64 na, const u64* d, i64 nb, const u64* x,
                      u64* scratch) {
    assert(nb <= na && na <= 2 * nb && d[nb - 1] >= DEC_BASE / 10);
    const i64 nq = na - nb + 1;
    u64* est = scratch;
    u64* qv = est + (na + 2);
    u64* qd = qv + nq;
    u64* rem = qd + (na + 1);
    u64* rest = rem + (na + 1);
    // The estimate: the words from nb + 1 up of a_hi x, a_hi = a / B^(nb - 1).
    const u64* a_hi = a + (nb - 1);
    dec_mul(est, x, nb + 1, a_hi, nq, rest);
    vec_copy_fwd(qv, est + (nb + 1), nq);
    // The quotient is below 10 B^(nq - 1), so the estimate fits nq words.
    if (nb >= nq)
        dec_mul(qd, d, nb, qv, nq, rest);
    else
        dec_mul(qd, qv, nq, d, nb, rest);
    vec_copy_fwd(rem, a, na);
    rem[na] = 0;
    if (dec_sub_n(rem, rem, qd, na + 1)) {
        dec_negate(rem, rem, na + 1);
        dec_sub_1(qv, qv, nq, static_cast<u64>(reduce_up(rem, na + 1, d, nb)));
    } else {
        dec_add_1(qv, qv, nq, static_cast<u64>(reduce_down(rem, na + 1, d, nb)));
    }
    if (q) vec_copy_fwd(q, qv, nq);
    if (r) vec_copy_fwd(r, rem, nb);
}
