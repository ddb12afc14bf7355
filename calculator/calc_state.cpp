// Settings of the calculator and how their changes act on the shown result.
#include "calculator/calc_state.h"

#include <algorithm>

#include "app/app_error.h"
#include "app/settings_values.h"
#include "calculator/calc_display.h"
#include "numlib/mp_context.h"

namespace {

bool knownType(i32 type) {
    return type == MP_TYPE_REAL || type == MP_TYPE_CPLX || type == MP_TYPE_UINT ||
           type == MP_TYPE_RAT;
}

void markDirty() {
    settings_dirty = 1;
}

}  // namespace

i32 calcMaxValueWords() {
    const i32 words[] = {CALC_UINT_WORDS, 2 * CALC_RAT_WORDS + 1, MP_REAL_WORDS_MAX + 1,
                         2 * MP_REAL_WORDS_MAX + 2};
    return *std::max_element(std::begin(words), std::end(words));
}

i64 calcMaxFormulaLength() {
    const i64 lengths[] = {num_text_capacity(CALC_UINT_WORDS, MP_TYPE_UINT),
                           num_text_capacity(CALC_RAT_WORDS, MP_TYPE_RAT),
                           num_text_capacity(MP_REAL_WORDS_MAX, MP_TYPE_REAL) + 2000,
                           num_text_capacity(MP_REAL_WORDS_MAX, MP_TYPE_CPLX) + 2000};
    return *std::max_element(std::begin(lengths), std::end(lengths));
}

i32 calcRealWords(i32 digits) {
    // Capped at the library's largest count, so that the largest precision
    // (527 * 19 digits) is usable although its rounding margin no longer fits.
    return std::clamp((digits + 20) / 19, 1, MP_REAL_WORDS_MAX);
}

i32 calcIntWords(i32 type) {
    if (type == MP_TYPE_UINT) return CALC_UINT_WORDS;
    if (type == MP_TYPE_RAT) return CALC_RAT_WORDS;
    return 1;
}

i32 calcWordsOf(const CalcState& s, i32 type) {
    return (type == MP_TYPE_REAL || type == MP_TYPE_CPLX) ? s.realWords : calcIntWords(type);
}

void calcApplyContext(const CalcState& s) {
    mp_num_type = s.numberType;
    mp_set_real_words(s.realWords);
    mp_set_int_words(s.intWords);
}

void calcInit(CalcState& s) {
    const i32 type = static_cast<i32>(settings_number_type);
    s.numberType = knownType(type) ? type : MP_TYPE_REAL;
    const i32 digits =
        settings_decimal_precision == 0 ? CALC_DEFAULT_DIGITS : settings_decimal_precision;
    s.digits = std::clamp(digits, 1, CALC_MAX_DIGITS);
    s.realWords = calcRealWords(s.digits);
    s.intWords = calcIntWords(s.numberType);
    s.inputBase = settings_base_valid(settings_input_base) ? settings_input_base : 10;
    s.outputBase = settings_base_valid(settings_output_base) ? settings_output_base : 10;
    s.angleType = settings_angle_type >= 1 && settings_angle_type <= 3 ? settings_angle_type : 2;
    s.groupDigits = settings_thousands_sci_calc != 0;
    s.displayMode = CALC_DISPLAY_AUTO;
    const auto words = static_cast<std::size_t>(calcMaxValueWords());
    s.previousResult.assign(words, 0);
    s.jobResult.assign(words, 0);
    s.convertBuffer.assign(words, 0);
    s.previousType = MP_TYPE_NONE;
    s.previousWords = 0;
    s.hasResult = s.resultInexact = s.resultStale = s.formulaTouched = false;
    s.formula.clear();
    s.resultText.clear();
    s.digitCountText.clear();
}

void calcSetNumberType(CalcState& s, i32 type) {
    if (!knownType(type) || type == s.numberType) return;
    if (s.numberType == MP_TYPE_UINT) {
        if (s.hasResult && !s.resultText.empty() && s.outputBase != 10) {
            s.outputBase = 10;
            settings_output_base = 10;
            calcShowResult(s);
        }
        if (s.inputBase != 10) s.formula.clear();
    }
    if (type == MP_TYPE_UINT) {
        if (s.hasResult) s.outputBase = 10;
        if (!s.formula.empty()) s.inputBase = 10;
        settings_output_base = static_cast<i32>(s.outputBase);
        settings_input_base = static_cast<i32>(s.inputBase);
    }
    s.numberType = type;
    s.intWords = calcIntWords(type);
    calcApplyContext(s);
    settings_number_type = static_cast<u32>(type);
    s.resultStale = true;
    markDirty();
}

void calcSetDigits(CalcState& s, i32 digits) {
    s.digits = std::clamp(digits, 1, CALC_MAX_DIGITS);
    s.realWords = calcRealWords(s.digits);
    if (!s.resultText.empty()) s.resultStale = true;
    settings_decimal_precision = s.digits;
    markDirty();
}

void calcSetInputBase(CalcState& s, u32 base) {
    if (!settings_base_valid(base)) return;
    s.inputBase = base;
    settings_input_base = static_cast<i32>(base);
    markDirty();
}

void calcSetOutputBase(CalcState& s, u32 base) {
    if (!settings_base_valid(base)) return;
    s.outputBase = base;
    if (s.hasResult) {
        if (calcConvertPreviousResult(s))
            calcShowResult(s);
        else
            s.resultStale = true;
    }
    settings_output_base = static_cast<i32>(base);
    markDirty();
}

void calcSetAngleType(CalcState& s, u32 angle) {
    if (angle < 1 || angle > 3) return;
    s.angleType = angle;
    settings_angle_type = angle;
    markDirty();
}

void calcFormulaEdited(CalcState& s, std::u16string_view formula) {
    s.formula.assign(formula);
    s.displayMode = CALC_DISPLAY_AUTO;
}

void calcClearAll(CalcState& s) {
    clearErrors();
    s.displayMode = CALC_DISPLAY_AUTO;
    s.hasResult = false;
    s.resultInexact = false;
    s.resultStale = false;
    s.formulaTouched = false;
    s.formula.clear();
    s.resultText.clear();
    s.digitCountText.clear();
}

void calcCloseParentheses(std::u16string& formula) {
    const auto open = std::count(formula.begin(), formula.end(), u'(');
    const auto close = std::count(formula.begin(), formula.end(), u')');
    if (open > close) formula.append(static_cast<std::size_t>(open - close), u')');
}
