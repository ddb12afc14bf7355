#include "primes/window/prime_page.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "app/app_error.h"
#include "app/error_texts.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "numlib/num_text.h"
#include "primes/prime_output.h"
#include "primes/prime_page_input.h"
#include "ui/error_box.h"
#include "ui/job_runner.h"
#include "ui/number_controls.h"
#include "ui/output_box.h"
#include "ui/page_run.h"
#include "ui/qt_text.h"
#include "ui/window_text.h"

namespace {

enum : int { TEXT_CANCEL = 1, TEXT_START = 2, TEXT_STOP = 3, TEXT_INPUT_OUTPUT = 34, TEXT_DIGITS = 148, TEXT_BASE = 149 };

QLocale locale() { return QLocale(ui_language == LANGUAGE_GERMAN ? QLocale::German : QLocale::English); }

// Carries the worker's pieces to the page, one blocking hand-over each,
// and publishes how far it is for the page's status line.
class ChannelSink : public PrimeOutputSink {
  public:
    ChannelSink(JobChannel& channel, std::atomic<i64>& done) : channel_(channel), done_(done) {}
    void append(const char16_t* text) override { channel_.send_text(text); }
    void done() override {}
    void progress(i64 done) override { done_.store(done, std::memory_order_relaxed); }

  private:
    JobChannel& channel_;
    std::atomic<i64>& done_;
};

}  // namespace

QString prime_page_count(i64 n) { return locale().toString(static_cast<qlonglong>(n)); }

PrimePage::PrimePage(const QString& caption, int width, int height)
    : Form(caption, width, height),
      output_(new OutputBox(this)),
      status_(new StatusLine(this)),
      start_(new QPushButton(ui_qtext(TEXT_START), this)),
      stop_(new QPushButton(ui_qtext(TEXT_STOP), this)),
      done_(std::make_shared<std::atomic<i64>>(0)) {
    stop_->setEnabled(false);
    setDefaultButton(start_);
    connect(start_, &QPushButton::clicked, this, &PrimePage::start);
    // The stop is a request: the page stays running until the worker ends.
    connect(stop_, &QPushButton::clicked, this, [this] { run_->stop(); });
}

PrimePage::~PrimePage() = default;

void PrimePage::setFields(QWidget* number, QLineEdit* interval, int interval_slot) {
    number_ = number;
    interval_ = interval;
    number->setAccessibleName(ui_plain(ui_qtext(25)));
    interval->setAccessibleName(ui_plain(ui_qtext(interval_slot)));
    auto count = [this] { digits_->setCount(digit_count_of(fieldText(number_, PRIME_PAGE_TEXT_LONG))); };
    if (auto* e = qobject_cast<QPlainTextEdit*>(number))
        connect(e, &QPlainTextEdit::textChanged, this, count);
    if (auto* e = qobject_cast<QLineEdit*>(number)) connect(e, &QLineEdit::textChanged, this, count);
}

QWidget* PrimePage::makeInputOutputGroup() {
    auto* group = new QGroupBox(ui_qtext(TEXT_INPUT_OUTPUT), this);
    group->setAccessibleName(ui_plain(group->title()));
    digits_ = new DigitCountControl(group, DigitCountControl::OneLine);
    digits_->setLabel(ui_qtext(TEXT_DIGITS));
    base_control_ = new NumberBaseControl(group, 0);
    base_control_->setLabel(ui_qtext(TEXT_BASE));
    base_control_->select(10);
    base_control_->on_change = [this](int b) { rebase(b); };
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(digits_);
    layout->addWidget(base_control_);
    layout->addStretch();
    return group;
}

void PrimePage::finishLayout(QBoxLayout* inputs, std::initializer_list<QWidget*> controls,
                             std::initializer_list<QWidget*> locked) {
    std::vector<QWidget*> lock{start_, base_control_};
    lock.insert(lock.end(), locked);
    run_ = std::make_unique<PageRun>(this, stop_, status_, std::move(lock));
    auto* cancel = new QPushButton(ui_qtext(TEXT_CANCEL), this);
    connect(cancel, &QPushButton::clicked, this, [this] { close(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(start_);
    buttons->addWidget(stop_);
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addWidget(output_, 1);
    layout->addWidget(status_);
    layout->addLayout(buttons);
    // The intended size, or more when the font needs it for the groups.
    resize(size().expandedTo(layout->sizeHint()));
    // Tab walks the page in reading order.
    std::vector<QWidget*> order{number_, static_cast<QWidget*>(base_control_->combo())};
    order.insert(order.end(), controls);
    order.insert(order.end(), {output_, start_, stop_, cancel});
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    number_->setFocus();
}

u32 PrimePage::formatFlags() const { return settings_thousands_prime_nums != 0 ? static_cast<u32>(NUM_TEXT_GROUP) : 0u; }

std::u16string PrimePage::fieldText(const QWidget* field, i64 capacity) const {
    std::u16string text(static_cast<std::size_t>(capacity) + 1, u'\0');
    text.resize(static_cast<std::size_t>(window_text_get(field, text.data(), capacity)));
    return text;
}

void PrimePage::setFieldText(QWidget* field, const std::u16string& text) {
    if (auto* e = qobject_cast<QPlainTextEdit*>(field)) e->setPlainText(to_qstring(text));
    if (auto* e = qobject_cast<QLineEdit*>(field)) e->setText(to_qstring(text));
}

void PrimePage::start() {
    if (run_->busy() || job_running()) return;
    clearErrors();
    output_->clear();
    status_->reset();
    PrimeWork work = prepare();
    if (!work || appError.load() != 0) {
        showErrorMessage(this);
        return;
    }
    Job job;
    auto done = done_;
    done->store(0);
    job.work = [work, done](JobChannel& channel) {
        ChannelSink sink(channel, *done);
        work(sink);
    };
    job.on_text = [this](std::u16string_view piece) {
        // A full box ends the run as a text that does not fit its buffer does.
        if (!output_->appendText(to_qstring(piece))) raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
    };
    job.on_done = [this] { finished(); };
    job.stop = [] { raiseAppError(APP_ERR_STOPPED, u"?", u"?"); };
    if (!run_->start(std::move(job), [this] { return progressText(done_->load()); })) showErrorMessage(this);
}

void PrimePage::finished() {
    output_->flush();
    raiseFromLibraryError(overflowCode());
    showErrorMessage(this);
}

// Both fields are re-expressed in the new base; a field that is no number
// is left as it is and named in the message.
void PrimePage::rebase(int b) {
    const u32 to = static_cast<u32>(b);
    if (to == base_ || run_->busy()) return;
    clearErrors();
    for (QWidget* field : {number_, static_cast<QWidget*>(interval_)}) {
        std::u16string out;
        if (prime_page_rebase(fieldText(field, rebaseCapacity()), rebaseWords(), base_, to, formatFlags(), &out))
            setFieldText(field, out);
    }
    base_ = to;
    showErrorMessage(this);
}
