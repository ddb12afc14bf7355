// Powers and roots. Numerator and denominator are coprime, so their powers
// and exact roots are too: each part is raised or rooted on its own.
#include "numlib/rat_impl.h"

namespace {

// dst = ± (num / den)^e, inverted when invert (a zero base then is error
// 13). e == nullptr means 1. num and den may be operands' parts.
void pow_parts(u64* dst, int sign, const u64* num, const u64* den, const u64* e, bool invert) {
    const i64 n = rat_words();
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(2 * n));
    if (!t) return;
    u64* d = t + n;
    if (e) {
        uint_pow_uint(t, num, e);
        uint_pow_uint(d, den, e);
    } else {
        uint_copy(t, num);
        uint_copy(d, den);
    }
    if (mp_err()) return;
    if (!invert) return rat_store(dst, sign, t, d, n);
    if (uint_is_zero(t)) return mp_raise(MP_ERR_DIV_ZERO);
    rat_store(dst, sign, d, t, n);
}

// rn and rd = the exact k-th roots of num and den; error 18 when inexact.
bool exact_roots(u64* rn, u64* rd, const u64* k, const u64* num, const u64* den) {
    if (!uint_root_uint(rn, k, num) || !uint_root_uint(rd, k, den)) {
        mp_raise(MP_ERR_NOT_RATIONAL);
        return false;
    }
    return mp_err() == 0;
}

bool odd(const u64* x) {
    return (x[0] & 1) != 0;
}

void pow_rat(u64* dst, const u64* a, const u64* b) {
    const u64* p = rat_num(b);
    const bool invert = rat_neg(b);
    if (rat_is_int(b))
        return pow_parts(dst, rat_neg(a) && odd(p), rat_num(a), rat_den(a), p, invert);
    if (rat_neg(a)) return mp_raise(MP_ERR_DOMAIN);
    const i64 n = rat_words();
    ScratchMark mark;
    u64* rn = mark.take(static_cast<std::size_t>(2 * n));
    if (!rn || !exact_roots(rn, rn + n, rat_den(b), rat_num(a), rat_den(a))) return;
    pow_parts(dst, 0, rn, rn + n, p, invert);
}

void root_rat(u64* dst, const u64* b, const u64* a) {
    if (rat_is_zero(b)) return mp_raise(MP_ERR_DOMAIN);
    const u64* p = rat_num(b);
    const int neg = rat_neg(a);
    const bool integer = rat_is_int(b);
    if (neg && (!integer || !odd(p))) return mp_raise(MP_ERR_DOMAIN);
    const i64 n = rat_words();
    ScratchMark mark;
    u64* rn = mark.take(static_cast<std::size_t>(2 * n));
    if (!rn || !exact_roots(rn, rn + n, p, rat_num(a), rat_den(a))) return;
    pow_parts(dst, neg, rn, rn + n, integer ? nullptr : rat_den(b), rat_neg(b));
}

}  // namespace

void rat_pow_int(u64* dst, const u64* a, i64 k) {
    rat_isolated(dst, [&] {
        const i64 n = rat_words();
        ScratchMark mark;
        u64* e = mark.take(static_cast<std::size_t>(n));
        if (!e) return;
        uint_set_u64(e, k < 0 ? 0 - static_cast<u64>(k) : static_cast<u64>(k));
        pow_parts(dst, rat_neg(a) && odd(e), rat_num(a), rat_den(a), e, k < 0);
    });
}

void rat_pow(u64* dst, const u64* a, const u64* b) {
    rat_isolated(dst, [&] { pow_rat(dst, a, b); });
}

void rat_root(u64* dst, const u64* b, const u64* a) {
    rat_isolated(dst, [&] { root_rat(dst, b, a); });
}
