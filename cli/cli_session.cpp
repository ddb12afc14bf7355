// The calculator behind the command line: settings, variables and the
// evaluation on the worker thread with Ctrl-C as its stop key.
#include "cli/cli_session.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "app/app_error.h"
#include "app/error_message.h"
#include "app/error_texts.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "cli/cli_command.h"
#include "formula/formula_error.h"
#include "textbuf/text_utf8.h"

std::atomic<int> cli_interrupts{0};

std::size_t cliLineLimit() {
    return 3 * static_cast<std::size_t>(calcMaxFormulaLength()) + 3;
}

namespace {

// Wakes the waiting thread as soon as the worker has finished.
class WaitSink : public CalcJobSink {
  public:
    void done() override {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        cv_.notify_one();
    }
    // True once done() ran; waits at most timeout for it.
    bool waitFor(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, timeout, [this] { return finished_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool finished_ = false;
};

void applyOptions(const CliOptions& o) {
    if (o.numberType) settings_number_type = static_cast<u32>(*o.numberType);
    if (o.digits) settings_decimal_precision = *o.digits;
    if (o.inputBase) settings_input_base = static_cast<i32>(*o.inputBase);
    if (o.outputBase) settings_output_base = static_cast<i32>(*o.outputBase);
    if (o.group) settings_thousands_sci_calc = 1;
    if (o.separator) settings_decimal_separator = *o.separator;
    if (o.language) settings_language = *o.language;
}

std::u16string takeMessage() {
    const ErrorMessage m = takeErrorMessage();
    return m.shown ? std::u16string(m.text) : std::u16string();
}

}  // namespace

bool CliSession::setUp(const CliOptions& o, std::u16string* error) {
    cliSettingsLoad(o.noSettings);
    applyOptions(o);
    cliSettingsApply();
    calcInit(state_);
    calcApplyContext(state_);
    displayMode_ = o.displayMode.value_or(CALC_DISPLAY_AUTO);
    state_.variables.load(settings_variables);
    for (const CliVariable& v : o.variables)
        if (!addVariable(v, error)) return false;
    return true;
}

bool CliSession::addVariable(const CliVariable& v, std::u16string* error) {
    const std::u16string name = text_from_utf8(v.name);
    if (name.empty() || !calcVariableNameValid(name)) {
        raiseAppError(APP_ERR_VARIABLE_NAME, name.c_str(), nullptr);
        *error = takeMessage();
        return false;
    }
    CalcVariableList& list = state_.variables;
    i64 index = -1;
    for (i64 i = 0; i < list.count(); ++i)
        if (list.at(i).name == name) index = i;
    if (index < 0) index = list.add();
    if (index < 0) {
        raiseAppError(APP_ERR_TOO_MANY_VARIABLES, nullptr, nullptr);
        *error = takeMessage();
        return false;
    }
    list.setName(index, name);
    list.setValue(index, text_from_utf8(v.value), calcMaxFormulaLength());
    list.setBase(index, state_.inputBase);
    return true;
}

CliResult CliSession::evaluate(std::u16string_view formula) {
    CalcState& s = state_;
    const i32 typeBefore = s.numberType;
    s.formula.assign(formula);
    s.displayMode = displayMode_;
    CliResult r;
    if (!calcBeginEvaluation(s)) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        r.outcome = CliOutcome::Failed;
        r.text = takeMessage();
        return r;
    }
    WaitSink sink;
    calcStartJob(s, sink);
    while (!sink.waitFor(std::chrono::milliseconds(20)))
        if (cli_interrupts.exchange(0) > 0) calcRequestStop(s);
    calcWaitForJob(s, std::chrono::hours(1));
    calcFinishEvaluation(s);
    if (appError.load() == APP_ERR_STOPPED) {
        clearErrors();
        r.outcome = CliOutcome::Stopped;
        r.text = errorTextIn(formulaErrorTemplate(FORMULA_ERR_STOPPED), language());
        return r;
    }
    if (appError.load() != 0) {
        r.outcome = CliOutcome::Failed;
        r.text = takeMessage();
        return r;
    }
    r.text = s.resultText;
    r.switchedToReal = typeBefore == MP_TYPE_RAT && s.numberType == MP_TYPE_REAL && !switchNoted_;
    switchNoted_ = switchNoted_ || r.switchedToReal;
    return r;
}

CliResult CliSession::tooLong() {
    clearErrors();
    raiseAppError(APP_ERR_TEXT_TOO_LONG, nullptr, nullptr);
    return {CliOutcome::Failed, takeMessage()};
}

i32 CliSession::language() const {
    return ui_language;
}
