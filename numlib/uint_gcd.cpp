// Greatest common divisor by Lehmer's algorithm, and the least common
// multiple through it.
#include <utility>

#include "numlib/uint_impl.h"

namespace {

u64 gcd_word(u64 a, u64 b) {
    if (a == 0) return b;
    if (b == 0) return a;
    const int shift = __builtin_ctzll(a | b);
    a >>= __builtin_ctzll(a);
    while (b != 0) {
        b >>= __builtin_ctzll(b);
        if (a > b) std::swap(a, b);
        b -= a;
    }
    return a << shift;
}

// The working pair of the Euclid loop: u >= v > 0 in buffers of n words.
// The words of both below lu are valid (v's above lv are zero); every step
// writes its results over the old lu words and lu never grows.
struct GcdPair {
    u64* u;
    u64* v;
    u64* spare_u;
    u64* spare_v;
    i64 lu, lv;

    void order() {
        if (lu < lv || (lu == lv && vec_cmp(u, v, lu) < 0)) {
            std::swap(u, v);
            std::swap(lu, lv);
        }
    }
    // One Lehmer matrix applied; false when no matrix step qualifies.
    bool lehmer_step() {
        GcdMatrix m;
        if (!vec_gcd_matrix(&m, u, v, lu) || !vec_gcd_reduce(spare_u, spare_v, u, v, lu, m))
            return false;
        std::swap(u, spare_u);
        std::swap(v, spare_v);
        lu = vec_len(u, lu);
        lv = vec_len(v, lv);
        order();
        return true;
    }
    // (u, v) = (v, u mod v) by long division; false when scratch runs out.
    bool division_step() {
        ScratchMark mark;
        u64* work = mark.take(static_cast<std::size_t>(vec_divrem_scratch(lu, lv)));
        if (!work) return false;
        vec_divrem(nullptr, spare_u, u, lu, v, lv, work);
        std::swap(u, v);
        std::swap(v, spare_u);
        lu = lv;
        lv = vec_len(v, lv);
        return true;
    }
};

// {g, n} = gcd of the non-zero {a, n} and {b, n}. False when stopped by an
// error (a stop request, exhausted scratch).
bool gcd_words(u64* g, const u64* a, const u64* b, i64 n) {
    ScratchMark mark;
    u64* buf = mark.take(static_cast<std::size_t>(4 * n));
    if (!buf) return false;
    GcdPair p{buf, buf + n, buf + 2 * n, buf + 3 * n, vec_len(a, n), vec_len(b, n)};
    vec_copy_fwd(p.u, a, n);
    vec_copy_fwd(p.v, b, n);
    p.order();
    while (p.lv >= 2) {
        if (mp_err()) return false;
        if (!p.lehmer_step() && !p.division_step()) return false;
    }
    if (p.lv == 1) {
        u64 rem;
        vec_divmod_word(p.spare_u, &rem, p.u, p.lu, p.v[0]);
        uint_set_u64(g, gcd_word(p.v[0], rem));
    } else {
        uint_store(g, p.u, p.lu);
    }
    return true;
}

}  // namespace

void uint_gcd(u64* dst, const u64* a, const u64* b) {
    if (mp_err()) return uint_zero(dst);
    if (uint_is_zero(a) || uint_is_zero(b)) return uint_fail(dst, MP_ERR_DOMAIN);
    if (!gcd_words(dst, a, b, uint_words())) uint_fail(dst, MP_ERR_INTERNAL);
}

void uint_lcm(u64* dst, const u64* a, const u64* b) {
    if (mp_err()) return uint_zero(dst);
    if (uint_is_zero(a) || uint_is_zero(b)) return uint_fail(dst, MP_ERR_DOMAIN);
    const i64 n = uint_words();
    ScratchMark mark;
    u64* g = mark.take(static_cast<std::size_t>(n));
    u64* q = mark.take(static_cast<std::size_t>(n));
    if (!g || !q || !gcd_words(g, a, b, n)) return uint_fail(dst, MP_ERR_INTERNAL);
    uint_divmod(q, nullptr, a, g);
    uint_mul(dst, q, b);
}
