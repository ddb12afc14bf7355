// The one conversion between the program's UTF-16 texts and Qt's strings,
// and the text slots of the active language as Qt strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

QString to_qstring(std::u16string_view text);
std::u16string from_qstring(const QString& text);

// Text slot `slot` of the active language (app/ui_texts.h).
QString ui_qtext(int slot);

// A text the slot tables do not hold (the toolkit's own additions), in the
// active language: german when the texts are German, else english.
QString ui_lang(const char16_t* english, const char16_t* german);

// A caption as a reader hears it: "&&" becomes "&", a lone "&" (a
// mnemonic mark) is dropped, line breaks become blanks.
QString ui_plain(const QString& caption);
