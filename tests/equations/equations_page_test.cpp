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

class EqPageTest : public RootsTest {
  protected:
    void SetUp() override {
        RootsTest::SetUp();
        ui_texts_english();
    }
    // The output text of a synchronous solve; errors stay pending.
    std::u16string solve(const EqPageRequest& r) { return eq_page_solve(run, r); }
    // The message the page would show for the pending error ("" for none).
    static std::u16string message() {
        const ErrorMessage m = takeErrorMessage();
        return m.shown ? std::u16string(m.text) : std::u16string();
    }

    EqPageRun run;
};

// The request of a golden row: "approx|exact real|complex DIGITS [nomult]
// [de] [comma]" and the coefficients a_n first; German texts and a decimal
// comma are set for the row.
EqPageRequest golden_case(const GoldenLine& row) {
    const std::vector<std::string> mode = row.words(0);
    const auto has = [&](const char* w) {
        return std::find(mode.begin(), mode.end(), w) != mode.end();
    };
    EqPageRequest c{{},
                    mode.at(0) == "exact",
                    mode.at(1) == "real",
                    std::atoi(mode.at(2).c_str()),
                    !has("nomult")};
    has("de") ? ui_texts_german() : ui_texts_english();
    mp_set_char_set(MP_CHARS_DECIMAL, has("comma") ? u"," : u".,", has("comma") ? 1 : 2);
    for (const std::string& w : row.words(1)) c.coefficients.push_back(text_from_utf8(w));
    return c;
}

// A row with an output has no error and no message; an error row no output.
TEST_F(EqPageTest, ResultLinesAndInputErrors) {
    const auto check_row = [&](const GoldenLine& row) {
        const std::string got = text_to_utf8(solve(golden_case(row)));
        const std::string code = std::to_string(appError.load());
        const std::string shown = text_to_utf8(message());
        if (run.busy.load()) return std::string("still busy");
        if (!row.has(3)) {
            return code == "0" && shown.empty() && got == row.text(2)
                       ? std::string()
                       : "got " + got + " error " + code + " " + shown;
        }
        if (!got.empty() || code != row.text(2)) return "error " + code + " output " + got;
        return row.text(3).empty() || shown == row.text(3) ? std::string() : "message " + shown;
    };
    golden_run("equations.txt", check_row, "lines");
    golden_run("equations.txt", check_row, "errors");
    // The longest coefficient (1030 characters) is read, one more is refused.
    const std::u16string long_ok = u"1" + std::u16string(1029, u' ');
    EXPECT_EQ(solve({{u"1", long_ok, long_ok + u" "}}), u"");
    EXPECT_EQ(message(), u"Coefficient \"a0\" has to many characters!");
    ui_texts_german();
    EXPECT_EQ(eq_page_hint(1),
              u"Geben Sie die Koeffizienten der Gleichung a1*x + a0 =\u00A00 ein.");
}

TEST_F(EqPageTest, PrecisionRules) {
    const auto check_row = [&](const GoldenLine& row) {
        const std::vector<std::string> w = row.words(0);
        const i32 degree = std::atoi(w.at(0).c_str());
        const EqPageRequest in{
            std::vector<std::u16string>(static_cast<std::size_t>(degree + 1), u"1"),
            w.at(1) == "exact", true, std::atoi(w.at(2).c_str())};
        if (!eq_page_begin(run, in)) return std::string("refused");
        const std::string got = std::to_string(run.result.show_digits) + " " +
                                std::to_string(run.result.iter_digits) + " " +
                                std::to_string(run.result.words);
        eq_page_finish(run);  // without a run: refused as an internal error
        clearErrors();
        return got == row.text(1) ? std::string() : "got " + got;
    };
    golden_run("equations.txt", check_row, "precision");
}

TEST_F(EqPageTest, BeginRefusedWhileBusy) {
    ASSERT_TRUE(eq_page_begin(run, {{u"1", u"-1"}}));
    EXPECT_FALSE(eq_page_begin(run, {{u"1", u"-2"}}));
    EXPECT_EQ(appError.load(), 0u);
    eq_page_run_job(run, nullptr);
    EXPECT_EQ(eq_page_finish(run), u"x1 = 1   [1]\r\n");
    // A stop after the run has ended is not pending for the next one.
    eq_page_request_stop(run);
    EXPECT_EQ(appError.load(), 0u);
}

constexpr mpfr_prec_t BITS = 512;

// The coefficients (a_n first, as texts "re+im*i") of a product of powers
// (1 to 5) of factors up to a random total degree 2..10, and its roots
// (with real_only only the real ones) with their multiplicities. A factor is an integer quadratic
// with irrational or complex roots, an integer linear factor or, when `gaussian`, x - (re + im i),
// and its roots (from Arb) lie far more than 10^-30 from those of the others (equal ones, from
// proportional factors, may differ in their last bits).
std::vector<std::u16string> random_product(TestRng& rng, bool real_only, bool gaussian,
                                           MpcList& roots, std::vector<i64>& mult) {
    std::vector<mpz_class> re{1}, im{0};  // a_0 first
    const int most = static_cast<int>(rng.range(2, 10));
    for (int degree = 0, tries = 0; degree < most && tries < 4; ++tries) {
        std::vector<std::pair<long, long>> f;  // a_0 first
        if (gaussian && rng.chance(25))
            f = {{rng.range(-4, 4), rng.range(1, 4) * (rng.chance(50) ? 1 : -1)}, {1, 0}};
        else if (rng.chance(35))
            f = {{rng.range(-9, 9), 0}, {rng.range(1, 5), 0}};
        while (f.empty()) {
            const long a = rng.range(1, 4), b = rng.range(-30, 30), c = rng.range(-30, 30);
            const long d = b * b - 4 * a * c, r = std::lround(std::sqrt(std::fabs(d)));
            if (c != 0 && (d < 0 || r * r != d)) f = {{c, 0}, {b, 0}, {a, 0}};
        }
        const int d = static_cast<int>(f.size()) - 1;
        const int power = static_cast<int>(std::min<i64>(rng.range(1, 5), (most - degree) / d));
        MpcList c, more;
        for (const auto& [fr, fi] : f) push_mpc(c, BITS, fr, fi);
        EXPECT_TRUE(arb_reference_roots(c, 120, BITS, more));
        bool fits = power > 0;
        Mpc diff(BITS);
        for (const auto& r : roots) {
            for (const auto& m : more) {
                mpc_sub(diff, *r, *m, MPC_RNDNN);
                fits = fits && std::hypot(mpfr_get_d(diff.re(), MPFR_RNDN),
                                          mpfr_get_d(diff.im(), MPFR_RNDN)) > 1e-30;
            }
        }
        if (!fits) continue;
        degree += d * power;
        for (auto& m : more) {
            if (!real_only || mpfr_zero_p(m->im()))
                roots.push_back(std::move(m)), mult.push_back(power);
        }
        for (int p = 0; p < power; ++p) {
            std::vector<mpz_class> r(re.size() + d, 0), i(r.size(), 0);
            for (std::size_t j = 0; j < re.size(); ++j) {
                for (std::size_t k = 0; k < f.size(); ++k) {
                    r[j + k] += re[j] * f[k].first - im[j] * f[k].second;
                    i[j + k] += re[j] * f[k].second + im[j] * f[k].first;
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
        EqPageRequest c;
        c.exact = rng.chance(50);
        c.real_only = rng.chance(50);
        MpcList want;
        std::vector<i64> mult;
        c.coefficients = random_product(rng, c.real_only, !c.exact && !c.real_only, want, mult);
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
