// The job runner: a detached worker per job, its scratch area, and the
// calls it carries to the user-interface thread.
#include "ui/job_runner.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "app/app_error.h"
#include "numlib/mp_thread.h"
#include "ui/form.h"

namespace {

// What the worker and the user-interface thread share. The relay lives on
// the user-interface thread; the worker posts to it only under the mutex
// and only while the job is not abandoned, and it is deleted only under the
// same mutex, so a post never meets a deleted relay.
struct JobLink {
    std::mutex mutex;
    std::condition_variable taken_cv;
    bool abandoned = false;
    bool worker_alive = true;
    unsigned long long sent = 0;
    unsigned long long taken = 0;
    QObject* relay = nullptr;
};

// The user-interface side of the running job.
struct Running {
    std::shared_ptr<JobLink> link;
    QPointer<QWidget> page;
    Job job;
};

std::unique_ptr<Running> running;

class Channel : public JobChannel {
  public:
    explicit Channel(std::shared_ptr<JobLink> link) : link_(std::move(link)) {}

    void send_text(std::u16string_view text) override {
        std::unique_lock lock(link_->mutex);
        if (link_->abandoned) return;
        const unsigned long long ticket = ++link_->sent;
        QMetaObject::invokeMethod(
            link_->relay,
            [link = link_, piece = std::u16string(text), ticket] {
                if (running && running->job.on_text) running->job.on_text(piece);
                std::lock_guard guard(link->mutex);
                link->taken = ticket;
                link->taken_cv.notify_all();
            },
            Qt::QueuedConnection);
        link_->taken_cv.wait(lock, [&] { return link_->abandoned || link_->taken >= ticket; });
    }

    // The worker's last act: completion, queued.
    void finish() {
        std::lock_guard lock(link_->mutex);
        link_->worker_alive = false;
        if (link_->abandoned) return;
        QMetaObject::invokeMethod(link_->relay, [] { complete(); }, Qt::QueuedConnection);
    }

  private:
    static void complete() {
        std::unique_ptr<Running> done = std::move(running);
        {
            std::lock_guard lock(done->link->mutex);
            done->link->relay->deleteLater();
            done->link->relay = nullptr;
        }
        enable_thread_windows(done->page, true);
        if (done->job.on_done) done->job.on_done();
    }

    std::shared_ptr<JobLink> link_;
};

}  // namespace

bool job_start(QWidget* page, Job job) {
    if (running) return false;
    auto link = std::make_shared<JobLink>();
    link->relay = new QObject;
    running = std::make_unique<Running>(Running{link, page, std::move(job)});
    enable_thread_windows(page, false);
    try {
        std::thread([link, work = running->job.work] {
            MpThreadScratch scratch;
            Channel channel(link);
            if (work) work(channel);
            channel.finish();
        }).detach();
    } catch (const std::system_error&) {
        enable_thread_windows(page, true);
        delete link->relay;
        running.reset();
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return false;
    }
    return true;
}

bool job_running() { return running != nullptr; }

void job_request_stop() {
    if (running && running->job.stop) running->job.stop();
}

bool job_abandon() {
    if (!running) return false;
    std::unique_ptr<Running> gone = std::move(running);
    if (gone->job.stop) gone->job.stop();
    std::lock_guard lock(gone->link->mutex);
    gone->link->abandoned = true;
    gone->link->taken_cv.notify_all();
    delete gone->link->relay;
    gone->link->relay = nullptr;
    return gone->link->worker_alive;
}
