// The three error states and the messages made of them: the first error
// wins and keeps its texts (cut at 260 characters), library errors fold into
// application codes, a stop raised by another thread keeps code and texts
// together; every code's message in both languages, formula messages, the
// cut at the buffer's end and which state is shown.
#include "app/error_message.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>

#include "app/app_error.h"
#include "app/error_texts.h"
#include "formula/formula_error.h"
#include "numlib/mp_context.h"
#include "support/golden_runner.h"
#include "textbuf/text_utf8.h"
#include "textbuf/textbuf.h"

namespace {

int count(const std::u16string& s, std::u16string_view what) {
    int n = 0;
    for (std::size_t at = s.find(what); at != std::u16string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

bool leaks_placeholder(const std::u16string& s) {
    return s.empty() || count(s, u"%") > 0 || s.find(u'?') != std::u16string::npos;
}

std::u16string message(const ErrorState& state, i32 language) {
    char16_t text[ERROR_MESSAGE_MAX + 1];
    TextBuf buf = textbuf_on(text);
    if (!formatErrorMessage(buf, state, language)) return u"<none>";
    EXPECT_EQ(buf.length, static_cast<i64>(std::u16string(text).size()));
    return text;
}

class MessageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        clearErrors();
        setMessageLanguage(LANGUAGE_ENGLISH);
    }
    void TearDown() override { SetUp(); }
};

// Every application code but 0 and 9003 gives a complete message in both
// languages, with the inserts of the English template (so a page fills both
// alike); codes without a template name themselves. A formula message
// follows, its "%d" the position (or, for 10205 and unknown codes, the code),
// and a "!" ending the application text becomes ".".
TEST_F(MessageTest, EveryCodeHasAMessageInBothLanguages) {
    const auto names = [](const std::u16string& text, u32 code) {
        return text.find(text_from_utf8(std::to_string(code))) != std::u16string::npos;
    };
    for (i32 language : {LANGUAGE_ENGLISH, LANGUAGE_GERMAN}) {
        for (u32 code = 1; code <= 10300; ++code) {
            if (code == APP_ERR_STOPPED) continue;
            const std::u16string text = message({code, u"<1>", u"<2>"}, language);
            ASSERT_FALSE(leaks_placeholder(text)) << code;
            const ErrorText* entry = appErrorTemplate(code);
            const int inserts = entry != nullptr ? count(entry->english, u"%s") : 0;
            ASSERT_TRUE(entry != nullptr || names(text, code)) << code;
            ASSERT_EQ(count(text, u"<1>"), inserts >= 1 ? 1 : 0) << code;
            ASSERT_EQ(count(text, u"<2>"), inserts >= 2 ? 1 : 0) << code;
        }
        const std::u16string head = message({APP_ERR_FORMULA}, language);
        ASSERT_EQ(head.back(), u'!');
        for (u32 code = 10190; code <= 10220; ++code) {
            const std::u16string text =
                message({APP_ERR_FORMULA, nullptr, nullptr, code, 77}, language);
            ASSERT_FALSE(leaks_placeholder(text)) << code;
            ASSERT_EQ(text.substr(0, head.size() + 1), head.substr(0, head.size() - 1) + u". ")
                << code;
            const bool known = code >= 10200 && code <= 10210 && code != 10205;
            const bool has_pos = count(formulaErrorTemplate(code).english, u"%d") > 0;
            ASSERT_TRUE(known || names(text, code)) << code;
            ASSERT_EQ(text.find(u"77") != std::u16string::npos, known && has_pos) << code;
        }
    }
}

// Messages longer than the buffer end in "…" at its last place.
TEST_F(MessageTest, LongMessagesAreCutTo1023) {
    const std::u16string huge(3000, u'y');
    for (u32 formula : {0u, 10200u}) {
        const std::u16string text =
            message({APP_ERR_INVALID_INPUT, huge.c_str(), nullptr, formula, 1}, LANGUAGE_ENGLISH);
        ASSERT_EQ(text.size(), 1023u);
        EXPECT_EQ(text.back(), u'\u2026');
        EXPECT_EQ(text.substr(0, 15), u"Invalid input \"");
    }
    // The longest real message (two cut inserts, a formula text) still fits.
    const std::u16string long_insert(400, u'z');
    raiseAppError(APP_ERR_VARIABLE_NAME, long_insert.c_str(), long_insert.c_str());
    raiseFormulaError(FORMULA_ERR_NOT_FOR_TYPE, 12345);
    const ErrorMessage m = takeErrorMessage();
    const std::u16string text = m.text;
    EXPECT_LT(text.size(), 1023u);
    EXPECT_EQ(count(text, u"\u2026"), 1);  // the cut insert
}

// The rows of tests/golden/ui_texts.txt [messages]: the message a page
// shows after the states a row raises, in both languages; taking it clears
// all three states.
TEST_F(MessageTest, MessagesAsTheTableSays) {
    golden_run(
        "ui_texts.txt",
        [](const GoldenLine& row) {
            const std::vector<std::string> app = row.words(0), formula = row.words(1),
                                           library = row.words(2);
            std::string bad;
            for (i32 language : {LANGUAGE_ENGLISH, LANGUAGE_GERMAN}) {
                clearErrors();
                std::u16string texts[2];
                const char16_t* inserts[2] = {nullptr, nullptr};
                for (std::size_t i = 1; i < std::min<std::size_t>(app.size(), 3); ++i)
                    if (app[i] != "-")
                        inserts[i - 1] = (texts[i - 1] = text_from_utf8(app[i])).c_str();
                raiseAppError(static_cast<u32>(std::stoul(app.at(0))), inserts[0], inserts[1]);
                if (!formula.empty())
                    raiseFormulaErrorCause(static_cast<u32>(std::stoul(formula[0])),
                                           std::stoi(formula.at(1)), std::stoi(formula.at(2)));
                if (!library.empty()) mp_error.store(std::stoi(library[0]));
                if (library.size() > 1) {
                    raiseFromLibraryError(static_cast<u32>(std::stoul(library[1])));
                    if (mp_error.load() != 0) bad += " library error left;";
                }
                setMessageLanguage(language);
                const u32 code = appError.load();
                const ErrorMessage m = takeErrorMessage();
                const bool german = language == LANGUAGE_GERMAN;
                const std::string got = m.shown ? text_to_utf8(m.text) : "<none>";
                if (got != row.text(german ? 4 : 3)) bad += " got " + got + ";";
                if (m.code != code ||
                    (m.shown && std::u16string(m.caption) != (german ? u"Fehler" : u"Error")))
                    bad += " code or caption;";
                if (appError.load() + formulaError + static_cast<u32>(mp_error.load()) != 0)
                    bad += " not cleared;";
            }
            return bad;
        },
        "messages");
}

TEST_F(MessageTest, FirstErrorWinsUntilAllThreeAreCleared) {
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

// A stop request stored by another thread while a worker raises its own
// error: whichever wins, the texts belong to the winner.
TEST_F(MessageTest, ConcurrentRaisesKeepCodeAndTextsTogether) {
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
