// Golden rows of the operators in each number type: results, the errors of
// the library as 10203 at the top token, the inexact mark of uint division
// and its accumulation, the power rules for bases 10 and 2.
#include <gtest/gtest.h>

#include "formula/golden.h"
#include "formula/golden_rows_operators.h"
#include "numlib/mp_context.h"

namespace {

using GoldenOperators = GoldenTest;

TEST_F(GoldenOperators, Uint) {
    run(golden_operators::kUintRows);
}
TEST_F(GoldenOperators, Real) {
    run(golden_operators::kRealRows);
}
TEST_F(GoldenOperators, Cplx) {
    run(golden_operators::kCplxRows);
}
TEST_F(GoldenOperators, Rat) {
    run(golden_operators::kRatRows);
}

}  // namespace
