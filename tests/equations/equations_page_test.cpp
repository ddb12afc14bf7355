// The solve operation of the equations tool: result lines in both modes and
// languages, the precision rules, each input error with its message, and a
// stop request on the worker.
#include <chrono>
#include <thread>

#include "equations_page_test_util.h"
#include "formula/formula_error.h"

namespace {

struct LineCase {
    const char* what;
    EqCase input;
    std::u16string lines;
};

TEST_F(EqPageTest, ResultLines) {
    const LineCase cases[] = {
        {"linear", {{u"2", u"-3"}}, u"x1 = 1.5   [1]\r\n"},
        {"linear, exact", {{u"2", u"-3"}, true}, u"x1 = 3/2 \u2248 1.5   [1]\r\n"},
        {"sqrt forms",
         {{u"1", u"0", u"-2"}, true},
         u"x1 = -sqrt(2) \u2248 -1.414213562   [1]\r\nx2 = sqrt(2) \u2248 1.414213562   [1]\r\n"},
        {"integer roots need no approximation",
         {{u"1", u"", u"-4"}, true},
         u"x1 = -2   [1]\r\nx2 = 2   [1]\r\n"},
        {"complex pair, a - bi first",
         {{u"1", u"2", u"5"}, false, false},
         u"x1 = -1-2i   [1]\r\nx2 = -1+2i   [1]\r\n"},
        {"complex pair, exact",
         {{u"1", u"2", u"5"}, true, false},
         u"x1 = -1-2*i   [1]\r\nx2 = -1+2*i   [1]\r\n"},
        {"whole parts get a decimal point beside exact forms",
         {{u"2", u"4", u"3"}, true, false},
         u"x1 = -1-1/2*sqrt(2)*i \u2248 -1.0-0.7071067812i   [1]\r\n"
         u"x2 = -1+1/2*sqrt(2)*i \u2248 -1.0+0.7071067812i   [1]\r\n"},
        {"complex coefficients, smaller imaginary part first",
         {{u"1", u"2i", u"1"}, false, false},
         u"x1 = 0.4142135624i   [1]\r\nx2 = -2.414213562i   [1]\r\n"},
        {"multiplicities: (x - 1)^2 (x + 2)",
         {{u"1", u"0", u"-3", u"2"}},
         u"x1 = -2   [1]\r\nx2 = 1   [2]\r\n"},
        {"zero roots: x^3", {{u"1", u"0", u"0", u"0"}}, u"x1 = 0   [3]\r\n"},
        {"merged rational root keeps its text",
         {{u"9", u"-24", u"13", u"-2"}, true},
         u"x1 = 1/3 \u2248 0.3333333333   [2]\r\nx2 = 2   [1]\r\n"},
        {"no multiplicities",
         {{u"1", u"0", u"-3", u"2"}, false, true, 10, false},
         u"x1 = -2\r\nx2 = 1\r\n"},
        {"no real solutions", {{u"1", u"0", u"1"}}, u"The equation has no real solutions."},
        {"cubic without rational roots, exact",
         {{u"1", u"0", u"0", u"-2"}, true},
         u"x1 = 1.25992105   [1]\r\n"},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(solve(c.input), c.lines) << c.what;
        EXPECT_EQ(message(), u"") << c.what;
    }
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

TEST_F(EqPageTest, Hint) {
    EXPECT_EQ(eq_page_hint(2),
              u"Enter the coefficients of the equation a2*x^2 + a1*x + a0 =\u00A00.");
    EXPECT_EQ(
        eq_page_hint(6),
        u"Enter the coefficients of the equation a6*x^6 + a5*x^5 + ... + a1*x + a0 =\u00A00.");
}

TEST_F(EqPageTest, PrecisionRules) {
    struct Case {
        i32 degree;
        bool exact;
        i32 digits, shown, iterated;
    };
    // Exact runs iterate at 41 digits at least (42 for 40), for the rational
    // root test at 39; the asked digits are clamped to the page's range.
    const Case cases[] = {{2, true, 40, 40, 42},       {2, true, 39, 39, 41},
                          {2, true, 41, 41, 41},       {4, false, 9999, 2000, 2000},
                          {7, true, 1001, 1000, 1000}, {8, false, 751, 750, 750},
                          {10, false, 1, 5, 5}};
    for (const Case& c : cases) {
        EqCase in;
        in.coefficients.assign(static_cast<std::size_t>(c.degree + 1), u"1");
        in.exact = c.exact;
        in.digits = c.digits;
        ASSERT_TRUE(eq_page_begin(run, request(in))) << c.degree << " " << c.digits;
        EXPECT_EQ(run.result.show_digits, c.shown) << c.degree << " " << c.digits;
        EXPECT_EQ(run.result.iter_digits, c.iterated) << c.degree << " " << c.digits;
        EXPECT_EQ(run.result.words, root_working_words(c.iterated, c.degree));
        eq_page_finish(run);  // without a run: refused as an internal error
        clearErrors();
    }
    // The shown roots are rounded to the asked digits after an exact run.
    EXPECT_EQ(solve({{u"1", u"0", u"-2"}, true, true, 40}),
              u"x1 = -sqrt(2) \u2248 -1.41421356237309504880168872420969807857   [1]\r\n"
              u"x2 = sqrt(2) \u2248 1.41421356237309504880168872420969807857   [1]\r\n");
}

struct ErrorCase {
    const char* what;
    EqCase input;
    u32 code;
    std::u16string message;
};

TEST_F(EqPageTest, InputErrors) {
    const std::u16string long_ok = u"1" + std::u16string(1029, u' ');
    const std::u16string too_long = u"1" + std::u16string(1030, u' ');
    const ErrorCase cases[] = {
        {"all cells empty",
         {{u"", u" ", u"\t", u""}},
         APP_ERR_LEADING_ZERO,
         u"The highest coefficient \"a3\" must not be 0!"},
        {"zero leading rational",
         {{u"0/5", u"1"}, true},
         APP_ERR_LEADING_ZERO,
         u"The highest coefficient \"a1\" must not be 0!"},
        // a_n is read and judged before the rows below it
        {"leading zero before a bad a0",
         {{u"", u"1+"}},
         APP_ERR_LEADING_ZERO,
         u"The highest coefficient \"a1\" must not be 0!"},
        {"formula error",
         {{u"1", u"2", u"1+"}},
         APP_ERR_COEFFICIENT,
         u"Error evaluating coefficient \"a0\". Unexpected end of formula!"},
        {"complex coefficient in mode real",
         {{u"1", u"2i", u"1"}},
         APP_ERR_COEFFICIENT_REAL,
         u"The coefficient \"a1\" has to be real!"},
        {"a complex value has no rational form",
         {{u"1", u"2i"}, true, false},
         APP_ERR_COEFFICIENT_RATIONAL,
         u""},
        {"no rational form",
         {{u"1", u"sqrt(2)"}, true},
         APP_ERR_COEFFICIENT_RATIONAL,
         u"The coefficient \"a0\" is not a rational number in numerator denominator "
         u"representation or overflow in numerator or denominator. The result at character position "
         u"1 has no exact rational value!"},
        {"two-word overflow", {{u"10^39", u"1"}, true}, APP_ERR_COEFFICIENT_RATIONAL, u""},
        {"too long",
         {{u"1", long_ok, too_long}},
         APP_ERR_COEFFICIENT_LONG,
         u"Coefficient \"a0\" has to many characters!"},
        {"no convergence",
         {{u"1", u"0", u"-1e300"}, false, true, 5},
         APP_ERR_NOT_CONVERGED,
         u"Iteration method has not converged!"},
        {"no coefficients of a degree", {{u"1"}}, APP_ERR_INTERNAL, u"Internal error!"},
        {"degree 11",
         {std::vector<std::u16string>(12, u"1")},
         APP_ERR_INTERNAL,
         u"Internal error!"},
    };
    for (const ErrorCase& c : cases) {
        EXPECT_EQ(solve(c.input), u"") << c.what;
        EXPECT_EQ(appError.load(), c.code) << c.what;
        const std::u16string shown = message();
        if (!c.message.empty()) {
            EXPECT_EQ(shown, c.message) << c.what;
        }
        EXPECT_FALSE(run.busy.load()) << c.what;
    }
}

class SignalSink : public EqPageJobSink {
  public:
    void done() override { calls.fetch_add(1); }
    std::atomic<int> calls{0};
};

TEST_F(EqPageTest, StopEndsTheWorkerWithoutResultOrMessage) {
    // Ten roots of size 10^300000 at 750 digits: far more sweeps than a
    // test could wait for.
    EqCase c{{u"1", u"", u"", u"", u"", u"", u"", u"", u"", u"", u"-1e3000000"}, false, false, 750};
    ASSERT_TRUE(eq_page_begin(run, request(c)));
    SignalSink sink;
    eq_page_start_job(run, sink);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(run.job_running.load());
    eq_page_request_stop(run);
    ASSERT_TRUE(eq_page_wait(run, std::chrono::seconds(60)));
    EXPECT_EQ(sink.calls.load(), 1);
    EXPECT_EQ(eq_page_finish(run), u"");
    EXPECT_EQ(appError.load(), APP_ERR_STOPPED);
    EXPECT_EQ(message(), u"");
    EXPECT_FALSE(run.busy.load());
    // The run can be used again.
    EXPECT_EQ(solve({{u"1", u"-1"}}), u"x1 = 1   [1]\r\n");
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
