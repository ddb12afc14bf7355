// Accuracy bookkeeping of the trigonometric tests. A function runs the way
// the application calls it (a guarded call with g = 2 at m words) and its
// result is checked against an MPFR reference:
//   - never more than one unit away in the last of its 19m digits;
//   - rounded half up to 19m - 2 digits, equal to the reference rounded the
//     same way. The guarded result is itself rounded at 19m digits, so a
//     value within half a unit there (0.005 units at 19m - 2 digits) of a
//     tie is rounded twice: such cases, and those within 10^-3 units of a
//     tie, cannot decide and are not counted.
// The shares are printed and recorded as test properties.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "numlib/real.h"
#include "support/mpfr_oracle.h"

// Word counts of the accuracy loops: rounds 0..6 give 1, 2, 3, 27, 53, 263
// and 527; later ones are mostly small, with big ones rare.
i64 trig_test_words(TestRng& rng, i64 round);

// MPFR bits for a reference of 19m digits that survives a cancellation of
// cancel_digits digits.
mpfr_prec_t trig_ref_bits(i64 m, i64 cancel_digits);

// fn(x) through the guarded protocol with g = 2 at m words; *err gets the
// error code raised (the pending error is cleared).
std::vector<u64> trig_guarded(RealUnaryFn fn, const std::vector<u64>& x, i64 m, i32* err);
std::vector<u64> trig_guarded(RealBinaryFn fn, const std::vector<u64>& a, const std::vector<u64>& b,
                              i64 m, i32* err);

// The value rounded to m words (for building arguments from MPFR values).
std::vector<u64> trig_from_mpfr(mpfr_srcptr v, i64 m);

class TrigAccuracy {
  public:
    explicit TrigAccuracy(std::string name) : name_(std::move(name)) {}
    // Checks result (m words) against ref * 10^e10; inputs is shown on failure.
    ::testing::AssertionResult check(const u64* result, i64 m, mpfr_srcptr ref,
                                     const std::string& inputs, i64 e10 = 0);
    // Prints and records the shares; fails below 99.9 % correctly rounded.
    void finish();

  private:
    std::string name_;
    i64 cases_ = 0, decided_ = 0, rounded_ = 0;
    double worst_ = 0;
};
