// The exact solver: random integer polynomials of every degree made of
// rational linear factors and a random rest, against Arb's roots, with
// every text read back and substituted exactly into the equation (GMP
// rationals in Q(sqrt(W))); the texts of hand-picked equations; and the
// square part at the edges the random equations do not reach. Input it
// cannot express: two-word overflow costs the texts and keeps the roots,
// over-long texts are cut or emptied with error 9002, refused input and stop
// requests.
#include <algorithm>
#include <functional>
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

class ExactErrorsTest : public ExactTest {
  protected:
    // No texts, and the roots of p, against Arb's of p times its common
    // denominator, at the iteration digits.
    void expect_no_texts_same_roots(const Poly& p) {
        mpz_class den = 1;
        for (const mpq_class& c : p) mpz_lcm(den.get_mpz_t(), den.get_mpz_t(), c.get_den_mpz_t());
        MpcList ints, refs;
        for (const mpq_class& c : p) {
            const mpq_class v = c * den;
            push_mpc(ints, 1024, 0, 0);
            mpfr_set_q(ints.back()->re(), v.get_mpq_t(), MPFR_RNDN);
        }
        ASSERT_TRUE(arb_reference_roots(ints, result.iter_digits,
                                        oracle_bits(result.iter_digits + 40), refs));
        expect_roots(result, words, refs, std::vector<i64>(refs.size(), 1), result.iter_digits,
                     false, false, [&](i64 i, std::size_t) { EXPECT_EQ(text(i), ""); });
    }
};

TEST_F(ExactErrorsTest, OverflowOfTwoWordsCostsOnlyTheTexts) {
    const mpz_class big = mpz_class(1) << 100;
    const struct {
        const char* why;
        Poly p;
    } cases[] = {
        {"denominators whose product needs 150 bits",
         {mpq_class(1) / mpq_class(mpz_class((mpz_class(1) << 50) - 27)),
          mpq_class(1) / mpq_class(mpz_class((mpz_class(1) << 50) - 35)),
          mpq_class(1) / mpq_class(mpz_class((mpz_class(1) << 50) - 51)), 1}},
        {"a_1^2 of a quadratic overflows", {1, mpq_class(big + 1), 1}},
        {"a rational root times a quadratic whose discriminant overflows",
         {-mpq_class(big), mpq_class(big + 1), -1, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        solve(c.p, 30);
        EXPECT_EQ(appError.load(), 0u);
        EXPECT_EQ(mp_err(), 0);
        expect_no_texts_same_roots(c.p);
    }
}

TEST_F(ExactErrorsTest, StalledQuadraticWithoutTextsStillGetsItsRoots) {
    // x^2 - 2x - c: the iteration cannot leave Re z = 1, and 4 + 4c
    // needs three words.
    const mpz_class c = (mpz_class(1) << 127) - 1;
    ASSERT_EQ(solve({-mpq_class(c), -2, 1}, 30), 2);
    EXPECT_EQ(appError.load(), 0u);
    EXPECT_EQ(text(0), "");
    EXPECT_TRUE(form_matches_root(ExactForm{1, -1, c + 1}, 0));
    EXPECT_TRUE(form_matches_root(ExactForm{1, 1, c + 1}, 1));
}

TEST_F(ExactErrorsTest, LongTextsAreCutOrEmptiedWithError9002) {
    // At six words a complex pair t +- F*i with 55-digit parts needs 225
    // characters: cut to 216 ending in the ellipsis.
    prepare(2, 20);
    mp_int_words = 6;
    mp_set_real_words(words);
    const mpz_class n("1234567890123456789012345678901234567890123456789012347");
    const mpz_class n2("9876543210987654321098765432109876543210987654321098761");
    const mpz_class d("5555555555555555555555555555555555555555555555555555557");
    const mpq_class t(n, d), f(n2, d);
    ASSERT_TRUE(set_equation({t * t + f * f, -2 * t, 1}));
    exact_quadratic(eq, result, 0, 1);
    EXPECT_EQ(appError.load(), static_cast<u32>(APP_ERR_TEXT_OVERFLOW));
    const std::u16string ti(result.exact_text[0]);
    const std::u16string want = u"1234567890123456789012345678901234567890123456789012347/";
    ASSERT_EQ(ti.size(), static_cast<std::size_t>(ROOT_EXACT_TEXT_CHARS));
    EXPECT_EQ(ti.back(), u'\u2026');
    EXPECT_EQ(ti.substr(0, want.size()), want);
    EXPECT_EQ(std::u16string(result.exact_text[1]).size(), ti.size());
    ExactForm plus{t, f, -1};
    result.iter_digits = 20;
    EXPECT_TRUE(form_matches_root(plus, 0));

    // A single rational beyond the slot: no text at all.
    clearErrors();
    mp_int_words = 12;
    const mpz_class huge = (mpz_class(1) << 370) + 1;
    const mpq_class t2(huge, huge - 2);
    ASSERT_TRUE(set_equation({t2 * t2, -2 * t2, 1}));
    exact_quadratic(eq, result, 0, 1);
    EXPECT_EQ(appError.load(), static_cast<u32>(APP_ERR_TEXT_OVERFLOW));
    EXPECT_EQ(text(0), "");
    EXPECT_EQ(text(1), "");
    EXPECT_EQ(mp_err(), 0);
}

// Refused input fails the run (a malformed coefficient without a crash).
TEST_F(ExactErrorsTest, RefusedInputAndContext) {
    const struct {
        const char* why;
        Poly p;
        std::function<void()> spoil;
        i64 app_error, library_error;  // -1: either may come
    } cases[] = {
        {"complex type", {-2, 0, 1}, [&] { eq.type = MP_TYPE_CPLX; }, APP_ERR_INTERNAL, 0},
        {"zero leading coefficient", {-2, 0, 0}, [] {}, APP_ERR_INTERNAL, 0},
        {"no words", {-2, 0, 1}, [&] { result.words = 0; }, 0, MP_ERR_WORD_COUNT},
        {"zero denominator", {-2, 0, 1}, [&] { rat_den(values[0].data())[0] = 0; }, -1, -1},
    };
    for (const auto& c : cases) {
        prepare(2, 20);
        ASSERT_TRUE(set_equation(c.p));
        c.spoil();
        solve_exact(eq, result);
        EXPECT_EQ(result.count, -1) << c.why;
        EXPECT_TRUE(c.app_error < 0 || appError.load() == c.app_error) << c.why;
        EXPECT_TRUE(c.library_error < 0 || mp_err() == c.library_error) << c.why;
    }

    // indices and degrees outside the record are refused, not followed
    prepare(2, 20);
    mp_int_words = EXACT_INT_WORDS;
    mp_set_real_words(words);
    ASSERT_TRUE(set_equation({-2, 0, 1}));
    exact_quadratic(eq, result, 0, ROOT_MAX_DEGREE);
    exact_quadratic(eq, result, -1, 1);
    exact_linear(eq, result, 0);  // degree 2
    EXPECT_EQ(text(0), "");
    u64* q[ROOT_MAX_DEGREE] = {};
    EXPECT_FALSE(deflate_by_root(q, eq.coef, 0, eq.coef[0]));
    EXPECT_FALSE(deflate_by_root(q, eq.coef, ROOT_MAX_DEGREE + 1, eq.coef[0]));
    EXPECT_EQ(appError.load(), 0u);

    // the caller's integer width comes back
    prepare(3, 20);
    ASSERT_TRUE(set_equation({-2, 1, -2, 1}));
    mp_int_words = 7;
    solve_exact(eq, result);
    EXPECT_EQ(result.count, 3);
    EXPECT_EQ(mp_int_words, 7);
}

TEST_F(ExactErrorsTest, StopRequestEndsTheRunAndTheSquarePartSearch) {
    prepare(3, 20);
    ASSERT_TRUE(set_equation({-2, 1, -2, 1}));
    appError.store(APP_ERR_STOPPED);
    solve_exact(eq, result);
    EXPECT_EQ(result.count, -1);
    EXPECT_EQ(appError.load(), static_cast<u32>(APP_ERR_STOPPED));

    // two primes of 61 and 31 bits: stopped before the cube root, the split
    // still keeps n = o^2 s
    mp_int_words = EXACT_INT_WORDS;
    Mpz nz;
    const mpz_class value = (mpz_class(1) << 61) - 1;
    mpz_mul(nz, value.get_mpz_t(), mpz_class((mpz_class(1) << 31) - 1).get_mpz_t());
    const std::vector<u64> words2 = nz.words(EXACT_INT_WORDS);
    std::vector<u64> o(EXACT_INT_WORDS), s(EXACT_INT_WORDS);
    square_part(o.data(), s.data(), words2.data());
    EXPECT_EQ(o, (std::vector<u64>{1, 0}));
    EXPECT_EQ(s, words2);
}

}  // namespace
