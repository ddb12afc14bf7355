// Hyperbolic functions and their inverses against MPFR, around their series
// thresholds, beside 1 and beyond the precision, with hard cases.
#include <mpfr.h>

#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

using RealHyperbolicTest = NumlibTest;

void one(mpfr_ptr v, TestRng&) {
    mpfr_set_ui(v, 1, MPFR_RNDN);
}

// Up to and beyond the precision, where y + sqrt(y^2 +- 1) becomes 2y: the
// switch must come late enough that the neglected 1 / (4 y^2) stays below the
// last digit.
std::vector<u64> beyond_precision(TestRng& rng, i64 m) {
    return sample_real(5 * (m + 1), 19 * (m + 1) + 300, false)(rng, m);
}

TEST_F(RealHyperbolicTest, DirectFunctionsMatchMpfr) {
    // tiny to large (tanh saturated), the series thresholds 0.1 and 0.6 often
    const RealSampler x = sample_one_of(
        {sample_real(-40, 3), sample_real(-1, -1), sample_real(-1, 0), sample_real(2, 4)});
    check_fn(rng, {"real_sinh", real_sinh, mpfr_reference(mpfr_sinh), x, 100});
    check_fn(rng, {"real_cosh", real_cosh, mpfr_reference(mpfr_cosh), x, 100});
    check_fn(rng, {"real_tanh", real_tanh, mpfr_reference(mpfr_tanh), x, 100});
}

TEST_F(RealHyperbolicTest, InverseFunctionsMatchMpfr) {
    // asinh: tiny, moderate, and beyond the precision (19m digits and more)
    check_fn(rng, {"real_asinh", real_asinh, mpfr_reference(mpfr_asinh),
                   sample_one_of({sample_real(-60, -1), sample_real(-5, 40),
                                  sample_signed(beyond_precision)}),
                   100});
    // acosh: 1 + d for d tiny to large, huge x, and below 1 outside the domain
    check_fn(rng, {"real_acosh", real_acosh, mpfr_reference(mpfr_acosh, true),
                   sample_one_of({sample_beside(one, 1), sample_real(0, 40, false),
                                  beyond_precision, sample_real(-3, 0)}),
                   100});
    // atanh: tiny, moderate, 1 - d beside 1, and 1 or beyond outside the domain
    check_fn(rng, {"real_atanh", real_atanh, mpfr_reference(mpfr_atanh, true),
                   sample_one_of({sample_real(-60, -2), sample_real(-1, -1),
                                  sample_signed(sample_beside(one, -1)), sample_real(0, 1)}),
                   100});
}

}  // namespace
