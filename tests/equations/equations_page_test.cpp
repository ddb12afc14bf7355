// The solve operation of the equations tool: result lines in both modes and
// languages, the precision rules, each input error with its message, a
// second run refused while one is busy, and random equations with multiple
// roots: products of powers (1 to 5) of distinct irreducible integer
// quadratics and linear factors, whose every distinct root must be listed
// once, with its multiplicity, within a unit of its last shown digit of the
// factor's root from Arb. The iterates of a multiple root scatter around it,
// and a root close to a rounding boundary of its digits once came out split
// in two.
#include "equations/equations_page.h"

#include <gmpxx.h>

#include <string>
#include <vector>

#include "app/error_message.h"
#include "app/ui_texts.h"
#include "roots_test_util.h"
#include "support/golden_runner.h"
#include "textbuf/text_utf8.h"

namespace {

struct EqCase {
    std::vector<std::u16string> coefficients;  // a_n first
    bool exact = false;
    bool real_only = true;
    i32 digits = 10;
    bool multiplicity = true;
};

class EqPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mp_context_reset();
        clearErrors();
        ui_texts_english();
    }
    void TearDown() override {
        clearErrors();
        ui_texts_english();
        mp_context_reset();
    }

    static EqPageRequest request(const EqCase& c) {
        EqPageRequest r;
        r.coefficients = c.coefficients;
        r.exact = c.exact;
        r.real_only = c.real_only;
        r.digits = c.digits;
        r.show_multiplicity = c.multiplicity;
        return r;
    }
    // The output text of a synchronous solve; errors stay pending.
    std::u16string solve(const EqCase& c) { return eq_page_solve(run, request(c)); }
    // The message the page would show for the pending error ("" for none).
    static std::u16string message() {
        const ErrorMessage m = takeErrorMessage();
        return m.shown ? std::u16string(m.text) : std::u16string();
    }

    EqPageRun run;
    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};

// The request of a golden row: "approx|exact real|complex DIGITS [nomult]"
// and the coefficients a_n first.
EqCase golden_case(const GoldenLine& row) {
    const std::vector<std::string> mode = row.words(0);
    EqCase c;
    c.exact = mode.at(0) == "exact";
    c.real_only = mode.at(1) == "real";
    c.digits = std::atoi(mode.at(2).c_str());
    c.multiplicity = mode.size() < 4;
    for (const std::string& w : row.words(1)) c.coefficients.push_back(text_from_utf8(w));
    return c;
}

TEST_F(EqPageTest, ResultLines) {
    const auto check_row = [&](const GoldenLine& row) {
        const std::string got = text_to_utf8(solve(golden_case(row)));
        const std::string shown = text_to_utf8(message());
        if (!shown.empty()) return "message " + shown;
        return got == row.text(2) ? std::string() : "got " + got;
    };
    golden_run("equations.txt", check_row, "lines");
}

TEST_F(EqPageTest, GermanTextsAndDecimalComma) {
    ui_texts_german();
    EXPECT_EQ(solve({{u"1", u"0", u"1"}}), u"Die Gleichung hat keine reellen Lösungen.");
    EXPECT_EQ(eq_page_hint(1),
              u"Geben Sie die Koeffizienten der Gleichung a1*x + a0 =\u00A00 ein.");
    mp_set_char_set(MP_CHARS_DECIMAL, u",", 1);
    EXPECT_EQ(solve({{u"2", u"-3"}, true}), u"x1 = 3/2 \u2248 1,5   [1]\r\n");
    // The message of a coefficient error comes in the same language.
    solve({{u"0", u"1"}});
    EXPECT_EQ(message(), u"Der höchste Koeffizient \"a1\" darf nicht 0 sein!");
}

TEST_F(EqPageTest, PrecisionRules) {
    const auto check_row = [&](const GoldenLine& row) {
        const std::vector<std::string> w = row.words(0);
        const i32 degree = std::atoi(w.at(0).c_str());
        EqCase in;
        in.coefficients.assign(static_cast<std::size_t>(degree + 1), u"1");
        in.exact = w.at(1) == "exact";
        in.digits = std::atoi(w.at(2).c_str());
        if (!eq_page_begin(run, request(in))) return std::string("refused");
        const std::string got =
            std::to_string(run.result.show_digits) + " " + std::to_string(run.result.iter_digits);
        const bool words_ok =
            run.result.words == root_working_words(run.result.iter_digits, degree);
        eq_page_finish(run);  // without a run: refused as an internal error
        clearErrors();
        return got != row.text(1) ? "got " + got
               : words_ok         ? std::string()
                                  : std::string("word count");
    };
    golden_run("equations.txt", check_row, "precision");
}

TEST_F(EqPageTest, InputErrors) {
    const auto check_row = [&](const GoldenLine& row) {
        const std::string got = text_to_utf8(solve(golden_case(row)));
        const u32 code = appError.load();
        const std::string shown = text_to_utf8(message());
        if (!got.empty() || code != static_cast<u32>(std::atoi(row.text(2).c_str()))) {
            return "error " + std::to_string(code) + " output " + got;
        }
        if (run.busy.load()) return std::string("still busy");
        return row.text(3).empty() || shown == row.text(3) ? std::string() : "message " + shown;
    };
    golden_run("equations.txt", check_row, "errors");
    // The longest coefficient (1030 characters) is read, one more is refused;
    // more coefficients than degree 10 takes are an internal error.
    const std::u16string long_ok = u"1" + std::u16string(1029, u' ');
    EXPECT_EQ(solve({{u"1", long_ok, long_ok + u" "}}), u"");
    EXPECT_EQ(message(), u"Coefficient \"a0\" has to many characters!");
    EXPECT_EQ(solve({std::vector<std::u16string>(12, u"1")}), u"");
    EXPECT_EQ(appError.load(), APP_ERR_INTERNAL);
    clearErrors();
}

TEST_F(EqPageTest, BeginRefusedWhileBusy) {
    ASSERT_TRUE(eq_page_begin(run, request({{u"1", u"-1"}})));
    EXPECT_FALSE(eq_page_begin(run, request({{u"1", u"-2"}})));
    EXPECT_EQ(appError.load(), 0u);
    eq_page_run_job(run, nullptr);
    EXPECT_EQ(eq_page_finish(run), u"x1 = 1   [1]\r\n");
    // A stop after the run has ended is not pending for the next one.
    eq_page_request_stop(run);
    EXPECT_EQ(appError.load(), 0u);
}

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
