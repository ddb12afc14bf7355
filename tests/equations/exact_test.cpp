// The exact solver: random integer polynomials of every degree made of
// rational linear factors and a random rest, against Arb's roots, with
// every text read back and substituted exactly into the equation (GMP
// rationals in Q(sqrt(W))); the texts of hand-picked equations; and the
// square part and the synthetic division against GMP.
#include <algorithm>
#include <string>
#include <vector>

#include "arb_roots_util.h"
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
    void check_roots(const Poly& p, bool real_only, const MpcList& refs) {
        const mpfr_prec_t bits = oracle_bits(result.iter_digits + 40);
        expect_reference_roots(result, words, refs, real_only, bits, [&](i64 i, const Mpc& z, const Mpc& ref) {
            EXPECT_TRUE(within_digits(z, ref, result.iter_digits, bits));
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
                        ints.push_back(std::make_unique<Mpc>(oracle_bits(200)));
                        mpc_set_ui(*ints.back(), 0, MPC_RNDNN);
                        mpfr_set_z(ints.back()->re(), c.get_num_mpz_t(), MPFR_RNDN);
                    }
                    isolated =
                        arb_reference_roots(ints, exact_iter_digits(digits) + 10,
                                            oracle_bits(exact_iter_digits(digits) + 40), refs);
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

// Builds n = a^2 b with b square-free from small primes and one large one.
TEST_F(ExactSquareTest, SquarePartSplitsIntoSquareAndSquareFree) {
    static const unsigned long small[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 97, 997};
    static const unsigned long large[] = {1000003UL, 1048573UL, 4294967291UL, 1099511627689UL};
    mp_int_words = EXACT_INT_WORDS;
    const i64 runs = test_iterations(300);
    for (i64 run = 0; run < runs; ++run) {
        mpz_class a = 1, b = 1;
        for (int k = rng.range(0, 5); k > 0; --k) a *= small[rng.range(0, 13)];
        if (rng.chance(30)) a *= large[rng.range(0, 1)];
        for (unsigned long s : small) {
            if (rng.chance(25)) b *= s;
        }
        if (rng.chance(50)) b *= large[rng.range(0, 3)];
        if (rng.chance(10)) b = 1;
        const mpz_class n = a * a * b;
        if (mpz_sizeinbase(n.get_mpz_t(), 2) > 64 * EXACT_INT_WORDS) continue;
        mpz_class got_o, got_s;
        split(n, got_o, got_s);
        EXPECT_EQ(got_o.get_str(), a.get_str()) << "n = " << n.get_str();
        EXPECT_EQ(got_s.get_str(), b.get_str()) << "n = " << n.get_str();
        EXPECT_EQ(mp_err(), 0);
    }
}

TEST_F(ExactSquareTest, SquarePartHardCases) {
    mp_int_words = EXACT_INT_WORDS;
    golden_run("equations.txt", [&](const GoldenLine& row) {
        mpz_class o, s;
        split(mpz_class(row.text(0)), o, s);
        const std::string got = o.get_str() + " " + s.get_str();
        return got == row.text(1) ? std::string() : "got " + got;
    }, "square part");
}

// q (x - r) + C(r) = C for any r; the root test exactly when C(r) = 0.
TEST_F(ExactSquareTest, DeflationIsSyntheticDivision) {
    mp_int_words = EXACT_INT_WORDS;
    const i64 runs = test_iterations(200);
    for (i64 run = 0; run < runs; ++run) {
        const mpq_class r = random_q(rng, 1000, 300);
        Poly d(static_cast<std::size_t>(rng.range(1, 7)));
        for (mpq_class& c : d) c = random_q(rng, 99, 9);
        if (d.back() == 0) d.back() = 1;
        Poly c = poly_mul(d, {-r, 1});
        const bool is_root = rng.chance(60);
        if (!is_root) c[0] += random_q(rng, 5, 3) + mpq_class(1, 7);
        if (!set_equation(c)) continue;
        const i32 m = eq.degree;
        std::vector<std::vector<u64>> q(static_cast<std::size_t>(m), std::vector<u64>(5, 0));
        u64* qp[ROOT_MAX_DEGREE] = {};
        for (i32 k = 0; k < m; ++k) qp[k] = q[static_cast<std::size_t>(k)].data();
        Mpq rq;
        mpq_set(rq, r.get_mpq_t());
        if (!rq.fits(EXACT_INT_WORDS)) continue;
        const std::vector<u64> rw = rq.words(EXACT_INT_WORDS);
        // the quotient by Horner in GMP, and C(r)
        Poly want(static_cast<std::size_t>(m));
        mpq_class v = c[static_cast<std::size_t>(m)];
        for (i32 k = m - 1; k >= 0; --k) {
            want[static_cast<std::size_t>(k)] = v;
            v = v * r + c[static_cast<std::size_t>(k)];
        }
        mp_error.store(run % 3 == 0 ? MP_ERR_DIV_ZERO : 0);
        const i32 before = mp_err();
        const bool root = deflate_by_root(qp, eq.coef, m, rw.data());
        EXPECT_EQ(mp_err(), before);
        mp_error.store(0);
        EXPECT_EQ(root, v == 0);
        if (!root) continue;
        for (i32 k = 0; k < m; ++k) {
            Mpq got(qp[k], EXACT_INT_WORDS);
            EXPECT_TRUE(mpq_equal(got, want[static_cast<std::size_t>(k)].get_mpq_t()))
                << "q_" << k << " = " << got.text();
        }
    }
}

// The texts of hand-picked equations; each text is also read back and
// checked against its root's approximation, which catches a text paired
// with the wrong root.
TEST_F(ExactTest, TextsOfKnownEquations) {
    golden_run("equations.txt", [&](const GoldenLine& row) {
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
    }, "exact");
}

TEST_F(ExactTest, RealModeDropsComplexPairsAndTheirTexts) {
    EXPECT_EQ(solve({1, 0, 1}, 20, true), 0);
    EXPECT_EQ(appError.load(), 0u);
    EXPECT_EQ(solve({-2, 1, -2, 1}, 20, true), 1);  // (x - 2)(x^2 + 1)
    EXPECT_EQ(texts(), std::vector<std::string>{"2^1"});
    EXPECT_EQ(solve({2, 0, 1}, 20, true), 0);
}

TEST_F(ExactTest, SignFlagOfThePageIsHonoured) {
    prepare(1, 20);
    result.format_flags = NUM_TEXT_SIGN;
    ASSERT_TRUE(set_equation({-4, 2}));
    solve_exact(eq, result);
    ASSERT_EQ(result.count, 1);
    EXPECT_EQ(text(0), "+2");
}

TEST_F(ExactTest, QuadraticRootsGetFreshApproximations) {
    // x^2 - 2 at the shown digits: the new approximations are the
    // correctly rounded square roots, not the iteration's last digits.
    ASSERT_EQ(solve({-2, 0, 1}, 60), 2);
    Mpfr r(oracle_bits(200));
    mpfr_sqrt_ui(r, 2, MPFR_RNDN);
    const DecimalDigits want = correctly_rounded_half_up(r, result.iter_digits);
    Mpz n;
    i64 e = 0;
    real_exact(n, &e, result.roots[1], words);
    std::string digits = mpz_class(n.get()).get_str();
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    std::string want_digits = want.digits;
    while (!want_digits.empty() && want_digits.back() == '0') want_digits.pop_back();
    EXPECT_EQ(digits, want_digits);
}

TEST_F(ExactTest, IterationDigitsStayTwoAboveTheCandidateTest) {
    EXPECT_EQ(exact_iter_digits(1), 41);
    EXPECT_EQ(exact_iter_digits(39), 41);
    EXPECT_EQ(exact_iter_digits(40), 42);
    EXPECT_EQ(exact_iter_digits(41), 41);
    EXPECT_EQ(exact_iter_digits(500), 500);
}

}  // namespace
