// The calculator page: its controls, the settings and the result display.
#include "calculator/window/calc_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <string>

#include "app/app_error.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "calculator/calc.h"
#include "calculator/calc_texts.h"
#include "calculator/keypad_input.h"
#include "calculator/window/calc_fields.h"
#include "calculator/window/calc_keypad.h"
#include "calculator/window/calc_variables_window.h"
#include "calculator/window/calc_window.h"
#include "formula/formula_error.h"
#include "ui/error_box.h"
#include "ui/job_runner.h"
#include "ui/number_controls.h"
#include "ui/qt_text.h"

namespace {

QString text(CalcText id) { return to_qstring(calcText(id, ui_language)); }

CalcPage* the_page = nullptr;

// A label with its control, the label naming the control for a reader.
QLabel* labelFor(const QString& caption, QWidget* control, QWidget* parent) {
    auto* l = new QLabel(caption, parent);
    l->setBuddy(control);
    control->setAccessibleName(ui_plain(caption));
    return l;
}

FormulaEdit editOf(const FormulaField* f) {
    FormulaEdit e;
    e.text = from_qstring(f->text());
    e.caret = static_cast<std::size_t>(f->cursorPosition());
    e.anchor = f->hasSelectedText()
                   ? static_cast<std::size_t>(f->selectionStart() == f->cursorPosition() ? f->selectionEnd()
                                                                                           : f->selectionStart())
                   : e.caret;
    normalizeSelection(e);
    return e;
}

void setEdit(FormulaField* f, const FormulaEdit& e) {
    f->setText(to_qstring(e.text));
    if (e.hasSelection())
        f->setSelection(static_cast<int>(e.anchor), static_cast<int>(e.caret) - static_cast<int>(e.anchor));
    else
        f->setCursorPosition(static_cast<int>(e.caret));
}

}  // namespace

CalcPage::CalcPage() : Form(ui_qtext(17), 380, 440), s_(std::make_shared<CalcState>()) {
    calcInit(*s_);
    s_->variables.load(settings_variables);
    historyPath_ = calcHistoryPath();
    history_ = calcHistoryLoad(historyPath_);

    formula_ = new FormulaField(this);
    formula_->setAccessibleName(text(CalcText::Formula));
    result_ = new ResultField(this);
    result_->setAccessibleName(text(CalcText::Result));
    result_->setFixedHeight(result_->fontMetrics().lineSpacing() * 3 + ui_scaled(this, 10));
    result_->copy_text = [this] {
        if (busy()) return result_->toPlainText();
        const std::u16string copy = calcResultCopyText(*s_);
        clearErrors();  // a result that cannot be formatted again is copied as shown
        return copy.empty() ? result_->toPlainText() : to_qstring(copy);
    };
    inexact_ = new QLabel(QStringLiteral("[ ]"), this);
    inexact_->setToolTip(text(CalcText::Inexact));
    inexact_->setAccessibleName(text(CalcText::Inexact));
    digitCount_ = new DigitCountControl(this, DigitCountControl::TwoLines);
    digitCount_->setLabel(ui_qtext(148));

    auto* resultRow = new QHBoxLayout;
    resultRow->addWidget(result_, 1);
    auto* marks = new QVBoxLayout;
    marks->addWidget(inexact_);
    marks->addWidget(digitCount_);
    marks->addStretch();
    resultRow->addLayout(marks);

    auto* historyBox = new QWidget(this);
    buildHistory(historyBox);
    settings_ = new QWidget(this);
    buildSettings(settings_);
    keypad_ = new KeypadWidget(this);
    keypad_->on_key = [this](int index) { onKey(index); };
    auto* lower = new QHBoxLayout;
    lower->addWidget(keypad_);
    lower->addWidget(settings_, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(formula_);
    layout->addLayout(resultRow);
    layout->addWidget(historyBox, 1);
    layout->addLayout(lower);

    variables_ = new VariablesForm(s_->variables);
    variables_->result_text = [this] {
        std::u16string r = s_->resultText;
        if (static_cast<i64>(r.size()) > calcMaxFormulaLength()) r.resize(static_cast<std::size_t>(calcMaxFormulaLength()));
        return r;
    };
    variables_->result_base = [this] { return s_->numberType == MP_TYPE_UINT ? s_->outputBase : 10u; };
    variables_->take_name = [this](const std::u16string& name) {
        if (busy()) return;
        FormulaEdit e = editOf(formula_);
        replaceSelection(e, name);
        setEdit(formula_, e);
        formulaToState();
    };

    stopTimer_ = new QTimer(this);
    stopTimer_->setSingleShot(true);
    connect(stopTimer_, &QTimer::timeout, this, [this] { showStop(); });
    guardTimer_ = new QTimer(this);
    guardTimer_->setSingleShot(true);

    formula_->on_equals = [this] { equals(); };
    formula_->on_escape = [this] { onKey(9); };  // as "CF"
    formula_->on_walk = [this](int step) { return historyWalk(step); };
    formula_->on_touched = [this] { s_->formulaTouched = true; };
    formula_->on_refused = [this](const QString&) {
        raiseAppError(APP_ERR_TEXT_TOO_LONG, nullptr, nullptr);
        showError();
    };
    connect(formula_, &QLineEdit::textEdited, this, [this] {
        walk_ = -1;
        formulaToState();
    });

    relabel();
    syncControls();
    setStale(false);
    inexact_->hide();
    setFocusProxy(formula_);
}

CalcPage::~CalcPage() {
    delete variables_;
    if (the_page == this) the_page = nullptr;
}

bool CalcPage::busy() const { return s_->busy.load() || guardTimer_->isActive(); }

void CalcPage::buildSettings(QWidget* box) {
    type_ = new QComboBox(box);
    type_->addItem(text(CalcText::Unsigned), MP_TYPE_UINT);
    type_->addItem(ui_qtext(20), MP_TYPE_RAT);
    type_->addItem(ui_qtext(19), MP_TYPE_REAL);
    type_->addItem(ui_qtext(21), MP_TYPE_CPLX);
    digits_ = new NumericUpDownControl(box);
    digits_->setMin(1);
    digits_->setMax(CALC_MAX_DIGITS);
    digits_->setValue(s_->digits);
    inputBase_ = new NumberBaseControl(box, NumberBaseControl::TwoLineLabel | NumberBaseControl::Base2 |
                                                NumberBaseControl::Base8);
    inputBase_->setLabel(ui_qtext(22));
    outputBase_ = new NumberBaseControl(box, NumberBaseControl::TwoLineLabel | NumberBaseControl::Base2 |
                                                 NumberBaseControl::Base8);
    outputBase_->setLabel(ui_qtext(23));
    angle_ = new QComboBox(box);
    for (CalcText t : {CalcText::Degrees, CalcText::Radians, CalcText::Gon}) angle_->addItem(text(t));

    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(labelFor(text(CalcText::NumberType), type_, box), 0, 0);
    grid->addWidget(type_, 0, 1);
    grid->addWidget(labelFor(ui_qtext(18), digits_->spin(), box), 1, 0);
    grid->addWidget(digits_, 1, 1);
    grid->addWidget(labelFor(text(CalcText::Angle), angle_, box), 2, 0);
    grid->addWidget(angle_, 2, 1);
    grid->addWidget(inputBase_, 3, 0, 1, 2);
    grid->addWidget(outputBase_, 4, 0, 1, 2);

    connect(type_, &QComboBox::activated, this, [this](int i) {
        calcSetNumberType(*s_, type_->itemData(i).toInt());
        stateToFormula();
        showResult();
        relabel();
        syncControls();
    });
    digits_->on_change = [this](int d) {
        calcSetDigits(*s_, d);
        setStale(s_->resultStale);
    };
    inputBase_->on_change = [this](int b) {
        calcSetInputBase(*s_, static_cast<u32>(b));
        keypad_->enableByState({s_->numberType, s_->inputBase, s_->hasResult});
    };
    outputBase_->on_change = [this](int b) {
        calcSetOutputBase(*s_, static_cast<u32>(b));
        showResult();
        showError();
    };
    connect(angle_, &QComboBox::activated, this, [this](int i) { calcSetAngleType(*s_, static_cast<u32>(i + 1)); });
}

// The controls show the state's settings; the bases and the digit count
// matter only with uint, the precision not with it.
void CalcPage::syncControls() {
    const bool isUint = s_->numberType == MP_TYPE_UINT;
    type_->setCurrentIndex(type_->findData(s_->numberType));
    inputBase_->select(static_cast<int>(s_->inputBase));
    outputBase_->select(static_cast<int>(s_->outputBase));
    angle_->setCurrentIndex(static_cast<int>(s_->angleType) - 1);
    inputBase_->setVisible(isUint);
    outputBase_->setVisible(isUint);
    digitCount_->setVisible(isUint && !s_->digitCountText.empty());
    digits_->setEnabled(!isUint);
}

void CalcPage::relabel() {
    keypad_->relabel({s_->numberType, s_->inputBase, s_->hasResult}, ui_language);
    if (layout() != nullptr) layout()->activate();  // new labels may need larger keys at once
}

void CalcPage::setStale(bool stale) {
    s_->resultStale = stale;
    result_->setStale(stale);
}

void CalcPage::showResult() {
    result_->setPlainText(to_qstring(s_->resultText));
    const std::u16string& count = s_->digitCountText;
    digitCount_->setCount(count.empty() ? 0 : std::stoi(std::string(count.begin(), count.end())));
    digitCount_->setVisible(s_->numberType == MP_TYPE_UINT && s_->hasResult && !count.empty());
    setStale(s_->resultStale);
}

void CalcPage::formulaToState() {
    calcFormulaEdited(*s_, from_qstring(formula_->text()));
    s_->formulaTouched = true;
    if (s_->hasResult && !s_->resultStale) setStale(true);
}

void CalcPage::stateToFormula() {
    if (from_qstring(formula_->text()) != s_->formula) formula_->setText(to_qstring(s_->formula));
}

void CalcPage::clearAll() {
    calcClearAll(*s_);
    formula_->clear();
    result_->clear();
    inexact_->hide();
    digitCount_->hide();
    walk_ = -1;
    setStale(false);
    keypad_->enableByState({s_->numberType, s_->inputBase, s_->hasResult});
}

void CalcPage::showVariables() {
    const QRect frame = frameGeometry();
    if (!variables_->isVisible()) variables_->move(frame.right() + 1, frame.top());
    variables_->show();
    variables_->raise();
    variables_->activateWindow();
}

// The pending error, if any, over the page; the formula field selects the
// character a formula error names while the message is up.
void CalcPage::showError() {
    if (appError.load(std::memory_order_relaxed) == 0) return;
    setStale(s_->hasResult);
    // A position just past the text (an error found at its end) puts the
    // caret there instead.
    const int pos = formulaErrorPos;
    const int length = static_cast<int>(formula_->text().size());
    if (formulaError != 0 && pos >= 1 && pos <= length + 1) {
        formula_->setFocus(Qt::OtherFocusReason);
        if (pos <= length)
            formula_->setSelection(pos - 1, 1);
        else
            formula_->setCursorPosition(length);
    }
    showErrorMessage(this);
}

void CalcPage::onKey(int index) {
    if (busy()) {
        if (stopShown_ && index == 0) job_request_stop();
        return;
    }
    FormulaEdit edit = editOf(formula_);
    const KeyContext context{s_->numberType, s_->inputBase, s_->angleType};
    const KeyAction action = keypadPress(edit, s_->formulaTouched, index, context, s_->hasResult);
    switch (action) {
        case KeyAction::Edited:
            setEdit(formula_, edit);
            walk_ = -1;
            formulaToState();
            break;
        case KeyAction::ClearAll:
            clearAll();
            break;
        case KeyAction::Equals:
            equals();
            return;
        case KeyAction::ToggleDisplay:
            calcToggleDisplay(*s_, keyLayout(index, s_->numberType).code);
            showResult();
            break;
        case KeyAction::ShowVariables:
            showVariables();
            return;
        case KeyAction::None:
        case KeyAction::Invalid:
            break;
    }
    showError();
    if (formula_->isVisible() && !variables_->isActiveWindow()) formula_->setFocus(Qt::OtherFocusReason);
}

void CalcPage::beforeSave() {
    variables_->commit();
    if (!s_->variables.changed()) return;
    settings_take_variables(s_->variables.saved());
    s_->variables.clearChanged();
}

void CalcPage::changeEvent(QEvent* event) {
    // The thousands separator may have changed in the options meanwhile.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !busy() &&
        s_->groupDigits != (settings_thousands_sci_calc != 0)) {
        s_->groupDigits = settings_thousands_sci_calc != 0;
        if (s_->hasResult) {
            calcShowResult(*s_);
            showResult();
            clearErrors();
        }
    }
    Form::changeEvent(event);
}

Form* calculator_window_create() {
    the_page = new CalcPage;
    return the_page;
}

void calculator_before_save() {
    if (the_page != nullptr) the_page->beforeSave();
}
