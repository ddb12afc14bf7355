// The message templates of the application and formula errors, English and
// German, kept once for the message assembly and for the UI text table
// (whose slots 103 to 147 point at these very strings, in this order), and
// the language the messages are assembled in.
#pragma once

#include "numlib/mp_types.h"

// Language codes, shared with the UI text table and the settings.
enum : i32 { LANGUAGE_ENGLISH = 2, LANGUAGE_GERMAN = 3 };

// Table code of the template for application codes without one of their own
// ("Unknown error %s occurred!", its insert the code in decimal).
constexpr u32 ERROR_CODE_OTHER = 0xFFFFFFFF;

struct ErrorText {
    u32 code;  // application code (0 .. 9002), ERROR_CODE_OTHER, or formula code (10200 ..)
    const char16_t* english;
    const char16_t* german;
};

// Layout: the 33 application templates, then the "other" template, then the
// 11 formula templates 10200 to 10210.
constexpr int ERROR_TEXT_COUNT = 45;
constexpr int ERROR_TEXT_FIRST_FORMULA = 34;
extern const ErrorText error_texts[ERROR_TEXT_COUNT];
// Templates of application codes added after the UI text table was laid
// out: appErrorTemplate finds them like the others, but they have no UI text
// slot of their own.
constexpr int ERROR_TEXT_ADDED_COUNT = 3;
extern const ErrorText error_texts_added[ERROR_TEXT_ADDED_COUNT];
extern const char16_t* const error_caption_english;  // "Error"
extern const char16_t* const error_caption_german;   // "Fehler"

// The text of entry in language (German for LANGUAGE_GERMAN, else English).
const char16_t* errorTextIn(const ErrorText& entry, i32 language);

// The template of an application code, or null when the code has none of its
// own (then the "other" template applies). 9003 has none: it is never shown.
const ErrorText* appErrorTemplate(u32 code);

// The template of a formula code; codes without one of their own get the
// 10205 template, whose "%d" takes the code itself.
const ErrorText& formulaErrorTemplate(u32 code);

// For formula error 10203 caused by library error cause (MP_ERR_*): a
// template that names that cause ("Division by zero at character position
// %d!"), or null when the cause has none (a real overflow, or unknown), and
// the 10203 template applies.
const ErrorText* overflowCauseTemplate(i32 cause);

// The "other" template.
const ErrorText& unknownErrorTemplate();

// The language messages are assembled in (English at start-up). The
// application sets it when it chooses its language; other values than
// LANGUAGE_GERMAN mean English.
void setMessageLanguage(i32 language);
i32 messageLanguage();

// "Error" or "Fehler".
const char16_t* errorCaption(i32 language);
