// The variables window over the core's variable list.
#include "calculator/window/calc_variables_window.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_error.h"
#include "calculator/calc_state.h"
#include "calculator/calc_variables.h"
#include "ui/error_box.h"
#include "ui/number_controls.h"
#include "ui/qt_text.h"

namespace {

QLabel* label(int slot, QWidget* buddy, QWidget* parent) {
    auto* l = new QLabel(ui_qtext(slot), parent);
    l->setBuddy(buddy);
    buddy->setAccessibleName(ui_plain(ui_qtext(slot)));
    return l;
}

// Calls on_leave when the watched widget loses the focus.
class FocusOut : public QObject {
  public:
    FocusOut(QObject* parent, std::function<void()> on_leave) : QObject(parent), on_leave_(std::move(on_leave)) {}
    bool eventFilter(QObject* obj, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) on_leave_();
        return QObject::eventFilter(obj, event);
    }

  private:
    std::function<void()> on_leave_;
};

}  // namespace

VariablesForm::VariablesForm(CalcVariableList& list) : Form(ui_qtext(153), 420, 260), list_(list) {
    names_ = new QListWidget(this);
    name_ = new QLineEdit(this);
    name_->setMaxLength(static_cast<int>(CALC_NAME_MAX));
    base_ = new NumberBaseControl(this, NumberBaseControl::Base2 | NumberBaseControl::Base8);
    base_->setLabel(ui_qtext(156));
    value_ = new QPlainTextEdit(this);
    value_->setTabChangesFocus(true);
    value_->setProperty(UI_WANTS_ENTER, true);
    auto button = [this](int slot, auto action) {
        auto* b = new QPushButton(ui_qtext(slot), this);
        connect(b, &QPushButton::clicked, this, action);
        return b;
    };
    QPushButton* add = button(159, [this] { this->add(false); });
    insert_ = button(160, [this] { this->add(true); });
    delete_ = button(161, [this] { remove(); });
    assign_ = button(162, [this] {
        if (selected_ < 0 || !result_text) return;
        list_.setValue(selected_, result_text(), calcMaxFormulaLength());
        list_.setBase(selected_, result_base ? result_base() : 10);
        select(selected_);
    });
    take_ = button(158, [this] {
        if (selected_ >= 0 && take_name) take_name(list_.at(selected_).name);
    });

    auto* grid = new QGridLayout(this);
    grid->addWidget(label(154, names_, this), 0, 0);
    grid->addWidget(names_, 1, 0, 5, 1);
    grid->addWidget(label(155, name_, this), 0, 1);
    grid->addWidget(name_, 1, 1);
    grid->addWidget(base_, 2, 1);
    grid->addWidget(label(157, value_, this), 3, 1);
    grid->addWidget(value_, 4, 1, 2, 1);
    auto* buttons = new QVBoxLayout;
    for (QWidget* b : {static_cast<QWidget*>(add), insert_, delete_, assign_, take_}) buttons->addWidget(b);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 6, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);

    for (const CalcVariable& v : list_.entries()) names_->addItem(to_qstring(v.name));
    connect(names_, &QListWidget::currentRowChanged, this, [this](int row) { select(row); });
    connect(name_, &QLineEdit::editingFinished, this, [this] { commitName(); });
    value_->installEventFilter(new FocusOut(this, [this] { commitValue(); }));
    base_->on_change = [this](int base) {
        if (selected_ >= 0) list_.setBase(selected_, static_cast<u32>(base));
    };
    select(list_.count() > 0 ? 0 : -1);
}

void VariablesForm::commit() {
    commitName();
    commitValue();
}

void VariablesForm::commitName() {
    if (selected_ < 0 || !name_->isModified()) return;
    name_->setModified(false);
    const std::u16string name = from_qstring(name_->text());
    if (!list_.setName(selected_, name)) raiseAppError(APP_ERR_VARIABLE_NAME, name.c_str(), nullptr);
    names_->item(selected_)->setText(to_qstring(list_.at(selected_).name));
    showErrorMessage(this);
}

void VariablesForm::commitValue() {
    if (selected_ < 0 || !value_->document()->isModified()) return;
    value_->document()->setModified(false);
    list_.setValue(selected_, from_qstring(value_->toPlainText()), calcMaxFormulaLength());
}

// Stores the pending edits of the entry shown, then shows index.
void VariablesForm::select(int index) {
    commit();
    selected_ = index >= 0 && index < list_.count() ? index : -1;
    if (names_->currentRow() != selected_) {
        const QSignalBlocker quiet(names_);
        names_->setCurrentRow(selected_);
    }
    const CalcVariable none;
    const CalcVariable& v = selected_ >= 0 ? list_.at(selected_) : none;
    name_->setText(to_qstring(v.name));
    name_->setModified(false);
    value_->setPlainText(to_qstring(v.valueText));
    value_->document()->setModified(false);
    base_->select(static_cast<int>(v.base));
    for (QWidget* w : {static_cast<QWidget*>(name_), static_cast<QWidget*>(base_), static_cast<QWidget*>(value_)})
        w->setEnabled(selected_ >= 0);
    updateButtons();
    showErrorMessage(this);
}

void VariablesForm::add(bool before) {
    commit();
    const i64 at = before ? list_.insert(selected_) : list_.add();
    if (at < 0) return;
    names_->insertItem(static_cast<int>(at), to_qstring(list_.at(at).name));
    select(static_cast<int>(at));
    name_->setFocus(Qt::OtherFocusReason);
    name_->selectAll();
}

void VariablesForm::remove() {
    if (selected_ < 0) return;
    commit();
    const int gone = selected_;
    const i64 next = list_.remove(gone);
    selected_ = -1;  // the entry shown is gone: nothing of it to store
    {
        const QSignalBlocker quiet(names_);
        delete names_->takeItem(gone);
    }
    select(static_cast<int>(next));
}

void VariablesForm::updateButtons() {
    for (QWidget* b : {insert_, delete_, assign_, take_}) b->setEnabled(selected_ >= 0);
}
