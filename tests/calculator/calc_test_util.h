// A calculator in its start-up state over a fresh library context and
// default settings, with helpers that evaluate a formula and read the
// result as UTF-8; random formula-like texts.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/app_error.h"
#include "app/settings_values.h"
#include "calculator/calc.h"
#include "formula/formula_error.h"
#include "numlib/mp_context.h"
#include "support/test_random.h"
#include "textbuf/text_utf8.h"

class CalcTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mp_context_reset();
        settings_reset();
        clearErrors();
        calcInit(s);
    }
    void TearDown() override {
        clearErrors();
        mp_context_reset();
        settings_reset();
    }

    void use(i32 type, i32 digits = CALC_DEFAULT_DIGITS) {
        calcSetNumberType(s, type);
        calcSetDigits(s, digits);
    }
    // Evaluates formula; returns the pending application error (0: success).
    u32 eval(const std::string& formula) {
        calcFormulaEdited(s, text_from_utf8(formula));
        calcEvaluate(s);
        return appError.load();
    }
    std::string shown() const { return text_to_utf8(s.resultText); }
    u32 error() const { return appError.load(); }

    CalcState s;
};

// minPieces to maxPieces random pieces: ASCII, letters beyond it and
// surrogate pairs (never "=" or a control character).
inline std::u16string randomText(TestRng& rng, i64 minPieces, i64 maxPieces) {
    static const std::u16string pieces[] = {
        u"1", u"+",      u"(",      u")",      u" ",          u";",         u".",
        u"x", u"\u03C0", u"\u00E4", u"\u2026", u"\U0001D70B", u"\U0001F600"};
    std::u16string s;
    for (i64 n = rng.range(minPieces, maxPieces); n > 0; --n)
        s += pieces[rng.range(0, std::ssize(pieces) - 1)];
    return s;
}
