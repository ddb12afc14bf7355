// Integer and real powers and roots against MPFR, with the sign and domain
// rules of negative bases and zero.
#include <mpfr.h>

#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

using RealPowTest = NumlibTest;

// |x|^y = 10^(y log10 |x|) for x = mant 10^e != 0, as v 10^e10 with 1 <= v < 10.
void pow_abs(mpfr_ptr v, const u64* x, mpfr_srcptr y, i64 m, i64* e10) {
    const mpfr_prec_t bits = fn_ref_bits(m) + 140;
    Mpfr a(bits), u(bits), k(bits), ten(bits);
    const i64 e = to_mpfr_scaled(a, x, m);
    mpfr_abs(a, a, MPFR_RNDN);
    mpfr_log10(a, a, MPFR_RNDN);
    mpfr_add_si(a, a, e, MPFR_RNDN);
    mpfr_mul(u, a, y, MPFR_RNDN);
    mpfr_floor(k, u);
    mpfr_sub(u, u, k, MPFR_RNDN);
    *e10 = mpfr_get_si(k, MPFR_RNDN);
    mpfr_set_ui(ten, 10, MPFR_RNDN);
    mpfr_pow(v, ten, u, MPFR_RNDN);
}

bool odd_integer(mpfr_srcptr y) {
    Mpfr half(mpfr_get_prec(y));
    mpfr_div_2ui(half, y, 1, MPFR_RNDN);
    return mpfr_integer_p(y) && !mpfr_integer_p(half);
}

// x^y with 0^0 = 1; NaN outside the domain (0 to a negative power, a
// negative base to a non-integral one).
void power(mpfr_ptr v, const u64* x, mpfr_srcptr y, i64 m, i64* e10) {
    *e10 = 0;
    if (mpfr_zero_p(y)) return static_cast<void>(mpfr_set_ui(v, 1, MPFR_RNDN));
    if (real_is_zero(x)) return mpfr_sgn(y) > 0 ? mpfr_set_zero(v, 1) : mpfr_set_nan(v);
    if (real_sign(x) && !mpfr_integer_p(y)) return mpfr_set_nan(v);
    pow_abs(v, x, y, m, e10);
    if (real_sign(x) && odd_integer(y)) mpfr_neg(v, v, MPFR_RNDN);
}

// The n-th root of x; negative x only for odd integers n.
void root(mpfr_ptr v, const u64* x, mpfr_srcptr n, i64 m, i64* e10) {
    *e10 = 0;
    if (mpfr_zero_p(n) || (real_sign(x) && !real_is_zero(x) && !odd_integer(n)))
        return mpfr_set_nan(v);
    if (real_is_zero(x)) return mpfr_sgn(n) > 0 ? mpfr_set_zero(v, 1) : mpfr_set_nan(v);
    Mpfr y(fn_ref_bits(m) + 140);
    mpfr_ui_div(y, 1, n, MPFR_RNDN);
    pow_abs(v, x, y, m, e10);
    if (real_sign(x)) mpfr_neg(v, v, MPFR_RNDN);
}

void root_int(u64* dst, const u64* x, i64 n) {
    real_root_int(dst, n, x);
}

TEST_F(RealPowTest, IntegerPowersMatchMpfr) {
    const RealIntReference ref = [](mpfr_ptr v, const u64* x, i64 n, i64 m, i64* e10) {
        Mpfr y(64);
        mpfr_set_si(y, n, MPFR_RNDN);
        power(v, x, y, m, e10);
    };
    // bases of any size, exponents small or (with bases near 1) huge; the
    // results reach beyond the range both ways
    auto n_sample = [](TestRng& r) {
        return r.chance(80) ? r.range(-300, 300) : r.range(-2000000000, 2000000000);
    };
    check_fn(rng,
             {"real_pow_int", real_pow_int, ref, sample_real(-30, 30, true, 2), n_sample, 250});
    check_fn(
        rng,
        {"real_pow_int near 1", real_pow_int, ref,
         sample_beside([](mpfr_ptr v, TestRng&) { mpfr_set_ui(v, 1, MPFR_RNDN); }, 0),
         [](TestRng& r) { return static_cast<i64>(r.word() >> 2) * (r.chance(50) ? 1 : -1); }, 60});
}

TEST_F(RealPowTest, RootsMatchMpfr) {
    const RealIntReference ref = [](mpfr_ptr v, const u64* x, i64 n, i64 m, i64* e10) {
        Mpfr nn(64);
        mpfr_set_si(nn, n, MPFR_RNDN);
        root(v, x, nn, m, e10);
    };
    auto n_sample = [](TestRng& r) {
        return r.chance(90) ? r.range(-40, 40) : r.range(-1000000, 1000000);
    };
    check_fn(rng,
             {"real_root_int", root_int, ref, sample_real(-60, 60, true, 2), n_sample, 250, 20});
}

TEST_F(RealPowTest, RealPowersMatchMpfr) {
    const RealFnReference2 ref = [](mpfr_ptr v, const u64* x, const u64* y, i64 m, i64* e10) {
        Mpfr yy(fn_ref_bits(m) + 140);
        to_mpfr(yy, y, m);
        power(v, x, yy, m, e10);
    };
    // mostly positive bases, some of huge exponents (the exponential's
    // argument y ln x then carries many integer digits)
    const RealSampler base = sample_one_of(
        {sample_real(-20, 20, false, 1), sample_real(-20, 20, false, 1),
         sample_real(-1000000000000000, 1000000000000000, false, 0), sample_real(-3, 3, true, 1)});
    const RealSampler exponent = sample_one_of({sample_real(-5, 2), sample_real(0, 2)});
    check_fn(rng, {"real_pow", real_pow, ref, base, exponent, 200, 15});
}

TEST_F(RealPowTest, RealRootsMatchMpfr) {
    const RealFnReference2 ref = [](mpfr_ptr v, const u64* n, const u64* x, i64 m, i64* e10) {
        Mpfr nn(fn_ref_bits(m) + 140);
        to_mpfr(nn, n, m);
        root(v, x, nn, m, e10);
    };
    check_fn(rng, {"real_root", real_root, ref, sample_real(-2, 1, true, 2),
                   sample_real(-20, 20, false, 1), 100, 15});
}

}  // namespace
