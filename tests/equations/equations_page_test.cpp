// The solve operation of the equations tool: result lines in both modes and
// languages, the precision rules, each input error with its message, and a
// second run refused while one is busy.
#include "equations_page_test_util.h"
#include "formula/formula_error.h"
#include "support/golden_runner.h"
#include "textbuf/text_utf8.h"

namespace {

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
    golden_run(
        "equations.txt",
        [&](const GoldenLine& row) {
            const std::string got = text_to_utf8(solve(golden_case(row)));
            const std::string shown = text_to_utf8(message());
            if (!shown.empty()) return "message " + shown;
            return got == row.text(2) ? std::string() : "got " + got;
        },
        "lines");
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
    golden_run(
        "equations.txt",
        [&](const GoldenLine& row) {
            const std::vector<std::string> w = row.words(0);
            const i32 degree = std::atoi(w.at(0).c_str());
            EqCase in;
            in.coefficients.assign(static_cast<std::size_t>(degree + 1), u"1");
            in.exact = w.at(1) == "exact";
            in.digits = std::atoi(w.at(2).c_str());
            if (!eq_page_begin(run, request(in))) return std::string("refused");
            const std::string got = std::to_string(run.result.show_digits) + " " +
                                    std::to_string(run.result.iter_digits);
            const bool words_ok =
                run.result.words == root_working_words(run.result.iter_digits, degree);
            eq_page_finish(run);  // without a run: refused as an internal error
            clearErrors();
            return got != row.text(1) ? "got " + got
                   : words_ok         ? std::string()
                                      : std::string("word count");
        },
        "precision");
}

TEST_F(EqPageTest, InputErrors) {
    golden_run(
        "equations.txt",
        [&](const GoldenLine& row) {
            const std::string got = text_to_utf8(solve(golden_case(row)));
            const u32 code = appError.load();
            const std::string shown = text_to_utf8(message());
            if (!got.empty() || code != static_cast<u32>(std::atoi(row.text(2).c_str()))) {
                return "error " + std::to_string(code) + " output " + got;
            }
            if (run.busy.load()) return std::string("still busy");
            return row.text(3).empty() || shown == row.text(3) ? std::string() : "message " + shown;
        },
        "errors");
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

}  // namespace
