// Equations with multiple roots through the whole solve: random products of
// powers (1 to 5) of distinct irreducible integer quadratics and linear
// factors, in both modes and both result types. Every distinct root must be
// listed once, with its multiplicity, within a unit of its last shown digit
// of the factor's root from Arb. The iterates of a multiple
// root scatter around it, and a root close to a rounding boundary of its
// digits once came out split in two.
#include <gmpxx.h>

#include <string>
#include <vector>

#include "equations_page_test_util.h"
#include "roots_test_util.h"

namespace {

// A linear or quadratic factor with Gaussian-integer coefficients (a_0
// first) and its power.
struct Factor {
    std::vector<std::pair<long, long>> coefs;
    int power = 1;
};

constexpr mpfr_prec_t BITS = 512;

// An integer quadratic with irrational or complex roots, an integer linear
// factor or, when `gaussian`, x - (re + im i).
Factor random_factor(TestRng& rng, bool gaussian) {
    if (gaussian && rng.chance(25))
        return {{{rng.range(-4, 4), rng.range(1, 4) * (rng.chance(50) ? 1 : -1)}, {1, 0}}};
    if (rng.chance(35)) return {{{rng.range(-9, 9), 0}, {rng.range(1, 5), 0}}};
    for (;;) {
        const long a = rng.range(1, 4), b = rng.range(-30, 30), c = rng.range(-30, 30);
        const long d = b * b - 4 * a * c, r = std::lround(std::sqrt(std::fabs(d)));
        if (c != 0 && (d < 0 || r * r != d)) return {{{c, 0}, {b, 0}, {a, 0}}};
    }
}

// The roots of f from Arb (a factor has no multiple roots).
void add_roots(MpcList& out, const Factor& f) {
    MpcList c, roots;
    for (const auto& [re, im] : f.coefs) push_mpc(c, BITS, re, im);
    EXPECT_TRUE(arb_reference_roots(c, 120, BITS, roots));
    for (auto& r : roots) out.push_back(std::move(r));
}

// The product's coefficients a_n first, as texts ("re+im*i").
std::vector<std::u16string> expand(const std::vector<Factor>& factors) {
    std::vector<mpz_class> re{1}, im{0};  // a_0 first
    for (const Factor& f : factors) {
        for (int p = 0; p < f.power; ++p) {
            std::vector<mpz_class> r(re.size() + f.coefs.size() - 1, 0), i(r.size(), 0);
            for (std::size_t j = 0; j < re.size(); ++j) {
                for (std::size_t k = 0; k < f.coefs.size(); ++k) {
                    const auto& [fr, fi] = f.coefs[k];
                    r[j + k] += re[j] * fr - im[j] * fi;
                    i[j + k] += re[j] * fi + im[j] * fr;
                }
            }
            re = r, im = i;
        }
    }
    std::vector<std::u16string> texts;
    for (std::size_t k = re.size(); k-- > 0;) {
        std::string t = re[k].get_str();
        if (im[k] > 0) t += "+";
        if (im[k] != 0) t += im[k].get_str() + "*i";
        texts.emplace_back(t.begin(), t.end());
    }
    return texts;
}

// Factors of total degree up to a random 2..10 whose roots lie far more
// than 10^-30 apart (equal ones, from proportional factors, may differ in
// their last bits), those roots and their multiplicities.
std::vector<Factor> random_factors(TestRng& rng, bool gaussian, MpcList& roots,
                                   std::vector<i64>& mult) {
    std::vector<Factor> factors;
    const int most = static_cast<int>(rng.range(2, 10));
    for (int degree = 0, tries = 0; degree < most && tries < 4; ++tries) {
        Factor f = random_factor(rng, gaussian);
        const int d = static_cast<int>(f.coefs.size()) - 1;
        f.power = static_cast<int>(std::min<i64>(rng.range(1, 5), (most - degree) / d));
        MpcList more;
        add_roots(more, f);
        bool fits = f.power > 0;
        Mpc diff(BITS);
        Mpfr size(BITS);
        for (const auto& r : roots) {
            for (const auto& m : more) {
                mpc_sub(diff, *r, *m, MPC_RNDNN);
                mpc_abs(size, diff, MPFR_RNDN);
                fits = fits && mpfr_get_d(size, MPFR_RNDN) > 1e-30;
            }
        }
        if (!fits) continue;
        factors.push_back(f);
        degree += d * f.power;
        for (auto& m : more) roots.push_back(std::move(m)), mult.push_back(f.power);
    }
    return factors;
}

// A digit count in lo..hi at which a part of a multiple root lies within a
// hundredth of a unit of a rounding tie, where its iterates straddle the tie
// most often; a random one when there is none.
i32 digits_near_tie(TestRng& rng, MpcList& roots, const std::vector<i64>& mult, i32 lo, i32 hi) {
    for (i32 d = lo; d <= hi; ++d) {
        for (std::size_t k = 0; k < roots.size(); ++k) {
            const bool tie = near_tie(roots[k]->re(), d, 0.01) || near_tie(roots[k]->im(), d, 0.01);
            if (mult[k] > 1 && tie) return d;
        }
    }
    return static_cast<i32>(rng.range(lo, hi));
}

TEST_F(EqPageTest, PowersOfIrreducibleFactorsMergeIntoOneRoot) {
    for (i64 iter = 0; iter < test_iterations(20); ++iter) {
        EqCase c;
        c.exact = rng.chance(50);
        c.real_only = rng.chance(50);
        MpcList all, want;
        std::vector<i64> all_mult, mult;
        c.coefficients = expand(random_factors(rng, !c.exact && !c.real_only, all, all_mult));
        for (std::size_t k = 0; k < all.size(); ++k) {
            if (c.real_only && !mpfr_zero_p(all[k]->im())) continue;
            want.push_back(std::move(all[k]));
            mult.push_back(all_mult[k]);
        }
        // Exact runs iterate at 41 digits or more.
        c.digits = c.exact ? digits_near_tie(rng, want, mult, 41, 48)
                           : digits_near_tie(rng, want, mult, 5, 30);
        SCOPED_TRACE(::testing::Message()
                     << "coefficients " << ::testing::PrintToString(c.coefficients) << " exact "
                     << c.exact << " real only " << c.real_only << " digits " << c.digits);
        solve(c);
        ASSERT_EQ(message(), u"");
        expect_roots(run.result, run.result.words, want, mult, c.digits, false, false);
    }
}

}  // namespace
