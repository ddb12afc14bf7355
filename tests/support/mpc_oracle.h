// MPC as the oracle of the complex-number tests.
//
// Accuracy rule of complex results: each part must lie within one unit of
// the last of its 19m digits of the exact part, where a part much smaller
// than the modulus of the result is judged on the modulus' scale instead of
// its own: cancellation in a part (the real part of (1 + i)(1 - 1.000001i),
// say) is inherent to the operation, so only an error relative to |result|
// can be asked for. Concretely the unit is 10^(max(e_part, e_abs - 1) - 19m +
// 1), e_part and e_abs the decimal exponents of the exact part and of the
// exact modulus (the larger part always has e_part >= e_abs - 1).
#pragma once

#include <gtest/gtest.h>
#include <mpc.h>

#include <string>
#include <vector>

#include "support/mpfr_oracle.h"

// RAII mpc_t.
class Mpc {
  public:
    explicit Mpc(mpfr_prec_t bits) { mpc_init2(z_, bits); }
    ~Mpc() { mpc_clear(z_); }
    Mpc(const Mpc&) = delete;
    Mpc& operator=(const Mpc&) = delete;
    operator mpc_ptr() { return z_; }
    operator mpc_srcptr() const { return z_; }
    mpfr_ptr re() { return mpc_realref(z_); }
    mpfr_ptr im() { return mpc_imagref(z_); }

  private:
    mpc_t z_;
};

// Precision of references for m-word parts.
mpfr_prec_t cplx_ref_bits(i64 m);

// The complex value x (2m + 2 words) into out, each part rounded to nearest;
// zero parts become +0 (the library's zeros carry no sign that matters).
void to_mpc(mpc_ptr out, const u64* x, i64 m);
// "(re, im)" with at most max_digits digits per part.
std::string cplx_text(const u64* x, i64 m, i64 max_digits = 60);

// Random operands. Shapes: both parts random, real, pure imaginary, parts
// of very different magnitude (up to 19m + 30 digits apart), parts of equal
// magnitude, and (rarely) zero. Exponents of the larger part stay within
// exp_min .. exp_max.
struct RandomCplxOptions {
    i64 exp_min = -30;
    i64 exp_max = 30;
    int zero_percent = 2;
};
std::vector<u64> random_cplx(TestRng& rng, i64 m, const RandomCplxOptions& opt = {});

// Both parts of x within max_units of v in the units of the rule above. A
// zero v needs a zero x.
::testing::AssertionResult check_cplx_result(const u64* x, i64 m, mpc_srcptr v,
                                             double max_units = 1.0);
