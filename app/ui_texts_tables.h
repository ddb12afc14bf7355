// Internal to the UI texts: the per-language tables behind ui_texts_english()
// and ui_texts_german(). Slots 102 to 147 are null here (filled from
// app/error_texts.h).
#pragma once

#include "app/ui_texts.h"

extern const char16_t* const ui_texts_english_table[UI_TEXT_COUNT];
extern const char16_t* const ui_texts_german_table[UI_TEXT_COUNT];
