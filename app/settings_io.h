// The text of the settings file (without its byte-order mark): one fixed
// sequence of sections and "key = value" lines that settings_io either writes
// from the settings values or reads back into them.
#pragma once

#include <string>

#include "numlib/mp_types.h"

enum : i32 { SETTINGS_IO_READ = 1, SETTINGS_IO_WRITE = 2 };

// SETTINGS_IO_WRITE appends the file text of the current settings and saved
// variables to text, lines ending in "\r\n". Carriage returns, line feeds and
// zero characters in a variable's texts are written as spaces and a ";" in its
// name as "_", so that no text can break the layout of the lines after it.
//
// SETTINGS_IO_READ sets every setting and the saved variables from text, which
// it leaves unchanged. Keys are looked for in the written order, each at the
// place where the previous line ended; a key that is not found there, or whose
// value is unknown or out of range, gets its default. Blanks (spaces) may
// surround the key and "=", lines may end in "\r\n", "\r" or "\n", and a zero
// character ends the text. settings_dirty is not touched.
//
// Any other mode does nothing.
void settings_io(i32 mode, std::u16string& text);
