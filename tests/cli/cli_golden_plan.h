// How a golden row of the formula engine (formula/golden.h) is asked of
// velmarix-cli: the options that give the row's type, word count and input
// base, and the text the program must print; or why the row cannot be asked.
//
// The result field differs from num_to_text with flags 0 in ways that depend
// on the row only: uint and rat use fixed word counts, real and cplx round
// to the digits setting (which also sets the word count, 19 digits a word)
// and leave fixed notation at exponent 10^digits instead of 10^10. A row runs
// only where those differences cannot change the golden text, so that its
// expectation stays the golden text itself.
//
// Header-only: the test program is built from the folder's *_test.cpp files.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "app/app_error.h"
#include "app/error_message.h"
#include "app/error_texts.h"
#include "calculator/calc_state.h"
#include "formula/golden.h"
#include "numlib/mp_context.h"

struct GoldenCliPlan {
    const char* skip = nullptr;     // why the row is not run; null: run it
    std::vector<std::string> args;  // options before "--" (the group of the row)
    std::string formula;            // UTF-8
    std::string out;                // expected standard output, "" for an error row
    std::string err;                // expected standard error, "" for a result row
};

namespace golden_cli {

using golden_detail::utf8;

// Where a shown real number sits: its significant digits and the decimal
// exponent of its first digit.
struct Shape {
    i32 digits = 1;
    i64 exp = 0;
    bool exponentForm = false;
};

// Reads "-12.5", "0.001", "1.2e+30", "3" (no sign on the exponent is fine).
inline Shape shapeOf(const std::u16string& text) {
    Shape s;
    std::u16string mantissa = text;
    i64 written = 0;
    const std::size_t e = text.find(u'e');
    if (e != std::u16string::npos) {
        s.exponentForm = true;
        mantissa = text.substr(0, e);
        written = std::stoll(utf8(text.substr(e + 1)));
    }
    std::string all;  // the mantissa's digits, point left out
    i64 intDigits = -1;
    for (char16_t c : mantissa) {
        if (c == u'.') intDigits = static_cast<i64>(all.size());
        if (c >= u'0' && c <= u'9') all += static_cast<char>(c);
    }
    if (intDigits < 0) intDigits = static_cast<i64>(all.size());
    const std::size_t first = all.find_first_not_of('0');
    if (first == std::string::npos) return s;  // zero
    const std::size_t last = all.find_last_not_of('0');
    s.digits = static_cast<i32>(last - first + 1);
    s.exp = written + intDigits - 1 - static_cast<i64>(first);
    return s;
}

// The real and imaginary parts of a cplx text ("3-2i", "-i", "2", "0.5-0.7i").
inline std::vector<std::u16string> partsOf(const std::u16string& text, bool cplx) {
    if (!cplx) return {text};
    std::size_t split = std::u16string::npos;
    for (std::size_t k = 1; k < text.size(); ++k)
        if ((text[k] == u'+' || text[k] == u'-') && text[k - 1] != u'e') split = k;
    std::vector<std::u16string> parts;
    std::u16string imag = text;
    if (text.back() != u'i') return {text};
    if (split != std::u16string::npos) {
        parts.push_back(text.substr(0, split));
        imag = text.substr(split);
    }
    imag.pop_back();
    if (imag.empty() || imag == u"+" || imag == u"-") imag += u'1';
    parts.push_back(imag);
    return parts;
}

// The smallest digits setting at which the result field shows text as it
// stands, within [lo, hi]; 0 when there is none. The field rounds to d digits
// and writes fixed notation for -4 < exponent < d.
inline i32 digitsShowing(const std::u16string& text, bool cplx, i32 lo, i32 hi) {
    i64 low = lo, high = hi;
    for (const std::u16string& part : partsOf(text, cplx)) {
        const Shape s = shapeOf(part);
        low = std::max<i64>(low, s.digits);
        if (!s.exponentForm) low = std::max<i64>(low, s.exp + 1);
        if (s.exponentForm && s.exp > -4) high = std::min<i64>(high, s.exp);
    }
    return low <= high ? static_cast<i32>(low) : 0;
}

inline std::string errorText(u32 code, i32 pos) {
    char16_t chars[ERROR_MESSAGE_MAX + 1];
    TextBuf buf = textbuf_on(chars);
    ErrorState state;
    state.app_code = APP_ERR_FORMULA;
    state.formula_code = code;
    state.formula_pos = pos;
    formatErrorMessage(buf, state, LANGUAGE_ENGLISH);
    return utf8(chars);
}

inline bool isNameChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_' ||
           (c >= u'\u03b1' && c <= u'\u03c9');
}

// Whether text uses name as a whole word.
inline bool mentions(const std::u16string& text, const std::u16string& name) {
    for (std::size_t at = text.find(name); at != std::u16string::npos;
         at = text.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        if ((at == 0 || !isNameChar(text[at - 1])) &&
            (end >= text.size() || !isNameChar(text[end])))
            return true;
    }
    return false;
}

// The --var options of the row, or the reason they cannot be given.
inline const char* variableArgs(const GoldenRow& row, std::vector<std::string>* args) {
    std::u16string rest = row.vars;
    std::vector<std::u16string> names;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(u',');
        std::u16string item = rest.substr(0, comma);
        rest = comma == std::u16string::npos ? u"" : rest.substr(comma + 1);
        item.erase(0, item.find_first_not_of(u' '));
        const std::size_t eq = item.find(u'=');
        std::u16string name = item.substr(0, eq), value = item.substr(eq + 1);
        name.erase(name.find_last_not_of(u' ') + 1);
        for (const char16_t* reserved : {u"e", u"i", u"\u03c0", u"pi", u"ans"})
            if (name == reserved) return "variable name reserved in the calculator";
        for (const std::u16string& earlier : names)
            if (mentions(value, earlier))
                return "variable value reading another variable (the calculator evaluates each "
                       "alone)";
        // The calculator reads a value in the input base, the engine rows in base 10.
        if (row.base != 10 && (value.size() != 1 || value[0] < u'0' || value[0] > u'9'))
            return "variable value read in another base";
        names.push_back(name);
        args->push_back("--var");
        args->push_back(utf8(name) + "=" + utf8(value));
    }
    return nullptr;
}

// The options of a uint or rat row, or why it cannot run.
inline const char* integerArgs(const GoldenRow& row, std::vector<std::string>* args) {
    static_assert(CALC_UINT_WORDS <= GOLDEN_WIDE_UINT_WORDS &&
                  CALC_RAT_WORDS <= GOLDEN_WIDE_RAT_WORDS);  // unmarked errors recur there
    const i32 words = row.type == MP_TYPE_UINT ? CALC_UINT_WORDS : CALC_RAT_WORDS;
    // A rat formula failing with these is evaluated again as real, which may succeed.
    const bool retried = row.type == MP_TYPE_RAT && row.isError &&
                         (row.error == 10203 || row.error == 10208);
    if (retried) return "rat library or literal error (the calculator retries as real)";
    if (row.words > words) return "more words than the calculator uses";
    if (row.words < words && row.wordBound)
        return "overflow of fewer words than the calculator uses";
    if (row.type == MP_TYPE_UINT) {
        args->push_back("--in-base");
        args->push_back(std::to_string(row.base));
    }
    return nullptr;
}

// The digits option of a real or cplx row, or why it cannot run.
inline const char* digitsArgs(const GoldenRow& row, std::vector<std::string>* args) {
    if (row.words > MP_REAL_WORDS_MAX) return "word count no digits setting gives";
    // d digits give (d + 20) / 19 words; the largest count also takes the
    // digits beyond its rounding margin.
    const i32 lo = std::max(1, 19 * row.words - 20);
    const i32 hi = row.words == MP_REAL_WORDS_MAX ? CALC_MAX_DIGITS : 19 * row.words - 2;
    const i32 digits = row.isError
                           ? std::clamp(10, lo, hi)
                           : digitsShowing(row.expect, row.type == MP_TYPE_CPLX, lo, hi);
    if (digits == 0) return "result shown rounded or in other notation";
    args->push_back("-d");
    args->push_back(std::to_string(digits));
    return nullptr;
}

}  // namespace golden_cli

// The plan of one row.
inline GoldenCliPlan goldenCliPlan(const GoldenRow& row) {
    using namespace golden_cli;
    GoldenCliPlan plan;
    const std::u16string& formula = row.formula;
    plan.formula = utf8(formula);
    plan.args = {"-t", golden_detail::typeName(row.type)};
    const bool integer = row.type == MP_TYPE_UINT || row.type == MP_TYPE_RAT;
    if (row.limits) {
        plan.skip = "operand limits (the calculator does not use them)";
    } else if (std::count(formula.begin(), formula.end(), u'(') >
               std::count(formula.begin(), formula.end(), u')')) {
        plan.skip = "open parentheses (the calculator closes them)";
    } else if (mentions(formula, u"ans")) {
        plan.skip = "\"ans\" (the previous result)";
    } else if (const char* why =
                   integer ? integerArgs(row, &plan.args) : digitsArgs(row, &plan.args)) {
        plan.skip = why;
    } else {
        plan.skip = variableArgs(row, &plan.args);
    }
    if (plan.skip != nullptr) return plan;
    if (row.isError)
        plan.err = errorText(row.error, row.pos) + "\n";
    else
        plan.out = utf8(row.expect) + "\n";
    return plan;
}
