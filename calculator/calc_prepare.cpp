// The variable table of one evaluation: which names the formula reads, and
// the values of those names in the current number type.
#include "calculator/calc_prepare.h"

#include <algorithm>

#include "app/app_error.h"
#include "app/settings_values.h"
#include "calculator/calc_display.h"
#include "formula/formula_error.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"

namespace {

void ensureTableBuffers(CalcState& s) {
    const auto words = static_cast<std::size_t>(calcMaxValueWords());
    if (s.tableValues.size() == FORMULA_MAX_VARIABLES && s.tableValues[0].size() == words) return;
    s.tableValues.assign(FORMULA_MAX_VARIABLES, std::vector<u64>(words, 0));
    if (s.convertBuffer.size() < words) s.convertBuffer.assign(words, 0);
}

// The next table slot, or null with error 1204 when the table is full.
u64* nextSlot(CalcState& s, const char16_t* name) {
    if (s.table.count >= FORMULA_MAX_VARIABLES) {
        raiseAppError(APP_ERR_TOO_MANY_VARIABLES, nullptr, nullptr);
        return nullptr;
    }
    u64* value = s.tableValues[static_cast<std::size_t>(s.table.count)].data();
    s.table.entries[s.table.count] = FormulaVariable{name, value};
    return value;
}

bool evaluateValue(const CalcVariable& v, u64* dst, u32 base) {
    FormulaRequest req;
    req.text = v.valueText.c_str();
    req.uintBase = base;
    req.result = dst;
    return evaluateFormula(&req);
}

// The value of v in the current type. A value in base 2, 8 or 16 is read as
// an integer first and converted, so its digits keep their base in every type.
bool evaluateInType(CalcState& s, const CalcVariable& v, u64* dst) {
    calcApplyContext(s);
    if (v.base == 10 || s.numberType == MP_TYPE_UINT) return evaluateValue(v, dst, v.base);
    mp_num_type = MP_TYPE_UINT;
    mp_set_int_words(CALC_UINT_WORDS);
    bool ok = evaluateValue(v, s.convertBuffer.data(), v.base);
    calcApplyContext(s);
    if (!ok) return false;
    MpIsolate isolate;
    num_convert(dst, calcWordsOf(s, s.numberType), s.numberType, s.convertBuffer.data(),
                CALC_UINT_WORDS, MP_TYPE_UINT);
    ok = isolate.inner() == 0;
    isolate.clear_inner();
    return ok;
}

// A rat value that failed, read again as real. Only decimal values: a text
// in another base would be misread by the real parser.
bool retryAsReal(CalcState& s, const CalcVariable& v, u64* dst, CalcJobSink* sink) {
    if (s.numberType != MP_TYPE_RAT || v.base != 10) return false;
    mp_num_type = MP_TYPE_REAL;
    mp_set_real_words(s.realWords);
    if (!evaluateValue(v, dst, 10) || calcStopped(s) || !calcTableToReal(s, s.table.count)) {
        calcApplyContext(s);
        return false;
    }
    calcSwitchToReal(s, sink);
    return true;
}

bool addVariable(CalcState& s, const CalcVariable& v, CalcJobSink* sink) {
    u64* dst = nextSlot(s, v.name.c_str());
    if (dst == nullptr) return false;
    bool ok = evaluateInType(s, v, dst);
    if (formulaError == FORMULA_ERR_STOPPED || calcStopped(s)) {
        raiseAppError(APP_ERR_STOPPED, nullptr, nullptr);
        return false;
    }
    if (!ok) ok = retryAsReal(s, v, dst, sink);
    if (appError.load(std::memory_order_relaxed) != 0) return false;
    if (!ok) {
        raiseAppError(APP_ERR_VARIABLE_TYPE, v.name.c_str(), nullptr);
        return false;
    }
    clearFormulaError();
    ++s.table.count;
    return true;
}

bool addAns(CalcState& s) {
    if (!s.hasResult) {
        raiseAppError(APP_ERR_NO_RESULT, u"ans", nullptr);
        return false;
    }
    if (!calcConvertPreviousResult(s)) return false;
    u64* dst = nextSlot(s, u"ans");
    if (dst == nullptr) return false;
    std::copy(s.previousResult.begin(), s.previousResult.end(), dst);
    ++s.table.count;
    return true;
}

}  // namespace

bool calcStopped(CalcState& s) {
    if (!s.stopRequested.load(std::memory_order_relaxed)) return false;
    raiseAppError(APP_ERR_STOPPED, nullptr, nullptr);
    return true;
}

bool calcTableToReal(CalcState& s, i64 count) {
    mp_num_type = MP_TYPE_REAL;
    mp_set_real_words(s.realWords);
    for (i64 i = 0; i < count; ++i) {
        std::vector<u64>& value = s.tableValues[static_cast<std::size_t>(i)];
        MpIsolate isolate;
        num_convert(s.convertBuffer.data(), s.realWords, MP_TYPE_REAL, value.data(), CALC_RAT_WORDS,
                    MP_TYPE_RAT);
        if (isolate.inner() != 0) {
            isolate.clear_inner();
            return false;
        }
        std::copy_n(s.convertBuffer.begin(), s.realWords + 1, value.begin());
    }
    return true;
}

void calcSwitchToReal(CalcState& s, CalcJobSink* sink) {
    s.numberType = MP_TYPE_REAL;
    s.intWords = calcIntWords(MP_TYPE_REAL);
    calcApplyContext(s);
    settings_number_type = MP_TYPE_REAL;
    settings_dirty = 1;
    if (sink != nullptr) sink->numberTypeChanged(MP_TYPE_REAL);
}

void calcPrepareVariables(CalcState& s, const std::u16string& formula, CalcJobSink* sink) {
    ensureTableBuffers(s);
    s.table.count = 0;
    std::vector<bool> used(static_cast<std::size_t>(s.variables.count()), false);
    bool ansAdded = false;
    FormulaRequest scan;
    scan.text = formula.c_str();
    const char16_t* text = formula.c_str();
    u64 pos = 0;
    while (appError.load(std::memory_order_relaxed) == 0) {
        FormulaToken tok;
        readToken(&tok, &pos, &scan);
        if (tok.code == TOKEN_END) break;
        if (tok.code == TOKEN_INVALID) ++pos;
        if (tok.code != TOKEN_UNKNOWN) continue;
        u64 next = pos;
        while (text[next] == u' ') ++next;
        if (text[next] == u'(') continue;  // a function call, never a variable
        const std::u16string_view name(text + tok.position, static_cast<std::size_t>(tok.length));
        if (name == u"ans") {
            if (!ansAdded && addAns(s)) ansAdded = true;
            continue;
        }
        const auto& list = s.variables.entries();
        const auto it = std::find_if(list.begin(), list.end(),
                                     [&](const CalcVariable& v) { return v.name == name; });
        if (it == list.end()) continue;
        const auto index = static_cast<std::size_t>(it - list.begin());
        if (used[index]) continue;
        used[index] = true;
        if (!calcStopped(s)) addVariable(s, *it, sink);
    }
}
