// MPFR as the oracle of the real-number tests.
//
// A real of m mantissa words has 19m significant decimal digits; its value is
// exactly N * 10^E with N the integer of those digits (signed) and E = e + 1 -
// 19m (e the header's exponent). Binary floating point cannot hold most such
// values exactly, so the oracle works in two ways:
//   - exact: real_exact() gives N and E; comparisons against a reference are
//     done in integer arithmetic on decimal digits (ulps_from, real_near,
//     real_is_rounded);
//   - rounded: to_mpfr() gives the value at an MPFR precision of the test's
//     choice, to compute a reference with (use oracle_bits(19 m) or more).
//
// Decimal exponents of reals reach 2^62, far beyond what MPFR can scale by.
// Every routine that takes an MPFR value therefore takes an optional decimal
// offset e10 as well: the value meant is v * 10^e10. A test of a huge or tiny
// real computes its reference on the mantissa (to_mpfr_scaled) and passes the
// exponent separately.
//
// Rounding a reference to 19m digits half up is exact for the MPFR value
// itself (the digits come from mpfr_get_str toward zero, one digit more); it
// is the true value's rounding unless the reference lies within its own error
// of a tie, which near_tie() detects so that a test can skip such a case.
#pragma once

#include <gtest/gtest.h>
#include <mpfr.h>

#include <string>
#include <vector>

#include "support/gmp_oracle.h"
#include "support/test_random.h"

// RAII mpfr_t.
class Mpfr {
  public:
    explicit Mpfr(mpfr_prec_t bits) { mpfr_init2(f_, bits); }
    ~Mpfr() { mpfr_clear(f_); }
    Mpfr(const Mpfr&) = delete;
    Mpfr& operator=(const Mpfr&) = delete;
    mpfr_ptr get() { return f_; }
    mpfr_srcptr get() const { return f_; }
    operator mpfr_ptr() { return f_; }
    operator mpfr_srcptr() const { return f_; }
    mpfr_prec_t bits() const { return mpfr_get_prec(f_); }

  private:
    mpfr_t f_;
};

// Bits for a reference of digits decimal digits plus guard_bits more.
mpfr_prec_t oracle_bits(i64 digits, i64 guard_bits = 64);

// ---- reals as exact and rounded values ---------------------------------------

// x = n * 10^*e exactly (n signed, 0 for a zero real, then *e = 0).
void real_exact(Mpz& n, i64* e, const u64* x, i64 m);
// x rounded to nearest at out's precision. The value must lie within MPFR's
// exponent range; the work grows with |exponent|, so keep it below ~10^5
// (use to_mpfr_scaled for others).
void to_mpfr(mpfr_ptr out, const u64* x, i64 m);
// x = out * 10^(returned exponent), out rounded to nearest with 1 <= |out| <
// 10 (or 0, then the exponent is 0). Works for every exponent.
i64 to_mpfr_scaled(mpfr_ptr out, const u64* x, i64 m);

// ---- decimal digits of references --------------------------------------------

// A decimal value sign * d1.d2d3... * 10^exp (digits "0" and exp 0 for zero).
struct DecimalDigits {
    int sign = 0;  // 1 = negative
    std::string digits;
    i64 exp = 0;
};

// v * 10^e10 rounded half up on the magnitude to digits significant digits.
DecimalDigits correctly_rounded_half_up(mpfr_srcptr v, i64 digits, i64 e10 = 0);
// True when v lies within tol units of the last of digits digits of a
// rounding tie (half a unit), so that the reference's own error could decide
// the rounding. Zero is never near a tie.
bool near_tie(mpfr_srcptr v, i64 digits, double tol = 1e-3, i64 e10 = 0);
// (x - v * 10^e10) in units of the last of x's 19m digits, from the digits of
// v at 19m + 20 places in exact integer arithmetic. +-infinity when exactly
// one of them is zero or their magnitudes differ by more than 10^30; 0 when
// both are zero.
double ulps_from(const u64* x, i64 m, mpfr_srcptr v, i64 e10 = 0);

// dst (m + 1 words) = v * 10^e10 rounded half up to 19m digits; MPFR's -0
// gives a zero with the sign bit set. The exponent must lie in the real range.
void from_mpfr(u64* dst, i64 m, mpfr_srcptr v, i64 e10 = 0);
// The m-word real of a decimal value rounded half up to 19m digits.
void real_from_digits(u64* dst, i64 m, const DecimalDigits& d);

// ---- text for failure messages -----------------------------------------------

// "-d.ddd...e+E", all 19m digits; with max_digits > 0 longer mantissas show
// their first and last digits around "...".
std::string real_text(const u64* x, i64 m, i64 max_digits = 0);
std::string digits_text(const DecimalDigits& d, i64 max_digits = 0);

// ---- assertions --------------------------------------------------------------

// |x - v * 10^e10| <= max_ulps units of x's last digit.
::testing::AssertionResult real_near(const u64* x, i64 m, mpfr_srcptr v, double max_ulps,
                                     i64 e10 = 0);
// x equals v * 10^e10 rounded half up to 19m digits (sign and exponent too).
::testing::AssertionResult real_is_rounded(const u64* x, i64 m, mpfr_srcptr v, i64 e10 = 0);
// x is a well-formed real: words below 10^19, word 1 normalised or zero, a
// zero with exponent 0, the exponent within the range.
::testing::AssertionResult real_well_formed(const u64* x, i64 m);

// ---- random operands -------------------------------------------------------

struct RandomRealOptions {
    i64 exp_min = -40;  // range of the decimal exponent e
    i64 exp_max = 40;
    bool negative = true;  // random signs (else only positive)
    int zero_percent = 2;  // chance of a zero (sign random if negative)
    int edge_percent = 0;  // chance of an exponent at the real range's ends
};

// A random m-word real. The mantissa takes one of several shapes: random
// words, runs of 10^19 - 1 (nines), runs of zero words, only the first few
// words set, a single leading digit, or a value just below a power of ten.
void random_real(TestRng& rng, u64* dst, i64 m, const RandomRealOptions& opt = {});
std::vector<u64> random_real(TestRng& rng, i64 m, const RandomRealOptions& opt = {});
