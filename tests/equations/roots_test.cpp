// The root finder: random polynomials of every degree with integer or
// Gaussian-integer coefficients and a table of hard ones against Arb's
// certified roots; polynomials built from known roots (multiple, zero and
// inexact ones, where Arb cannot isolate) with their order and
// multiplicities; real and imaginary roots of complex polynomials; and the
// failures: no convergence within the sweep limit, stop requests, the
// precision rule at its limit, refused input and library errors.
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "roots_test_util.h"
#include "support/golden_runner.h"

namespace {

class ArbRootsTest : public RootsTest {
  protected:
    // Solves coefs at `digits` digits against Arb's roots (with real_only
    // only the real ones). False when Arb cannot isolate them.
    bool check(const MpcList& coefs, i32 digits, bool real_only) {
        prepare(static_cast<i32>(coefs.size()) - 1, digits, real_only);
        MpcList refs;
        if (!arb_reference_roots(coefs, digits, ref_bits(), refs)) return false;
        std::erase_if(refs, [&](const auto& r) { return real_only && !mpfr_zero_p(r->im()); });
        solve(equation(coefs));
        expect_roots(result, words, refs, std::vector<i64>(refs.size(), 1), digits, false);
        return true;
    }
};

TEST_F(ArbRootsTest, RandomPolynomialsOfEveryDegree) {
    for (i64 run = 0; run < test_iterations(2); ++run) {
        for (i32 n = 1; n <= ROOT_MAX_DEGREE; ++n) {
            for (bool real_only : {false, true}) {
                const bool gaussian = rng.chance(30);
                const i32 digits =
                    static_cast<i32>(rng.chance(75) ? rng.range(5, 40) : rng.range(41, 200));
                SCOPED_TRACE("degree " + std::to_string(n) + ", digits " + std::to_string(digits) +
                             (real_only ? ", real only" : "") +
                             (gaussian ? ", Gaussian integers" : ""));
                for (bool isolated = false; !isolated;) {
                    MpcList c;
                    for (i32 k = 0; k <= n; ++k)
                        push_mpc(c, ref_bits(), rng.range(-100, 100),
                                 gaussian ? rng.range(-100, 100) : 0);
                    if (mpc_cmp_si(*c.back(), 0) == 0) mpc_set_ui(*c.back(), 1, MPC_RNDNN);
                    isolated = check(c, digits, real_only);
                }
            }
        }
    }
}

TEST_F(ArbRootsTest, HardPolynomialsOverManyDigits) {
    const auto check_row = [&](const GoldenLine& row) {
        const std::vector<std::string> c = row.words(1);
        const i32 n = static_cast<i32>(c.size()) - 1;
        const i64 most = i64{19} * MP_REAL_WORDS_MAX * root_precision_factor(n) / 1000;
        for (i32 digits : {5, 12, 40, 150, 700, 2000}) {
            // 2000 digits only where the degree leaves room; above 150 digits
            // a degree beyond 6 takes tens of seconds.
            if (digits < std::atoi(row.text(0).c_str()) || digits > most || (digits > 150 && n > 6))
                continue;
            SCOPED_TRACE(row.where() + " digits " + std::to_string(digits));
            MpcList coefs;
            for (const std::string& v : c) {
                push_mpc(coefs, oracle_bits(digits + 100), 0, 0);
                if (mpc_set_str(*coefs.back(), v.c_str(), 10, MPC_RNDNN) != 0)
                    return "not a number: " + v;
            }
            for (bool real_only : {false, true}) EXPECT_TRUE(check(coefs, digits, real_only));
        }
        return std::string();
    };
    golden_run("equations.txt", check_row, "hard roots");
}

bool long_run() {
    return test_iterations(1) > 1;
}

// Over a ladder of digit counts and as many as the working precision allows
// at the degree, up to 300 (2000 in long runs).
TEST_F(RootsTest, PolynomialsFromKnownRoots) {
    const auto check_row = [&](const GoldenLine& row) {
        const std::vector<std::string> w = row.words(1);
        i32 n = 0;
        for (const std::string& r : w) n += std::atoi(r.c_str() + r.find('^') + 1);
        const i64 most = i64{19} * MP_REAL_WORDS_MAX * root_precision_factor(n) / 1000;
        for (i32 digits :
             {5, 12, 40, 150, static_cast<i32>(std::min<i64>(long_run() ? 2000 : 300, most))}) {
            if (digits > 40 && row.text(0) == "slow" && !long_run()) continue;
            SCOPED_TRACE(row.where() + " digits " + std::to_string(digits));
            prepare(n, digits);
            MpcList roots, distinct;
            std::vector<i64> mult;
            for (std::string r : w) {
                const std::size_t hat = r.find('^');
                r[r.find(',')] = ' ';
                push_mpc(distinct, ref_bits(), 0, 0);
                mpc_set_str(*distinct.back(), ("(" + r.substr(0, hat) + ")").c_str(), 10,
                            MPC_RNDNN);
                mult.push_back(std::atoi(r.c_str() + hat + 1));
                for (i64 k = 0; k < mult.back(); ++k) {
                    push_mpc(roots, ref_bits(), 0, 0);
                    mpc_set(*roots.back(), *distinct.back(), MPC_RNDNN);
                }
            }
            solve(from_roots(roots));
            EXPECT_EQ(appError.load(), 0u);
            expect_roots(result, words, distinct, mult, digits, true);
        }
        return std::string();
    };
    golden_run("equations.txt", check_row, "known roots");
}

// Complex coefficients put rounding noise into both parts of every iterate;
// a real root must still come out with imaginary part exactly 0 and a
// purely imaginary one with real part exactly 0, also where p(z) rounds to
// exactly 0 and the iterate stops moving with its noise.
TEST_F(RootsTest, RealAndImaginaryRootsOfComplexPolynomials) {
    for (i64 run = 0; run < test_iterations(150); ++run) {
        const i32 n = static_cast<i32>(rng.range(2, 6));
        const i32 digits = static_cast<i32>(rng.range(5, 60));
        std::vector<std::pair<long, long>> parts = {{rng.range(-5, 5) | 1, 0}};
        if (rng.chance(50)) parts.emplace_back(0, rng.range(1, 4) * 2 + 1);
        while (static_cast<i32>(parts.size()) < n) {
            const std::pair<long, long> r{rng.range(-5, 5),
                                          rng.range(1, 5) * (rng.chance(50) ? 1 : -1)};
            if (std::find(parts.begin(), parts.end(), r) == parts.end()) parts.push_back(r);
        }
        SCOPED_TRACE("degree " + std::to_string(n) + ", digits " + std::to_string(digits));
        prepare(n, digits);
        MpcList roots;
        for (const auto& [re, im] : parts) push_mpc(roots, ref_bits(), re, im);
        solve(from_roots(roots));
        expect_roots(result, words, roots, std::vector<i64>(roots.size(), 1), digits, false);
    }
}

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
    // Ten roots of size 10^300000 at 150 digits take thousands of sweeps to
    // reach (seconds); a stop from another thread, as the page's Stop button
    // stores it, must end the run after the current sweep.
    for (int library : {0, 1}) {
        prepare(10, 150);
        poly_equation e = from_ints({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
        real_pow10(e.coef[0], 3000000);
        real_negate(e.coef[0]);
        std::thread stopper([library] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            library ? mp_raise(MP_ERR_STOPPED) : raiseAppError(APP_ERR_STOPPED, nullptr, nullptr);
        });
        EXPECT_EQ(solve(e), -1);
        stopper.join();
        EXPECT_EQ(mp_err(), library ? i32{MP_ERR_STOPPED} : 0);
        EXPECT_EQ(appError.load(), library ? 0u : u32{APP_ERR_STOPPED});
    }
}

// Input the caller got wrong is refused, never read out of bounds, and the
// context keeps its word count; a pending stop ends the run before it
// iterates.
TEST_F(RootsTest, BadInputIsRefused) {
    const struct {
        const char* why;
        i32 degree, digits;
        std::function<void(poly_equation&)> spoil;
        u32 app_error;
        i32 library_error;
    } cases[] = {
        {"word count other than the current one", 2, 10, [&](auto&) { result.words = words + 1; },
         APP_ERR_INTERNAL, 0},
        {"degree 0", 2, 10, [](auto& e) { e.degree = 0; }, APP_ERR_INTERNAL, 0},
        {"degree 11", 2, 10, [](auto& e) { e.degree = 11; }, APP_ERR_INTERNAL, 0},
        {"zero leading coefficient", 2, 10, [](auto& e) { e.coef[2] = e.coef[1]; },
         APP_ERR_INTERNAL, 0},
        {"missing coefficient", 2, 10, [](auto& e) { e.coef[2] = nullptr; }, APP_ERR_INTERNAL, 0},
        {"no digits", 2, 10, [&](auto&) { result.iter_digits = 0; }, APP_ERR_INTERNAL, 0},
        {"more digits than 527 words carry", 10, 760, [&](auto&) { result.iter_digits = 761; },
         APP_ERR_INTERNAL, 0},
        {"a pending stop (no message of its own)", 4, 10,
         [](auto&) { raiseAppError(APP_ERR_STOPPED, nullptr, nullptr); }, APP_ERR_STOPPED, 0},
        {"no words", 2, 10, [&](auto&) { result.words = 0; }, 0, MP_ERR_WORD_COUNT},
        {"528 words", 2, 10, [&](auto&) { result.words = 528; }, 0, MP_ERR_WORD_COUNT},
    };
    for (const auto& c : cases) {
        prepare(c.degree, c.digits);
        std::vector<long> ints(static_cast<std::size_t>(c.degree + 1));
        ints.front() = ints.back() = 1;
        poly_equation e = from_ints(ints);
        c.spoil(e);
        EXPECT_EQ(solve(e), -1) << c.why;
        EXPECT_EQ(appError.load(), c.app_error) << c.why;
        EXPECT_EQ(mp_err(), c.library_error) << c.why;
        EXPECT_EQ(mp_real_words, words) << c.why;
        EXPECT_EQ(result.sweeps, 0) << c.why;
    }
    clearErrors();
    EXPECT_EQ(solve(from_ints({1, 0, 1})), -1);  // the record is unchanged: still 528 words
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
