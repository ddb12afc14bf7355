// gcd and lcm of integral reals by Euclid's algorithm on exact remainders.
// Each division step may be limited in quotient digits, so that a pair such
// as gcd(10^9000000; 3) ends with an error instead of a long run when the
// caller asks for a limit.
#include "formula/formula_ops_impl.h"
#include "numlib/mp_scratch.h"
#include "numlib/real.h"

namespace fops {
namespace {

bool positive_integer(const u64* x) {
    return !real_is_zero(x) && real_sign(x) == 0 && real_is_integer(x);
}

void real_fail(u64* dst, i32 code) {
    if (code != 0) mp_raise(code);
    real_zero(dst, 0);
}

}  // namespace

void real_gcd_limited(u64* dst, const u64* a, const u64* b, i64 limit) {
    if (!positive_integer(a) || !positive_integer(b)) return real_fail(dst, MP_ERR_DOMAIN);
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* g = mark.take(w);
    u64* r = mark.take(w);
    u64* next = mark.take(w);
    if (!next) return real_fail(dst, 0);
    real_copy(g, b);
    real_divmod(nullptr, r, a, b, limit);
    while (!real_is_zero(r) && mp_err() == 0) {
        real_divmod(nullptr, next, g, r, limit);  // (g, r) = (r, g mod r)
        u64* old_g = g;
        g = r;
        r = next;
        next = old_g;
    }
    if (mp_err() != 0) return real_fail(dst, 0);
    real_copy(dst, g);
    dst[0] &= ~u64{1};
}

void real_lcm_limited(u64* dst, const u64* a, const u64* b, i64 limit) {
    if (!positive_integer(a) || !positive_integer(b)) return real_fail(dst, MP_ERR_DOMAIN);
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* g = mark.take(w);
    u64* q = mark.take(w);
    if (!q) return real_fail(dst, 0);
    real_gcd_limited(g, a, b, limit);
    real_divmod(q, nullptr, a, g, limit);  // exact: g divides a
    if (mp_err() != 0) return real_fail(dst, 0);
    real_mul_rounded(dst, q, b);
}

}  // namespace fops
