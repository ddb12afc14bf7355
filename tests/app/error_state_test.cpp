// The three error states: the first error wins and keeps its texts (cut at
// 260 characters), library errors fold into application codes, a cut text
// raises 9002, and a stop raised by another thread keeps code and texts
// together.
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

TEST_F(ErrorStateTest, FirstErrorWinsUntilAllThreeAreCleared) {
    raiseAppError(0, u"zero", u"raises nothing");
    EXPECT_EQ(appErrorText1[0], 0);
    raiseAppError(APP_ERR_FILE_ACCESS, u"a.csv", nullptr);
    raiseAppError(APP_ERR_INTERNAL, u"other", u"texts");
    EXPECT_EQ(appError.load(), APP_ERR_FILE_ACCESS);
    EXPECT_EQ(std::u16string(appErrorText1), u"a.csv");
    EXPECT_EQ(std::u16string(appErrorText2), u"?");  // a null text is kept as "?"
    raiseFormulaError(FORMULA_ERR_NUMBER_FORMAT, 3);
    raiseFormulaError(FORMULA_ERR_OVERFLOW, 9);
    EXPECT_EQ(formulaError, FORMULA_ERR_NUMBER_FORMAT);
    EXPECT_EQ(formulaErrorPos, 3);
    mp_error.store(MP_ERR_OVERFLOW);
    clearErrors();
    EXPECT_EQ(appError.load() + formulaError + static_cast<u32>(formulaErrorPos + mp_error.load()),
              0u);
    EXPECT_EQ(appErrorText1[0] + appErrorText2[0], 0);
    // Inserts longer than 260 code units keep 259 and end in "…".
    for (std::size_t len : {259u, 260u, 261u, 5000u}) {
        clearErrors();
        const std::u16string text(len, u'x');
        raiseAppError(APP_ERR_INVALID_INPUT, text.c_str(), text.c_str());
        const std::u16string want = len <= 260 ? text : std::u16string(259, u'x') + u"\u2026";
        EXPECT_EQ(std::u16string(appErrorText1), want) << len;
        EXPECT_EQ(std::u16string(appErrorText2), want) << len;
    }
    // A text buffer that had to cut its text raises 9002.
    clearErrors();
    char16_t small[4];
    text_format(small, 3, u"%s", u"fit");
    EXPECT_EQ(appError.load(), 0u);
    text_format(small, 3, u"%s", u"too long");
    EXPECT_EQ(appError.load(), APP_ERR_TEXT_OVERFLOW);
}

TEST_F(ErrorStateTest, LibraryErrorsFoldIntoApplicationCodes) {
    const struct {
        i32 library;
        u32 pending, given, app;
    } rows[] = {
        {MP_ERR_STOPPED, 0, APP_ERR_PRIME_OVERFLOW, APP_ERR_STOPPED},
        {MP_ERR_TEXT_SPACE, 0, APP_ERR_PRIME_OVERFLOW, APP_ERR_TEXT_OVERFLOW},
        {MP_ERR_INTERNAL, 0, APP_ERR_PRIME_OVERFLOW, APP_ERR_INTERNAL},
        {MP_ERR_OVERFLOW, 0, APP_ERR_PRIME_OVERFLOW, APP_ERR_PRIME_OVERFLOW},
        {MP_ERR_DIV_ZERO, 0, APP_ERR_PRIME_OVERFLOW, APP_ERR_PRIME_OVERFLOW},
        {MP_ERR_DOMAIN, 0, APP_ERR_PRIME_OVERFLOW, APP_ERR_PRIME_OVERFLOW},
        {MP_ERR_STOPPED, APP_ERR_COEFFICIENT, APP_ERR_OVERFLOW,
         APP_ERR_COEFFICIENT},                      // a pending error stays
        {MP_ERR_NONE, 0, APP_ERR_OVERFLOW, 0},      // nothing to fold
        {MP_ERR_OVERFLOW, 0, 0, APP_ERR_OVERFLOW},  // code 0 still reports a failure
    };
    for (const auto& row : rows) {
        clearErrors();
        raiseAppError(row.pending, u"a0", nullptr);
        mp_error.store(row.library);
        raiseFromLibraryError(row.given);
        EXPECT_EQ(appError.load(), row.app) << row.library;
        EXPECT_EQ(std::u16string(appErrorText1), row.pending ? u"a0"
                                                 : row.app   ? u"?"
                                                             : u"")
            << row.library;
        EXPECT_EQ(mp_error.load(), 0);
    }
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
