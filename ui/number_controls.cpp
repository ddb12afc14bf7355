// The digit counter, the number base and number type lists and the up-down
// field.
#include "ui/number_controls.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "ui/form.h"
#include "ui/qt_text.h"

namespace {

QGridLayout* tight_grid(QWidget* w) {
    auto* grid = new QGridLayout(w);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(ui_scaled(w, 4));
    return grid;
}

}  // namespace

int digit_count_of(std::u16string_view text) {
    int n = 0;
    for (char16_t c : text)
        if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) ++n;
    return n;
}

DigitCountControl::DigitCountControl(QWidget* parent, int style)
    : QWidget(parent), label_(new QLabel(this)), count_(new QLabel(this)) {
    count_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    count_->setMinimumWidth(ui_scaled(this, 40));
    auto* grid = tight_grid(this);
    if (style & TwoLines) {
        grid->addWidget(label_, 0, 0);
        grid->addWidget(count_, 1, 0);
    } else {
        grid->addWidget(count_, 0, 0);
        grid->addWidget(label_, 0, 1);
    }
    setCount(0);
}

void DigitCountControl::setLabel(const QString& text) {
    label_->setText(text);
    count_->setAccessibleName(ui_plain(text));
}

void DigitCountControl::setCount(int count) { count_->setText(QStringLiteral("%1 ").arg(count)); }

QString DigitCountControl::countText() const { return count_->text(); }

NumberBaseControl::NumberBaseControl(QWidget* parent, int style)
    : QWidget(parent), label_(new QLabel(this)), combo_(new QComboBox(this)) {
    if (style & Base2) combo_->addItem(QStringLiteral("2"));
    if (style & Base8) combo_->addItem(QStringLiteral("8"));
    combo_->addItem(QStringLiteral("10"));
    combo_->addItem(QStringLiteral("16"));
    auto* grid = tight_grid(this);
    if (style & LabelAbove) {
        grid->addWidget(label_, 0, 0);
        grid->addWidget(combo_, 1, 0);
    } else {
        grid->addWidget(combo_, 0, 0);
        grid->addWidget(label_, 0, 1);
    }
    // Every choice is reported, also that of the base already selected; the
    // page keeps the previous base itself.
    QObject::connect(combo_, &QComboBox::activated, this, [this] {
        const int b = base();
        if (b != 0 && on_change) on_change(b);
    });
}

void NumberBaseControl::setLabel(const QString& text) {
    label_->setText(QString(text).remove(u'\r'));
    combo_->setAccessibleName(ui_plain(text));
}

void NumberBaseControl::select(int base) {
    combo_->setCurrentIndex(base < 0 ? -1 : combo_->findText(QString::number(base)));
}

int NumberBaseControl::base() const { return combo_->currentText().toInt(); }

NumberTypeControl::NumberTypeControl(QWidget* parent, int style)
    : QWidget(parent), combo_(new QComboBox(this)) {
    if (style & Rational) combo_->addItem(ui_qtext(150), 11);
    if (style & Real) combo_->addItem(ui_qtext(151), 1);
    if (style & Complex) combo_->addItem(ui_qtext(152), 2);
    combo_->setAccessibleName(ui_plain(ui_qtext(78)));
    tight_grid(this)->addWidget(combo_, 0, 0);
    QObject::connect(combo_, &QComboBox::activated, this, [this] {
        if (on_change) on_change(type());
    });
}

int NumberTypeControl::type() const {
    return combo_->currentIndex() < 0 ? 0 : combo_->currentData().toInt();
}

void NumberTypeControl::select(int type) { combo_->setCurrentIndex(combo_->findData(type)); }

NumericUpDownControl::NumericUpDownControl(QWidget* parent)
    : QWidget(parent), spin_(new QSpinBox(this)) {
    spin_->setRange(0, 100);
    spin_->setAlignment(Qt::AlignRight);
    spin_->setKeyboardTracking(false);  // typing alone reports nothing
    setProperty(UI_WANTS_ENTER, true);
    setFocusProxy(spin_);
    tight_grid(this)->addWidget(spin_, 0, 0);
    QObject::connect(spin_, &QSpinBox::valueChanged, this, [this] { commit(true, true); });
    QObject::connect(spin_, &QSpinBox::editingFinished, this, [this] { commit(true, true); });
}

void NumericUpDownControl::setMin(int min) {
    spin_->setMinimum(min);
    commit(true, false);
}

void NumericUpDownControl::setMax(int max) {
    spin_->setMaximum(max);
    commit(true, false);
}

void NumericUpDownControl::setValue(int value) {
    const QSignalBlocker quiet(spin_);
    spin_->setValue(value);
    commit(true, false);
    last_ = spin_->value();
}

int NumericUpDownControl::value() const { return spin_->value(); }

int NumericUpDownControl::commit(bool show_text, bool notify) {
    if (show_text) {
        const QSignalBlocker quiet(spin_);
        spin_->interpretText();
        if (auto* edit = spin_->findChild<QLineEdit*>()) edit->setText(QString::number(spin_->value()));
    }
    const int previous = last_;
    const int v = spin_->value();
    last_ = v;
    if (notify && v != previous && on_change) on_change(v);
    return previous;
}

void NumericUpDownControl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) spin_->setEnabled(isEnabled());
    QWidget::changeEvent(event);
}
