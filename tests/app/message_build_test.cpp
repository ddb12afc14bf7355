#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_error.h"
#include "app/error_message.h"
#include "app/error_texts.h"
#include "formula/formula.h"
#include "formula/formula_error.h"
#include "numlib/mp_context.h"

namespace {

std::u16string digits(u32 v) {
    const std::string s = std::to_string(v);
    return std::u16string(s.begin(), s.end());
}

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

// English and German templates take the same inserts, so a page fills both alike.
TEST_F(MessageTest, TemplatesAgreeAcrossLanguages) {
    for (int i = 0; i < ERROR_TEXT_COUNT; ++i) {
        const ErrorText& e = error_texts[i];
        const std::u16string en = e.english, de = e.german;
        EXPECT_FALSE(en.empty() || de.empty()) << i;
        EXPECT_EQ(count(en, u"%s"), count(de, u"%s")) << i;
        EXPECT_EQ(count(en, u"%d"), count(de, u"%d")) << i;
        const bool formula = i >= ERROR_TEXT_FIRST_FORMULA;
        EXPECT_LE(count(en, u"%s"), formula ? 0 : 2) << i;
        EXPECT_LE(count(en, u"%d"), formula ? 1 : 0) << i;
    }
    for (const ErrorText& e : error_texts_added) {
        EXPECT_EQ(count(e.english, u"%s"), count(e.german, u"%s")) << e.code;
        EXPECT_EQ(appErrorTemplate(e.code), &e);
    }
    EXPECT_EQ(appErrorTemplate(APP_ERR_STOPPED), nullptr);
    EXPECT_EQ(appErrorTemplate(1004), nullptr);
    EXPECT_EQ(appErrorTemplate(FORMULA_ERR_SYNTAX), nullptr);  // not an application code
}

// Every application code but 0 and 9003 gives a complete message in both
// languages; codes without a template name themselves.
TEST_F(MessageTest, EveryApplicationCodeHasAMessage) {
    for (i32 language : {LANGUAGE_ENGLISH, LANGUAGE_GERMAN}) {
        for (u32 code = 1; code <= 10300; ++code) {
            if (code == APP_ERR_STOPPED) continue;
            const std::u16string text = message({code, u"<1>", u"<2>"}, language);
            ASSERT_FALSE(leaks_placeholder(text)) << code;
            const ErrorText* entry = appErrorTemplate(code);
            if (entry == nullptr) {
                ASSERT_NE(text.find(digits(code)), std::u16string::npos) << code;
                continue;
            }
            const int inserts = count(errorTextIn(*entry, language), u"%s");
            ASSERT_EQ(count(text, u"<1>"), inserts >= 1 ? 1 : 0) << code;
            ASSERT_EQ(count(text, u"<2>"), inserts >= 2 ? 1 : 0) << code;
        }
    }
    EXPECT_EQ(message({4711}, LANGUAGE_ENGLISH), u"Unknown error 4711 occurred!");
    EXPECT_EQ(message({4711}, LANGUAGE_GERMAN), u"Unbekannter Fehler 4711 aufgetreten!");
    EXPECT_EQ(message({APP_ERR_POLY_COEFFICIENT, u"a2", u"P3"}, LANGUAGE_ENGLISH),
              u"Error evaluating coefficient \"a2\" in polynomial \"P3\"!");
    EXPECT_EQ(message({APP_ERR_NONE}, LANGUAGE_ENGLISH), u"<none>");
    EXPECT_EQ(message({APP_ERR_STOPPED}, LANGUAGE_GERMAN), u"<none>");
}

// Formula messages: the position (or, for 10205 and unknown codes, the code)
// fills "%d"; a "!" ending the application text becomes ".".
TEST_F(MessageTest, FormulaMessageFollowsApplicationText) {
    for (i32 language : {LANGUAGE_ENGLISH, LANGUAGE_GERMAN}) {
        const std::u16string head = message({APP_ERR_FORMULA}, language);
        ASSERT_EQ(head.back(), u'!');
        for (u32 code = 10190; code <= 10220; ++code) {
            const std::u16string text =
                message({APP_ERR_FORMULA, nullptr, nullptr, code, 77}, language);
            ASSERT_FALSE(leaks_placeholder(text)) << code;
            ASSERT_EQ(text.substr(0, head.size() + 1), head.substr(0, head.size() - 1) + u". ")
                << code;
            const bool known = code >= 10200 && code <= 10210 && code != 10205;
            const bool has_pos =
                count(errorTextIn(formulaErrorTemplate(code), language), u"%d") > 0;
            if (!known) {
                ASSERT_NE(text.find(digits(code)), std::u16string::npos) << code;
            }
            ASSERT_EQ(text.find(u"77") != std::u16string::npos, known && has_pos) << code;
        }
    }
    EXPECT_EQ(message({APP_ERR_FORMULA, nullptr, nullptr, FORMULA_ERR_SYNTAX, 5}, LANGUAGE_ENGLISH),
              u"Error in mathematical formula. Syntax error at character position 5!");
    EXPECT_EQ(message({APP_ERR_FORMULA, nullptr, nullptr, FORMULA_ERR_SYNTAX, 5}, LANGUAGE_GERMAN),
              u"Fehler in mathematischer Formel. Syntaxfehler bei Zeichenposition 5!");
    // 1006 ends with "." already and stays as it is.
    const std::u16string access = message({APP_ERR_FILE_ACCESS, u"f"}, LANGUAGE_ENGLISH);
    EXPECT_EQ(
        message({APP_ERR_FILE_ACCESS, u"f", nullptr, FORMULA_ERR_UNEXPECTED_END}, LANGUAGE_ENGLISH),
        access + u" Unexpected end of formula!");
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

// The pending application error decides: 9003 and 0 show nothing; a formula
// error is only appended to an application error; a library error counts
// only once folded in. Taking the message clears all three states.
TEST_F(MessageTest, PrecedenceOfTheThreeErrorStates) {
    raiseAppError(APP_ERR_STOPPED, nullptr, nullptr);
    raiseFormulaError(FORMULA_ERR_STOPPED, 0);
    mp_error.store(MP_ERR_STOPPED);
    ErrorMessage m = takeErrorMessage();
    EXPECT_FALSE(m.shown);
    EXPECT_EQ(m.code, APP_ERR_STOPPED);
    EXPECT_EQ(appError.load() + formulaError + static_cast<u32>(mp_error.load()), 0u);

    raiseFormulaError(FORMULA_ERR_SYNTAX, 2);
    mp_error.store(MP_ERR_OVERFLOW);
    m = takeErrorMessage();
    EXPECT_FALSE(m.shown);
    EXPECT_EQ(formulaError + static_cast<u32>(mp_error.load()), 0u);

    raiseAppError(APP_ERR_COEFFICIENT, u"a1", nullptr);
    raiseFormulaError(FORMULA_ERR_OVERFLOW, 3);
    mp_error.store(MP_ERR_OVERFLOW);
    raiseFromLibraryError(APP_ERR_OVERFLOW);  // too late: the first cause is reported
    setMessageLanguage(LANGUAGE_GERMAN);
    m = takeErrorMessage();
    EXPECT_TRUE(m.shown);
    EXPECT_EQ(std::u16string(m.caption), u"Fehler");
    EXPECT_EQ(std::u16string(m.text),
              u"Fehler bei der Auswertung von Koeffizient \"a1\". Überlauf bei Zeichenposition 3!");

    mp_error.store(MP_ERR_DIV_ZERO);
    raiseFromLibraryError(APP_ERR_OVERFLOW);
    setMessageLanguage(LANGUAGE_ENGLISH);
    m = takeErrorMessage();
    EXPECT_EQ(std::u16string(m.text), u"Overflow in mathematical calculation!");
    EXPECT_EQ(std::u16string(m.caption), u"Error");
}

}  // namespace
