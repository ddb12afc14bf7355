// Conversion between UTF-8 (files, terminals) and the program's UTF-16.
#pragma once

#include <string>
#include <string_view>

// UTF-8 of text. A lone surrogate becomes U+FFFD, so the output is always
// valid UTF-8.
std::string text_to_utf8(std::u16string_view text);

// UTF-16 of bytes. Every byte that does not start a valid, shortest-form
// UTF-8 sequence (including encoded surrogates and values above U+10FFFF)
// becomes one U+FFFD, so nothing is silently lost or misread.
std::u16string text_from_utf8(std::string_view bytes);

// The valid, shortest-form UTF-8 sequence at the start of bytes: its code
// point in *c and its length (1 to 4). 0 when bytes starts none: an empty
// text, a byte that starts no sequence, a sequence cut off or broken by a
// byte that does not continue it, an encoded surrogate or a value above
// U+10FFFF. For readers that decide themselves what such a byte means.
int text_utf8_decode(std::string_view bytes, char32_t* c);
