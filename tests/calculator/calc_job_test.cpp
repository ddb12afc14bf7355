// The evaluation job: the rat fallback, "ans" after a change of type, the
// inexact mark, refused formulas, and the worker thread with its sink and a
// stop request from another thread.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "calc_test_util.h"
#include "numlib/mp_error.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST_F(CalcTest, RatFormulaWithoutRationalValueSwitchesToReal) {
    use(MP_TYPE_RAT);
    ASSERT_EQ(eval("1/3"), 0u);
    EXPECT_EQ(shown(), "1/3");
    ASSERT_EQ(eval("sqrt(2)"), 0u);
    EXPECT_EQ(s.numberType, MP_TYPE_REAL);
    EXPECT_EQ(s.intWords, 1);
    EXPECT_EQ(shown(), "1.414213562");
    use(MP_TYPE_RAT);
    EXPECT_EQ(eval("1/0"), APP_ERR_FORMULA);  // fails as real too: stays rat
    EXPECT_EQ(s.numberType, MP_TYPE_RAT);
    EXPECT_EQ(mp_num_type, MP_TYPE_RAT);
    EXPECT_EQ(mp_int_words, CALC_RAT_WORDS);
    EXPECT_NE(formulaError, 0u);  // the formula message follows
}

TEST_F(CalcTest, AnsAfterTypeAndPrecisionChanges) {
    use(MP_TYPE_RAT);
    ASSERT_EQ(eval("5/4"), 0u);
    use(MP_TYPE_REAL, 40);
    ASSERT_EQ(eval("ans*4"), 0u);
    EXPECT_EQ(shown(), "5");
    use(MP_TYPE_UINT);
    ASSERT_EQ(eval("ans+1"), 0u);
    EXPECT_EQ(shown(), "6");
    use(MP_TYPE_REAL, 10);
    ASSERT_EQ(eval("ans/4"), 0u);
    use(MP_TYPE_UINT);
    EXPECT_EQ(eval("ans"), APP_ERR_NOT_CONVERTIBLE);  // 1.5 has no integer form
    use(MP_TYPE_CPLX, 10);
    ASSERT_EQ(eval("ans+i"), 0u);
    EXPECT_EQ(shown(), "1.5+i");
    use(MP_TYPE_REAL, 10);
    EXPECT_EQ(eval("ans"), APP_ERR_NOT_CONVERTIBLE);  // an imaginary part
}

TEST_F(CalcTest, ResultsRoundedToTheDigits) {
    use(MP_TYPE_REAL, 5);
    ASSERT_EQ(eval("2/3"), 0u);
    EXPECT_EQ(shown(), "0.66667");
    use(MP_TYPE_REAL, 25);
    ASSERT_EQ(eval("ans*3"), 0u);  // the stored value, not the unrounded one
    EXPECT_EQ(shown(), "2.00001");
}

TEST_F(CalcTest, InexactMarkParenthesesAndRefusedFormulas) {
    use(MP_TYPE_UINT);
    ASSERT_EQ(eval("7/2"), 0u);
    EXPECT_TRUE(s.resultInexact);
    ASSERT_EQ(eval("8/2"), 0u);
    EXPECT_FALSE(s.resultInexact);
    ASSERT_EQ(eval("(1+2*(3"), 0u);
    EXPECT_EQ(ascii(s.formula), "(1+2*(3))");
    EXPECT_EQ(shown(), "7");
    EXPECT_FALSE(s.resultStale);
    EXPECT_FALSE(s.busy);

    EXPECT_EQ(eval("2+*3"), APP_ERR_FORMULA);
    EXPECT_EQ(shown(), "7");  // the field keeps the previous result, marked stale
    EXPECT_TRUE(s.resultStale);
    const std::string tooLong(static_cast<std::size_t>(calcMaxFormulaLength()) + 1, '1');
    EXPECT_EQ(eval(tooLong), APP_ERR_TEXT_TOO_LONG);
    EXPECT_EQ(eval("2^66496"), APP_ERR_FORMULA);  // just over 1039 words
    EXPECT_EQ(shown(), "7");
    calcClearAll(s);
    EXPECT_FALSE(s.hasResult);
    EXPECT_EQ(error(), 0u);
    EXPECT_EQ(eval("ans"), APP_ERR_NO_RESULT);
}

// A sink that lets the test wait for the worker.
class WaitSink : public CalcJobSink {
  public:
    void numberTypeChanged(i32 type) override { switched = type; }
    void done() override {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        doneAt = Clock::now();
        cv_.notify_all();
    }
    bool wait(std::chrono::seconds limit) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, limit, [this] { return finished_; });
    }
    std::atomic<i32> switched{0};
    Clock::time_point doneAt;

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool finished_ = false;
};

TEST_F(CalcTest, WorkerReportsThroughItsSink) {
    use(MP_TYPE_RAT);
    calcFormulaEdited(s, u"sqrt(9/4)+sqrt(2)");
    WaitSink sink;
    ASSERT_TRUE(calcBeginEvaluation(s));
    EXPECT_FALSE(calcBeginEvaluation(s));  // one evaluation at a time
    calcStartJob(s, sink);
    ASSERT_TRUE(sink.wait(std::chrono::seconds(60)));
    ASSERT_TRUE(calcWaitForJob(s, std::chrono::milliseconds(10000)));
    calcFinishEvaluation(s);
    EXPECT_EQ(error(), 0u);
    EXPECT_EQ(sink.switched, MP_TYPE_REAL);
    EXPECT_EQ(shown(), "2.914213562");
    EXPECT_FALSE(s.busy);
}

TEST_F(CalcTest, StopFromAnotherThreadEndsTheJob) {
    use(MP_TYPE_REAL, 10000);
    ASSERT_EQ(eval("7"), 0u);
    calcFormulaEdited(s, u"fact(100000)");
    WaitSink sink;
    ASSERT_TRUE(calcBeginEvaluation(s));
    calcStartJob(s, sink);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));  // the job takes about 100 ms
    const Clock::time_point stopAt = Clock::now();
    std::thread([this] { calcRequestStop(s); }).join();
    ASSERT_TRUE(sink.wait(std::chrono::seconds(120)));
    ASSERT_TRUE(calcWaitForJob(s, std::chrono::milliseconds(10000)));
    calcFinishEvaluation(s);
    EXPECT_LT(sink.doneAt - stopAt, std::chrono::seconds(10));
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
