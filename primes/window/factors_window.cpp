// The prime factors and divisors page: the factorization or the divisor
// list of a number or of a run of consecutive numbers.
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/app_error.h"
#include "app/error_texts.h"
#include "app/ui_texts.h"
#include "numlib/mp_context.h"
#include "primes/prime_factors_worker.h"
#include "primes/prime_page_input.h"
#include "primes/window/prime_page.h"
#include "primes/window/prime_windows.h"
#include "ui/qt_text.h"

namespace {

enum : int {
    TEXT_CAPTION = 24,
    TEXT_START_LABEL = 25,
    TEXT_MODE = 26,
    TEXT_FACTORS = 27,
    TEXT_DIVISORS = 28,
    TEXT_COUNT = 29,
    TEXT_INTERVAL = 30,
};

class FactorsPage : public PrimePage {
  public:
    FactorsPage();

  protected:
    PrimeWork prepare() override;
    QString progressText(i64 done) const override;
    i32 rebaseWords() const override { return PRIME_PAGE_WORDS_SHORT; }
    i64 rebaseCapacity() const override { return PRIME_PAGE_TEXT_SHORT; }
    u32 overflowCode() const override { return APP_ERR_FACTOR_OVERFLOW; }

  private:
    QGroupBox* makeMode();
    QGroupBox* makeInterval();

    QLineEdit* number_;
    QLineEdit* interval_;
    QGroupBox* mode_ = nullptr;
    QRadioButton* factors_ = nullptr;
    QRadioButton* divisors_ = nullptr;
    QCheckBox* show_count_ = nullptr;
    i64 running_size_ = 0;
};

FactorsPage::FactorsPage()
    : PrimePage(ui_qtext(TEXT_CAPTION), 562, 316), number_(new QLineEdit(this)), interval_(new QLineEdit(this)) {
    setFields(number_, interval_, TEXT_INTERVAL);
    auto* label = new QLabel(ui_qtext(TEXT_START_LABEL), this);
    label->setBuddy(number_);
    auto* top = new QHBoxLayout;
    top->addWidget(label);
    top->addWidget(number_, 1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(makeInputOutputGroup());
    groups->addWidget(makeMode());
    groups->addWidget(makeInterval(), 0, Qt::AlignTop);
    groups->addStretch();
    auto* inputs = new QVBoxLayout;
    inputs->addLayout(top);
    inputs->addLayout(groups);
    finishLayout(inputs, {factors_, divisors_, show_count_, interval_}, {mode_});
}

QGroupBox* FactorsPage::makeMode() {
    mode_ = new QGroupBox(ui_qtext(TEXT_MODE), this);
    mode_->setAccessibleName(ui_plain(mode_->title()));
    factors_ = new QRadioButton(ui_qtext(TEXT_FACTORS), mode_);
    divisors_ = new QRadioButton(ui_qtext(TEXT_DIVISORS), mode_);
    show_count_ = new QCheckBox(ui_qtext(TEXT_COUNT), mode_);
    factors_->setChecked(true);
    show_count_->setEnabled(false);
    // The count belongs to the divisor lists only.
    connect(divisors_, &QRadioButton::toggled, show_count_, &QWidget::setEnabled);
    auto* layout = new QVBoxLayout(mode_);
    layout->addWidget(factors_);
    layout->addWidget(divisors_);
    layout->addWidget(show_count_);
    return mode_;
}

QGroupBox* FactorsPage::makeInterval() {
    auto* group = new QGroupBox(ui_qtext(TEXT_INTERVAL), this);
    group->setAccessibleName(ui_plain(group->title()));
    interval_->setParent(group);
    interval_->setMaximumWidth(ui_scaled(this, 80));
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(interval_);
    return group;
}

PrimeWork FactorsPage::prepare() {
    mp_set_int_words(PRIME_PAGE_WORDS_SHORT);
    u64 number[2] = {0, 0};
    std::u16string normal;
    if (!prime_page_read_number(fieldText(number_, PRIME_PAGE_TEXT_SHORT), base(), formatFlags(), number, &normal))
        return {};
    setFieldText(number_, normal);
    i64 size = 1;
    if (!prime_page_read_interval(fieldText(interval_, PRIME_PAGE_TEXT_SHORT), base(), formatFlags(),
                                  FACTOR_PAGE_INTERVAL_MAX, 1, &size, &normal))
        return {};
    if (!normal.empty()) setFieldText(interval_, normal);
    running_size_ = size;
    const SPrimeFactorCalc calc{static_cast<u8>(divisors_->isChecked() ? 1 : 0),
                                static_cast<u8>(divisors_->isChecked() && show_count_->isChecked() ? 1 : 0),
                                {number[0], number[1]},
                                static_cast<i32>(size),
                                formatFlags(),
                                base()};
    return [calc](PrimeOutputSink& sink) { prime_factors_worker(calc, sink); };
}

QString FactorsPage::progressText(i64 done) const {
    if (done <= 0) return {};
    const QString n = prime_page_count(done), of = prime_page_count(running_size_);
    return ui_lang(u"Number %1 of %2", u"Zahl %1 von %2").arg(n, of);
}

}  // namespace

Form* factors_window_create() { return new FactorsPage; }
