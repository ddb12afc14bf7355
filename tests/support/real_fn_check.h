// The randomized differential harness of the decimal reals: a table of
// operations, each with our routine, a reference computed with MPFR (or
// exactly with GMP), an operand generator and an accuracy rule.
//
// Every case must follow the range rules: a value above the exponent range
// gives error 10 and +0, one below it a zero of the value's sign without
// error, a value outside the domain (a NaN reference) the entry's domain
// error (14; 13 for a division by zero) and +0.
// Otherwise, by the entry's rule:
//   - Faithful, for functions run the way the application calls them (a
//     guarded call): no error, within one unit of the last of the 19m
//     digits, and rounded half up to 19m - 2 digits equal to the correctly
//     rounded value in 99.9% of the cases at least 0.006 units from a tie
//     (the guarded call has rounded once already, which moves a value by up
//     to 0.005 units of the (19m - 2)-th digit);
//   - Rounded: exactly the reference rounded half up to 19m digits (the
//     reference must be exact, or never near a tie);
//   - Spill, for operations that return a spill word: the result and its
//     spill, as one value of m + 1 words, within [lo, hi] units of its last
//     digit from the exact value (on the magnitude: positive is above), and
//     rounded with the spill within tol units of the last of 19m digits; a
//     zero keeps the reference's sign.
// Every run must give back the scratch and the precision. A quarter of the
// small cases also runs the operation with its destination on an operand
// (or a guarded function's body outside the guarded call): the result must
// not change. One case in ten runs again with a stop request pending: it
// must stay, the result unchanged (or, for the operations that a stop
// request may end, well-formed).
#pragma once

#include <gtest/gtest.h>
#include <mpfr.h>

#include <functional>
#include <string>
#include <vector>

#include "numlib/real.h"
#include "support/mpfr_oracle.h"

using Real = std::vector<u64>;

// The operands of one case at m words.
struct RealCase {
    i64 m = 1;
    Real a{}, b{};
    i64 n = 0;             // a machine-integer operand
    std::vector<u64> w{};  // a binary integer operand
};
// What an operation gave: the m-word result, its spill and the error raised.
struct RealOutcome {
    Real x{};
    u64 spill = 0;
    i32 err = 0;
};

enum class RealRule { Faithful, Rounded, Spill };

// Sets the case's operands at c.m words.
using RealSample = std::function<void(TestRng& rng, RealCase& c)>;
// Runs the operation; alias 1 puts the destination on a (a guarded function:
// runs its body apart from the operands), 2 on b.
using RealRun = std::function<RealOutcome(const RealCase& c, int alias)>;
// Sets v (precision at least ref_bits(m)) and *e10 so that v * 10^e10 is the
// exact value.
using RealRef = std::function<void(mpfr_ptr v, const RealCase& c, i64* e10)>;

struct RealOp {
    const char* name = "";
    RealSample sample{};
    RealRun run{};
    RealRef ref{};
    RealRule rule = RealRule::Faithful;
    i32 domain_error = 14;      // for a NaN reference (division by zero: 13)
    bool keeps_pending = true;  // a pending stop request changes nothing
    int aliases = 1;            // the alias forms run (0, 1 or 2)
    double lo = 0, hi = 0;      // Spill: the window of the value with its spill, if any,
    double lo_per_word = 0;     // lo + lo_per_word * m units
    double tol = 0.5;           // Spill: units of the rounded result
    i64 rounds = 150;           // times the iteration multiplier
    i64 small_max = 60;         // the usual word counts; one in fifty up to max_m
    i64 max_m = 528;            // a guarded body's width; 527 for guarded calls
};

// The entry's name, for the test names of a table.
std::string real_op_name(const ::testing::TestParamInfo<RealOp>& param);

// An entry with the other fields at their defaults.
RealOp real_op(const char* name, RealRule rule, RealSample sample, RealRun run, RealRef ref,
               i64 rounds, int aliases = 1, double lo = 0, double hi = 0);
// The entry of the table of that name.
RealOp& real_op_at(std::vector<RealOp>& table, const std::string& name);

// Runs the entry's rounds and reports the first failing case with its
// operands, and for a Faithful entry a share of correct roundings too low.
void check_op(TestRng& rng, const RealOp& op);

// Precision of references at m words.
mpfr_prec_t ref_bits(i64 m);

// ---- operands ---------------------------------------------------------------------

// A random argument at m words.
using RealSampler = std::function<Real(TestRng& rng, i64 m)>;
// Exponents in [exp_min, exp_max], the shapes of random_real.
RealSampler sample_real(i64 exp_min, i64 exp_max, bool negative = true, int zero_percent = 1,
                        int edge_percent = 0);
// center(v) set at high precision, moved by a relative 10^-1 .. 10^-(19m +
// 5) (70% of the time) toward side: +1 away from zero, -1 toward it, 0 either.
RealSampler sample_beside(std::function<void(mpfr_ptr, TestRng&)> center, int side);
// One of the samplers, chosen uniformly.
RealSampler sample_one_of(std::vector<RealSampler> parts);
// The sampler's value with a random sign.
RealSampler sample_signed(RealSampler s);
// Operand generators of a case: a from sa, b from sb (if given).
RealSample operands(RealSampler sa, RealSampler sb = nullptr);
// The m-word real of a decimal text "[-]d[.ddd][e[-]N]" (any exponent),
// rounded half up; "0" and "-0" are zeros.
Real real_of_text(i64 m, const char* text);

// ---- guarded functions and references ----------------------------------------------

// The m + 1 words call writes, with the error it raises (which it leaves
// pending on entry).
RealOutcome outcome_of(i64 m, const std::function<void(u64*)>& call);

// The run of a guarded function of a, of a and b, or of a and c.n.
RealRun guarded(RealUnaryFn fn, i32 g = 2);
RealRun guarded(RealBinaryFn fn);
RealRun guarded(RealIntFn fn);

using MpfrUnaryFn = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using MpfrBinaryFn = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);
// f at the operands taken exactly enough for 19m digits (exponents below
// ~10^5).
RealRef mpfr_reference(MpfrBinaryFn f);

// v * 10^*e10 = num / den * 10^e (den > 0; v widened to hold an integer num
// exactly); a zero value is a zero of the sign zero_sign.
void set_ratio(mpfr_ptr v, i64* e10, mpz_srcptr num, mpz_srcptr den, i64 e, int zero_sign);
void set_exact(mpfr_ptr v, i64* e10, mpz_srcptr n, i64 e, int zero_sign);
// v * 10^*e10 = 10^u, u split into its floor and the fraction; beyond the
// exponent range a value past its end.
void set_pow10(mpfr_ptr v, i64* e10, mpfr_srcptr u);
// The integer value of an integral m-word real.
void integer_of(Mpz& out, const Real& x, i64 m);
// An integer as an m-word real, rounded half up.
Real real_of_mpz(mpz_srcptr v, i64 m);

// ---- single cases ------------------------------------------------------------------

// One pinned case of an entry: its run at m words on the text operands
// ("[-]d[.ddd][e[-]N]"; a third one is the integer c.n) must raise err and
// give want: a decimal text (correctly rounded at 19m digits), one ending
// in "..." (within one unit: a longer prefix of a transcendental value), "0"
// or "-0" (a zero of that sign), or nullptr (+0, for errors).
::testing::AssertionResult op_case(const RealOp& op, i64 m, const std::vector<std::string>& args,
                                   const char* want, i32 err);
