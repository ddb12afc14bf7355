// The bounded text buffer that every text of the program is written into:
// number text here in numlib (text_sink_*), every other text through the
// formatter of textbuf/ (textbuf_*).
//
// A TextBuf never writes past its capacity: characters beyond it are counted
// in `length` but not stored, so after writing `length` says how long the
// full text would have been.
#pragma once

#include "numlib/mp_types.h"

struct TextBuf {
    i64 length = 0;             // characters produced so far; may exceed capacity
    i64 capacity = 0;           // characters that may be stored, without the terminator
    char16_t* chars = nullptr;  // capacity + 1 slots
};
