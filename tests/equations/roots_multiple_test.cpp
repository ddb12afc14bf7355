// Equations with multiple roots through the whole solve: random products of
// powers (1 to 5) of distinct irreducible integer quadratics and linear
// factors, in both modes and both result types. Every distinct root must be
// listed once, with its multiplicity, within a unit of its last shown digit
// of the value computed by MPFR from the factor. The iterates of a multiple
// root scatter around it, and a root close to a rounding boundary of its
// digits once came out split in two.
#include <gmpxx.h>

#include <numeric>
#include <string>
#include <vector>

#include "arb_roots_util.h"
#include "equations_page_test_util.h"

namespace {

// A linear or quadratic factor with Gaussian-integer coefficients (a_0
// first) and its power.
struct Factor {
    std::vector<std::pair<long, long>> coefs;
    int power = 1;
};

struct Expected {
    std::unique_ptr<Mpc> value;
    i64 multiplicity;
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

// The roots of f by the formulas of degree 1 and 2, each with f's power.
void add_roots(std::vector<Expected>& out, const Factor& f) {
    std::vector<std::unique_ptr<Mpc>> c;
    for (const auto& [re, im] : f.coefs) {
        c.push_back(std::make_unique<Mpc>(BITS));
        mpc_set_si_si(*c.back(), re, im, MPC_RNDNN);
    }
    if (c.size() == 2) {
        out.push_back({std::make_unique<Mpc>(BITS), f.power});
        mpc_div(*out.back().value, *c[0], *c[1], MPC_RNDNN);
        mpc_neg(*out.back().value, *out.back().value, MPC_RNDNN);
        return;
    }
    Mpc d(BITS), t(BITS);  // (-b +- sqrt(b^2 - 4ac)) / 2a
    mpc_sqr(d, *c[1], MPC_RNDNN);
    mpc_mul(t, *c[2], *c[0], MPC_RNDNN);
    mpc_mul_ui(t, t, 4, MPC_RNDNN);
    mpc_sub(d, d, t, MPC_RNDNN);
    mpc_sqrt(d, d, MPC_RNDNN);
    for (int sign : {1, -1}) {
        out.push_back({std::make_unique<Mpc>(BITS), f.power});
        Mpc& v = *out.back().value;
        mpc_mul_si(v, d, sign, MPC_RNDNN);
        mpc_sub(v, v, *c[1], MPC_RNDNN);
        mpc_div(v, v, *c[2], MPC_RNDNN);
        mpc_div_ui(v, v, 2, MPC_RNDNN);
    }
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

// A digit count in lo..hi at which a part of a multiple root lies within a
// hundredth of a unit of a rounding tie, where its iterates straddle the tie
// most often; a random one when there is none.
i32 digits_near_tie(TestRng& rng, const std::vector<Expected>& roots, i32 lo, i32 hi) {
    for (i32 d = lo; d <= hi; ++d) {
        for (const Expected& r : roots) {
            const bool tie = near_tie(r.value->re(), d, 0.01) || near_tie(r.value->im(), d, 0.01);
            if (r.multiplicity > 1 && tie) return d;
        }
    }
    return static_cast<i32>(rng.range(lo, hi));
}

// Distinct roots of these factors lie far more than 10^-30 apart; equal ones
// (from proportional factors) may differ in their last bits.
bool apart(const Mpc& a, const Mpc& b) {
    Mpc d(BITS);
    mpc_sub(d, a, b, MPC_RNDNN);
    Mpfr size(BITS);
    mpc_abs(size, d, MPFR_RNDN);
    return mpfr_get_d(size, MPFR_RNDN) > 1e-30;
}

// Factors of total degree up to a random 2..10 whose roots are distinct, and
// those roots (only the real ones with real_only).
std::vector<Factor> random_factors(TestRng& rng, bool gaussian, std::vector<Expected>& roots) {
    std::vector<Factor> factors;
    roots.clear();
    const int most = static_cast<int>(rng.range(2, 10));
    for (int degree = 0, tries = 0; degree < most && tries < 4; ++tries) {
        Factor f = random_factor(rng, gaussian);
        const int d = static_cast<int>(f.coefs.size()) - 1;
        f.power = static_cast<int>(std::min<i64>(rng.range(1, 5), (most - degree) / d));
        std::vector<Expected> more;
        add_roots(more, f);
        bool fits = f.power > 0;
        for (const Expected& r : roots)
            for (const Expected& m : more) fits = fits && apart(*r.value, *m.value);
        if (!fits) continue;
        factors.push_back(f);
        degree += d * f.power;
        for (Expected& m : more) roots.push_back(std::move(m));
    }
    return factors;
}

TEST_F(EqPageTest, PowersOfIrreducibleFactorsMergeIntoOneRoot) {
    for (i64 iter = 0; iter < test_iterations(20); ++iter) {
        EqCase c;
        c.exact = rng.chance(50);
        c.real_only = rng.chance(50);
        std::vector<Expected> want;
        c.coefficients = expand(random_factors(rng, !c.exact && !c.real_only, want));
        std::erase_if(want, [&](const Expected& e) {
            return c.real_only && !mpfr_zero_p(mpc_imagref(static_cast<mpc_srcptr>(*e.value)));
        });
        // Exact runs iterate at 41 digits or more.
        c.digits = c.exact ? digits_near_tie(rng, want, 41, 48) : digits_near_tie(rng, want, 5, 30);
        SCOPED_TRACE(::testing::Message()
                     << "coefficients " << ::testing::PrintToString(c.coefficients) << " exact "
                     << c.exact << " real only " << c.real_only << " digits " << c.digits);
        solve(c);
        ASSERT_EQ(message(), u"");
        const root_result& r = run.result;
        EXPECT_EQ(r.count, static_cast<i64>(want.size()));
        if (r.count != static_cast<i64>(want.size())) continue;
        MpcList got;
        for (i64 i = 0; i < r.count; ++i) {
            got.push_back(std::make_unique<Mpc>(BITS));
            to_mpc(*got.back(), r.roots[i], r.words);
        }
        for (const Expected& w : want) {
            const long i = nearest_root(got, *w.value, BITS);
            const Mpc& z = *got[static_cast<std::size_t>(i)];
            EXPECT_EQ(r.multiplicity[i], w.multiplicity);
            EXPECT_TRUE(within_digits(z, *w.value, c.digits, BITS));
            EXPECT_TRUE(!mpfr_zero_p(w.value->re()) ||
                        mpfr_zero_p(mpc_realref(static_cast<mpc_srcptr>(z))));
        }
    }
}

}  // namespace
