// The job runner: its own scratch area per worker, text pieces in order and
// taken before the worker goes on, one job at a time, and a job given up at
// exit that ends without touching anything. (A stop passed on to the core is
// exercised by the pages' Stop buttons in their window tests.)
#include "ui/job_runner.h"

#include <QElapsedTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "app/app_error.h"
#include "gui_fixture.h"
#include "numlib/mp_context.h"
#include "ui/form.h"

namespace {

class JobRunner : public GuiTest {
  protected:
    // Runs events until pred holds; a generous bound only proves the run ends.
    static bool waitFor(const std::function<bool()>& pred) {
        QElapsedTimer t;
        t.start();
        while (!pred() && t.elapsed() < 20000) spin(5);
        return pred();
    }
};

TEST_F(JobRunner, PiecesArriveInOrderOnTheUiThreadAndCompletionOnceAfterThem) {
    Form page(QStringLiteral("Page"), 100, 100), other(QStringLiteral("Other"), 100, 100);
    auto worker_scratch = std::make_shared<std::atomic<u8*>>(nullptr);
    auto after_each = std::make_shared<std::atomic<int>>(0);
    std::u16string shown;
    int done = 0;
    bool other_locked = false;
    Job job;
    job.work = [worker_scratch, after_each](JobChannel& ch) {
        *worker_scratch = mp_scratch_base;
        for (const char16_t* piece : {u"2, ", u"3, ", u"5"}) {
            ch.send_text(piece);
            ++*after_each;  // the piece was taken before the worker goes on
        }
    };
    job.on_text = [&](std::u16string_view t) {
        shown += t;
        EXPECT_EQ(static_cast<std::size_t>(after_each->load()) * 3, shown.size() - t.size());
        other_locked = !other.isEnabled() && page.isEnabled();
    };
    job.on_done = [&] { ++done; };
    ASSERT_TRUE(job_start(&page, job));
    EXPECT_FALSE(job_start(&page, Job{}));  // one at a time
    ASSERT_TRUE(waitFor([&] { return done == 1; }));
    EXPECT_EQ(shown, u"2, 3, 5");
    EXPECT_TRUE(other_locked);
    EXPECT_TRUE(other.isEnabled());
    EXPECT_FALSE(job_running());
    EXPECT_NE(worker_scratch->load(), nullptr);
    EXPECT_NE(worker_scratch->load(), mp_scratch_base);
    spin(50);
    EXPECT_EQ(done, 1);
}

TEST_F(JobRunner, AJobGivenUpAtExitEndsWithoutCallingBack) {
    Form page(QStringLiteral("Page"), 100, 100);
    auto release = std::make_shared<std::atomic<bool>>(false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    int calls = 0;
    Job job;
    job.work = [release, finished](JobChannel& ch) {
        ch.send_text(u"first");  // blocks until taken or given up
        while (!*release) std::this_thread::yield();
        ch.send_text(u"after the exit");  // must return at once
        *finished = true;
    };
    job.on_text = [&](std::u16string_view) { ++calls; };
    job.on_done = [&] { ++calls; };
    ASSERT_TRUE(job_start(&page, job));
    EXPECT_TRUE(waitFor([&] { return calls == 1; }));
    EXPECT_TRUE(job_abandon());  // the worker is still running
    EXPECT_FALSE(job_running());
    *release = true;
    EXPECT_TRUE(waitFor([&] { return finished->load(); }));
    spin(50);
    EXPECT_EQ(calls, 1);
}

}  // namespace
