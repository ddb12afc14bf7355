#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "app/app_error.h"
#include "formula/formula_error.h"
#include "numlib/mp_context.h"
#include "textbuf/textbuf.h"

namespace {

class ErrorStateTest : public ::testing::Test {
  protected:
    void SetUp() override { clearErrors(); }
    void TearDown() override { clearErrors(); }
};

TEST_F(ErrorStateTest, FirstApplicationErrorWins) {
    raiseAppError(APP_ERR_FILE_ACCESS, u"a.csv", nullptr);
    raiseAppError(APP_ERR_INTERNAL, u"other", u"texts");
    EXPECT_EQ(appError.load(), APP_ERR_FILE_ACCESS);
    EXPECT_EQ(std::u16string(appErrorText1), u"a.csv");
    EXPECT_EQ(std::u16string(appErrorText2), u"?");  // a null text is kept as "?"
    raiseAppError(0, u"zero", u"raises nothing");
    clearErrors();
    raiseAppError(0, u"zero", u"raises nothing");
    EXPECT_EQ(appError.load(), 0u);
    EXPECT_EQ(appErrorText1[0], 0);
}

// Inserts longer than 260 code units keep 259 and end in "…".
TEST_F(ErrorStateTest, InsertsAreCutAt260) {
    for (std::size_t len : {259u, 260u, 261u, 300u, 5000u}) {
        clearErrors();
        const std::u16string text(len, u'x');
        raiseAppError(APP_ERR_INVALID_INPUT, text.c_str(), text.c_str());
        const std::u16string want = len <= 260 ? text : std::u16string(259, u'x') + u"\u2026";
        EXPECT_EQ(std::u16string(appErrorText1), want) << len;
        EXPECT_EQ(std::u16string(appErrorText2), want) << len;
    }
}

TEST_F(ErrorStateTest, LibraryErrorsFoldIntoApplicationCodes) {
    const struct {
        i32 library;
        u32 app;
    } cases[] = {
        {MP_ERR_STOPPED, APP_ERR_STOPPED},         {MP_ERR_TEXT_SPACE, APP_ERR_TEXT_OVERFLOW},
        {MP_ERR_INTERNAL, APP_ERR_INTERNAL},       {MP_ERR_OVERFLOW, APP_ERR_PRIME_OVERFLOW},
        {MP_ERR_DIV_ZERO, APP_ERR_PRIME_OVERFLOW}, {MP_ERR_DOMAIN, APP_ERR_PRIME_OVERFLOW}};
    for (const auto& c : cases) {
        clearErrors();
        mp_error.store(c.library);
        raiseFromLibraryError(APP_ERR_PRIME_OVERFLOW);
        EXPECT_EQ(appError.load(), c.app) << c.library;
        EXPECT_EQ(std::u16string(appErrorText1), u"?");
        EXPECT_EQ(mp_error.load(), 0);
    }
    // A pending application error stays; the library error is still cleared.
    clearErrors();
    raiseAppError(APP_ERR_COEFFICIENT, u"a0", nullptr);
    mp_error.store(MP_ERR_STOPPED);
    raiseFromLibraryError(APP_ERR_OVERFLOW);
    EXPECT_EQ(appError.load(), APP_ERR_COEFFICIENT);
    EXPECT_EQ(mp_error.load(), 0);
    // Without a library error nothing happens; code 0 still reports a failure.
    clearErrors();
    raiseFromLibraryError(APP_ERR_OVERFLOW);
    EXPECT_EQ(appError.load(), 0u);
    mp_error.store(MP_ERR_OVERFLOW);
    raiseFromLibraryError(0);
    EXPECT_EQ(appError.load(), APP_ERR_OVERFLOW);
}

TEST_F(ErrorStateTest, ClearErrorsClearsAllThreeStates) {
    raiseAppError(APP_ERR_INVALID_INPUT, u"x", u"y");
    raiseFormulaError(FORMULA_ERR_SYNTAX, 4);
    mp_error.store(MP_ERR_OVERFLOW);
    clearErrors();
    EXPECT_EQ(appError.load(), 0u);
    EXPECT_EQ(appErrorText1[0], 0);
    EXPECT_EQ(appErrorText2[0], 0);
    EXPECT_EQ(formulaError, 0u);
    EXPECT_EQ(formulaErrorPos, 0);
    EXPECT_EQ(mp_error.load(), 0);
}

TEST_F(ErrorStateTest, FirstFormulaErrorWins) {
    raiseFormulaError(FORMULA_ERR_NUMBER_FORMAT, 3);
    raiseFormulaError(FORMULA_ERR_OVERFLOW, 9);
    EXPECT_EQ(formulaError, FORMULA_ERR_NUMBER_FORMAT);
    EXPECT_EQ(formulaErrorPos, 3);
}

// A text buffer that had to cut its text raises 9002 (unless an error is pending).
TEST_F(ErrorStateTest, TextOverflowRaisesStringBufferError) {
    char16_t small[4];
    text_format(small, 3, u"%s", u"too long");
    EXPECT_EQ(appError.load(), APP_ERR_TEXT_OVERFLOW);
    clearErrors();
    text_format(small, 3, u"%s", u"fit");
    EXPECT_EQ(appError.load(), 0u);
}

// A stop request stored by another thread while a worker raises its own
// error: whichever wins, the texts belong to the winner.
TEST_F(ErrorStateTest, ConcurrentRaisesKeepCodeAndTextsTogether) {
    const std::u16string worker_text(200, u'w');
    for (int round = 0; round < 200; ++round) {
        clearErrors();
        std::thread stopper([] { raiseAppError(APP_ERR_STOPPED, nullptr, nullptr); });
        raiseAppError(APP_ERR_INVALID_INPUT, worker_text.c_str(), worker_text.c_str());
        stopper.join();
        const std::u16string want = appError.load() == APP_ERR_STOPPED ? u"?" : worker_text;
        ASSERT_EQ(std::u16string(appErrorText1), want);
        ASSERT_EQ(std::u16string(appErrorText2), want);
    }
}

}  // namespace
