// Approximate roots against Arb's certified roots: random polynomials of
// every degree with integer or Gaussian-integer coefficients in both result
// types, and a short table of hard integer polynomials over a ladder of
// digit counts up to 2000.
#include <string>
#include <vector>

#include "arb_roots_util.h"
#include "numlib/mp_error.h"
#include "roots_test_util.h"

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
        if (real_only) {
            MpcList real;
            for (auto& r : refs) {
                if (mpfr_zero_p(r->im())) real.push_back(std::move(r));
            }
            refs = std::move(real);
        }
        const i64 count = solve(from_mpc(coefs));
        EXPECT_EQ(count, static_cast<i64>(refs.size()))
            << "app error " << appError.load() << ", library error " << mp_err() << ", sweeps "
            << result.sweeps;
        std::vector<bool> used(refs.size(), false);
        for (i64 i = 0; i < count && count == static_cast<i64>(refs.size()); ++i) {
            Mpc z(ref_bits());
            to_mpc(z, result.roots[i], words);
            const long j = nearest_root(refs, z, ref_bits());
            EXPECT_FALSE(used[static_cast<std::size_t>(j)]) << "two roots found for one";
            used[static_cast<std::size_t>(j)] = true;
            EXPECT_EQ(result.multiplicity[i], 1);
            EXPECT_TRUE(near_root(i, *refs[static_cast<std::size_t>(j)]));
        }
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

struct HardCase {
    const char* why;
    std::vector<i64> coefs;  // a_0 first
    i32 min_digits;          // below this the distinct roots agree and merge
};

TEST_F(ArbRootsTest, HardPolynomialsOverManyDigits) {
    static const std::vector<HardCase> cases = {
        {"quadratic irrationals: (x^2 - 2)(x^2 - 2x - 1)(x^2 + x - 1)(x^2 - 3)(x^2 + x + 1)",
         {6, 12, -17, -34, -13, 22, 24, -4, -9, 0, 1},
         5},
        {"irrational pairs and an irrational complex pair: (x^2 - 5)(3x^2 - 7)(x^2 + 2x + 3)",
         {105, 70, -31, -44, -13, 6, 3},
         5},
        {"Wilkinson-like: (x - 1)(x - 2)...(x - 10), ill-conditioned",
         {3628800, -10628640, 12753576, -8409500, 3416930, -902055, 157773, -18150, 1320, -55, 1},
         5},
        {"Mignotte: x^10 - 2(50x - 1)^2, two roots 10^-10 apart",
         {-2, 200, -5000, 0, 0, 0, 0, 0, 0, 0, 1},
         20},
        {"roots of unity of order 10, all on one circle", {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 5},
        {"magnitudes 10^-6, 1 and 10^6: (10^6 x - 1)(x - 10^6)(x^2 + 1)",
         {1000000, -1000000000001, 2000000, -1000000000001, 1000000},
         5},
    };
    for (const HardCase& c : cases) {
        SCOPED_TRACE(c.why);
        const i32 n = static_cast<i32>(c.coefs.size()) - 1;
        const i64 most = i64{19} * MP_REAL_WORDS_MAX * root_precision_factor(n) / 1000;
        // 2000 digits only where the degree leaves room for them.
        for (i32 digits : {5, 12, 40, 150, 700, 2000}) {
            if (digits < c.min_digits || digits > most) continue;
            if (digits > 150 && n > 6) continue;  // tens of seconds
            SCOPED_TRACE(digits);
            MpcList coefs;
            for (i64 v : c.coefs) {
                coefs.push_back(std::make_unique<Mpc>(oracle_bits(digits + 100)));
                mpc_set_si(*coefs.back(), v, MPC_RNDNN);
            }
            for (bool real_only : {false, true}) EXPECT_TRUE(check(coefs, digits, real_only));
        }
    }
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

}  // namespace
