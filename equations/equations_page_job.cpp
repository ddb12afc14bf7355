// The solve job, the worker thread that runs it and the stop request.
#include <system_error>
#include <thread>

#include "app/app_error.h"
#include "equations/equations_page.h"
#include "equations/exact.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_thread.h"

namespace {

void solve_job(EqPageRun& run) {
    root_result& result = run.result;
    if (!run.busy.load() || run.root_store == nullptr) {  // begin did not succeed
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return;
    }
    mp_set_real_words(result.words);
    if (!run.exact) {
        solve_approx(run.equation, result, false);
        return;
    }
    solve_exact(run.equation, result);
    // The iteration ran with guard digits for the rational-root test; the
    // roots are shown at the digits asked for.
    if (result.iter_digits == result.show_digits) return;
    for (i64 i = 0; i < result.count; ++i)
        cplx_round_digits(result.roots[i], result.roots[i], result.show_digits);
}

}  // namespace

void eq_page_run_job(EqPageRun& run, EqPageJobSink* sink) {
    solve_job(run);
    if (sink != nullptr) sink->done();
}

void eq_page_start_job(EqPageRun& run, EqPageJobSink& sink) {
    run.job_running.store(true);
    try {
        std::thread([&run, &sink] {
            MpThreadScratch scratch;
            eq_page_run_job(run, &sink);
            run.job_running.store(false);
        }).detach();
    } catch (const std::system_error&) {
        run.job_running.store(false);
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        sink.done();
    }
}

void eq_page_request_stop(const EqPageRun& run) {
    if (run.busy.load()) raiseAppError(APP_ERR_STOPPED, nullptr, nullptr);
}

bool eq_page_wait(const EqPageRun& run, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (run.job_running.load()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

std::u16string eq_page_solve(EqPageRun& run, const EqPageRequest& request) {
    if (!eq_page_begin(run, request)) return {};
    eq_page_run_job(run, nullptr);
    return eq_page_finish(run);
}
