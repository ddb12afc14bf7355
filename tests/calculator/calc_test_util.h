// A calculator in its start-up state over a fresh library context and
// default settings, with helpers that evaluate a formula and read the
// result as ASCII.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/app_error.h"
#include "app/settings_values.h"
#include "calculator/calc.h"
#include "formula/formula_error.h"
#include "numlib/mp_context.h"

// UTF-16 from ASCII and back (other characters as \uXXXX).
inline std::u16string utf16(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}
inline std::string ascii(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04x", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return out;
}

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
        calcFormulaEdited(s, utf16(formula));
        calcEvaluate(s);
        return appError.load();
    }
    std::string shown() const { return ascii(s.resultText); }
    u32 error() const { return appError.load(); }

    CalcState s;
};
