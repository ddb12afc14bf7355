// The root finder: random polynomials of every degree with integer or
// Gaussian-integer coefficients and a table of hard ones against Arb's
// certified roots; polynomials built from known roots (multiple, zero and
// inexact ones, where Arb cannot isolate) with their order and
// multiplicities; real and imaginary roots of complex polynomials.
#include <string>
#include <utility>
#include <vector>

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
            for (const std::string& r : w) {
                const std::size_t comma = r.find(','), hat = r.find('^');
                push_mpc(distinct, ref_bits(), 0, 0);
                mpfr_set_str(distinct.back()->re(), r.substr(0, comma).c_str(), 10, MPFR_RNDN);
                mpfr_set_str(distinct.back()->im(), r.substr(comma + 1, hat - comma - 1).c_str(),
                             10, MPFR_RNDN);
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

// keep_order leaves equal roots unmerged, in iteration order, zero roots last.
TEST_F(RootsTest, KeepOrderDoesNotMerge) {
    prepare(3, 15);
    ASSERT_EQ(solve(from_ints({0, 1, -2, 1}), true), 3);  // x (x - 1)^2
    EXPECT_EQ(real_cmp_i64(result.roots[0], 1), 0);
    EXPECT_EQ(real_cmp_i64(result.roots[1], 1), 0);
    EXPECT_TRUE(real_is_zero(result.roots[2]));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(result.multiplicity[i], 1);
}

}  // namespace
