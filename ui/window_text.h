// Reading a control's text into a bounded buffer, and appending to an
// output box.
#pragma once

#include <cstdint>
#include <string_view>

class QWidget;

// Copies the text of a line edit, text edit, combo box, label or button
// into buffer (capacity characters and a terminator). A longer text is cut
// to capacity characters, the last of which becomes "…". Returns the
// characters stored; 0 (and an empty text) for any other widget.
std::int64_t window_text_get(const QWidget* control, char16_t* buffer, std::int64_t capacity);

// Appends text at the end of a plain-text or line edit, whatever its
// selection. The output boxes of the pages grow this way piece by piece;
// a line edit keeps at most its maximum length.
void edit_append(QWidget* edit, std::u16string_view text);
