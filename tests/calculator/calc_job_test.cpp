// The evaluation job beyond the shown results (tests/golden/calc_display.txt):
// the state the rat fallback leaves, the inexact mark, and the worker thread
// with its sink and a stop request from another thread or before the start.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "calc_test_util.h"
#include "numlib/mp_error.h"

namespace {

TEST_F(CalcTest, RatFallbackInexactMarkAndClearAll) {
    use(MP_TYPE_RAT);
    ASSERT_EQ(eval("sqrt(2)"), 0u);
    EXPECT_EQ(s.numberType, MP_TYPE_REAL);
    EXPECT_EQ(s.intWords, 1);
    use(MP_TYPE_RAT);
    EXPECT_EQ(eval("1/0"), APP_ERR_FORMULA);  // fails as real too: stays rat
    EXPECT_EQ(s.numberType, MP_TYPE_RAT);
    EXPECT_EQ(mp_num_type, MP_TYPE_RAT);
    EXPECT_EQ(mp_int_words, CALC_RAT_WORDS);
    EXPECT_NE(formulaError, 0u);  // the formula message follows
    EXPECT_TRUE(s.resultStale);
    use(MP_TYPE_UINT);
    ASSERT_EQ(eval("7/2"), 0u);
    EXPECT_TRUE(s.resultInexact);
    ASSERT_EQ(eval("8/2"), 0u);
    EXPECT_FALSE(s.resultInexact || s.resultStale || s.busy);
    calcClearAll(s);
    EXPECT_FALSE(s.hasResult);
    EXPECT_EQ(eval("ans"), APP_ERR_NO_RESULT);
}

// Counts the worker's reports; calcWaitForJob sees the job end after done().
struct CountingSink : CalcJobSink {
    void numberTypeChanged(i32 type) override { switched = type; }
    void done() override { ++dones; }
    std::atomic<i32> switched{0}, dones{0};
};

TEST_F(CalcTest, WorkerReportsThroughItsSinkAndStopsOnRequest) {
    use(MP_TYPE_RAT);
    calcFormulaEdited(s, u"sqrt(9/4)+sqrt(2)");
    CountingSink sink;
    ASSERT_TRUE(calcBeginEvaluation(s));
    EXPECT_FALSE(calcBeginEvaluation(s));  // one evaluation at a time
    calcStartJob(s, sink);
    ASSERT_TRUE(calcWaitForJob(s, std::chrono::milliseconds(10000)));
    calcFinishEvaluation(s);
    EXPECT_EQ(sink.dones, 1);
    EXPECT_EQ(error(), 0u);
    EXPECT_EQ(sink.switched, MP_TYPE_REAL);
    EXPECT_EQ(shown(), "2.914213562");
    EXPECT_FALSE(s.busy);

    use(MP_TYPE_REAL, 10000);
    ASSERT_EQ(eval("7"), 0u);
    // A hundred powers at 10,000 digits take seconds: the stop comes first
    // however late this thread wakes (fact(100000), at 40 ms, lost the race
    // on a busy machine).
    std::u16string slow = u"1";
    for (int i = 0; i < 100; ++i) slow += u"+ln(3)^ln(5)";
    calcFormulaEdited(s, slow);
    CountingSink stopped;
    ASSERT_TRUE(calcBeginEvaluation(s));
    calcStartJob(s, stopped);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::thread([this] { calcRequestStop(s); }).join();
    ASSERT_TRUE(calcWaitForJob(s, std::chrono::milliseconds(10000)));
    calcFinishEvaluation(s);
    EXPECT_EQ(stopped.dones, 1);
    EXPECT_EQ(error(), APP_ERR_STOPPED);
    EXPECT_EQ(shown(), "7");  // the previous result stays
    EXPECT_EQ(mp_err(), MP_ERR_NONE);
    clearErrors();
    ASSERT_EQ(eval("ans+1"), 0u);  // and the calculator goes on
    EXPECT_EQ(shown(), "8");
}

TEST_F(CalcTest, StopBeforeTheEvaluationIsNotLost) {
    calcFormulaEdited(s, u"1+1");
    ASSERT_TRUE(calcBeginEvaluation(s));
    calcRequestStop(s);
    mp_error.store(0);  // as if the evaluator had cleared it at its start
    calcRunJob(s, nullptr);
    calcFinishEvaluation(s);
    EXPECT_EQ(error(), APP_ERR_STOPPED);
    EXPECT_FALSE(s.hasResult);
}

}  // namespace
