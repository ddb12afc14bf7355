// Randomized differential checks of the real elementary functions against
// MPFR, one harness per operation shape: a function of one real, of two
// reals, and of a real and a machine integer.
//
// A function runs the way the application calls it: a guarded call with
// g = 2 (the factorial: 19) at m words. Each case must
//   - raise no error and land within one unit of the last of its 19m digits
//     when the exact value lies in the exponent range; above the range it
//     must raise error 10 and give +0, below it give a zero with the value's
//     sign and no error;
//   - rounded half up to 19m - 2 digits, equal the correctly rounded value.
//     The guarded call has already rounded to 19m digits, which moves a value
//     by up to 0.005 units of the (19m - 2)-th digit, so a correct function
//     may round either way that close to a tie. The tally keeps the share of
//     cases at least 0.006 units from a tie (it must reach 99.9%) and of
//     those at least 10^-3 units away.
// Every fourth small case also runs the body outside the guarded call with
// the destination apart from (and, for two reals, equal to the second of)
// the operands: the rounded result must not change.
#pragma once

#include <gtest/gtest.h>
#include <mpfr.h>

#include <functional>
#include <string>
#include <vector>

#include "numlib/real.h"
#include "support/mpfr_oracle.h"

// ---- accuracy tally -------------------------------------------------------------

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

// Checks the m-word result x against v * 10^e10: within max_ulps units of its
// last digit, and tallies the rounding to 19m - 2 digits. A zero reference
// needs a zero result.
::testing::AssertionResult check_fn_result(RealFnStats& stats, const u64* x, i64 m, mpfr_srcptr v,
                                           i64 e10 = 0, double max_ulps = 1.0);

// ---- word counts, arguments, references -------------------------------------------

// Word counts for round i: rounds 0 .. 8 take 1, 2, 3, 27, 38, 39, 53, 263 and 527
// (the large ones are slow: few of them), later rounds mostly small counts up
// to small_max, one in fifty a large one up to 527.
i64 fn_test_words(TestRng& rng, i64 round, i64 small_max = 60);
// Precision of references at m words.
long fn_ref_bits(i64 m);

// A random argument at m words.
using RealSampler = std::function<std::vector<u64>(TestRng& rng, i64 m)>;
// Exponents in [exp_min, exp_max], the shapes of random_real.
RealSampler sample_real(i64 exp_min, i64 exp_max, bool negative = true, int zero_percent = 1,
                        int edge_percent = 0);
// center(v) set at high precision (v's precision is set by the caller), moved
// by a relative 10^-1 .. 10^-(19m + 5) (70% of the time) toward side: +1 away
// from zero, -1 toward it, 0 either.
RealSampler sample_beside(std::function<void(mpfr_ptr, TestRng&)> center, int side);
// One of the samplers, chosen uniformly.
RealSampler sample_one_of(std::vector<RealSampler> parts);
// The sampler's value with a random sign.
RealSampler sample_signed(RealSampler s);
// The m-word real of a decimal text "[-]d[.ddd][e[-]N]" (any exponent),
// rounded half up; "0" and "-0" are zeros.
std::vector<u64> real_of_text(i64 m, const char* text);

// Sets v (precision at least fn_ref_bits(m)) and *e10 so that v * 10^e10 is
// the exact function value at the m-word argument x.
using RealFnReference = std::function<void(mpfr_ptr v, const u64* x, i64 m, i64* e10)>;
using RealFnReference2 =
    std::function<void(mpfr_ptr v, const u64* a, const u64* b, i64 m, i64* e10)>;
using MpfrUnaryFn = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using MpfrBinaryFn = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);
// f at the argument taken exactly enough for 19m digits; with cancels the
// argument keeps twice the digits (functions whose condition number reaches
// 10^(19m), beside 1 or beside multiples of pi/4). Exponents below ~10^5.
RealFnReference mpfr_reference(MpfrUnaryFn f, bool cancels = false);
RealFnReference2 mpfr_reference(MpfrBinaryFn f);

// ---- the three shapes ---------------------------------------------------------------

struct UnaryFnEntry {
    const char* name;
    RealUnaryFn fn;
    RealFnReference ref;
    RealSampler sample;
    i64 rounds = 150;
    i64 small_max = 60;
    i32 g = 2;  // the guarded call's g
};
struct BinaryFnEntry {
    const char* name;
    RealBinaryFn fn;
    RealFnReference2 ref;
    RealSampler sample_a, sample_b;
    i64 rounds = 150;
    i64 small_max = 60;
};
using RealIntFn = void (*)(u64* dst, const u64* x, i64 n);
using RealIntReference = std::function<void(mpfr_ptr v, const u64* x, i64 n, i64 m, i64* e10)>;
struct IntFnEntry {
    const char* name;
    RealIntFn fn;
    RealIntReference ref;
    RealSampler sample;
    std::function<i64(TestRng&)> sample_n;
    i64 rounds = 150;
    i64 small_max = 60;
};

// The rounds of an entry (times the iteration multiplier); records failures
// with the inputs, prints the shares and expects 99.9% correctly rounded.
void check_fn(TestRng& rng, const UnaryFnEntry& entry);
void check_fn(TestRng& rng, const BinaryFnEntry& entry);
void check_fn(TestRng& rng, const IntFnEntry& entry);

// ---- single cases ------------------------------------------------------------------

// fn at m words through the guarded call with g; the error raised into *err
// (then cleared).
std::vector<u64> guarded_unary(i64 m, const std::vector<u64>& x, RealUnaryFn fn, i32* err,
                               i32 g = 2);
std::vector<u64> guarded_binary(i64 m, const std::vector<u64>& a, const std::vector<u64>& b,
                                RealBinaryFn fn, i32* err);

// One case of a table: fn of the text argument(s) at m words must raise err
// and give want: a decimal text (correctly rounded at 19m digits), one
// ending in "..." (within one unit: a longer prefix of a transcendental
// value), "0" or "-0" (a zero of that sign), or nullptr (+0, for errors).
::testing::AssertionResult fn_case(RealUnaryFn fn, i64 m, const char* x, const char* want, i32 err,
                                   i32 g = 2);
::testing::AssertionResult fn_case(RealBinaryFn fn, i64 m, const char* a, const char* b,
                                   const char* want, i32 err);

// One case of an entry's reference (kept for the checks of single arguments).
::testing::AssertionResult check_unary_case(RealFnStats& stats, i64 m, const std::vector<u64>& x,
                                            RealUnaryFn fn, const RealFnReference& ref);
