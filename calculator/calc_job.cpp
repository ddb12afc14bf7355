// The evaluation job and the worker thread that runs it.
#include "calculator/calc_job.h"

#include <algorithm>
#include <system_error>
#include <thread>

#include "app/app_error.h"
#include "calculator/calc_display.h"
#include "calculator/calc_prepare.h"
#include "calculator/calc_rounding.h"
#include "formula/formula_error.h"
#include "numlib/mp_error.h"
#include "numlib/mp_thread.h"
#include "numlib/num.h"

namespace {

bool evaluateMain(CalcState& s, FormulaRequest& req) {
    calcApplyContext(s);
    req.text = s.formula.c_str();
    req.uintBase = s.numberType == MP_TYPE_UINT ? s.inputBase : 10;
    req.variables = &s.table;
    req.result = s.jobResult.data();
    return evaluateFormula(&req);
}

// The variables and the formula again, with s.realWords raised to words
// while they are evaluated.
bool evaluateAtWords(CalcState& s, i32 words, FormulaRequest& req, CalcJobSink* sink) {
    const i32 saved = s.realWords;
    s.realWords = words;
    calcPrepareVariables(s, s.formula, sink);
    const bool ok = appError.load(std::memory_order_relaxed) == 0 && evaluateMain(s, req);
    s.realWords = saved;
    calcApplyContext(s);
    return ok;
}

// A rat formula that failed, evaluated again as real with the table's
// values converted.
bool retryAsReal(CalcState& s, FormulaRequest& req, CalcJobSink* sink) {
    if (!calcTableToReal(s, s.table.count)) {
        calcApplyContext(s);
        return false;
    }
    mp_set_int_words(1);
    if (!evaluateFormula(&req)) {
        calcApplyContext(s);
        return false;
    }
    calcSwitchToReal(s, sink);
    return true;
}

bool stopped(CalcState& s) {
    if (formulaError == FORMULA_ERR_STOPPED) raiseAppError(APP_ERR_STOPPED, nullptr, nullptr);
    return calcStopped(s) || formulaError == FORMULA_ERR_STOPPED;
}

// Keeps the value (real and cplx of words mantissa words, rounded to the
// digits and then stored at s.realWords) as the previous result; the old one
// stays on an error.
void storeResult(CalcState& s, bool inexact, i32 words) {
    calcApplyContext(s);
    std::fill(s.convertBuffer.begin(), s.convertBuffer.end(), 0);
    if (s.numberType == MP_TYPE_REAL || s.numberType == MP_TYPE_CPLX) {
        mp_set_real_words(words);
        num_round_digits(s.jobResult.data(), s.jobResult.data(), s.digits);
        // Exact: the digits fit s.realWords words.
        num_convert(s.convertBuffer.data(), s.realWords, s.numberType, s.jobResult.data(), words,
                    s.numberType);
        calcApplyContext(s);
    } else {
        num_copy(s.convertBuffer.data(), s.jobResult.data());
    }
    if (mp_err() != 0) {
        raiseFromLibraryError(APP_ERR_FORMULA);
        return;
    }
    if (calcStopped(s)) return;
    s.previousResult.swap(s.convertBuffer);
    s.resultInexact = inexact;
    s.previousType = s.numberType;
    s.previousWords = calcWordsOf(s, s.numberType);
    s.hasResult = true;
}

void evaluationJob(CalcState& s, CalcJobSink* sink) {
    calcApplyContext(s);
    calcPrepareVariables(s, s.formula, sink);
    if (appError.load(std::memory_order_relaxed) != 0) return;
    if (static_cast<i64>(s.formula.size()) > calcMaxFormulaLength()) {
        raiseAppError(APP_ERR_TEXT_TOO_LONG, nullptr, nullptr);
        return;
    }
    FormulaRequest req;
    bool ok = evaluateMain(s, req);
    if (stopped(s)) return;
    if (!ok && s.numberType == MP_TYPE_RAT) {
        ok = retryAsReal(s, req, sink);
        if (stopped(s)) return;
    }
    if (!ok) {
        raiseAppError(APP_ERR_FORMULA, nullptr, nullptr);
        return;
    }
    const i32 words =
        calcSettleRounding(s, [&](i32 w) { return evaluateAtWords(s, w, req, sink); });
    if (words == 0 || stopped(s)) return;
    storeResult(s, req.inexact, words);
}

}  // namespace

bool calcBeginEvaluation(CalcState& s) {
    if (s.busy.load()) return false;
    calcCloseParentheses(s.formula);
    s.resultStale = true;
    clearErrors();
    s.stopRequested.store(false);
    s.busy.store(true);
    return true;
}

void calcRunJob(CalcState& s, CalcJobSink* sink) {
    if (s.jobResult.size() < static_cast<std::size_t>(calcMaxValueWords()))
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);  // calcInit was not called
    else
        evaluationJob(s, sink);
    if (sink != nullptr) sink->done();
}

void calcStartJob(CalcState& s, CalcJobSink& sink) {
    s.jobRunning.store(true);
    try {
        std::thread([&s, &sink] {
            MpThreadScratch scratch;
            calcRunJob(s, &sink);
            s.jobRunning.store(false);
        }).detach();
    } catch (const std::system_error&) {
        s.jobRunning.store(false);
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        sink.done();
    }
}

void calcFinishEvaluation(CalcState& s) {
    // A stop that arrived after the job had ended has nothing left to stop.
    i32 stop = MP_ERR_STOPPED;
    mp_error.compare_exchange_strong(stop, 0, std::memory_order_relaxed);
    if (appError.load(std::memory_order_relaxed) == 0) {
        calcShowResult(s);
        if (appError.load(std::memory_order_relaxed) == 0) {
            s.resultStale = false;
            s.formulaTouched = false;
        }
    }
    s.busy.store(false);
}

void calcRequestStop(CalcState& s) {
    if (!s.busy.load()) return;
    s.stopRequested.store(true);
    mp_error.store(MP_ERR_STOPPED, std::memory_order_relaxed);
}

bool calcWaitForJob(const CalcState& s, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (s.jobRunning.load()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

bool calcEvaluate(CalcState& s) {
    if (!calcBeginEvaluation(s)) return false;
    calcRunJob(s, nullptr);
    calcFinishEvaluation(s);
    return appError.load(std::memory_order_relaxed) == 0;
}
