// Reading and writing the coefficient grid as CSV.
#include "linear/linear_csv.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "app/app_error.h"
#include "numlib/mp_context.h"
#include "textbuf/text_utf8.h"

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// UTF-8 of a cell, every decimal character written as the first one.
std::string to_utf8(std::u16string_view text, bool map_decimal) {
    if (!map_decimal) return text_to_utf8(text);
    std::u16string mapped(text);
    for (char16_t& c : mapped) {
        if (c != 0 &&
            (c == mp_decimal_chars[0] || c == mp_decimal_chars[1] || c == mp_decimal_chars[2]))
            c = mp_decimal_chars[0];
    }
    return text_to_utf8(mapped);
}

bool needs_quotes(std::u16string_view text) {
    if (!text.empty() && text[0] == u'"') return true;
    return text.find_first_of(u";\r\n") != std::u16string_view::npos;
}

void append_field(std::string& line, std::u16string_view text) {
    const std::string bytes = to_utf8(text, true);
    if (!needs_quotes(text)) {
        line += bytes;
        return;
    }
    line += '"';
    for (char c : bytes) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

void raise_file_error(u32 code, std::u16string_view path) {
    const std::u16string name(path);
    raiseAppError(code, name.c_str(), nullptr);
}

}  // namespace

std::string linear_csv_path_bytes(std::u16string_view path) {
    return to_utf8(path, false);
}

std::string linear_csv_text(const LinearCells& cells) {
    const i32 n = cells.equation_count();
    std::string text;
    for (i32 j = 1; j <= n; ++j) text.append("a").append(std::to_string(j)).append(";");
    text.append("b\r\n");
    for (i32 r = 0; r < n; ++r) {
        for (i32 j = 0; j <= n; ++j) {
            if (j > 0) text += ';';
            append_field(text, cells.cell(r, j == n ? LINEAR_COLUMN_B : j));
        }
        text.append("\r\n");
    }
    return text;
}

bool linear_csv_write(std::u16string_view path, const LinearCells& cells) {
    File file(std::fopen(linear_csv_path_bytes(path).c_str(), "wb"), std::fclose);
    if (!file) {
        raise_file_error(APP_ERR_FILE_ACCESS, path);
        return false;
    }
    const std::string text = linear_csv_text(cells);
    const bool written = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    if (std::fclose(file.release()) != 0 || !written) {
        raise_file_error(APP_ERR_FILE_ACCESS, path);
        return false;
    }
    return true;
}
