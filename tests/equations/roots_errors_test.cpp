// The root finder's failures: no convergence within the sweep limit, stop
// requests, the precision rule at its limit, refused input and library
// errors.
#include <chrono>
#include <thread>

#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "roots_test_util.h"

namespace {

// Roots far from the start values need many sweeps before they settle:
// x^2 - 10^30 at 5 digits (30 sweeps allowed) and x^3 - 10^3000 at 10
// digits (90 allowed) run out of sweeps.
TEST_F(RootsTest, NonConvergenceEndsAtTheSweepLimit) {
    struct Case {
        i32 degree, digits;
        i64 limit, exponent;
    };
    for (const Case& c : {Case{2, 5, 30, 300}, Case{3, 10, 90, 3000000}}) {
        prepare(c.degree, c.digits);
        std::vector<long> ints(static_cast<std::size_t>(c.degree + 1));
        ints.back() = 1;
        poly_equation e = from_ints(ints);
        real_pow10(e.coef[0], c.exponent);
        real_negate(e.coef[0]);
        EXPECT_EQ(solve(e), -1) << c.degree;
        EXPECT_EQ(appError.load(), APP_ERR_NOT_CONVERGED);
        EXPECT_EQ(result.sweeps, c.limit);
    }
}

TEST_F(RootsTest, StopRequestEndsTheRun) {
    // A pending stop: no iteration at all, no message of its own.
    prepare(4, 10);
    raiseAppError(APP_ERR_STOPPED, nullptr, nullptr);
    EXPECT_EQ(solve(from_ints({1, 2, 3, 4, 5})), -1);
    EXPECT_EQ(appError.load(), APP_ERR_STOPPED);
    EXPECT_EQ(result.sweeps, 0);

    // A tenfold root at 150 digits needs thousands of sweeps (tens of
    // seconds); a stop from another thread, as the page's Stop button stores
    // it, must end the run after the current sweep.
    for (int library : {0, 1}) {
        prepare(10, 150);
        const poly_equation e =
            from_ints({1024, 5120, 11520, 15360, 13440, 8064, 3360, 960, 180, 20, 1});
        std::thread stopper([library] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (library) {
                mp_raise(MP_ERR_STOPPED);
            } else {
                raiseAppError(APP_ERR_STOPPED, nullptr, nullptr);
            }
        });
        EXPECT_EQ(solve(e), -1);
        stopper.join();
        EXPECT_EQ(mp_err(), library ? i32{MP_ERR_STOPPED} : 0);
        EXPECT_EQ(appError.load(), library ? 0u : u32{APP_ERR_STOPPED});
    }
}

TEST_F(RootsTest, PrecisionRule) {
    // 760 digits at degree 10 are the most 527 words carry.
    EXPECT_EQ(root_working_words(760, 10), 527);
    EXPECT_EQ(root_working_words(761, 10), 528);
    EXPECT_EQ(root_working_words(1, 1), 1);
    EXPECT_EQ(root_working_words(19, 0), 1);
    EXPECT_EQ(root_working_words(20, 0), 2);

    prepare(10, 760);
    poly_equation e = from_ints({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    result.iter_digits = 761;
    EXPECT_EQ(solve(e), -1);
    EXPECT_EQ(appError.load(), APP_ERR_INTERNAL);

    for (i32 words_asked : {0, 528}) {
        prepare(2, 10);
        e = from_ints({1, 0, 1});
        result.words = words_asked;
        EXPECT_EQ(solve(e), -1);
        EXPECT_EQ(mp_err(), MP_ERR_WORD_COUNT);
        EXPECT_EQ(mp_real_words, words);
    }
}

// Input the caller got wrong is refused, never read out of bounds.
TEST_F(RootsTest, BadInputIsAnInternalError) {
    prepare(2, 10);
    poly_equation e = from_ints({1, 0, 1});
    const auto fails = [&](const char* why) {
        EXPECT_EQ(solve(e), -1) << why;
        EXPECT_EQ(appError.load(), APP_ERR_INTERNAL) << why;
        clearErrors();
    };
    result.words = words + 1;  // coefficients are of the current size
    fails("word count other than the current one");
    result.words = words;
    e.degree = 0;
    fails("degree 0");
    e.degree = 11;
    fails("degree 11");
    e.degree = 2;
    e.coef[2] = e.coef[1];  // a zero leading coefficient
    fails("zero leading coefficient");
    e.coef[2] = nullptr;
    fails("missing coefficient");
    e = from_ints({1, 0, 1});
    result.iter_digits = 0;
    fails("no digits");
    EXPECT_EQ(solve(from_ints({1, 0, 1})), -1);  // the record is unchanged: still no digits
}

// A library failure inside the iteration must not pass for a result: the
// count is -1 and the library code stays for the page to report.
TEST_F(RootsTest, LibraryErrorsFailTheRun) {
    prepare(3, 10);
    poly_equation e = from_ints({1, 1, 0, 1});
    real_set_exp(e.coef[0], REAL_EXP_MAX / 2);  // its square leaves the exponent range
    EXPECT_EQ(solve(e), -1);
    EXPECT_NE(mp_err(), 0);
}

}  // namespace
