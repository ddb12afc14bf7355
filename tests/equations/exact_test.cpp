// The exact solver: random integer polynomials of every degree made of
// rational linear factors and a random rest, against Arb's roots, with
// every text read back and substituted exactly into the equation (GMP
// rationals in Q(sqrt(W))); the texts of hand-picked equations; and the
// square part at the edges the random equations do not reach.
#include <algorithm>
#include <string>
#include <vector>

#include "exact_test_util.h"
#include "numlib/uint.h"
#include "support/golden_runner.h"
#include "support/rat_harness.h"

namespace {

mpq_class random_q(TestRng& rng, i64 num, i64 den) {
    mpq_class v(static_cast<long>(rng.range(-num, num)));
    v /= mpq_class(static_cast<long>(rng.range(1, den)));
    return v;
}

bool square_free(const mpz_class& r) {
    for (mpz_class d = 2; d * d <= r; ++d) {
        if (r % (d * d) == 0) return false;
    }
    return true;
}

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

    // The approximations against Arb's roots at the iteration digits, and
    // every text an exact root in its simplest form.
    void check_roots(const Poly& p, bool real_only, MpcList& refs) {
        std::erase_if(refs, [&](const auto& r) { return real_only && !mpfr_zero_p(r->im()); });
        const std::vector<i64> ones(refs.size(), 1);
        expect_roots(result, words, refs, ones, result.iter_digits, false, false,
                     [&](i64 i, std::size_t) {
                         if (text(i).empty()) return;
                         ExactForm x;
                         ASSERT_TRUE(parse_exact(text(i), x)) << text(i);
                         mpq_class u, v;
                         substitute(p, x, u, v);
                         EXPECT_TRUE(u == 0 && v == 0) << text(i) << " is not a root";
                         EXPECT_TRUE(form_matches_root(x, i));
                         if (x.f != 0) {
                             EXPECT_TRUE(abs(x.w) > 1 || x.w == -1) << text(i);
                             EXPECT_TRUE(square_free(abs(x.w))) << text(i);
                         }
                     });
    }
};

TEST_F(ExactArbTest, EveryDegreeAgainstArbWithExactTexts) {
    for (i64 run = 0; run < test_iterations(2); ++run) {
        for (i32 n = 1; n <= ROOT_MAX_DEGREE; ++n) {
            for (bool real_only : {false, true}) {
                const i32 rational = static_cast<i32>(rng.range(std::max(0, n - 4), n));
                // 39 to 41: the candidate test's digits and the iteration's on either side.
                const i32 digits = static_cast<i32>(std::vector<i64>{
                    5, 20, 39, 40, 41, 60}[static_cast<std::size_t>(rng.range(0, 5))]);
                std::vector<mpq_class> known;
                Poly p;
                MpcList refs;
                for (bool isolated = false; !isolated;) {
                    p = random_poly(n, rational, known);
                    MpcList ints;
                    for (const mpq_class& c : p) {
                        push_mpc(ints, oracle_bits(200), 0, 0);
                        mpfr_set_z(ints.back()->re(), c.get_num_mpz_t(), MPFR_RNDN);
                    }
                    const i32 iter = exact_iter_digits(digits);
                    isolated = arb_reference_roots(ints, iter + 10, oracle_bits(iter + 40), refs);
                }
                // Rational coefficients: the same roots.
                if (rng.chance(30)) {
                    const mpq_class scale = random_q(rng, 7, 5) + 8;
                    for (mpq_class& c : p) c *= scale;
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

class ExactSquareTest : public ExactTest {
  protected:
    // square_part of n (two words) as GMP integers.
    static void split(const mpz_class& n, mpz_class& o, mpz_class& s) {
        Mpz nz;
        mpz_set(nz, n.get_mpz_t());
        const std::vector<u64> words = nz.words(EXACT_INT_WORDS);
        std::vector<u64> ow(EXACT_INT_WORDS), sw(EXACT_INT_WORDS);
        square_part(ow.data(), sw.data(), words.data());
        mpz_set(o.get_mpz_t(), Mpz(ow.data(), EXACT_INT_WORDS));
        mpz_set(s.get_mpz_t(), Mpz(sw.data(), EXACT_INT_WORDS));
    }
};

TEST_F(ExactSquareTest, SquarePartHardCases) {
    mp_int_words = EXACT_INT_WORDS;
    const auto check_row = [&](const GoldenLine& row) {
        mpz_class o, s;
        split(mpz_class(row.text(0)), o, s);
        const std::string got = o.get_str() + " " + s.get_str();
        return got == row.text(1) ? std::string() : "got " + got;
    };
    golden_run("equations.txt", check_row, "square part");
}

// The texts of hand-picked equations; each text is also read back and
// checked against its root's approximation, which catches a text paired
// with the wrong root.
TEST_F(ExactTest, TextsOfKnownEquations) {
    const auto check_row = [&](const GoldenLine& row) {
        Poly p;
        for (const std::string& c : row.words(0)) p.emplace_back(c), p.back().canonicalize();
        std::vector<std::string> want;
        for (const std::string& t : row.words(1)) want.push_back(t);
        for (i32 digits : {10, 41, 60}) {
            SCOPED_TRACE(row.where() + " digits " + std::to_string(digits));
            solve(p, digits);
            EXPECT_EQ(appError.load(), 0u);
            EXPECT_EQ(mp_err(), 0);
            EXPECT_EQ(texts(), want);
            for (i64 i = 0; i < result.count; ++i) {
                ExactForm x;
                if (text(i).empty()) continue;
                EXPECT_TRUE(parse_exact(text(i), x)) << text(i);
                EXPECT_TRUE(form_matches_root(x, i));
            }
        }
        return std::string();
    };
    golden_run("equations.txt", check_row, "exact");
}

TEST_F(ExactTest, SignFlagOfThePageIsHonoured) {
    prepare(1, 20);
    result.format_flags = NUM_TEXT_SIGN;
    ASSERT_TRUE(set_equation({-4, 2}));
    solve_exact(eq, result);
    ASSERT_EQ(result.count, 1);
    EXPECT_EQ(text(0), "+2");
}

}  // namespace
