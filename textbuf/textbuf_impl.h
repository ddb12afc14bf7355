// Internal to the text buffers.
#pragma once

#include "textbuf/textbuf.h"

// Stores what fits of text at buf.length and counts all of it, also when the
// buffer is already over its capacity (so one formatting run counts its whole
// text).
void textbuf_put(TextBuf& buf, std::u16string_view text);
