// Accuracy checks of the elementary functions against MPFR references.
//
// A function called through the guarded protocol with g = 2 must land within
// one unit of the last of its 19m digits, and its result rounded half up to
// 19m - 2 digits should be the correctly rounded value there. The guarded
// call itself rounds to 19m digits first, which moves a value by up to half
// a unit of the 19m-th digit = 0.005 units of the (19m - 2)-th; a correct
// function can therefore round either way within 0.005 units of a tie at
// 19m - 2 digits. The tally keeps two shares: cases at least 10^-3 units from
// a tie, and cases at least 0.006 units from one (the share that must reach
// 99.9%).
#pragma once

#include <gtest/gtest.h>
#include <mpfr.h>

#include <string>

#include "numlib/mp_types.h"
#include "support/test_random.h"

struct RealFnStats {
    i64 cases = 0;
    i64 far_cases = 0;  // at least 0.006 units from a tie at 19m - 2 digits
    i64 far_rounded = 0;
    i64 strict_cases = 0;  // at least 10^-3 units from a tie
    i64 strict_rounded = 0;
    double worst_ulps = 0;

    // Prints the shares and records them as test properties.
    void report(const std::string& name) const;
    // The share of correctly rounded far cases (1 when there were none).
    double far_share() const;
};

// Checks the m-word result x against v * 10^e10: within max_ulps (1 by
// default) units of its last digit, and tallies the rounding to 19m - 2
// digits. A zero reference needs a zero result.
::testing::AssertionResult check_fn_result(RealFnStats& stats, const u64* x, i64 m, mpfr_srcptr v,
                                           i64 e10 = 0, double max_ulps = 1.0);

// Word counts for round i of an accuracy test: rounds 0 .. 6 take 1, 2, 3,
// 27, 53, 263 and 527 (keep those few, the large ones are slow), later rounds
// random counts up to small_max.
i64 fn_test_words(TestRng& rng, i64 round, i64 small_max = 30);

#include <functional>
#include <vector>

// Sets v (precision as chosen, at least oracle_bits(19m + 40)) and *e10 so
// that v * 10^e10 is the exact function value at the m-word argument x.
using RealFnReference = std::function<void(mpfr_ptr v, const u64* x, i64 m, i64* e10)>;

// Precision of references at m words.
long fn_ref_bits(i64 m);

// One case: fn(x) through the guarded protocol with g = 2 at m words must
// raise no error and pass check_fn_result against ref.
::testing::AssertionResult check_unary_case(RealFnStats& stats, i64 m, const std::vector<u64>& x,
                                            void (*fn)(u64*, const u64*),
                                            const RealFnReference& ref);
// The same for a function of two reals.
::testing::AssertionResult check_binary_case(RealFnStats& stats, i64 m, const std::vector<u64>& a,
                                             const std::vector<u64>& b,
                                             void (*fn)(u64*, const u64*, const u64*),
                                             const std::function<void(mpfr_ptr, i64*)>& ref);
// fn(x) at m words through the guarded protocol; the error code into *err
// (then cleared).
std::vector<u64> guarded_unary(i64 m, const std::vector<u64>& x, void (*fn)(u64*, const u64*),
                               i32* err);
