// Golden rows of the functions in each number type: exact results, the
// inexact mark of integer roots and logarithms, library errors (10203 at the
// token on top), the errors that name the function (10207, 10209, the pole
// of tan), the angle classes of sin, cos and tan in the three units, and the
// operand limits. Transcendental values are checked against MPFR in
// ops_mpfr_test.cpp, not typed in here.
#include <gtest/gtest.h>

#include "formula/golden.h"
#include "formula/golden_rows_functions.h"
#include "numlib/mp_context.h"

namespace {

using GoldenFunctions = GoldenTest;

TEST_F(GoldenFunctions, Uint) {
    run(golden_functions::kUintRows);
}
TEST_F(GoldenFunctions, Real) {
    run(golden_functions::kRealRows);
}
TEST_F(GoldenFunctions, Angles) {
    run(golden_functions::kAngleRows);
}
TEST_F(GoldenFunctions, Cplx) {
    run(golden_functions::kCplxRows);
}
TEST_F(GoldenFunctions, Rat) {
    run(golden_functions::kRatRows);
}

}  // namespace
