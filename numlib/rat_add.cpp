// Addition and subtraction. Different denominators share g = gcd(da, db):
// with a = na/da and b = nb/db the sum is t / (da/g * db) for
// t = na * (db/g) + nb * (da/g), and only g can divide t and that
// denominator both, so the reduction needs gcd(t, g) alone.
#include "numlib/rat_impl.h"

namespace {

// {r, w + 1} = |x ± y| for {x, w}, {y, w} with signs sx and sy; returns the
// sign of the result.
int combine(u64* r, const u64* x, int sx, const u64* y, int sy, i64 w) {
    if (sx == sy) {
        r[w] = vec_add_n(r, x, y, w);
        return sx;
    }
    r[w] = 0;
    if (vec_cmp(x, y, w) >= 0) {
        vec_sub_n(r, x, y, w);
        return sx;
    }
    vec_sub_n(r, y, x, w);
    return sy;
}

void copy_signed(u64* dst, const u64* src, int sign) {
    rat_copy(dst, src);
    dst[0] = rat_is_zero(dst) ? 0 : static_cast<u64>(sign);
}

void same_den(u64* dst, const u64* a, int sa, const u64* b, int sb) {
    const i64 n = rat_words();
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(2 * n + 2));
    if (!t) return;
    u64* d = t + n + 1;
    const int sign = combine(t, rat_num(a), sa, rat_num(b), sb, n);
    vec_copy_fwd(d, rat_den(a), n);
    d[n] = 0;
    rat_reduce_at(t, d, n + 1);
    if (!mp_err()) rat_store(dst, sign, t, d, n + 1);
}

// {dst, w} = {a, w} / {b, w}, with r the remainder (either may be nullptr).
void wide_divmod(u64* q, u64* r, const u64* a, const u64* b, i64 w) {
    IntWordsScope scope(w);
    uint_divmod(q, r, a, b);
}

void other_den(u64* dst, const u64* a, int sa, const u64* b, int sb) {
    const i64 n = rat_words(), w = 2 * n + 1;
    ScratchMark mark;
    auto take = [&](i64 words) { return mark.take(static_cast<std::size_t>(words)); };
    u64 *g = take(n), *da = take(n), *db = take(n), *rem = take(n), *g2 = take(n);
    u64 *x = take(w), *y = take(w), *t = take(w), *num = take(w), *den = take(w);
    if (!den) return;
    if (!rat_cancel(g, da, db, rat_den(a), rat_den(b))) return;
    x[w - 1] = y[w - 1] = 0;
    uint_mul_full(x, rat_num(a), db);
    uint_mul_full(y, rat_num(b), da);
    const int sign = combine(t, x, sa, y, sb, w - 1);
    vec_zero(num, w);
    vec_zero(den, w);
    if (uint_is_one(g)) {
        vec_copy_fwd(num, t, w);
        uint_mul_full(den, rat_den(a), rat_den(b));
        return rat_store(dst, sign, num, den, w);
    }
    // gcd(t, g) = gcd(g, t mod g); t is never 0 here (a + b = 0 needs da = db).
    vec_copy_fwd(x, g, n);
    vec_zero(x + n, w - n);
    wide_divmod(nullptr, y, t, x, w);
    vec_copy_fwd(rem, y, n);
    if (uint_is_zero(rem)) {
        uint_copy(g2, g);
    } else if (!rat_cancel(g2, nullptr, nullptr, g, rem)) {
        return;
    }
    vec_copy_fwd(x, g2, n);
    wide_divmod(num, nullptr, t, x, w);
    uint_divmod(db, nullptr, rat_den(b), g2);
    uint_mul_full(den, da, db);
    if (!mp_err()) rat_store(dst, sign, num, den, w);
}

void add_sub(u64* dst, const u64* a, const u64* b, bool sub) {
    const int sa = rat_sign(a), sb = rat_sign(b) ^ (sub ? 1 : 0);
    if (rat_is_zero(b)) return copy_signed(dst, a, sa);
    if (rat_is_zero(a)) return copy_signed(dst, b, sb);
    if (vec_cmp(rat_den(a), rat_den(b), rat_words()) == 0) return same_den(dst, a, sa, b, sb);
    other_den(dst, a, sa, b, sb);
}

}  // namespace

void rat_add_sub(u64* dst, const u64* a, const u64* b, bool sub) {
    rat_isolated(dst, [&] { add_sub(dst, a, b, sub); });
}
