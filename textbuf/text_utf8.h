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
