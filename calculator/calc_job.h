// The calculator's evaluation: the formula with the variables it uses and
// "ans" evaluated in the current number type, the value kept as the new
// previous result. Run it synchronously (calcEvaluate) or on a detached
// worker thread (calcStartJob) that reports through a CalcJobSink.
//
// Sequence with a worker, all calls but the sink's on the owner's thread:
//   calcBeginEvaluation(s) -> calcStartJob(s, sink) -> [sink.done() on the
//   worker] -> calcFinishEvaluation(s) -> takeErrorMessage() (error_message.h).
// Between begin and finish the owner touches s only through
// calcRequestStop(). The number library, the formula engine and the error
// states are process-wide: only one evaluation may run at a time.
#pragma once

#include <chrono>

#include "calculator/calc_state.h"

// How a worker reaches its page. Both calls come from the worker thread.
class CalcJobSink {
  public:
    virtual ~CalcJobSink() = default;
    // The job switched the number type from rat to real (a value had no
    // rational form); the page sets its number-type control and keypad.
    virtual void numberTypeChanged(i32 type) { (void)type; }
    // The job has ended; called exactly once, as the job's last use of the
    // state. The page then calls calcFinishEvaluation on its own thread.
    virtual void done() = 0;
};

// Starts an evaluation of s.formula: closes its open parentheses, marks the
// result stale, clears every error state and enters the busy state. False
// (nothing changes) while an evaluation is already busy.
bool calcBeginEvaluation(CalcState& s);

// The evaluation job, on the calling thread. Prepares the variables, checks
// the formula's length (1003), evaluates it in the current type (uint
// literals in the input base); a rat formula that fails is evaluated again as
// real, and on success the calculator switches to real. A stop gives 9003, a
// formula or library error 1007 with the formula error left for the
// message. On success the value (real and cplx rounded to the digits)
// becomes the previous result; on any error the previous result stays.
// Ends with sink->done() when sink is not null.
void calcRunJob(CalcState& s, CalcJobSink* sink);

// Runs calcRunJob on a detached thread. s and sink must stay alive until
// sink.done() has been called and s.jobRunning is false again (see
// calcWaitForJob). A thread that cannot be started is error 9000, reported
// through sink.done() on the calling thread.
void calcStartJob(CalcState& s, CalcJobSink& sink);

// Ends the busy state after the job: shows the new result and clears the
// stale and touched marks when no error is pending. The caller then shows
// the pending error, if any, and the "[ ]" indicator when s.resultInexact.
void calcFinishEvaluation(CalcState& s);

// From any thread while busy: asks the running job to stop (library error 35);
// the job ends soon after with 9003. Does nothing when not busy.
void calcRequestStop(CalcState& s);

// Waits until no worker thread uses s (true) or the timeout passes (false).
bool calcWaitForJob(const CalcState& s, std::chrono::milliseconds timeout);

// Begin, job and finish on the calling thread. True when a result is shown;
// otherwise the error is pending for takeErrorMessage(), or (no error) an
// evaluation was already busy and nothing was done.
bool calcEvaluate(CalcState& s);
