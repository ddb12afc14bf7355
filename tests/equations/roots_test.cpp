// The root finder: random polynomials of every degree with integer or
// Gaussian-integer coefficients and a table of hard ones against Arb's
// certified roots; polynomials built from known roots (multiple, zero and
// inexact ones, where Arb cannot isolate) with their order and
// multiplicities; real and imaginary roots of complex polynomials; and the
// sort that merges equal roots.
#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "arb_roots_util.h"
#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "roots_test_util.h"
#include "support/golden_runner.h"

namespace {

class ArbRootsTest : public RootsTest {
  protected:
    // Solves coefs at `digits` digits and compares with Arb: with
    // real_only exactly the real reference roots, otherwise all of them,
    // each found once with multiplicity 1 and within a unit of its last
    // digit. False when Arb cannot isolate the roots (a multiple root).
    bool check(const MpcList& coefs, i32 digits, bool real_only) {
        const i32 n = static_cast<i32>(coefs.size()) - 1;
        prepare(n, digits, real_only);
        MpcList refs;
        if (!arb_reference_roots(coefs, digits, ref_bits(), refs)) return false;
        solve(from_mpc(coefs));
        expect_reference_roots(result, words, refs, real_only, ref_bits(),
                               [&](i64 i, const Mpc&, const Mpc& ref) { EXPECT_TRUE(near_root(i, ref)); });
        return true;
    }

    MpcList random_coefs(i32 n, bool gaussian) {
        MpcList c;
        for (i32 k = 0; k <= n; ++k) {
            c.push_back(std::make_unique<Mpc>(ref_bits()));
            mpc_set_si_si(*c.back(), rng.range(-100, 100), gaussian ? rng.range(-100, 100) : 0,
                          MPC_RNDNN);
        }
        if (mpc_cmp_si(*c.back(), 0) == 0) mpc_set_ui(*c.back(), 1, MPC_RNDNN);
        return c;
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
                while (!check(random_coefs(n, gaussian), digits, real_only)) {
                }
            }
        }
    }
}

TEST_F(ArbRootsTest, HardPolynomialsOverManyDigits) {
    golden_run("equations.txt", [&](const GoldenLine& row) {
        const std::vector<std::string> c = row.words(1);
        const i32 n = static_cast<i32>(c.size()) - 1;
        const i64 most = i64{19} * MP_REAL_WORDS_MAX * root_precision_factor(n) / 1000;
        // 2000 digits only where the degree leaves room for them.
        for (i32 digits : {5, 12, 40, 150, 700, 2000}) {
            if (digits < std::atoi(row.text(0).c_str()) || digits > most) continue;
            if (digits > 150 && n > 6) continue;  // tens of seconds
            SCOPED_TRACE(row.where() + " digits " + std::to_string(digits));
            MpcList coefs;
            for (const std::string& v : c) {
                coefs.push_back(std::make_unique<Mpc>(oracle_bits(digits + 100)));
                if (mpc_set_str(*coefs.back(), v.c_str(), 10, MPC_RNDNN) != 0) return "not a number: " + v;
            }
            for (bool real_only : {false, true}) EXPECT_TRUE(check(coefs, digits, real_only));
        }
        return std::string();
    }, "hard roots");
}

// A small part that settled only in the last sweeps (-0.0044905 beside
// 0.58742i) was taken for noise flickering around zero.
TEST_F(ArbRootsTest, SmallPartSettlingLateIsKept) {
    const std::vector<std::pair<i64, i64>> c = {{45, 28},  {-31, 42}, {56, -20}, {46, -16},
                                                {25, -23}, {41, 35},  {-17, 83}, {97, 31},
                                                {-4, -36}, {-88, 32}};
    MpcList coefs;
    for (const auto& [re, im] : c) {
        coefs.push_back(std::make_unique<Mpc>(oracle_bits(200)));
        mpc_set_si_si(*coefs.back(), re, im, MPC_RNDNN);
    }
    EXPECT_TRUE(check(coefs, 5, false));
}

bool long_run() {
    return test_iterations(1) > 1;
}

// Over a ladder of digit counts and as many as the working precision allows
// at the degree, up to 300 (2000 in long runs).
TEST_F(RootsTest, PolynomialsFromKnownRoots) {
    golden_run("equations.txt", [&](const GoldenLine& row) {
        std::vector<std::pair<std::string, std::string>> roots, distinct;
        std::vector<i64> multiplicity;
        for (const std::string& w : row.words(1)) {
            const std::size_t comma = w.find(','), hat = w.find('^');
            distinct.emplace_back(w.substr(0, comma), w.substr(comma + 1, hat - comma - 1));
            multiplicity.push_back(std::atoi(w.c_str() + hat + 1));
            for (i64 k = 0; k < multiplicity.back(); ++k) roots.push_back(distinct.back());
        }
        const bool slow = row.text(0) == "slow";
        const i32 n = static_cast<i32>(roots.size());
        const i64 most = i64{19} * MP_REAL_WORDS_MAX * root_precision_factor(n) / 1000;
        for (i32 digits : {5, 12, 40, 150, static_cast<i32>(std::min<i64>(long_run() ? 2000 : 300, most))}) {
            if (digits > 40 && slow && !long_run()) continue;
            SCOPED_TRACE(row.where() + " digits " + std::to_string(digits));
            prepare(n, digits);
            const i64 count = solve(from_roots(roots));
            EXPECT_EQ(appError.load(), 0u);
            EXPECT_EQ(mp_err(), 0);
            EXPECT_EQ(count, static_cast<i64>(distinct.size())) << "sweeps " << result.sweeps;
            for (i64 i = 0; i < count && count == static_cast<i64>(distinct.size()); ++i) {
                Mpc v(ref_bits());
                mpfr_set_str(v.re(), distinct[i].first.c_str(), 10, MPFR_RNDN);
                mpfr_set_str(v.im(), distinct[i].second.c_str(), 10, MPFR_RNDN);
                EXPECT_TRUE(near_root(i, v));
                EXPECT_EQ(result.multiplicity[i], multiplicity[i]) << i;
            }
        }
        return std::string();
    }, "known roots");
}

TEST_F(RootsTest, ZeroRootsNeedNoIteration) {
    prepare(3, 20);
    const OwnedEquation e = from_ints({0, 0, 0, 1});  // x^3
    ASSERT_EQ(solve(e), 1);
    EXPECT_TRUE(real_is_zero(result.roots[0]) && real_is_zero(cplx_im_of(result.roots[0], words)));
    EXPECT_EQ(result.multiplicity[0], 3);
    EXPECT_EQ(result.sweeps, 0);
}

TEST_F(RootsTest, RealOnlyKeepsTheRealRoots) {
    prepare(2, 10, true);
    EXPECT_EQ(solve(from_ints({1, 0, 1})), 0);  // x^2 + 1
    EXPECT_EQ(appError.load(), 0u);

    prepare(2, 10, false);
    ASSERT_EQ(solve(from_ints({1, 0, 1})), 2);  // -i, then +i
    EXPECT_EQ(real_sign(cplx_im_of(result.roots[0], words)), 1);
    EXPECT_EQ(real_sign(cplx_im_of(result.roots[1], words)), 0);

    prepare(4, 10, true);  // (x^2 + 1)(x - 3)(x + 2)
    ASSERT_EQ(solve(from_ints({-6, -1, -5, -1, 1})), 2);
    EXPECT_EQ(real_cmp_i64(result.roots[0], -2), 0);
    EXPECT_EQ(real_cmp_i64(result.roots[1], 3), 0);
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

// Complex coefficients put rounding noise into both parts of every iterate;
// a real root must still come out with imaginary part exactly 0 and a
// purely imaginary one with real part exactly 0, also where p(z) rounds to
// exactly 0 and the iterate stops moving with its noise.
TEST_F(RootsTest, RealAndImaginaryRootsOfComplexPolynomials) {
    for (i64 run = 0; run < test_iterations(150); ++run) {
        const i32 n = static_cast<i32>(rng.range(2, 6));
        const i32 digits = static_cast<i32>(rng.range(5, 60));
        std::vector<std::pair<std::string, std::string>> roots;
        roots.push_back({std::to_string(rng.range(-5, 5) | 1), "0"});
        if (rng.chance(50)) roots.push_back({"0", std::to_string(rng.range(1, 4) * 2 + 1)});
        while (static_cast<i32>(roots.size()) < n) {
            const i64 im = rng.range(1, 5) * (rng.chance(50) ? 1 : -1);
            std::pair<std::string, std::string> r{std::to_string(rng.range(-5, 5)),
                                                  std::to_string(im)};
            if (std::find(roots.begin(), roots.end(), r) == roots.end()) roots.push_back(r);
        }
        SCOPED_TRACE("degree " + std::to_string(n) + ", digits " + std::to_string(digits));
        prepare(n, digits);
        ASSERT_EQ(solve(from_roots(roots)), n) << appError.load() << " " << mp_err();
        for (const auto& [re, im] : roots) {
            Mpc v(ref_bits());
            mpfr_set_str(v.re(), re.c_str(), 10, MPFR_RNDN);
            mpfr_set_str(v.im(), im.c_str(), 10, MPFR_RNDN);
            i64 nearest = 0;
            double best = 1e300;
            for (i64 i = 0; i < n; ++i) {
                Mpc z(ref_bits());
                to_mpc(z, result.roots[i], words);
                mpc_sub(z, z, v, MPC_RNDNN);
                const double d =
                    std::hypot(mpfr_get_d(z.re(), MPFR_RNDN), mpfr_get_d(z.im(), MPFR_RNDN));
                if (d < best) best = d, nearest = i;
            }
            EXPECT_TRUE(near_root(nearest, v)) << re << " " << im;
        }
    }
}

}  // namespace
