#include "app/ui_texts.h"

#include <cstdlib>
#include <string_view>

#include "app/error_texts.h"
#include "app/ui_texts_tables.h"

namespace {

constexpr const char16_t* kUnset = u"???";

constexpr std::array<const char16_t*, UI_TEXT_COUNT> unset_slots() {
    std::array<const char16_t*, UI_TEXT_COUNT> slots{};
    for (const char16_t*& slot : slots) slot = kUnset;
    return slots;
}

// The per-language texts of the table plus the shared error texts.
void fill(const char16_t* const* table, i32 language) {
    for (int slot = 0; slot < UI_TEXT_COUNT; ++slot) {
        if (table[slot] != nullptr) ui_text[slot] = table[slot];
    }
    ui_text[UI_TEXT_ERROR_CAPTION] = errorCaption(language);
    for (int i = 0; i < ERROR_TEXT_COUNT; ++i) {
        ui_text[UI_TEXT_FIRST_MESSAGE + i] = errorTextIn(error_texts[i], language);
    }
    setMessageLanguage(language);
}

// A POSIX locale name is language[_territory][.codeset][@modifier].
bool names_german(std::string_view locale) {
    const std::size_t end = locale.find_first_of("_.@");
    return locale.substr(0, end) == "de";
}

}  // namespace

std::array<const char16_t*, UI_TEXT_COUNT> ui_text = unset_slots();
i32 ui_language = LANGUAGE_ENGLISH;

static_assert(UI_TEXT_LAST_MESSAGE - UI_TEXT_FIRST_MESSAGE + 1 == ERROR_TEXT_COUNT);

void ui_texts_reset() {
    ui_text = unset_slots();
}

void ui_texts_english() {
    fill(ui_texts_english_table, LANGUAGE_ENGLISH);
}

void ui_texts_german() {
    fill(ui_texts_german_table, LANGUAGE_GERMAN);
}

bool ui_system_language_is_german() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != 0) return names_german(value);
    }
    return false;
}

i32 ui_language_for_setting(u32 setting_language) {
    // The settings use the same codes as the languages, 1 being automatic.
    if (setting_language == 2) return LANGUAGE_ENGLISH;
    if (setting_language == 3) return LANGUAGE_GERMAN;
    return ui_system_language_is_german() ? LANGUAGE_GERMAN : LANGUAGE_ENGLISH;
}

void ui_language_select(u32 setting_language) {
    ui_language = ui_language_for_setting(setting_language);
    ui_texts_reset();
    if (ui_language == LANGUAGE_GERMAN) {
        ui_texts_german();
    } else {
        ui_texts_english();
    }
}
