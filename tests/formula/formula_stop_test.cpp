// A stop request stored by another thread while a long evaluation runs ends
// it with 10210, no position and a result of 0, and gives the scratch back.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "formula/formula.h"
#include "formula/formula_error.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/real.h"

namespace {

TEST(FormulaStop, StopDuringFactorial) {
    mp_context_reset();
    mp_num_type = MP_TYPE_REAL;
    mp_set_real_words(MP_REAL_WORDS_MAX);
    std::vector<u64> result(MP_REAL_WORDS_MAX + 1, ~u64{0});
    FormulaRequest req;
    req.text = u"1+fact(3000000)";  // seconds of work at 10,013 digits
    req.result = result.data();
    u8* const top = mp_scratch_top;

    // The request is repeated until the evaluation returns, so that it
    // cannot be lost to the evaluator clearing mp_error at its start.
    std::atomic<bool> done{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        while (!done) {
            mp_error.store(MP_ERR_STOPPED);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const bool ok = evaluateFormula(&req);
    done = true;
    stopper.join();
    mp_error.store(0);

    EXPECT_FALSE(ok);
    EXPECT_EQ(formulaError, FORMULA_ERR_STOPPED);
    EXPECT_EQ(formulaErrorPos, 0);
    EXPECT_TRUE(real_is_zero(result.data()));
    EXPECT_EQ(mp_scratch_top, top);
    clearFormulaError();
    mp_context_reset();
}

}  // namespace
