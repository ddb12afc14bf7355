// Comparisons of magnitudes and with machine integers.
#include "numlib/rat_impl.h"

int rat_cmp_abs(const u64* a, const u64* b) {
    const i64 n = rat_words();
    if (vec_cmp(rat_den(a), rat_den(b), n) == 0) return vec_cmp(rat_num(a), rat_num(b), n);
    ScratchMark mark;
    u64* x = mark.take(static_cast<std::size_t>(4 * n));
    if (!x) return 0;
    u64* y = x + 2 * n;
    uint_mul_full(x, rat_num(a), rat_den(b));
    uint_mul_full(y, rat_num(b), rat_den(a));
    return vec_cmp(x, y, 2 * n);
}

int rat_cmp_i64(const u64* a, i64 v) {
    const int neg = rat_neg(a);
    if (neg != (v < 0 ? 1 : 0)) return neg ? -1 : 1;
    const u64 mag = v < 0 ? 0 - static_cast<u64>(v) : static_cast<u64>(v);
    const i64 n = rat_words();
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(n));
    if (!t) return 0;
    // A carry out of |v| * den puts it above any numerator.
    const int c = vec_mul_word(t, rat_den(a), n, mag) ? -1 : vec_cmp(rat_num(a), t, n);
    return neg ? -c : c;
}
