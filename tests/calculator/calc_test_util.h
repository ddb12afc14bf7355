// A calculator in its start-up state over a fresh library context and
// default settings, with helpers that evaluate a formula and read the
// result as UTF-8.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/app_error.h"
#include "app/settings_values.h"
#include "calculator/calc.h"
#include "formula/formula_error.h"
#include "numlib/mp_context.h"
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
