// The solve operation of the algebraic-equations tool without its window:
// reads the coefficient texts a_n .. a_0 as formulas, finds the roots on a
// worker thread (approximated, or with exact forms for rational
// coefficients) and produces the lines of the output box.
//
// Sequence with a worker, every call but the sink's on the owner's thread:
//   eq_page_begin(run, request) -> [false: show takeErrorMessage()]
//   -> eq_page_start_job(run, sink) -> [sink.done() on the worker]
//   -> eq_page_finish(run) -> takeErrorMessage() (error_message.h).
// eq_page_request_stop() may be called from any thread while busy. The
// number library, the formula engine and the error states are process-wide:
// only one solve may run at a time, and nothing else computes meanwhile.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "equations/roots.h"

constexpr i32 EQ_PAGE_DEGREE_MIN = 1;
constexpr i32 EQ_PAGE_DEGREE_MAX = ROOT_MAX_DEGREE;
constexpr i32 EQ_PAGE_DIGITS_MIN = 5;
constexpr i32 EQ_PAGE_DIGITS_START = 10;
// A coefficient text of this many characters or more is refused (2006).
constexpr i64 EQ_PAGE_COEFFICIENT_CHARS = 1031;

struct EqPageRequest {
    // a_n first, a_0 last: the degree is size() - 1 (1..10). Empty or blank
    // texts are 0.
    std::vector<std::u16string> coefficients;
    bool exact = false;                 // "Exact value": rational coefficients, exact forms
    bool real_only = true;              // mode "real": complex roots are not listed
    i32 digits = EQ_PAGE_DIGITS_START;  // clamped to EQ_PAGE_DIGITS_MIN .. eq_page_digits_max(n)
    bool show_multiplicity = true;      // "   [k]" after each root
};

// How the worker reaches its page; called once on the worker thread as the
// job's last use of the run. The page then calls eq_page_finish on its own
// thread.
class EqPageJobSink {
  public:
    virtual ~EqPageJobSink() = default;
    virtual void done() = 0;
};

// The state of one solve, from eq_page_begin to eq_page_finish: the
// equation's coefficients and the result record with their storage.
struct EqPageRun {
    std::atomic<bool> busy{false};         // between a successful begin and finish
    std::atomic<bool> job_running{false};  // a worker thread still uses the run
    bool exact = false;
    bool show_multiplicity = true;
    i32 degree = 0;
    poly_equation equation;
    root_result result;
    std::vector<u64> coefficient_store;
    std::unique_ptr<RootStorage> root_store;
};

// Largest precision the page offers at degree n: 2000 digits up to degree
// 4, 1000 for 5 to 7, 750 from 8 on.
i32 eq_page_digits_max(i32 degree);

// The name of coefficient a_k in messages and row headers: "a" and k.
std::u16string eq_page_coefficient_name(i32 k);

// The hint above the grid in the active language, for degree n 1..10:
// "Enter the coefficients of the equation a2*x^2 + a1*x + a0 = 0." (a
// no-break space before the "0").
std::u16string eq_page_hint(i32 degree);

// Starts a solve: clears the error states, sets the library context (number
// type, word counts, display thresholds -4, 10, 1000) and reads the
// coefficients a_n .. a_0 through evaluateFormula (exact: rat at two words
// per part; otherwise cplx at the working precision). Stops at the first
// error and returns false with it pending: 2006 a text of 1031 characters or
// more, 2002 (approximation) or 2005 (exact) a formula error (the formula
// error stays pending for the message), 2003 a complex coefficient in mode
// "real", 2000 a zero a_n, 9000 a degree outside 1..10 or a precision past
// 527 words, 1001 a library error, and false without an error while the run
// is busy. On success the run is busy and holds the equation.
bool eq_page_begin(EqPageRun& run, const EqPageRequest& request);

// The worker's job on the calling thread: solve_exact (then the roots
// rounded to the digits asked for) or solve_approx. Ends with sink->done()
// when sink is not null.
void eq_page_run_job(EqPageRun& run, EqPageJobSink* sink);

// Runs eq_page_run_job on a detached thread. run and sink must stay alive
// until sink.done() has been called and run.job_running is false again (see
// eq_page_wait). A thread that cannot be started is error 9000, reported
// through sink.done() on the calling thread.
void eq_page_start_job(EqPageRun& run, EqPageJobSink& sink);

// From any thread while busy: the silent stop request 9003. The iteration
// and the square-part search poll it; the job then ends without a result.
void eq_page_request_stop(const EqPageRun& run);

// Waits until no worker thread uses run (true) or the timeout passes (false).
bool eq_page_wait(const EqPageRun& run, std::chrono::milliseconds timeout);

// Ends the solve: the output box's text when no error is pending (one line
// per root, "x1 = ...", each ending in "\r\n", or the no-real-solutions
// text), otherwise empty; a pending library error becomes 1001. A line
// longer than 52 words + 403 characters is cut with "…" and error 9002. The
// run is no longer busy; the caller shows the pending error, if any.
std::u16string eq_page_finish(EqPageRun& run);

// Begin, job and finish on the calling thread: the output text, with any
// error left pending for takeErrorMessage().
std::u16string eq_page_solve(EqPageRun& run, const EqPageRequest& request);
