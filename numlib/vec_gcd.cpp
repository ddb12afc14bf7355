// Lehmer steps of Euclid's algorithm: a reduction matrix from the leading
// 128 bits of the operands, and its application to the full operands.
//
// Why a matrix is safe: with a = ah 2^k + al and b = bh 2^k + bl (al, bl <
// 2^k), the full-size counterpart of a remainder rho = |x ah - y bh| of the
// leading parts is |x a - y b| = 2^k rho +- (x al - y bl), whose error term is
// below 2^k max(x, y). A step is taken only while each remainder is at least
// the larger cofactor in its column, so both full-size results stay positive.
// The matrix is a product of [[q, 1], [1, 0]] factors, hence unimodular with
// non-negative entries, which is all that gcd and inverse tracking need; the
// quotients need not match those of the full operands.
#include <algorithm>

#include "numlib/vec.h"
#include "numlib/vec_contract.h"

namespace {

// (x, y) = the bits [k, k + 128) of {a, n} and {b, n}, where k = max(0,
// bitlen(a) - 128).
void leading_bits(u128* x, u128* y, const u64* a, const u64* b, i64 n) {
    const auto pair = [](u64 hi, u64 lo) { return static_cast<u128>(hi) << 64 | lo; };
    if (n == 1) {
        *x = a[0];
        *y = b[0];
        return;
    }
    const unsigned lz = static_cast<unsigned>(__builtin_clzll(a[n - 1]));
    if (lz == 0 || n == 2) {
        *x = pair(a[n - 1], a[n - 2]);
        *y = pair(b[n - 1], b[n - 2]);
        return;
    }
    const auto top = [&](const u64* v) {
        u64 hi = v[n - 1] << lz | v[n - 2] >> (64 - lz);
        u64 lo = v[n - 2] << lz | v[n - 3] >> (64 - lz);
        return pair(hi, lo);
    };
    *x = top(a);
    *y = top(b);
}

// q = x / y and *r = x mod y for x >= y > 0; most quotients are 1 or 2.
u128 divide(u128 x, u128 y, u128* r) {
    u128 d = x - y;
    if (d < y) {
        *r = d;
        return 1;
    }
    d -= y;
    if (d < y) {
        *r = d;
        return 2;
    }
    u128 q = x / y;
    *r = x - q * y;
    return q;
}

// {r, n} = x u - y v; false when that is negative or does not fit n words.
bool lincomb(u64* r, const u64* u, u64 x, const u64* v, u64 y, i64 n) {
    u64 carry_p = 0, carry_q = 0;
    for (i64 i = 0; i < n; ++i) {
        u128 p = static_cast<u128>(x) * u[i] + carry_p;
        u128 q = static_cast<u128>(y) * v[i] + carry_q;
        u64 pl = static_cast<u64>(p), ql = static_cast<u64>(q);
        carry_p = static_cast<u64>(p >> 64);
        carry_q = static_cast<u64>(q >> 64) + (pl < ql);
        r[i] = pl - ql;
    }
    return carry_p == carry_q;
}

}  // namespace

bool vec_gcd_matrix(GcdMatrix* m, const u64* a, const u64* b, i64 n) {
    assert(n >= 1 && a[n - 1] != 0 && vec_cmp(a, b, n) >= 0);
    u128 x, y;
    leading_bits(&x, &y, a, b, n);
    GcdMatrix t{1, 0, 0, 1, true};
    bool any = false;
    while (y != 0) {
        u128 r;
        const u128 q = divide(x, y, &r);
        if (q >> 64) break;
        const u128 c0 = q * t.m00 + t.m01, c1 = q * t.m10 + t.m11;
        const u128 bound = std::max(c0, c1);
        if ((bound >> 64) || r < bound) break;
        t = GcdMatrix{static_cast<u64>(c0), t.m00, static_cast<u64>(c1), t.m10, !t.det_positive};
        x = y;
        y = r;
        any = true;
    }
    *m = t;
    return any;
}

bool vec_gcd_reduce(u64* ra, u64* rb, const u64* a, const u64* b, i64 n, const GcdMatrix& m) {
    assert(n >= 1 && vec_apart(ra, n, rb, n) && vec_apart(ra, n, a, n) && vec_apart(ra, n, b, n) &&
           vec_apart(rb, n, a, n) && vec_apart(rb, n, b, n));
    if (m.det_positive)
        return lincomb(ra, a, m.m11, b, m.m01, n) && lincomb(rb, b, m.m00, a, m.m10, n);
    return lincomb(ra, b, m.m01, a, m.m11, n) && lincomb(rb, a, m.m10, b, m.m00, n);
}
