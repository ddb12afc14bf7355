#include "app/ui_texts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/error_message.h"
#include "app/error_texts.h"
#include "support/golden_runner.h"
#include "textbuf/text_utf8.h"

namespace {

// Each test sets the three locale variables as it needs; they are put back.
class UiTextsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i)
            saved_[i] = std::getenv(kNames[i]) ? std::getenv(kNames[i]) : "";
    }
    void TearDown() override {
        setLocale(saved_[0].c_str(), saved_[1].c_str(), saved_[2].c_str());
        ui_language_select(2);
    }
    // Sets the variables; null unsets one.
    static void setLocale(const char* lc_all, const char* lc_messages, const char* lang) {
        const char* values[3] = {lc_all, lc_messages, lang};
        for (int i = 0; i < 3; ++i)
            values[i] ? setenv(kNames[i], values[i], 1) : unsetenv(kNames[i]);
    }
    static constexpr const char* kNames[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::string saved_[3];
};

// Both tables assign every slot, some as tests/golden/ui_texts.txt says; the
// message slots are the formula layer's own strings, so a message and its
// slot can never drift apart.
TEST_F(UiTextsTest, BothLanguagesFillEverySlot) {
    for (int language : {LANGUAGE_ENGLISH, LANGUAGE_GERMAN}) {
        ui_texts_reset();
        EXPECT_EQ(std::u16string(ui_text[40]), u"???");
        language == LANGUAGE_GERMAN ? ui_texts_german() : ui_texts_english();
        EXPECT_EQ(messageLanguage(), language);
        for (int slot = 0; slot < UI_TEXT_COUNT; ++slot) {
            ASSERT_NE(ui_text[slot], nullptr) << slot;
            ASSERT_NE(std::u16string(ui_text[slot]), u"???") << slot;
        }
        for (int i = 0; i < ERROR_TEXT_COUNT; ++i)
            EXPECT_EQ(ui_text[UI_TEXT_FIRST_MESSAGE + i], errorTextIn(error_texts[i], language));
        EXPECT_EQ(ui_text[UI_TEXT_ERROR_CAPTION], errorCaption(language));
        golden_run(
            "ui_texts.txt",
            [&](const GoldenLine& row) {
                const std::string got = text_to_utf8(ui_text[std::atoi(row.text(0).c_str())]);
                return got == row.text(language == LANGUAGE_GERMAN ? 2 : 1) ? "" : "got " + got;
            },
            "slots");
    }
}

// The system's locale decides the automatic choice (setting 1); settings 2
// and 3 choose themselves; an invalid setting counts as automatic.
TEST_F(UiTextsTest, SettingAndSystemLocaleSelectTheLanguage) {
    const struct {
        const char *lc_all, *lc_messages, *lang;
        bool german;
        u32 setting;
    } cases[] = {
        {nullptr, nullptr, nullptr, false, 1},
        {nullptr, nullptr, "de_DE.UTF-8", true, 1},
        {nullptr, nullptr, "de", true, 1},
        {nullptr, nullptr, "de@euro", true, 2},
        {nullptr, nullptr, "C", false, 3},
        {nullptr, nullptr, "dee_XX", false, 1},  // only the language "de" itself
        {nullptr, "en_GB.UTF-8", "de_AT", false, 1},
        {nullptr, "de_CH", "en_US", true, 0},
        {"en_US.UTF-8", "de_DE", "de_DE", false, 1},  // LC_ALL overrides
        {"", "", "de_LU", true, 1},                   // empty variables are skipped
    };
    for (const auto& c : cases) {
        setLocale(c.lc_all, c.lc_messages, c.lang);
        EXPECT_EQ(ui_system_language_is_german(), c.german) << (c.lang ? c.lang : "-");
        ui_language_select(c.setting);
        const i32 language = c.setting == 2 || c.setting == 3 ? i32(c.setting)
                             : c.german                       ? LANGUAGE_GERMAN
                                                              : LANGUAGE_ENGLISH;
        EXPECT_EQ(ui_language, language) << c.setting;
        EXPECT_EQ(messageLanguage(), language);
        EXPECT_EQ(std::u16string(ui_text[1]),
                  language == LANGUAGE_GERMAN ? u"Abbrechen" : u"Cancel");
    }
}

}  // namespace
