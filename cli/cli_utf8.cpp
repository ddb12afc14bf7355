// UTF-8 <-> UTF-16 for standard input, output and the command line.
#include "cli/cli_utf8.h"

#include "textbuf/text_utf8.h"

std::string cliUtf8(std::u16string_view text) {
    return text_to_utf8(text);
}

std::u16string cliUtf16(std::string_view bytes) {
    return text_from_utf8(bytes);
}
