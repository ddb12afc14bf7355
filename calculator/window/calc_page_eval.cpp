// The calculator page's evaluation: the core's job on the job runner, the
// "Stop" key after 100 ms, and the 200 ms guard after a Stop.
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include "app/app_error.h"
#include "app/ui_texts.h"
#include "calculator/calc.h"
#include "calculator/window/calc_fields.h"
#include "calculator/window/calc_keypad.h"
#include "calculator/window/calc_page.h"
#include "calculator/window/calc_variables_window.h"
#include "ui/job_runner.h"
#include "ui/qt_text.h"

void CalcPage::equals() {
    if (busy()) return;
    variables_->commit();  // edits still in the variables window's fields count
    walk_ = -1;
    s_->formula = from_qstring(formula_->text());
    if (!calcBeginEvaluation(*s_)) return;
    stateToFormula();  // with its parentheses closed
    setStale(true);
    formula_->setReadOnly(true);
    settings_->setEnabled(false);
    stopShown_ = false;
    stopTimer_->start(100);
    Job job;
    // The job holds the state, so a page that goes away first leaves the
    // worker nothing dangling.
    job.work = [st = s_](JobChannel&) { calcRunJob(*st, nullptr); };
    job.on_done = [page = QPointer<CalcPage>(this)] {
        if (page) page->finished();
    };
    job.stop = [st = s_] { calcRequestStop(*st); };
    if (!job_start(this, std::move(job))) finished();
}

void CalcPage::showStop() {
    if (!s_->busy.load()) return;
    KeyButton* first = keypad_->key(0);
    first->setText(ui_qtext(3));
    first->setAccessibleName(first->text());
    stopShown_ = true;
    for (int i = 1; i < KEYPAD_KEYS; ++i) keypad_->key(i)->setEnabled(false);
}

void CalcPage::finished() {
    stopTimer_->stop();
    calcFinishEvaluation(*s_);
    if (appError.load(std::memory_order_relaxed) == 0) {
        showResult();
        inexact_->setVisible(s_->resultInexact);
        lastEvaluated_ = formula_->text();
        historyAdd();
    }
    if (stopShown_) guardTimer_->start(200);
    stopShown_ = false;
    formula_->setReadOnly(false);
    settings_->setEnabled(true);
    syncControls();  // a rat formula may have switched the type to real
    relabel();       // labels, "Stop" given back, the result keys
    if (isVisible()) formula_->setFocus(Qt::OtherFocusReason);
    if (appError.load(std::memory_order_relaxed) == 0) formula_->selectAll();  // typing starts anew
    showError();
}
