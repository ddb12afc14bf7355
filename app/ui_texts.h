// The text slots every visible text of the user interface is read through,
// filled once at start-up in English or German. Code refers to slots, never
// to texts: several slots share one English text but differ in German.
#pragma once

#include <array>

#include "numlib/mp_types.h"

constexpr int UI_TEXT_COUNT = 163;
// Slot of the error caption ("Error"); the slots after it, up to
// UI_TEXT_LAST_MESSAGE, hold the error message templates in the order of
// app/error_texts.h, as the very same strings.
constexpr int UI_TEXT_ERROR_CAPTION = 102;
constexpr int UI_TEXT_FIRST_MESSAGE = 103;
constexpr int UI_TEXT_LAST_MESSAGE = 147;

// The active texts: zero-terminated UTF-16, never null ("???" before a
// language is filled in).
extern std::array<const char16_t*, UI_TEXT_COUNT> ui_text;

// The effective language: LANGUAGE_ENGLISH (2) or LANGUAGE_GERMAN (3), as in
// app/error_texts.h. English until ui_language_select() runs.
extern i32 ui_language;

// Sets every slot to "???", the mark of a slot no table assigned.
void ui_texts_reset();

// Assign every slot its English (German) text and make the error messages
// use the same language.
void ui_texts_english();
void ui_texts_german();

// True when the system locale's language is German: the first non-empty of
// LC_ALL, LC_MESSAGES and LANG (the order POSIX gives them) names the
// language "de" ("de", "de_AT.UTF-8", "de@euro" ...). Unset or empty: false.
bool ui_system_language_is_german();

// The language a settings value selects: 2 English, 3 German, 1 (and any
// other value) automatic, from the system locale.
i32 ui_language_for_setting(u32 setting_language);

// Start-up choice of the language from the settings value (1 automatic,
// 2 English, 3 German): sets ui_language, resets the slots and fills them
// from that language's table; the error messages follow.
void ui_language_select(u32 setting_language);
