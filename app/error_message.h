// Assembly of the one message that a page shows at the end of an operation:
// the pending application error's template with its inserts, followed, for
// a pending formula error, by the formula message. The window layer shows
// the result in a message box.
#pragma once

#include "numlib/mp_types.h"
#include "textbuf/textbuf.h"

// Longest message, in UTF-16 code units (plus the terminator).
constexpr int ERROR_MESSAGE_MAX = 1023;

// The error states a message is made from.
struct ErrorState {
    u32 app_code = 0;
    const char16_t* text1 = nullptr;  // the first "%s" of the template (null: "?")
    const char16_t* text2 = nullptr;  // the second "%s"
    u32 formula_code = 0;             // 0: no formula message
    i32 formula_pos = 0;              // "%d" of the formula template
    i32 formula_cause = 0;            // library error behind 10203 (overflowCauseTemplate)
};

struct ErrorMessage {
    bool shown = false;                 // false: no error pending, or a silent stop (9003)
    u32 code = 0;                       // the application code that was pending
    const char16_t* caption = nullptr;  // "Error" / "Fehler" when shown
    char16_t text[ERROR_MESSAGE_MAX + 1] = {};
};

// Appends the message of state in language to buf and ends it with a
// terminator. Application codes without a template of their own use the
// "unknown error" template with the code in decimal. With a formula code, a
// "!" that ends the text so far becomes ".", then a blank and the formula
// template follow ("%d": formula_pos; for 10205 and codes without a template
// the code itself; 10203 names the library error formula_cause when it has
// a text of its own). A text longer than the buffer is cut with "…" as its last
// character (no error is raised for that cut). Returns false and leaves buf
// unchanged when there is nothing to show: app_code 0 or 9003.
bool formatErrorMessage(TextBuf& buf, const ErrorState& state, i32 language);

// What the message box of a page shows: takes the pending application and
// formula errors, assembles their message (at most ERROR_MESSAGE_MAX
// characters) in messageLanguage(), then clears all error state
// (clearErrors(), which includes the library error). A library error is
// never shown by itself: pages fold it in with raiseFromLibraryError() first.
ErrorMessage takeErrorMessage();
