// e^r - 1 for moderate r: the argument is halved s times, the Taylor series
// of the small argument is summed by rectangular splitting (few full products,
// the rest products and divisions by small integers), and the halvings are
// undone by a -> a (a + 2), which keeps the relative accuracy of small
// results.
//
// The series and the squarings run in fixed point on decimal vectors (value
// {f, L} / B^(L - 1), least significant word first): every quantity there is
// below 3 in magnitude, and skipping the normalisation of the real layer
// makes the many cheap steps cheap. Only the argument and the product r S,
// which carry the relative accuracy of tiny arguments, stay reals.
#include <algorithm>
#include <cmath>

#include "numlib/dec.h"
#include "numlib/real_dec_impl.h"
#include "numlib/real_fn_impl.h"
#include "numlib/vec.h"

namespace {

constexpr i32 kMaxBlock = 64;

// Terms of sum r^k / (k + 1)!, k >= 0, that reach digits digits when
// log10 |r| = lr.
i32 series_terms(double lr, i32 digits) {
    double size = 0.0;  // log10 of r^k / (k + 1)!
    i32 k = 0;
    while (size > -(digits + 2.0) && k < 100000) {
        ++k;
        size += lr - std::log10(static_cast<double>(k + 1));
    }
    return k;
}

// Halvings for an argument of log10 |r| = lr at digits digits: enough to make
// the series short, balanced against the square each halving costs (measured
// on x86-64: down to |r| near 10^-(sqrt(digits) / 5), a fifth to a third
// faster at 1,000 to 10,000 digits than 10^-(sqrt(digits) / 11)).
i32 halvings(double lr, i32 digits) {
    const double t = std::max(1.0, std::ceil(std::sqrt(static_cast<double>(digits)) / 5.0));
    const double s = std::ceil((lr + t) * 3.3219280948873623);
    return static_cast<i32>(std::clamp(s, 0.0, 60.0));
}

// Fixed-point work of one expm1: L words per value.
class Fixed {
  public:
    explicit Fixed(i64 words) : L(words) {}

    // {f, L} = |x| for a real x below 10^18 in magnitude (at the current words).
    void load(u64* f, const u64* x) const {
        vec_zero(f, L);
        if (real_is_zero(x)) return;
        const i64 shift = 18 - real_exp_of(x);
        const i64 whole = shift / 19;
        const int digits = static_cast<int>(shift % 19);
        for (i64 i = 1; i <= mp_real_words; ++i) {
            const i64 at = L - i - whole;
            if (at < 0) break;
            f[at] = x[i];
        }
        if (digits == 0) return;
        const u64 unit = REAL_POW10[digits];
        const u64 up = REAL_POW10[19 - digits];
        u64 carry = 0;
        for (i64 k = L - 1; k >= 0; --k) {
            const u64 w = f[k];
            f[k] = w / unit + carry * up;
            carry = w % unit;
        }
    }

    // dst = sign * {f, L}, rounded to the current words.
    void store(u64* dst, const u64* f, int sign) const {
        real_round_guard(dst, real_from_dec(dst, f, L, 18, sign), mp_real_words);
    }

    // {dst, L} = {a, L} {b, L}; dst may equal a or b.
    bool mul(u64* dst, const u64* a, const u64* b) const {
        ScratchMark mark;
        const bool full = L >= (a == b ? DEC_SQR_PART_FULL_MIN : DEC_MUL_PART_FULL_MIN);
        u64* t = mark.take(static_cast<std::size_t>(2 * L + (full ? dec_mul_scratch(L, L) : 0)));
        if (!t) return false;
        if (full) {
            dec_mul(t, a, L, b, L, t + 2 * L);
            vec_copy_fwd(dst, t + L - 1, L);
        } else {
            dec_mul_high(t, a, L, b, L, L - 1);
            vec_copy_fwd(dst, t, L);
        }
        return true;
    }

    // {f, L} = 2 + {f, L} (plus) or 2 - {f, L}, for {f, L} below 2.
    void two_plus(u64* t, const u64* f, bool plus) const {
        vec_zero(t, L);
        t[L - 1] = 2;
        if (plus) {
            dec_add_n(t, t, f, L);
        } else {
            dec_sub_n(t, t, f, L);
        }
    }

    const i64 L;
};

// sum over k < n of r^k / (k + 1)! into {s, L}, from the magnitudes pw[i] =
// |r|^i (pw[0] = 1, i <= j); neg: r < 0. Blocks of j terms are nested from
// the last one down: a block starting at term k0 is U_0 with U_j = r^j S_next
// and U_i = r^i + U_(i+1) / (k0 + i + 1). Within a block U is kept as V / D
// with D < B, so that most steps multiply by small integers instead of
// dividing; the signs alternate for r < 0 and the magnitudes then subtract.
bool sum_blocks(const Fixed& fx, u64* s, u64* const* pw, i32 j, i32 n, bool neg, u64* v, u64* t) {
    const i64 L = fx.L;
    const i32 blocks = (n + j - 1) / j;
    vec_zero(s, L);
    for (i32 b = blocks - 1; b >= 0 && mp_err() == 0; --b) {
        const u64 k0 = 1 + static_cast<u64>(b) * static_cast<u64>(j);
        vec_zero(v, L + 1);
        if (b != blocks - 1 && !fx.mul(v, pw[j], s)) return false;
        u64 den = 1;
        for (i32 i = j - 1; i >= 0; --i) {
            const u64 d = k0 + static_cast<u64>(i) + 1;
            if (static_cast<u128>(den) * d >= DEC_BASE) {
                dec_divmod_word(v, v, L + 1, den);
                den = 1;
            }
            den *= d;
            t[L] = dec_mul_word(t, pw[i], L, den);
            if (neg) {
                dec_sub_n(v, t, v, L + 1);
            } else {
                dec_add_n(v, v, t, L + 1);
            }
        }
        dec_divmod_word(v, v, L + 1, den);
        vec_copy_fwd(s, v, L);
    }
    return true;
}

// {a, L} -> a (a + 2) = a^2 + 2a s times on the magnitude of a (neg: a < 0,
// where the step is |a| (2 - |a|) = 2|a| - |a|^2): a square and two sums.
bool undo_halvings(const Fixed& fx, u64* a, i32 s, bool neg, u64* t) {
    const i64 L = fx.L;
    for (i32 i = 0; i < s && mp_err() == 0; ++i) {
        if (!fx.mul(t, a, a)) return false;
        if (neg) {
            dec_add_n(a, a, a, L);
            dec_sub_n(a, a, t, L);
        } else {
            dec_add_n(t, t, a, L);
            dec_add_n(a, t, a, L);
        }
    }
    return true;
}

}  // namespace

void real_expm1_core(u64* dst, const u64* r) {
    if (real_is_zero(r)) return real_zero(dst, 0);
    const i32 digits = real_work_digits();
    const double lr = real_approx_log10(r);
    const i32 s = halvings(lr, digits);
    const i32 n = series_terms(lr - 0.30102999566398120 * s, digits);
    const i32 j =
        std::clamp(static_cast<i32>(std::ceil(std::sqrt(static_cast<double>(n)))), 1, kMaxBlock);
    const bool neg = real_sign(r) != 0;
    const Fixed fx(mp_real_words + 2);
    const std::size_t words = static_cast<std::size_t>(fx.L) + 1;
    ScratchMark mark;
    u64* pw[kMaxBlock + 1];
    for (i32 i = 0; i <= j; ++i) {
        if (!(pw[i] = mark.take(words))) return real_fail(dst, 0);
    }
    u64* sum = mark.take(words);
    u64* v = mark.take(words);
    u64* t = mark.take(words);
    u64* rr = real_take(mark);
    if (!rr) return real_fail(dst, 0);
    if (s > 0) {
        real_div_u64_r(rr, r, u64{1} << s);
    } else {
        real_copy(rr, r);
    }
    vec_zero(pw[0], fx.L);
    pw[0][fx.L - 1] = 1;
    fx.load(pw[1], rr);
    bool ok = true;
    for (i32 i = 2; i <= j && ok; ++i) ok = fx.mul(pw[i], pw[i - 1], pw[1]);
    ok = ok && sum_blocks(fx, sum, pw, j, n, neg, v, t);
    if (!ok || mp_err() != 0) return real_fail(dst, 0);
    fx.store(v, sum, 0);    // S as a real
    real_mul_r(rr, rr, v);  // r S keeps the relative accuracy
    if (s > 0) {
        fx.load(sum, rr);
        if (!undo_halvings(fx, sum, s, neg, t)) return real_fail(dst, 0);
        fx.store(rr, sum, neg ? 1 : 0);
    }
    if (mp_err() != 0) return real_fail(dst, 0);
    real_copy(dst, rr);
}
