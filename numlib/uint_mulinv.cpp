// Modular inverse by the extended Lehmer algorithm.
//
// The loop keeps remainders r0 >= r1 and the first row (t0, t1) of the
// matrix T with (m, a) = T (r0, r1), T having non-negative entries and
// determinant sign. Then r1 = sign t0 a (mod m), so r1 = 1 gives the inverse.
// Every step multiplies T on the right by a reduction matrix, so only
// products and sums of non-negative numbers occur; and m = t0 r0 + t1 r1
// bounds both entries by m while the remainders are positive.
#include <algorithm>
#include <utility>

#include "numlib/uint_impl.h"

namespace {

// {dst, max(lx, ly) + 2} = {x, lx} u + {y, ly} v; returns the significant length.
i64 mul2_add(u64* dst, const u64* x, i64 lx, u64 u, const u64* y, i64 ly, u64 v) {
    if (lx < ly) {
        std::swap(x, y);
        std::swap(lx, ly);
        std::swap(u, v);
    }
    dst[lx] = vec_mul_word(dst, x, lx, u);
    dst[lx + 1] = 0;
    const u64 carry = vec_addmul_word(dst, y, ly, v);
    vec_add_1(dst + ly, dst + ly, lx + 2 - ly, carry);
    return vec_len(dst, lx + 2);
}

// The first row of T, in buffers of n + 2 words.
struct Cofactors {
    u64* t0;
    u64* t1;
    u64* spare0;
    u64* spare1;
    i64 l0, l1;
    bool positive;
    i64 n;

    // T = T M.
    void apply(const GcdMatrix& m) {
        const i64 s0 = mul2_add(spare0, t0, l0, m.m00, t1, l1, m.m10);
        const i64 s1 = mul2_add(spare1, t0, l0, m.m01, t1, l1, m.m11);
        std::swap(t0, spare0);
        std::swap(t1, spare1);
        l0 = s0;
        l1 = s1;
        positive = positive == m.det_positive;
    }
    // T = T [[0, 1], [1, 0]].
    void swap_columns() {
        std::swap(t0, t1);
        std::swap(l0, l1);
        positive = !positive;
    }
    // T = T [[q, 1], [1, 0]] for a quotient of lq >= 1 words; false when the
    // scratch area is exhausted or the bound by m fails (never expected).
    bool push_quotient(const u64* q, i64 lq) {
        ScratchMark mark;
        const i64 width = std::max(lq + l0, l1) + 1;
        u64* sum = mark.take(static_cast<std::size_t>(width));
        if (!sum) return false;
        vec_zero(sum, width);
        if (l0 > 0 && !uint_mul_into(sum, q, lq, t0, l0, mark)) return false;
        vec_add(sum, sum, width, t1, l1);
        const i64 len = vec_len(sum, width);
        if (len > n) return false;
        vec_copy_fwd(spare0, sum, len);
        std::swap(t1, spare0);  // the old t1 is spare now
        std::swap(t0, t1);
        l1 = l0;
        l0 = len;
        positive = !positive;
        return true;
    }
};

// The Euclid remainders r0 >= r1 in buffers of n words, with two spares.
struct Remainders {
    u64* r0;
    u64* r1;
    u64* spare0;
    u64* spare1;
    i64 l0, l1;
};

// One Lehmer step on (r0, r1) and the cofactors; false when none qualifies.
bool lehmer_step(Remainders& r, Cofactors& c) {
    GcdMatrix m;
    if (!vec_gcd_matrix(&m, r.r0, r.r1, r.l0) ||
        !vec_gcd_reduce(r.spare0, r.spare1, r.r0, r.r1, r.l0, m))
        return false;
    std::swap(r.r0, r.spare0);
    std::swap(r.r1, r.spare1);
    r.l1 = vec_len(r.r1, r.l0);
    r.l0 = vec_len(r.r0, r.l0);
    c.apply(m);
    if (r.l0 < r.l1 || (r.l0 == r.l1 && vec_cmp(r.r0, r.r1, r.l0) < 0)) {
        std::swap(r.r0, r.r1);
        std::swap(r.l0, r.l1);
        c.swap_columns();
    }
    return true;
}

// (r0, r1) = (r1, r0 mod r1) by long division. Returns 0, or the error:
// 12 when the remainder is 0 (then gcd = r1 > 1), 30 when scratch runs out.
i32 division_step(Remainders& r, Cofactors& c) {
    ScratchMark mark;
    const i64 lq = r.l0 - r.l1 + 1;
    u64* q = mark.take(static_cast<std::size_t>(lq));
    u64* work = mark.take(static_cast<std::size_t>(vec_divrem_scratch(r.l0, r.l1)));
    if (!q || !work) return MP_ERR_INTERNAL;
    vec_divrem(q, r.spare0, r.r0, r.l0, r.r1, r.l1, work);
    const i64 lrem = vec_len(r.spare0, r.l1);
    if (lrem == 0) return MP_ERR_OVERFLOW;
    if (!c.push_quotient(q, vec_len(q, lq))) return MP_ERR_INTERNAL;
    std::swap(r.r0, r.r1);
    std::swap(r.r1, r.spare0);
    r.l0 = r.l1;
    r.l1 = lrem;
    return 0;
}

// Euclid on single words x >= y >= 1 down to a remainder of 1, with the
// product of its quotient matrices applied to the cofactors. Returns 0 or
// error 12 (the words are not coprime).
i32 finish_words(u64 x, u64 y, Cofactors& c) {
    GcdMatrix m{1, 0, 0, 1, true};
    while (y > 1) {
        const u64 q = x / y, rem = x - q * y;
        if (rem == 0) return MP_ERR_OVERFLOW;
        // With both remainders positive the entries stay below x's start.
        m = GcdMatrix{q * m.m00 + m.m01, m.m00, q * m.m10 + m.m11, m.m10, !m.det_positive};
        x = y;
        y = rem;
    }
    c.apply(m);
    return 0;
}

// {out, n} = the inverse of {a, n} modulo {m, n}, with a mod m >= 2 in r1.
i32 inverse_words(u64* out, Remainders& r, Cofactors& c, const u64* m) {
    while (r.l1 >= 2) {
        if (mp_err()) return MP_ERR_INTERNAL;
        if (lehmer_step(r, c)) continue;
        if (i32 code = division_step(r, c)) return code;
    }
    if (r.r1[0] != 1) {
        if (r.l0 >= 2)
            if (i32 code = division_step(r, c)) return code;
        if (r.r1[0] != 1)
            if (i32 code = finish_words(r.r0[0], r.r1[0], c)) return code;
    }
    // 0 < t0 < m here: t0 = 0 or m would make r1 = 1 a multiple of m.
    const i64 n = c.n;
    if (c.l0 == 0 || c.l0 > n) return MP_ERR_INTERNAL;
    uint_store(out, c.t0, c.l0);
    if (!c.positive) vec_sub_n(out, m, out, n);
    return 0;
}

}  // namespace

void uint_mulinv(u64* dst, const u64* a, const u64* m) {
    if (mp_err()) return uint_zero(dst);
    if (uint_cmp_u64(m, 2) < 0) return uint_fail(dst, MP_ERR_DOMAIN);
    if (uint_is_one(a)) return uint_set_u64(dst, 1);
    if (uint_is_zero(a)) return uint_fail(dst, MP_ERR_DIV_ZERO);
    const i64 n = uint_words();
    ScratchMark mark;
    u64* rbuf = mark.take(static_cast<std::size_t>(5 * n));
    u64* tbuf = mark.take(static_cast<std::size_t>(4 * (n + 2)));
    if (!rbuf || !tbuf) return uint_fail(dst, MP_ERR_INTERNAL);
    Remainders r{rbuf, rbuf + n, rbuf + 2 * n, rbuf + 3 * n, vec_len(m, n), 0};
    u64* out = rbuf + 4 * n;
    vec_copy_fwd(r.r0, m, n);
    uint_divmod(nullptr, r.r1, a, m);
    r.l1 = vec_len(r.r1, n);
    if (r.l1 == 0) return uint_fail(dst, MP_ERR_OVERFLOW);
    if (r.l1 == 1 && r.r1[0] == 1) return uint_set_u64(dst, 1);
    const i64 w = n + 2;
    Cofactors c{tbuf, tbuf + w, tbuf + 2 * w, tbuf + 3 * w, 1, 0, true, n};
    c.t0[0] = 1;
    if (i32 code = inverse_words(out, r, c, m)) return uint_fail(dst, code);
    uint_copy(dst, out);
}
