// Integer powers of complex values. Squaring doubles the relative error of
// its operand, so a^k by squaring and multiplying loses about log10 |k|
// digits; the work runs with one extra word plus one per 60 bits of |k|, as
// the real power does, and rounds once. A negative power inverts first: the
// powers of 1/a stay above the result in modulus when |a| > 1 and below it
// otherwise, so no intermediate leaves the exponent range unless the result
// does.
#include "numlib/cplx_impl.h"
#include "numlib/real_fn.h"
#include "numlib/vec.h"

namespace {

// acc = base^e (e > 0) from the lowest bit; base is overwritten.
void pow_bits(u64* acc, u64* base, u64 e) {
    bool first = true;
    while (e != 0 && mp_err() == 0) {
        if (e & 1) {
            if (first) {
                vec_copy_fwd(acc, base, cplx_value_words(mp_real_words));
            } else {
                cplx_mul_body(acc, acc, base);
            }
            first = false;
        }
        e >>= 1;
        if (e != 0) cplx_mul_body(base, base, base);
    }
}

// The power of a real value or the power 0: the real power of the real part.
void real_power(u64* dst, const u64* a, i64 k) {
    CplxWork work(2);
    u64* t = work.widen(a);
    if (!t) return work.fail(dst);
    real_pow_int(t, t, k);
    real_zero(cplx_im(t), 0);
    work.finish(dst, t);
}

}  // namespace

void cplx_pow_int(u64* dst, const u64* a, i64 k) {
    if (k == 0 || cplx_is_real(a)) return real_power(dst, a, k);
    const u64 e = k < 0 ? u64{0} - static_cast<u64>(k) : static_cast<u64>(k);
    const i32 bits = 64 - __builtin_clzll(e);
    CplxWork work(2, 1 + bits / 60);
    u64* base = work.widen(a);
    u64* acc = base ? work.take() : nullptr;
    if (!acc) return work.fail(dst);
    if (k < 0) cplx_recip_body(base, base);
    pow_bits(acc, base, e);
    work.finish(dst, acc);
}
