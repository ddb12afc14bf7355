// The one way the windows run a computation: a core's job on a worker
// thread of its own, one job at a time in the whole program.
//
// A page hands job_start() the work (a call of its core's synchronous job)
// and what to do with the worker's output. While the job runs, every other
// window is disabled, so nothing on the user-interface thread touches the
// number library, the formula engine or the error states; the page itself
// stays enabled for its Stop button. The worker reaches the page only through
// its JobChannel: text pieces are carried to the user-interface thread and
// the worker waits until the page has taken each one (a blocking queued
// call), and completion arrives once, queued, after the work returned.
#pragma once

#include <functional>
#include <string_view>

class QWidget;

// The worker's side of a running job.
class JobChannel {
  public:
    virtual ~JobChannel() = default;
    // Hands text to the job's on_text on the user-interface thread and
    // returns when it has been taken. Returns at once when the program has
    // given the job up (job_abandon).
    virtual void send_text(std::u16string_view text) = 0;
};

struct Job {
    // On the worker thread, with a scratch area of its own; all it uses must
    // stay alive until it returns (captured by value or shared ownership).
    std::function<void(JobChannel&)> work;
    // On the user-interface thread, for each piece sent.
    std::function<void(std::u16string_view)> on_text;
    // On the user-interface thread, once, after work returned and the other
    // windows were enabled again.
    std::function<void()> on_done;
    // The core's stop request, called by job_request_stop().
    std::function<void()> stop;
};

// Starts job.work on a detached thread for page. False, with nothing
// started, while another job runs; false with application error 9000
// pending when no thread could be started.
bool job_start(QWidget* page, Job job);

// True from job_start until just before on_done runs.
bool job_running();

// Passes a stop request on to the running job's core; nothing without one.
void job_request_stop();

// For quitting: the running job's output and completion are dropped and
// its worker no longer waits for the user-interface thread. True when a
// worker was still running; the caller then ends the process without
// destroying what the worker may still use.
bool job_abandon();
