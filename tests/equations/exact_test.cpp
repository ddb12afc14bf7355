// The exact solver: random integer polynomials of every degree made of
// rational linear factors and a random rest, against Arb's roots, with
// every text read back and substituted exactly into the equation (GMP
// rationals in Q(sqrt(W))); the texts of hand-picked equations; and the
// square part at the edges the random equations do not reach. Input it
// cannot express: two-word overflow costs the texts and keeps the roots,
// over-long texts are cut or emptied with error 9002, refused input and stop
// requests.
#include "equations/exact.h"

#include <gmpxx.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/uint.h"
#include "roots_test_util.h"
#include "support/golden_runner.h"
#include "support/rat_harness.h"
#include "textbuf/text_utf8.h"

namespace {

using Poly = std::vector<mpq_class>;  // a_0 first

// An exact root text read back: t + F * sqrt(W), W = R or -R.
struct ExactForm {
    mpq_class t, f;
    mpz_class w = 1;
};

// Parses "r", "[t]+-F*i", "[t]+-[F*]sqrt(R)[*i]"; false for anything else.
bool parse_exact(const std::string& text, ExactForm& out) {
    static const std::regex form(
        R"((-?[0-9/]+(?=[-+]))?([-+]?)([0-9/]+)?\*?(?:sqrt\(([0-9]+)\))?(\*i)?)");
    std::smatch m;
    if (!std::regex_match(text, m, form)) return false;
    const std::string f = (m[2] == "-" ? "-" : "") + (m[3].matched ? m[3].str() : "1");
    if (out.t.set_str(m[1].matched ? m[1].str() : "0", 10) != 0 || out.f.set_str(f, 10) != 0)
        return false;
    out.t.canonicalize();
    out.f.canonicalize();
    out.w = m[4].matched ? mpz_class(m[4].str()) : mpz_class(1);
    if (m[5].matched) out.w = -out.w;
    if (!m[4].matched && !m[5].matched) {  // a rational
        out.t += out.f;
        out.f = 0;
    }
    return true;
}

// p(x) for x = t + F sqrt(W) in Q(sqrt(W)): the rational and the sqrt(W) part.
void substitute(const Poly& p, const ExactForm& x, mpq_class& u, mpq_class& v) {
    u = v = 0;
    const mpq_class w(x.w);
    for (std::size_t k = p.size(); k-- > 0;) {
        const mpq_class nu = u * x.t + v * x.f * w + p[k];
        v = u * x.f + v * x.t;
        u = nu;
    }
}

Poly poly_mul(const Poly& a, const Poly& b) {
    Poly c(a.size() + b.size() - 1, 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) c[i + j] += a[i] * b[j];
    }
    return c;
}

bool square_free(const mpz_class& r) {
    for (mpz_class d = 2; d * d <= r; ++d) {
        if (r % (d * d) == 0) return false;
    }
    return true;
}

// square_part of n (two words) as GMP integers: n = o^2 s.
void split(const mpz_class& n, mpz_class& o, mpz_class& s) {
    Mpz nz;
    mpz_set(nz, n.get_mpz_t());
    const std::vector<u64> words = nz.words(EXACT_INT_WORDS);
    std::vector<u64> ow(EXACT_INT_WORDS), sw(EXACT_INT_WORDS);
    square_part(ow.data(), sw.data(), words.data());
    mpz_set(o.get_mpz_t(), Mpz(ow.data(), EXACT_INT_WORDS));
    mpz_set(s.get_mpz_t(), Mpz(sw.data(), EXACT_INT_WORDS));
}

// Arb's roots of p (times its common denominator) to `digits` digits.
bool arb_roots(const Poly& p, i32 digits, MpcList& refs) {
    mpz_class den = 1;
    for (const mpq_class& c : p) mpz_lcm(den.get_mpz_t(), den.get_mpz_t(), c.get_den_mpz_t());
    MpcList ints;
    for (const mpq_class& c : p) {
        push_mpc(ints, 1024, 0, 0);
        mpfr_set_q(ints.back()->re(), mpq_class(c * den).get_mpq_t(), MPFR_RNDN);
    }
    return arb_reference_roots(ints, digits, oracle_bits(digits + 40), refs);
}

class ExactTest : public RootsTest {
  protected:
    // Context and result record for degree n at `digits` digits.
    void prepare(i32 n, i32 digits, bool real_only = false) {
        clearErrors();
        mp_int_words = EXACT_INT_WORDS;
        mp_num_type = MP_TYPE_RAT;
        result = root_result{};
        result.iter_digits = exact_iter_digits(digits);
        result.show_digits = digits;
        result.real_only = real_only;
        words = static_cast<i32>(root_working_words(result.iter_digits, n));
        storage = std::make_unique<RootStorage>(result, words);
    }
    // The equation of p at mp_int_words words per part; false when a part
    // needs more.
    bool set_equation(const Poly& p) {
        values.clear();
        values.reserve(p.size());  // the coefficients point into it
        eq = poly_equation{};
        eq.type = MP_TYPE_RAT;
        eq.degree = static_cast<i32>(p.size()) - 1;
        for (const mpq_class& c : p) {
            Mpq q;
            mpq_set(q, c.get_mpq_t());
            if (!q.fits(mp_int_words)) return false;
            values.push_back(q.words(mp_int_words));
            eq.coef[values.size() - 1] = values.back().data();
        }
        return true;
    }
    i64 solve(const Poly& p, i32 digits, bool real_only = false, u32 format_flags = 0) {
        prepare(static_cast<i32>(p.size()) - 1, digits, real_only);
        result.format_flags = format_flags;
        EXPECT_TRUE(set_equation(p));
        mp_int_words = 7;  // the caller's integer width comes back
        solve_exact(eq, result);
        EXPECT_EQ(mp_int_words, 7);
        return result.count;
    }
    std::string text(i64 i) const { return text_to_utf8(result.exact_text[i]); }
    // Root i near the value of the form x, to one digit below the iteration's.
    ::testing::AssertionResult form_matches_root(const ExactForm& x, i64 i) const {
        const mpfr_prec_t bits = oracle_bits(result.iter_digits + 40);
        Mpc want(bits), got(bits);
        Mpfr s(bits);
        mpfr_set_z(s, mpz_class(abs(x.w)).get_mpz_t(), MPFR_RNDN);
        mpfr_sqrt(s, s, MPFR_RNDN);
        mpfr_mul_q(s, s, x.f.get_mpq_t(), MPFR_RNDN);
        mpc_set_ui(want, 0, MPC_RNDNN);
        mpfr_set_q(want.re(), x.t.get_mpq_t(), MPFR_RNDN);
        mpfr_ptr part = x.w < 0 ? want.im() : want.re();
        mpfr_add(part, part, s, MPFR_RNDN);
        to_mpc(got, result.roots[i], words);
        return near_root(got, want, result.iter_digits - 1, false)
               << " (root " << i << ", " << text(i) << ")";
    }

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

    // The roots against refs at the iteration digits (with real_only only
    // the real ones); every text an exact root of p in its simplest form.
    void check_roots(const Poly& p, bool real_only, MpcList& refs) {
        std::erase_if(refs, [&](const auto& r) { return real_only && !mpfr_zero_p(r->im()); });
        expect_roots(result, words, refs, std::vector<i64>(refs.size(), 1), result.iter_digits,
                     false, false);
        for (i64 i = 0; i < result.count; ++i) {
            if (text(i).empty()) continue;
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
        }
    }
    poly_equation eq;
};

TEST_F(ExactTest, EveryDegreeAgainstArbWithExactTexts) {
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
                    isolated = arb_roots(p, exact_iter_digits(digits) + 10, refs);
                }
                // Rational coefficients: the same roots.
                if (rng.chance(30)) {
                    const mpq_class scale = mpq_class(static_cast<long>(rng.range(-7, 7))) /
                                                static_cast<long>(rng.range(1, 5)) +
                                            8;
                    for (mpq_class& c : p) c *= scale;
                }
                std::string poly_text;
                for (const mpq_class& c : p) poly_text.append(c.get_str()).append(" ");
                SCOPED_TRACE("a_0.. = " + poly_text + "digits " + std::to_string(digits) +
                             (real_only ? ", real only" : ""));
                solve(p, digits, real_only);
                check_roots(p, real_only, refs);
                // Every known rational root has its text, and every root one when
                // at most a quadratic remains.
                std::vector<std::string> texts;
                for (i64 i = 0; i < result.count; ++i) texts.push_back(text(i));
                for (const mpq_class& r : known)
                    EXPECT_TRUE(std::find(texts.begin(), texts.end(), r.get_str()) != texts.end())
                        << r.get_str() << " has no text";
                if (n - rational <= 2) {
                    EXPECT_EQ(std::count(texts.begin(), texts.end(), ""), 0);
                }
            }
        }
    }
}

TEST_F(ExactTest, SquarePartHardCases) {
    mp_int_words = EXACT_INT_WORDS;
    const auto check_row = [&](const GoldenLine& row) {
        mpz_class o, s;
        split(mpz_class(row.text(0)), o, s);
        const std::string got = o.get_str() + " " + s.get_str();
        return got == row.text(1) ? std::string() : "got " + got;
    };
    golden_run("equations.txt", check_row, "square part");
    // Two primes of 61 and 31 bits, stopped before the cube root: the split
    // still keeps n = o^2 s.
    appError.store(APP_ERR_STOPPED);
    const mpz_class n = ((mpz_class(1) << 61) - 1) * ((mpz_class(1) << 31) - 1);
    EXPECT_EQ(check_row(GoldenLine{"", 0, "", {n.get_str(), "1 " + n.get_str()}}), "");
}

// The texts of hand-picked equations, also ones whose texts overflow two
// words; each text is also read back and checked against its root's
// approximation, which catches a text paired with the wrong root, and the
// roots against Arb's where it isolates them.
TEST_F(ExactTest, TextsOfKnownEquations) {
    const auto check_row = [&](const GoldenLine& row) {
        Poly p;
        for (const std::string& c : row.words(0)) p.emplace_back(c), p.back().canonicalize();
        for (i32 digits : {10, 41, 60}) {
            SCOPED_TRACE(row.where() + " digits " + std::to_string(digits));
            solve(p, digits, false, row.text(2) == "sign" ? u32{NUM_TEXT_SIGN} : 0u);
            EXPECT_EQ(appError.load(), 0u);
            EXPECT_EQ(mp_err(), 0);
            std::vector<std::string> texts;  // "text^multiplicity", in the solver's order
            for (i64 i = 0; i < result.count; ++i)
                texts.push_back(text(i) + "^" + std::to_string(result.multiplicity[i]));
            EXPECT_EQ(texts, row.words(1));
            // The roots against Arb's where it isolates them (no multiple root).
            MpcList refs;
            if (result.count == static_cast<i64>(p.size()) - 1 &&
                arb_roots(p, result.iter_digits, refs)) {
                expect_roots(result, words, refs, std::vector<i64>(refs.size(), 1),
                             result.iter_digits, false, false);
            }
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

TEST_F(ExactTest, LongTextsAreCutOrEmptiedWithError9002) {
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
    for (int k : {0, 1}) {  // t + F*i first
        const std::string full = t.get_str() + (k == 0 ? "+" : "-") + f.get_str() + "*i";
        EXPECT_EQ(text(k), full.substr(0, ROOT_EXACT_TEXT_CHARS - 1) + "…");
    }
    result.iter_digits = 20;
    EXPECT_TRUE(form_matches_root(ExactForm{t, f, -1}, 0));

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

// Refused input fails the run (a malformed coefficient without a crash), as
// does a pending stop.
TEST_F(ExactTest, RefusedInputAndContext) {
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
        {"a pending stop",
         {-2, 1, -2, 1},
         [] { appError.store(APP_ERR_STOPPED); },
         APP_ERR_STOPPED,
         0},
    };
    for (const auto& c : cases) {
        prepare(static_cast<i32>(c.p.size()) - 1, 20);
        ASSERT_TRUE(set_equation(c.p));
        c.spoil();
        solve_exact(eq, result);
        EXPECT_EQ(result.count, -1) << c.why;
        EXPECT_TRUE(c.app_error < 0 || appError.load() == c.app_error) << c.why;
        EXPECT_TRUE(c.library_error < 0 || mp_err() == c.library_error) << c.why;
    }

    // indices and degrees outside the record are refused, not followed
    prepare(2, 20);
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
}

}  // namespace
