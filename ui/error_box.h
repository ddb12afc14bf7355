// The one message box a page shows at the end of an operation.
#pragma once

class QWidget;

// Takes the pending error (app/error_message.h) and, unless there is
// none or it is the silent stop, shows it in a modal message box over
// owner, with the error icon and the language's caption. True when a
// message was shown.
bool showErrorMessage(QWidget* owner);

// Shows the message of application error code with its first insert text1
// as showErrorMessage() does, leaving the pending error alone: for what
// happens beside a running job (saving its output, say).
void showAppErrorMessage(QWidget* owner, unsigned code, const char16_t* text1);
