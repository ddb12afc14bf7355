// Differential checks of rat routines against GMP's mpq, in every placement
// of the destination (support/alias_run.h). The routines are isolated: with
// an error pending the value must not change and the pending error must stay.
#pragma once

#include <gmp.h>

#include <functional>
#include <string>
#include <vector>

#include "support/alias_run.h"
#include "support/test_random.h"

// RAII mpq_t.
class Mpq {
  public:
    Mpq() { mpq_init(q_); }
    Mpq(const u64* x, i64 n) : Mpq() { set(x, n); }
    ~Mpq() { mpq_clear(q_); }
    Mpq(const Mpq&) = delete;
    Mpq& operator=(const Mpq&) = delete;
    operator mpq_ptr() { return q_; }
    operator mpq_srcptr() const { return q_; }
    int sgn() const { return mpq_sgn(q_); }
    mpz_ptr num() { return mpq_numref(q_); }
    mpz_ptr den() { return mpq_denref(q_); }
    mpz_srcptr num() const { return mpq_numref(q_); }
    mpz_srcptr den() const { return mpq_denref(q_); }

    // From the rat words {x, 2n + 1}, as they are (not canonicalised).
    void set(const u64* x, i64 n);
    // Whether numerator and denominator fit n words each.
    bool fits(i64 n) const;
    // The rat words of the value, which must fit.
    std::vector<u64> words(i64 n) const;
    std::string text() const;

  private:
    mpq_t q_;
};

// A rational of n words per part in lowest terms: parts of random length up
// to n (sometimes full width, of structured words), zero now and then.
std::vector<u64> random_rat(TestRng& rng, i64 n);
// Two rationals whose parts share a large factor now and then (a common
// denominator factor, or a numerator factor against the other's denominator),
// so that the reduction of sums and products matters.
void random_rat_pair(TestRng& rng, i64 n, std::vector<u64>& a, std::vector<u64>& b);

struct RatExpect {
    Mpq value;
    i32 err = 0;
    i64 ret = 0;
};

using RatOperands = AliasOperands;
// Sets the exact value (or an error) from the operands. A value that does not
// fit n words is turned into error 12 by the check.
using RatOracle = std::function<void(RatExpect& want, const std::vector<const Mpq*>& ops)>;

// Checks one routine on rat operands at n = mp_int_words; false after a
// failure.
bool check_rat_op(const std::string& name, const AliasCall& run, const RatOracle& oracle,
                  const RatOperands& ops);
