// Integer quotient and remainder of two rationals: over the common
// denominator da db, q = (na db) / (nb da) and the remainder numerator
// (na db) mod (nb da) stays over da db.
#include "numlib/rat_impl.h"

namespace {

// Quotient and remainder parts into scratch, each part w words:
// {q, w} / 1 and {r, w} / {d, w}, d reduced against r.
bool divide(const u64* a, const u64* b, u64* q, u64* r, u64* d, i64 w) {
    const i64 n = rat_words();
    if (rat_is_int(a) && rat_is_int(b)) {
        uint_divmod(q, r, rat_num(a), rat_num(b));
        words_set_one(d, n);
        return mp_err() == 0;
    }
    ScratchMark mark;
    u64* x = mark.take(static_cast<std::size_t>(2 * w));
    if (!x) return false;
    u64* y = x + w;
    uint_mul_full(x, rat_num(a), rat_den(b));
    uint_mul_full(y, rat_num(b), rat_den(a));
    uint_mul_full(d, rat_den(a), rat_den(b));
    {
        IntWordsScope scope(w);
        uint_divmod(q, r, x, y);
    }
    rat_reduce_at(r, d, w);
    return mp_err() == 0;
}

void divmod(u64* q, u64* r, const u64* a, const u64* b) {
    if (rat_is_zero(b)) return mp_raise(MP_ERR_DIV_ZERO);
    const i64 n = rat_words(), w = 2 * n;
    ScratchMark mark;
    u64* qs = mark.take(static_cast<std::size_t>(4 * w));
    if (!qs) return;
    u64 *rs = qs + w, *d = rs + w, *one = d + w;
    vec_zero(qs, 4 * w);
    if (!divide(a, b, qs, rs, d, w)) return;
    words_set_one(one, w);
    const int sign = rat_sign(a) ^ rat_sign(b);
    // Both parts must fit before either is written: q or r may be a or b.
    if (vec_len(qs, w) > n || vec_len(rs, w) > n || vec_len(d, w) > n)
        return mp_raise(MP_ERR_OVERFLOW);
    if (q) rat_store(q, sign, qs, one, w);
    if (r) rat_store(r, sign, rs, d, w);
}

}  // namespace

void rat_divmod(u64* q, u64* r, const u64* a, const u64* b) {
    MpIsolate isolate;
    divmod(q, r, a, b);
    if (isolate.inner()) {
        if (q) rat_zero(q);
        if (r) rat_zero(r);
    }
}
