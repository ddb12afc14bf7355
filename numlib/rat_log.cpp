// Integer functions lifted to rationals: powers of a base for an integer
// exponent, and exact integer logarithms.
#include "numlib/rat_impl.h"

namespace {

// dst = {t, n} over 1, or 1 over it when invert (t = 0 then is error 13).
void store_int(u64* dst, const u64* t, bool invert) {
    const i64 n = rat_words();
    ScratchMark mark;
    u64* one = mark.take(static_cast<std::size_t>(n));
    if (!one) return;
    words_set_one(one, n);
    if (!invert) return rat_store(dst, 0, t, one, n);
    if (uint_is_zero(t)) return mp_raise(MP_ERR_DIV_ZERO);
    rat_store(dst, 0, one, t, n);
}

}  // namespace

void rat_from_int_fn(u64* dst, i64 k, RatIntFn fn) {
    rat_isolated(dst, [&] {
        if (k == INT64_MIN) return mp_raise(MP_ERR_OVERFLOW);
        ScratchMark mark;
        u64* t = mark.take(static_cast<std::size_t>(rat_words()));
        if (!t) return;
        fn(t, k < 0 ? -k : k);
        if (!mp_err()) store_int(dst, t, k < 0);
    });
}

void rat_apply_int(u64* dst, const u64* a, RatUintFn fn) {
    rat_isolated(dst, [&] {
        if (!rat_is_int(a)) return mp_raise(MP_ERR_NOT_RATIONAL);
        ScratchMark mark;
        u64* t = mark.take(static_cast<std::size_t>(rat_words()));
        if (!t) return;
        const bool invert = rat_neg(a);
        fn(t, rat_num(a));
        if (!mp_err()) store_int(dst, t, invert);
    });
}

void rat_log_exact(u64* dst, const u64* a, RatLogFn fn) {
    rat_isolated(dst, [&] {
        if (rat_is_zero(a) || rat_sign(a)) return mp_raise(MP_ERR_DOMAIN);
        const bool integer = rat_is_int(a);
        if (!integer && !uint_is_one(rat_num(a))) return mp_raise(MP_ERR_NOT_RATIONAL);
        ScratchMark mark;
        u64* t = mark.take(static_cast<std::size_t>(rat_words()));
        if (!t) return;
        if (!fn(t, integer ? rat_num(a) : rat_den(a))) return mp_raise(MP_ERR_NOT_RATIONAL);
        if (mp_err()) return;
        store_int(dst, t, false);
        dst[0] = integer || rat_is_zero(dst) ? 0 : 1;
    });
}
