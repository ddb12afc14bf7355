// Exact root texts of hand-picked equations: every row of the quadratic
// table, rational roots by both candidates, merging, zero roots and the
// real-only mode. Each text is also read back and checked against the
// root's approximation, which catches a text paired with the wrong root.
#include <string>
#include <vector>

#include "exact_test_util.h"

namespace {

struct FormCase {
    const char* why;
    Poly p;                          // a_0 first
    std::vector<std::string> texts;  // "text^multiplicity" in the solver's order
};

mpq_class q(const char* s) {
    mpq_class v(s, 10);
    v.canonicalize();
    return v;
}

const std::vector<FormCase>& form_cases() {
    static const std::vector<FormCase> cases = {
        {"linear, a fraction", {2, 3}, {"-2/3^1"}},
        {"linear, zero root", {0, q("-7/5")}, {"0^1"}},
        {"square root of an integer", {-2, 0, 1}, {"-sqrt(2)^1", "sqrt(2)^1"}},
        {"t and a unit factor", {-1, -2, 1}, {"1-sqrt(2)^1", "1+sqrt(2)^1"}},
        {"complex pair, R = 1", {5, 2, 1}, {"-1-2*i^1", "-1+2*i^1"}},
        {"pure imaginary, R = 1", {1, 0, 1}, {"-1*i^1", "1*i^1"}},
        {"fractional t and F", {-1, 2, 2}, {"-1/2-1/2*sqrt(3)^1", "-1/2+1/2*sqrt(3)^1"}},
        {"complex pair, R != 1", {1, 1, 1}, {"-1/2-1/2*sqrt(3)*i^1", "-1/2+1/2*sqrt(3)*i^1"}},
        {"pure imaginary, R != 1", {2, 0, 1}, {"-sqrt(2)*i^1", "sqrt(2)*i^1"}},
        {"negative leading coefficient: F carries its sign",
         {2, 0, -1},
         {"-sqrt(2)^1", "sqrt(2)^1"}},
        {"square part of the discriminant's denominator",
         {q("-1/3"), 0, 1},
         {"-1/3*sqrt(3)^1", "1/3*sqrt(3)^1"}},
        {"rational discriminant root", {q("-3/4"), 1, 1}, {"-3/2^1", "1/2^1"}},
        {"discriminant 5^2 89 103 19367440217 111259090248578997727: the trial division stops",
         {q("-123456789012345678901234567890123456"), 1, 1},
         {"-1/2-5/2*sqrt(19753086241975308624197530862419753)^1",
          "-1/2+5/2*sqrt(19753086241975308624197530862419753)^1"}},
        {"double root of a quadratic", {1, -2, 1}, {"1^2"}},
        {"quadratic with a zero root", {0, 3, 1}, {"-3^1", "0^1"}},
        {"candidate A and both B roots", {-1, 6, -11, 6}, {"1/3^1", "1/2^1", "1^1"}},
        {"double rational root merged", {q("-2/9"), q("13/9"), q("-8/3"), 1}, {"1/3^2", "2^1"}},
        {"no rational root, degree 3", {-2, 0, 0, 1}, {"^1", "^1", "^1"}},
        {"rational root leaves a quadratic", {2, -2, -1, 1}, {"-sqrt(2)^1", "1^1", "sqrt(2)^1"}},
        {"rational root leaves a complex pair", {-2, 1, -2, 1}, {"2^1", "-1*i^1", "1*i^1"}},
        {"rational roots leave a linear factor", {6, -11, 6, -1}, {"1^1", "2^1", "3^1"}},
        {"zero roots of a cubic", {0, -1, 0, 1}, {"-1^1", "0^1", "1^1"}},
        {"degree 5: x^2 (x - 1/2)(x^2 - 3)",
         {0, 0, q("3/2"), -3, q("-1/2"), 1},
         {"-sqrt(3)^1", "0^2", "1/2^1", "sqrt(3)^1"}},
    };
    return cases;
}

class ExactFormsTest : public ExactTest {};

TEST_F(ExactFormsTest, TextsOfKnownEquations) {
    for (const FormCase& c : form_cases()) {
        SCOPED_TRACE(c.why);
        for (i32 digits : {10, 41, 60}) {
            SCOPED_TRACE(digits);
            ASSERT_EQ(solve(c.p, digits), static_cast<i64>(c.texts.size()))
                << "errors " << appError.load() << " " << mp_err();
            EXPECT_EQ(appError.load(), 0u);
            EXPECT_EQ(mp_err(), 0);
            EXPECT_EQ(texts(), c.texts);
            for (i64 i = 0; i < result.count; ++i) {
                ExactForm x;
                if (text(i).empty()) continue;
                ASSERT_TRUE(parse_exact(text(i), x)) << text(i);
                EXPECT_TRUE(form_matches_root(x, i));
            }
        }
    }
}

TEST_F(ExactFormsTest, RealModeDropsComplexPairsAndTheirTexts) {
    EXPECT_EQ(solve({1, 0, 1}, 20, true), 0);
    EXPECT_EQ(appError.load(), 0u);
    EXPECT_EQ(solve({-2, 1, -2, 1}, 20, true), 1);  // (x - 2)(x^2 + 1)
    EXPECT_EQ(texts(), std::vector<std::string>{"2^1"});
    EXPECT_EQ(solve({2, 0, 1}, 20, true), 0);
}

TEST_F(ExactFormsTest, SignFlagOfThePageIsHonoured) {
    prepare(1, 20);
    result.format_flags = NUM_TEXT_SIGN;
    ASSERT_TRUE(set_equation({-4, 2}));
    solve_exact(eq, result);
    ASSERT_EQ(result.count, 1);
    EXPECT_EQ(text(0), "+2");
}

TEST_F(ExactFormsTest, QuadraticRootsGetFreshApproximations) {
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

TEST_F(ExactFormsTest, IterationDigitsStayTwoAboveTheCandidateTest) {
    EXPECT_EQ(exact_iter_digits(1), 41);
    EXPECT_EQ(exact_iter_digits(39), 41);
    EXPECT_EQ(exact_iter_digits(40), 42);
    EXPECT_EQ(exact_iter_digits(41), 41);
    EXPECT_EQ(exact_iter_digits(500), 500);
}

}  // namespace
