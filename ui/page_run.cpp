#include "ui/page_run.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include "numlib/mp_context.h"
#include "ui/output_box.h"
#include "ui/qt_text.h"

namespace {

// Asks the running job to stop when its page is closed.
class CloseWatch : public QObject {
  public:
    CloseWatch(QObject* page, PageRun* run) : QObject(page), run_(run) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) run_->stop();
        return false;
    }

  private:
    PageRun* run_;
};

}  // namespace

PageRun::PageRun(QWidget* page, QAbstractButton* stop_button, StatusLine* status, std::vector<QWidget*> inputs)
    : page_(page), button_(stop_button), status_(status), inputs_(std::move(inputs)), repeat_stop_(new QTimer(page)) {
    page->installEventFilter(new CloseWatch(page, this));
    repeat_stop_->setInterval(50);
    QObject::connect(repeat_stop_, &QTimer::timeout, page, [this] { job_request_stop(); });
}

bool PageRun::start(Job job, std::function<QString()> progress) {
    if (busy_) return false;
    auto done = std::move(job.on_done);
    job.on_done = [this, done = std::move(done)] {
        running_ = false;
        repeat_stop_->stop();
        if (status_ != nullptr) status_->finish(stopped_);
        if (done) done();
        // The button stays "Stop" a moment longer: a double click must not
        // start again what its first click stopped.
        QTimer::singleShot(200, page_, [this] {
            unlock();
            if (on_idle) on_idle();
        });
    };
    stopped_ = false;
    lock();
    if (!job_start(page_, std::move(job))) {
        unlock();
        return false;
    }
    running_ = true;
    if (status_ != nullptr) status_->start(std::move(progress));
    return true;
}

void PageRun::stop() {
    if (!running_) return;
    stopped_ = true;
    job_request_stop();
    repeat_stop_->start();
}

void library_stop_request() { mp_error.store(MP_ERR_STOPPED, std::memory_order_relaxed); }

void PageRun::lock() {
    busy_ = true;
    // Locking the focused control would pass the focus on to whatever comes
    // next (the Cancel button); it comes back when the page unlocks.
    focus_ = QApplication::focusWidget();
    were_enabled_.clear();
    for (QWidget* w : inputs_) {
        were_enabled_.push_back(w->isEnabled());
        w->setEnabled(false);
    }
    caption_ = button_->text();
    button_enabled_ = button_->isEnabled();
    button_->setText(ui_qtext(3));
    button_->setEnabled(true);
}

void PageRun::unlock() {
    for (std::size_t i = 0; i < inputs_.size() && i < were_enabled_.size(); ++i)
        inputs_[i]->setEnabled(were_enabled_[i]);
    button_->setText(caption_);
    button_->setEnabled(button_enabled_);
    busy_ = false;
    if (focus_ != nullptr && focus_->window() == page_->window() && focus_->isEnabled()) focus_->setFocus();
}
