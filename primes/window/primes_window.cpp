// The prime numbers page: the primes of an interval, the next prime or a
// prime test, by the exact or the probabilistic method.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <memory>
#include <vector>

#include "app/app_error.h"
#include "app/error_texts.h"
#include "app/ui_texts.h"
#include "numlib/mp_context.h"
#include "primes/prime_numbers_worker.h"
#include "primes/prime_page_input.h"
#include "primes/window/prime_page.h"
#include "primes/window/prime_windows.h"
#include "textbuf/textbuf.h"
#include "ui/qt_text.h"

namespace {

enum : int {
    TEXT_START_LABEL = 25,
    TEXT_CAPTION = 33,
    TEXT_INTERVAL = 35,
    TEXT_NEXT = 36,
    TEXT_TEST = 37,
    TEXT_MODE = 26,
    TEXT_METHOD = 38,
    TEXT_EXACT = 39,
    TEXT_PROBABILISTIC = 40,
};

QString filled(int slot, int a, int b) {
    char16_t text[160];
    TextBuf buf = textbuf_on(text);
    textbuf_format(buf, ui_text[static_cast<std::size_t>(slot)], a, b);
    textbuf_finish(buf);
    return QString::fromUtf16(text);
}

class PrimesPage : public PrimePage {
  public:
    PrimesPage();

  protected:
    PrimeWork prepare() override;
    QString progressText(i64 done) const override;
    i32 rebaseWords() const override { return PRIME_PAGE_WORDS_LONG; }
    i64 rebaseCapacity() const override { return PRIME_PAGE_TEXT_LONG; }
    u32 overflowCode() const override { return APP_ERR_PRIME_OVERFLOW; }

  private:
    QGroupBox* makeMode();
    QGroupBox* makeMethod();
    u32 operation() const;

    QPlainTextEdit* number_;
    QLineEdit* interval_;
    QGroupBox* mode_ = nullptr;
    QGroupBox* method_ = nullptr;
    QRadioButton* interval_mode_ = nullptr;
    QRadioButton* next_mode_ = nullptr;
    QRadioButton* test_mode_ = nullptr;
    QRadioButton* exact_ = nullptr;
    QRadioButton* probabilistic_ = nullptr;
    u32 running_operation_ = 0;
    i64 running_size_ = 0;
};

PrimesPage::PrimesPage()
    : PrimePage(ui_qtext(TEXT_CAPTION), 650, 368), number_(new QPlainTextEdit(this)), interval_(new QLineEdit(this)) {
    // Enter in the number starts the run; a long number wraps in the field.
    number_->setProperty(UI_WANTS_ENTER, false);
    number_->setTabChangesFocus(true);
    number_->setFixedHeight(ui_scaled(this, 61));
    interval_->setText(QStringLiteral("100"));
    setFields(number_, interval_, TEXT_INTERVAL);
    auto* label = new QLabel(ui_qtext(TEXT_START_LABEL), this);
    label->setBuddy(number_);
    auto* top = new QHBoxLayout;
    top->addWidget(label, 0, Qt::AlignTop);
    top->addWidget(number_, 1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(makeInputOutputGroup());
    groups->addWidget(makeMode());
    groups->addWidget(makeMethod(), 0, Qt::AlignTop);
    groups->addStretch();
    auto* inputs = new QVBoxLayout;
    inputs->addLayout(top);
    inputs->addLayout(groups);
    finishLayout(inputs, {interval_mode_, next_mode_, test_mode_, interval_, exact_, probabilistic_}, {mode_, method_});
}

QGroupBox* PrimesPage::makeMode() {
    mode_ = new QGroupBox(ui_qtext(TEXT_MODE), this);
    mode_->setAccessibleName(ui_plain(mode_->title()));
    interval_mode_ = new QRadioButton(ui_qtext(TEXT_INTERVAL), mode_);
    next_mode_ = new QRadioButton(ui_qtext(TEXT_NEXT), mode_);
    test_mode_ = new QRadioButton(ui_qtext(TEXT_TEST), mode_);
    interval_mode_->setChecked(true);
    interval_->setParent(mode_);
    interval_->setMaximumWidth(ui_scaled(this, 80));
    auto* grid = new QGridLayout(mode_);
    grid->addWidget(interval_mode_, 0, 0);
    grid->addWidget(interval_, 0, 1);
    grid->addWidget(next_mode_, 1, 0, 1, 2);
    grid->addWidget(test_mode_, 2, 0, 1, 2);
    return mode_;
}

QGroupBox* PrimesPage::makeMethod() {
    method_ = new QGroupBox(ui_qtext(TEXT_METHOD), this);
    method_->setAccessibleName(ui_plain(method_->title()));
    exact_ = new QRadioButton(filled(TEXT_EXACT, PRIME_EXACT_DIGITS_MIN, PRIME_EXACT_DIGITS_MAX), method_);
    probabilistic_ = new QRadioButton(filled(TEXT_PROBABILISTIC, PRIME_PROBABILISTIC_DIGITS_MAX, 0), method_);
    exact_->setChecked(true);
    auto* layout = new QVBoxLayout(method_);
    layout->addWidget(exact_);
    layout->addWidget(probabilistic_);
    return method_;
}

u32 PrimesPage::operation() const {
    if (interval_mode_->isChecked()) return PRIME_OP_INTERVAL;
    if (next_mode_->isChecked()) return PRIME_OP_NEXT;
    return test_mode_->isChecked() ? static_cast<u32>(PRIME_OP_TEST) : 0u;
}

PrimeWork PrimesPage::prepare() {
    u32 method = 0;
    if (exact_->isChecked()) method = PRIME_METHOD_EXACT;
    if (probabilistic_->isChecked()) method = PRIME_METHOD_PROBABILISTIC;
    const bool exact = method == PRIME_METHOD_EXACT;
    mp_set_int_words(exact ? PRIME_PAGE_WORDS_SHORT : PRIME_PAGE_WORDS_LONG);
    const i64 capacity = exact ? PRIME_PAGE_TEXT_SHORT : PRIME_PAGE_TEXT_LONG;
    auto number = std::make_shared<std::vector<u64>>(static_cast<std::size_t>(mp_int_words));
    std::u16string normal;
    if (!prime_page_read_number(fieldText(number_, capacity), base(), formatFlags(), number->data(), &normal))
        return {};
    setFieldText(number_, normal);
    const u32 op = operation();
    i64 size = PRIME_PAGE_INTERVAL_MAX;
    if (op == PRIME_OP_INTERVAL &&
        !prime_page_read_interval(fieldText(interval_, capacity), base(), formatFlags(), PRIME_PAGE_INTERVAL_MAX, 0,
                                  &size, &normal))
        return {};
    running_operation_ = op;
    running_size_ = size;
    const SPrimeNumberCalc calc{method, op, nullptr, size, formatFlags(), base()};
    return [calc, number](PrimeOutputSink& sink) {
        SPrimeNumberCalc c = calc;
        c.number = number->data();
        prime_numbers_worker(c, sink);
    };
}

QString PrimesPage::progressText(i64 done) const {
    if (running_operation_ == PRIME_OP_TEST || done <= 0) return {};
    const QString n = prime_page_count(std::min(done, running_size_));
    if (running_operation_ == PRIME_OP_NEXT)
        return ui_lang(u"%1 numbers examined", u"%1 Zahlen geprüft").arg(n);
    const QString of = prime_page_count(running_size_);
    return ui_lang(u"%1 of %2 numbers examined", u"%1 von %2 Zahlen geprüft").arg(n, of);
}

}  // namespace

Form* primes_window_create() { return new PrimesPage; }
