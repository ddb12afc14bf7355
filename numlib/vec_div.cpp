// Division kernels: by one word, and long division (Knuth's algorithm D).
#include "numlib/vec.h"

void vec_divmod_word(i64 count, u64* q, u64* r, const u64* a, u64 v) {
    assert(v != 0);
    u64 rem = 0;
    for (i64 i = count - 1; i >= 0; --i) q[i] = udiv_128(rem, a[i], v, &rem);
    *r = rem;
}

i64 vec_divrem_scratch(i64 na, i64 nb) { return (na + 1) + nb + (na - nb + 1); }

namespace {

// One quotient word of algorithm D: divides the top nb + 1 words of the
// normalised remainder u by the normalised divisor v and leaves the
// remainder in place.
u64 divrem_step(u64* u, const u64* v, i64 nb) {
    const u64 v1 = v[nb - 1], v0 = v[nb - 2];
    const u64 u2 = u[nb], u1 = u[nb - 1], u0 = u[nb - 2];
    u64 qhat, rhat;
    bool rhat_overflow = false;
    if (u2 >= v1) {
        // u2 == v1: the estimate saturates at B - 1
        qhat = ~u64{0};
        u128 rr = (static_cast<u128>(u2) << 64 | u1) - static_cast<u128>(qhat) * v1;
        rhat_overflow = (rr >> 64) != 0;
        rhat = static_cast<u64>(rr);
    } else {
        qhat = udiv_128(u2, u1, v1, &rhat);
    }
    // At most two corrections make qhat exact or one too large.
    while (!rhat_overflow && static_cast<u128>(qhat) * v0 > (static_cast<u128>(rhat) << 64 | u0)) {
        --qhat;
        u64 prev = rhat;
        rhat += v1;
        rhat_overflow = rhat < prev;
    }
    u64 borrow = vec_submul_word(u, v, nb, qhat);
    if (u[nb] < borrow) {  // qhat was one too large: add the divisor back
        --qhat;
        vec_add_n(u, u, v, nb);
    }
    u[nb] = 0;
    return qhat;
}

}  // namespace

void vec_divrem(u64* q, u64* r, const u64* a, i64 na, const u64* b, i64 nb, u64* scratch) {
    assert(na >= nb && nb >= 1 && b[nb - 1] != 0);
    u64* qq = q ? q : scratch + (na + 1) + nb;
    if (nb == 1) {
        u64 rem;
        vec_divmod_word(na, qq, &rem, a, b[0]);
        if (r) r[0] = rem;
        return;
    }
    u64* u = scratch;        // na + 1 words: the normalised dividend, then remainder
    u64* v = scratch + na + 1;  // nb words: the normalised divisor
    const unsigned s = static_cast<unsigned>(__builtin_clzll(b[nb - 1]));
    if (s) {
        vec_lshift(v, b, nb, s);
        u[na] = vec_lshift(u, a, na, s);
    } else {
        vec_copy_fwd(v, b, nb);
        vec_copy_fwd(u, a, na);
        u[na] = 0;
    }
    for (i64 j = na - nb; j >= 0; --j) qq[j] = divrem_step(u + j, v, nb);
    if (r) {
        if (s)
            vec_rshift(r, u, nb, s);
        else
            vec_copy_fwd(r, u, nb);
    }
}
