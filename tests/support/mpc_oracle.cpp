#include "support/mpc_oracle.h"

#include <algorithm>
#include <cmath>

#include "numlib/cplx.h"
#include "numlib/real.h"

mpfr_prec_t cplx_ref_bits(i64 m) {
    return oracle_bits(19 * m + 40);
}

void to_mpc(mpc_ptr out, const u64* x, i64 m) {
    to_mpfr(mpc_realref(out), x, m);
    to_mpfr(mpc_imagref(out), cplx_im_of(x, static_cast<i32>(m)), m);
    if (mpfr_zero_p(mpc_realref(out))) mpfr_set_zero(mpc_realref(out), 1);
    if (mpfr_zero_p(mpc_imagref(out))) mpfr_set_zero(mpc_imagref(out), 1);
}

std::string cplx_text(const u64* x, i64 m, i64 max_digits) {
    const u64* im = cplx_im_of(x, static_cast<i32>(m));
    return "(" + real_text(x, m, max_digits) + ", " + real_text(im, m, max_digits) + ")";
}

std::vector<u64> random_cplx(TestRng& rng, i64 m, const RandomCplxOptions& opt) {
    std::vector<u64> z(static_cast<std::size_t>(2 * m + 2));
    u64* re = z.data();
    u64* im = cplx_im_of(z.data(), static_cast<i32>(m));
    if (rng.chance(opt.zero_percent)) return z;
    const RandomRealOptions ro{.exp_min = opt.exp_min, .exp_max = opt.exp_max, .zero_percent = 0};
    random_real(rng, re, m, ro);
    random_real(rng, im, m, ro);
    switch (rng.range(0, 6)) {
        case 0:  // real
            std::fill(im, im + m + 1, u64{0});
            break;
        case 1:  // pure imaginary
            std::fill(re, re + m + 1, u64{0});
            break;
        case 2: {  // parts far apart
            u64* small = rng.chance(50) ? re : im;
            const u64* big = small == re ? im : re;
            const int sign = real_sign(small);
            real_set_header(small, real_exp_of(big) - rng.range(1, 19 * m + 30), sign);
            break;
        }
        case 3:  // equal magnitude
            real_set_header(im, real_exp_of(re), real_sign(im));
            break;
        default:
            break;
    }
    return z;
}

namespace {

// |x - v| / 10^unit_exp as a double.
double units_off(const u64* x, i64 m, mpfr_srcptr v, i64 unit_exp) {
    Mpfr xv(mpfr_get_prec(v));
    to_mpfr(xv, x, m);
    mpfr_sub(xv, xv, v, MPFR_RNDN);
    mpfr_abs(xv, xv, MPFR_RNDN);
    Mpfr scale(128);
    mpfr_set_ui(scale, 10, MPFR_RNDN);
    mpfr_pow_si(scale, scale, -unit_exp, MPFR_RNDN);
    mpfr_mul(xv, xv, scale, MPFR_RNDN);
    return mpfr_get_d(xv, MPFR_RNDN);
}

}  // namespace

::testing::AssertionResult check_cplx_result(const u64* x, i64 m, mpc_srcptr v, double max_units) {
    const u64* parts[2] = {x, cplx_im_of(x, static_cast<i32>(m))};
    mpfr_srcptr refs[2] = {mpc_realref(v), mpc_imagref(v)};
    Mpfr modulus(mpfr_get_prec(refs[0]));
    mpc_abs(modulus, v, MPFR_RNDN);
    if (mpfr_zero_p(modulus)) {
        if (real_is_zero(parts[0]) && real_is_zero(parts[1])) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "expected 0, got " << cplx_text(x, m);
    }
    // decimal exponents as the rounding to 19m digits shows them
    const i64 e_abs = correctly_rounded_half_up(modulus, 19 * m).exp;
    for (int p = 0; p < 2; ++p) {
        if (!real_well_formed(parts[p], m)) return ::testing::AssertionFailure() << "malformed";
        const i64 e_part =
            mpfr_zero_p(refs[p])
                ? e_abs - 1
                : std::max(correctly_rounded_half_up(refs[p], 19 * m).exp, e_abs - 1);
        const double units = units_off(parts[p], m, refs[p], e_part - 19 * m + 1);
        if (!(units <= max_units)) {
            return ::testing::AssertionFailure()
                   << (p ? "imaginary" : "real") << " part " << units << " units off; got "
                   << real_text(parts[p], m, 60) << " want "
                   << digits_text(correctly_rounded_half_up(refs[p], 19 * m), 60);
        }
    }
    return ::testing::AssertionSuccess();
}
