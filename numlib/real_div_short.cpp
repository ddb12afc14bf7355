// Long division of short decimal mantissas, one base-10^19 quotient word per
// step, with the remainder and the divisor held in binary: a binary word
// product costs one multiplication where a base-10^19 one needs three more to
// split it.
//
// The divisor D is shifted to fill its top binary word (the dividend with
// it, which leaves the quotient as it is). Each quotient word is estimated
// from the top three binary words of R B and the top two of D (Knuth's
// algorithm D, with the estimate's word in base 10^19); the estimate is off
// by one in either direction only when R B / D lies within about 2^-64 of an
// integer, and the sign or size of the new remainder corrects it.
#include <cassert>

#include "numlib/dec.h"
#include "numlib/real_div_impl.h"
#include "numlib/vec.h"

namespace {

// {x, n} and {y, n} = the binary values of the decimal words {a, n} and
// {b, n} (least significant first), side by side so that the two carry
// chains overlap; words above a value's length are 0.
void dec_to_bin2(u64* x, u64* y, const u64* a, const u64* b, i64 n) {
    for (i64 j = 0; j < n; ++j) x[j] = y[j] = 0;
    x[0] = a[n - 1];
    y[0] = b[n - 1];
    i64 l = 1;
    for (i64 i = n - 2; i >= 0; --i) {
        u64 cx = a[i], cy = b[i];
        for (i64 j = 0; j < l; ++j) {
            const u128 px = static_cast<u128>(x[j]) * DEC_BASE;
            const u128 py = static_cast<u128>(y[j]) * DEC_BASE;
            u64 lx = static_cast<u64>(px), ly = static_cast<u64>(py);
            const u64 hx = static_cast<u64>(px >> 64) + __builtin_add_overflow(lx, cx, &lx);
            const u64 hy = static_cast<u64>(py >> 64) + __builtin_add_overflow(ly, cy, &ly);
            x[j] = lx;
            y[j] = ly;
            cx = hx;
            cy = hy;
        }
        // x B + a[i] < B^(n - i): the carries fit the next word.
        x[l] = cx;
        y[l] = cy;
        l += (cx | cy) != 0;
    }
}

// The top three words {x2, x1, x0} of {r, l + 1} * mult for mult 1 or B,
// where for mult = B the top word r[l] is 0; for mult = B the lowest of them
// may be one short (the carry from the words below is not formed).
struct Top3 {
    u64 x2, x1, x0;
};
Top3 top_words(const u64* r, i64 l, u64 mult) {
    if (mult == 1) return {r[l], r[l - 1], l >= 2 ? r[l - 2] : 0};
    const u128 p1 = static_cast<u128>(r[l - 1]) * mult;
    const u128 p2 = l >= 2 ? static_cast<u128>(r[l - 2]) * mult : 0;
    const u64 p3_hi = l >= 3 ? static_cast<u64>((static_cast<u128>(r[l - 3]) * mult) >> 64) : 0;
    const u128 x0 = static_cast<u128>(static_cast<u64>(p2)) + p3_hi;
    const u128 x1 = static_cast<u128>(static_cast<u64>(p1)) + static_cast<u64>(p2 >> 64) +
                    static_cast<u64>(x0 >> 64);
    return {static_cast<u64>(p1 >> 64) + static_cast<u64>(x1 >> 64), static_cast<u64>(x1),
            static_cast<u64>(x0)};
}

// Division of three words by the two words d1 d2 (d1 >= W / 2) with a
// reciprocal computed once (Möller and Granlund's division by an invariant
// two-word divisor): a few products in place of a hardware division per step.
class Divisor2 {
  public:
    Divisor2(u64 d1, u64 d2) : d1_(d1), d2_(d2) {
        u64 unused;
        u64 v = udiv_128(~d1, ~u64{0}, d1, &unused);  // floor((W^2 - 1) / d1) - W
        // From the one-word reciprocal to the two-word one.
        u64 p = d1 * v + d2;
        if (p < d2) {
            --v;
            if (p >= d1) {
                --v;
                p -= d1;
            }
            p -= d1;
        }
        const u128 t = static_cast<u128>(v) * d2;
        const u64 t1 = static_cast<u64>(t >> 64), t0 = static_cast<u64>(t);
        p += t1;
        if (p < t1) {
            --v;
            if (p > d1 || (p == d1 && t0 >= d2)) --v;
        }
        v_ = v;
    }

    // floor((x2 W^2 + x1 W + x0) / (d1 W + d2)) for x2 W + x1 < d1 W + d2.
    u64 quotient(u64 x2, u64 x1, u64 x0) const {
        const u128 qq = static_cast<u128>(v_) * x2 + ((static_cast<u128>(x2) << 64) | x1);
        u64 q1 = static_cast<u64>(qq >> 64);
        const u64 q0 = static_cast<u64>(qq);
        const u128 d = (static_cast<u128>(d1_) << 64) | d2_;
        u128 r = (static_cast<u128>(x1 - q1 * d1_) << 64) | x0;
        r -= d;
        r -= static_cast<u128>(d2_) * q1;
        ++q1;
        if (static_cast<u64>(r >> 64) >= q0) {
            --q1;
            r += d;
        }
        if (r >= d) [[unlikely]]
            ++q1;
        return q1;
    }

  private:
    u64 d1_, d2_, v_;
};

// The quotient word's estimate: exact for the top words, capped at B - 1;
// one off either way only when X / D lies within about 2^-64 of an integer.
u64 estimate(const Top3& x, const Divisor2& d) {
    const u64 q = d.quotient(x.x2, x.x1, x.x0);
    return q < DEC_BASE ? q : DEC_BASE - 1;
}

// {r, l + 1} = {r, l + 1} mult - q {d, l}, where {neg, l} = W^l - {d, l}
// (W = 2^64) turns the subtraction into the faster addition of products;
// the top word's sign (as i64) is the remainder's. For mult = B the top word
// r[l] is 0.
void step(u64* r, const u64* neg, i64 l, u64 mult, u64 q) {
    if (mult != 1) r[l] = vec_mul_word(r, r, l, mult);
    r[l] += vec_addmul_word(r, neg, l, q) - q;
}

// {r, l + 1} >= {d, l}; the top words decide almost always.
inline bool at_least(const u64* r, const u64* d, i64 l) {
    if (r[l] != 0) return true;
    for (i64 i = l - 1; i >= 0; --i)
        if (r[i] != d[i]) return r[i] > d[i];
    return true;
}

// Brings {r, l + 1} into [0, D) by whole divisors; returns the quotient's
// change.
i64 correct(u64* r, const u64* d, i64 l) {
    i64 change = 0;
    while (static_cast<i64>(r[l]) < 0) {
        r[l] += vec_add_n(r, r, d, l);
        --change;
    }
    while (at_least(r, d, l)) {
        r[l] -= vec_sub_n(r, r, d, l);
        ++change;
    }
    return change;
}

}  // namespace

i64 real_div_short_scratch(i64 m, i64 /*n*/) {
    return (m + 2) + 2 * m;
}

void real_div_short(u64* q, const u64* a, const u64* d, i64 m, i64 n, u64* scratch) {
    assert(m >= 1 && n >= 1 && a[m - 1] >= DEC_BASE / 10 && d[m - 1] >= DEC_BASE / 10);
    u64* r = scratch;
    u64* dv = r + (m + 2);  // then W^l - D
    dec_to_bin2(r, dv, a, d, m);
    r[m] = r[m + 1] = 0;
    const i64 l = vec_len(dv, m);
    // A < 10 D: A fits l + 1 words, also after the shift.
    const unsigned s = static_cast<unsigned>(__builtin_clzll(dv[l - 1]));
    if (s > 0) {
        vec_lshift(dv, dv, l, s);
        vec_lshift(r, r, l + 1, s);
    }
    const Divisor2 top(dv[l - 1], l >= 2 ? dv[l - 2] : 0);
    u64* neg = dv + l;
    vec_zero(neg, l);
    vec_sub_n(neg, neg, dv, l);
    // The first word, floor(A / D) < 10, from A itself; then B R per word.
    u64 mult = 1;
    for (i64 j = n; j >= 0; --j) {
        const u64 qj = estimate(top_words(r, l, mult), top);
        step(r, neg, l, mult, qj);
        q[j] = static_cast<u64>(static_cast<i64>(qj) + correct(r, dv, l));
        mult = DEC_BASE;
    }
}
