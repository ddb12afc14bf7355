// Multiplication, division, inversion. Cancelling the cross gcds first,
// gcd(na, db) and gcd(nb, da), leaves the products in lowest terms and keeps
// every gcd at the operands' own length.
#include <numeric>

#include "numlib/rat_impl.h"

namespace {

// dst = ± (na / da) * (nb / db) for non-zero na and nb.
void mul_parts(u64* dst, int sign, const u64* na, const u64* da, const u64* nb, const u64* db) {
    const i64 n = rat_words();
    ScratchMark mark;
    u64* x = mark.take(static_cast<std::size_t>(8 * n));
    if (!x) return;
    u64 *y = x + n, *u = y + n, *v = u + n, *num = v + n, *den = num + 2 * n;
    if (!rat_cancel(nullptr, x, v, na, db) || !rat_cancel(nullptr, y, u, nb, da)) return;
    uint_mul_full(num, x, y);
    uint_mul_full(den, u, v);
    rat_store(dst, sign, num, den, 2 * n);
}

void mul_div(u64* dst, const u64* a, const u64* b, bool div) {
    const int sign = rat_sign(a) ^ rat_sign(b);
    if (div && rat_is_zero(b)) return rat_fail(dst, rat_is_zero(a) ? 0 : MP_ERR_DIV_ZERO);
    if (rat_is_zero(a) || rat_is_zero(b)) return rat_zero(dst);
    if (div) return mul_parts(dst, sign, rat_num(a), rat_den(a), rat_den(b), rat_num(b));
    mul_parts(dst, sign, rat_num(a), rat_den(a), rat_num(b), rat_den(b));
}

// x mod v for an n-word x and v != 0.
u64 mod_word(const u64* x, u64 v) {
    ScratchMark mark;
    u64* q = mark.take(static_cast<std::size_t>(rat_words()));
    u64 r = 0;
    if (q) uint_divmod_u64(q, &r, x, v);
    return r;
}

// dst = ± (num / den) * v for a non-zero v; num and den may be dst's parts.
void mul_word(u64* dst, int sign, const u64* num, const u64* den, u64 v) {
    const i64 n = rat_words();
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(2 * n));
    if (!t) return;
    u64* d = t + n;
    const u64 g = std::gcd(v, mod_word(den, v));
    u64 unused;
    uint_divmod_u64(d, &unused, den, g);
    uint_mul_u64(t, num, v / g);
    if (!mp_err()) rat_store(dst, sign, t, d, n);
}

}  // namespace

void rat_mul_div(u64* dst, const u64* a, const u64* b, bool div) {
    rat_isolated(dst, [&] { mul_div(dst, a, b, div); });
}

void rat_mul_u64(u64* dst, const u64* a, u64 v) {
    rat_isolated(dst, [&] {
        if (v == 0 || rat_is_zero(a)) return rat_zero(dst);
        mul_word(dst, rat_sign(a), rat_num(a), rat_den(a), v);
    });
}

void rat_div_u64(u64* dst, const u64* a, u64 v) {
    rat_isolated(dst, [&] {
        if (rat_is_zero(a)) return rat_zero(dst);
        if (v == 0) return rat_fail(dst, MP_ERR_DIV_ZERO);
        // a / v = (den / num) * v inverted.
        mul_word(dst, rat_sign(a), rat_den(a), rat_num(a), v);
        if (mp_err()) return;
        const i64 n = rat_words();
        ScratchMark mark;
        u64* t = mark.take(static_cast<std::size_t>(n));
        if (!t) return;
        uint_copy(t, rat_num(dst));
        uint_copy(rat_num(dst), rat_den(dst));
        uint_copy(rat_den(dst), t);
    });
}

void rat_inv(u64* dst, const u64* a) {
    rat_isolated(dst, [&] {
        if (rat_is_zero(a)) return rat_fail(dst, MP_ERR_DIV_ZERO);
        const i64 n = rat_words();
        ScratchMark mark;
        u64* t = mark.take(static_cast<std::size_t>(2 * n));
        if (!t) return;
        vec_copy_fwd(t, rat_den(a), n);
        vec_copy_fwd(t + n, rat_num(a), n);
        rat_store(dst, rat_sign(a), t, t + n, n);
    });
}
