// Division kernels: by one word, one quotient word per step (Knuth's
// algorithm D), and the long-division entry point that normalises operands.
#include "numlib/vec.h"
#include "numlib/vec_contract.h"

void vec_divmod_word(u64* q, u64* r, const u64* a, i64 n, u64 v) {
    assert(n >= 0 && v != 0 && vec_same_or_apart(q, n, a, n));
    assert(vec_apart(r, 1, q, n));
    u64 rem = 0;
    for (i64 i = n - 1; i >= 0; --i) q[i] = udiv_128(rem, a[i], v, &rem);
    *r = rem;
}

namespace {

// One quotient word of algorithm D: divides the top nb + 1 words of the
// normalised remainder u by the normalised divisor v, where {u + 1, nb} < v,
// and leaves the remainder in place.
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

u64 vec_div_schoolbook(u64* q, u64* u, i64 nu, const u64* v, i64 nv) {
    assert(nu >= nv && nv >= 1 && (v[nv - 1] >> 63) == 1);
    assert(vec_apart(q, nu - nv, u, nu) && vec_apart(q, nu - nv, v, nv) && vec_apart(u, nu, v, nv));
    u64 qh = 0;
    u64* top = u + nu - nv;
    if (vec_cmp(top, v, nv) >= 0) {
        vec_sub_n(top, top, v, nv);
        qh = 1;
    }
    if (nv == 1) {
        u64 rem = u[nu - 1];
        for (i64 j = nu - 2; j >= 0; --j) q[j] = udiv_128(rem, u[j], v[0], &rem);
        u[0] = rem;
        return qh;
    }
    for (i64 j = nu - nv - 1; j >= 0; --j) q[j] = divrem_step(u + j, v, nv);
    return qh;
}

i64 vec_divrem_scratch(i64 na, i64 nb) {
    if (nb == 1) return na - nb + 1;
    return (na + 1) + nb + (na - nb + 1) + vec_div_norm_scratch(na + 1, nb);
}

void vec_divrem(u64* q, u64* r, const u64* a, i64 na, const u64* b, i64 nb, u64* scratch) {
    assert(na >= nb && nb >= 1 && b[nb - 1] != 0);
    assert(!q || (vec_apart(q, na - nb + 1, a, na) && vec_apart(q, na - nb + 1, b, nb)));
    assert(!r || (vec_apart(r, nb, a, na) && vec_apart(r, nb, b, nb)));
    assert(!q || !r || vec_apart(q, na - nb + 1, r, nb));
    if (nb == 1) {
        u64 rem;
        vec_divmod_word(q ? q : scratch, &rem, a, na, b[0]);
        if (r) r[0] = rem;
        return;
    }
    u64* u = scratch;           // na + 1 words: the normalised dividend, then remainder
    u64* v = scratch + na + 1;  // nb words: the normalised divisor
    u64* qq = q ? q : v + nb;   // na - nb + 1 words
    u64* work = v + nb + (na - nb + 1);
    const unsigned s = static_cast<unsigned>(__builtin_clzll(b[nb - 1]));
    if (s) {
        vec_lshift(v, b, nb, s);
        u[na] = vec_lshift(u, a, na, s);
    } else {
        vec_copy_fwd(v, b, nb);
        vec_copy_fwd(u, a, na);
        u[na] = 0;
    }
    // The top nb words of u are below v, so the quotient fits na - nb + 1 words.
    vec_div_norm(qq, u, na + 1, v, nb, work);
    if (r) {
        if (s)
            vec_rshift(r, u, nb, s);
        else
            vec_copy_fwd(r, u, nb);
    }
}
