// The exact solver at every degree in both result types against Arb: random
// integer polynomials made of rational linear factors and a random rest;
// the approximations must be Arb's roots, every known rational root must
// have its text, every text must be an exact root, and when the rest has
// degree 2 or less every root must have one.
#include <algorithm>
#include <string>
#include <vector>

#include "arb_roots_util.h"
#include "exact_test_util.h"

namespace {

class ExactArbTest : public ExactTest {
  protected:
    // A product of `rational` distinct factors (q x - p) and a random
    // integer rest making up degree n; the rational roots go to `known`.
    Poly random_poly(i32 n, i32 rational, std::vector<mpq_class>& known) {
        Poly p = {1};
        known.clear();
        while (static_cast<i32>(known.size()) < rational) {
            mpq_class r(static_cast<long>(rng.range(-9, 9)), static_cast<long>(rng.range(1, 5)));
            r.canonicalize();
            if (std::find(known.begin(), known.end(), r) != known.end()) continue;
            known.push_back(r);
            p = poly_mul(p, {-mpq_class(r.get_num()), mpq_class(r.get_den())});
        }
        Poly rest(static_cast<std::size_t>(n - rational + 1));
        for (mpq_class& c : rest) c = static_cast<long>(rng.range(-20, 20));
        if (rest.back() == 0) rest.back() = 1;
        return poly_mul(p, rest);
    }

    // The approximations against Arb's roots at the iteration digits.
    void check_roots(const Poly& p, bool real_only, const MpcList& refs) {
        const mpfr_prec_t bits = oracle_bits(result.iter_digits + 40);
        i64 want = 0;
        for (const auto& r : refs) want += !real_only || mpfr_zero_p(r->im());
        ASSERT_EQ(result.count, want) << appError.load() << " " << mp_err();
        std::vector<bool> used(refs.size(), false);
        for (i64 i = 0; i < result.count; ++i) {
            Mpc z(bits);
            to_mpc(z, result.roots[i], words);
            const long j = nearest_root(refs, z, bits);
            EXPECT_FALSE(used[static_cast<std::size_t>(j)]) << "two roots found for one";
            used[static_cast<std::size_t>(j)] = true;
            EXPECT_EQ(result.multiplicity[i], 1);
            EXPECT_TRUE(
                within_digits(z, *refs[static_cast<std::size_t>(j)], result.iter_digits, bits));
            if (text(i).empty()) continue;
            ExactForm x;
            ASSERT_TRUE(parse_exact(text(i), x)) << text(i);
            mpq_class u, v;
            substitute(p, x, u, v);
            EXPECT_TRUE(u == 0 && v == 0) << text(i) << " is not a root";
            EXPECT_TRUE(form_matches_root(x, i));
        }
    }
};

TEST_F(ExactArbTest, EveryDegreeInBothResultTypes) {
    for (i64 run = 0; run < test_iterations(2); ++run) {
        for (i32 n = 1; n <= ROOT_MAX_DEGREE; ++n) {
            for (bool real_only : {false, true}) {
                const i32 rational = static_cast<i32>(rng.range(std::max(0, n - 4), n));
                const i32 digits = static_cast<i32>(
                    std::vector<i64>{5, 20, 40, 41, 60}[static_cast<std::size_t>(rng.range(0, 4))]);
                std::vector<mpq_class> known;
                Poly p;
                MpcList refs;
                for (bool isolated = false; !isolated;) {
                    p = random_poly(n, rational, known);
                    MpcList ints;
                    for (const mpq_class& c : p) {
                        ints.push_back(std::make_unique<Mpc>(oracle_bits(200)));
                        mpc_set_ui(*ints.back(), 0, MPC_RNDNN);
                        mpfr_set_z(ints.back()->re(), c.get_num_mpz_t(), MPFR_RNDN);
                    }
                    isolated =
                        arb_reference_roots(ints, exact_iter_digits(digits) + 10,
                                            oracle_bits(exact_iter_digits(digits) + 40), refs);
                }
                std::string poly_text;
                for (const mpq_class& c : p) poly_text.append(c.get_str()).append(" ");
                SCOPED_TRACE("a_0.. = " + poly_text + "digits " + std::to_string(digits) +
                             (real_only ? ", real only" : ""));
                solve(p, digits, real_only);
                check_roots(p, real_only, refs);
                // Every known rational root has its text.
                for (const mpq_class& r : known) {
                    bool found = false;
                    for (i64 i = 0; i < result.count; ++i) found = found || text(i) == r.get_str();
                    EXPECT_TRUE(found) << r.get_str() << " has no text";
                }
                if (n - rational <= 2) {
                    for (i64 i = 0; i < result.count; ++i) EXPECT_FALSE(text(i).empty()) << i;
                }
            }
        }
    }
}

}  // namespace
