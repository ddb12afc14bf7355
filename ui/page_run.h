// A page's computation on the job runner, as the user sees it: while it
// runs, the page's inputs are disabled and its stop button reads "Stop";
// the status line shows the progress and then the time taken; closing the
// page asks the job to stop. The page gets its result through the job's
// on_done, as with job_start.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/job_runner.h"

class QAbstractButton;
class QTimer;
class StatusLine;

class PageRun {
  public:
    // stop_button: the button that starts the run and stops it meanwhile (its
    // caption becomes "Stop"), or a button of its own (enabled while
    // running). inputs: the controls locked while the job runs.
    PageRun(QWidget* page, QAbstractButton* stop_button, StatusLine* status, std::vector<QWidget*> inputs);

    // Starts job through job_start. progress (may be empty) tells the status
    // line how far the run is. False, with nothing changed, when the runner
    // refused (its error pending).
    bool start(Job job, std::function<QString()> progress = {});
    // Passes a stop request on while this page's job runs, and again every
    // 50 ms until it ends (a core may clear its error states as it starts).
    void stop();
    // Whether the user asked the last job to stop: what it left is then no
    // result, and the errors the stop broke off with are no message.
    bool stopped() const { return stopped_; }
    // From start until 200 ms after the job ended, so that a second click
    // on the button does not start again what it just stopped.
    bool busy() const { return busy_; }

    // Called when the page takes input again (the inputs' states restored),
    // for states the result decides (buttons a result enables).
    std::function<void()> on_idle;

  private:
    void lock();
    void unlock();

    QWidget* page_;
    QAbstractButton* button_;
    StatusLine* status_;
    std::vector<QWidget*> inputs_;
    std::vector<bool> were_enabled_;
    QTimer* repeat_stop_;
    QPointer<QWidget> focus_;  // where the user was when the run started
    QString caption_;
    bool button_enabled_ = true;
    bool busy_ = false;
    bool running_ = false;
    bool stopped_ = false;
};

// The stop request of a core that polls nothing but the number library's
// error state (linear systems, polynomials): every library call in progress
// or to come ends early.
void library_stop_request();
