// Differential checks of uint routines against GMP, in every placement of
// the destination (support/alias_run.h).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "support/alias_run.h"
#include "support/gmp_oracle.h"
#include "support/test_random.h"

// What a routine must produce: its n-word value, the error code it raises
// (0 = none) and its scalar result (a flag or a one-word remainder, else 0).
struct UintExpect {
    explicit UintExpect(i64 words) : n(words) {}
    i64 n;
    Mpz value;
    i32 err = 0;
    u64 ret = 0;

    // The failure of a routine: the code, a zero value and a zero result.
    void fail(i32 code);
    // Fails with error 12 unless the value fits n words.
    void fail_unless_fits();
};

using UintOperands = AliasOperands;
// Fills the expectation from the operands' values.
using UintOracle = std::function<void(UintExpect& want, const std::vector<const Mpz*>& ops)>;

// Checks one routine on n-word operands, n = mp_int_words (there may be
// none). With an error pending, or failing without scratch, the value may be
// 0. False after a failure, so loops can stop there.
bool check_uint_op(const std::string& name, const AliasCall& run, const UintOracle& oracle,
                   const UintOperands& ops);

// A significant length for an n-word operand: sometimes 0 or n, mostly
// TestRng::word_count (1, 2, 65, 520, 1039, 2000 and neighbours).
i64 random_len(TestRng& rng, i64 n);
// An n-word operand of significant length len (TestRng::fill).
std::vector<u64> random_operand(TestRng& rng, i64 n, i64 len);
inline std::vector<u64> random_operand(TestRng& rng, i64 n) {
    return random_operand(rng, n, random_len(rng, n));
}
// An operand close to a: equal, or one word moved up or down by one, which
// puts comparisons, borrows and quotients at their boundaries.
std::vector<u64> near_operand(TestRng& rng, const std::vector<u64>& a);
