// Loading the coefficient grid from CSV: the whole file is read and checked
// first, and the grid takes it over only when every line is right.
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/app_error.h"
#include "linear/linear_csv.h"
#include "textbuf/text_utf8.h"
#include "textbuf/textbuf.h"

namespace {

// Bytes of a file with a look-ahead of up to four bytes for UTF-8.
class ByteReader {
  public:
    explicit ByteReader(std::FILE* f) : file_(f) {}
    // Byte k ahead of the current one, or -1 at the end.
    int peek(std::size_t k) {
        if (pos_ + k >= len_) fill();
        return pos_ + k < len_ ? buf_[pos_ + k] : -1;
    }
    void skip(std::size_t k) { pos_ = pos_ + k < len_ ? pos_ + k : len_; }
    bool failed() const { return failed_; }

  private:
    void fill() {
        std::memmove(buf_, buf_ + pos_, len_ - pos_);
        len_ -= pos_;
        pos_ = 0;
        const std::size_t got = std::fread(buf_ + len_, 1, sizeof(buf_) - len_, file_);
        if (got == 0 && std::ferror(file_)) failed_ = true;
        len_ += got;
    }
    std::FILE* file_;
    unsigned char buf_[4096] = {};
    std::size_t pos_ = 0, len_ = 0;
    bool failed_ = false;
};

// The next character: a valid UTF-8 sequence, else one byte as Latin-1; -1 at the end.
long next_char(ByteReader& in) {
    const int b = in.peek(0);
    if (b < 0x80) {
        if (b >= 0) in.skip(1);
        return b;
    }
    char ahead[4];
    std::size_t n = 0;
    for (int t; n < sizeof ahead && (t = in.peek(n)) >= 0; ++n) ahead[n] = static_cast<char>(t);
    char32_t c = 0;
    const int length = text_utf8_decode(std::string_view(ahead, n), &c);
    if (length == 0) {
        in.skip(1);
        return b;
    }
    in.skip(static_cast<std::size_t>(length));
    return static_cast<long>(c);
}

enum class FieldEnd { separator, line, file, overlong };

struct Field {
    std::u16string text;  // at most LINEAR_CELL_MAX + 1 units; more is cut when stored
    bool quoted = false;  // the field began with '"'
};

// Splits the characters into fields: ";" ends a field, LF, CR LF or a lone
// CR a line (outside quotes), and a field that begins with '"' runs to the
// next single '"' with "" standing for one. Counts the lines of the file as
// an editor shows them, line breaks inside quotes included.
class FieldReader {
  public:
    explicit FieldReader(ByteReader& in) : in_(in) {
        if (in_.peek(0) == 0xEF && in_.peek(1) == 0xBB && in_.peek(2) == 0xBF) in_.skip(3);
    }
    // The next field and what ended it; FieldEnd::file also for an empty
    // last line. After `limit` characters of one field it stops reading
    // (FieldEnd::overlong).
    FieldEnd next(Field& f, i64 limit = INT64_MAX) {
        f = Field{};
        bool quote_seen = false, inside = false, started = false;
        i64 read = 0;
        for (long c = next_char(in_); c >= 0; c = next_char(in_)) {
            if (++read > limit) return FieldEnd::overlong;
            const bool line_break = c == '\n' || (c == '\r' && in_.peek(0) != '\n');
            if (line_break) ++line_;
            if (inside && !quote_seen) {
                if (c == '"') {
                    quote_seen = true;
                } else {
                    put(f, c);
                }
                continue;
            }
            if (quote_seen) {
                quote_seen = false;
                if (c == '"') {
                    put(f, c);
                    continue;
                }
                inside = false;
            }
            if (c == '"' && !started) {
                inside = started = f.quoted = true;
            } else if (c == ';') {
                return FieldEnd::separator;
            } else if (line_break) {
                return FieldEnd::line;
            } else if (c != '\r') {
                started = true;
                put(f, c);
            }
        }
        return FieldEnd::file;
    }
    // The line the reader stands in, from 1.
    i64 line() const { return line_; }

  private:
    static void put(Field& f, long c) {
        if (f.text.size() > LINEAR_CELL_MAX) return;
        if (c >= 0x10000) {
            f.text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            f.text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            f.text += static_cast<char16_t>(c);
        }
    }
    ByteReader& in_;
    i64 line_ = 1;
};

// Text without the blanks around it.
std::u16string trimmed(std::u16string_view t) {
    const std::size_t start = t.find_first_not_of(u" \t");
    if (start == std::u16string_view::npos) return {};
    return std::u16string(t.substr(start, t.find_last_not_of(u" \t") - start + 1));
}

// A header name without blanks and quotes around it, in lower case.
std::u16string header_name(const Field& f) {
    std::u16string t = trimmed(f.text);
    if (t.size() >= 2 && t.front() == u'"' && t.back() == u'"')
        t = trimmed(t.substr(1, t.size() - 2));
    for (char16_t& c : t) c = c == u'A' ? u'a' : c == u'B' ? u'b' : c;
    return t;
}

// "a" and k.
std::u16string column_name(i64 k) {
    char16_t name[24];
    const i64 len = text_format(name, 23, u"a%d", k);
    return std::u16string(name, static_cast<std::size_t>(len));
}

// Characters a header name may take with blanks and quotes around it.
constexpr i64 HEADER_NAME_CHARS = 64;

// The header the writer writes, a1;a2;...;aN;b (names in any case, quoted or
// with blanks around them): N, or -1 when the line has another form.
i64 read_header(FieldReader& in) {
    Field f;
    for (i64 count = 0;;) {
        const FieldEnd end = in.next(f, HEADER_NAME_CHARS);
        if (end == FieldEnd::overlong) return -1;
        const std::u16string name = header_name(f);
        if (name == u"b") return end == FieldEnd::separator ? -1 : count;
        if (end != FieldEnd::separator || name != column_name(++count)) return -1;
    }
}

// Whether a line that ended after one field is blank (nothing but blanks).
bool blank(const Field& f) {
    return !f.quoted && text_is_blank(f.text.c_str());
}

void raise_line_error(u32 code, i64 line, i64 number) {
    char16_t at[24], value[24];
    text_format(at, 23, u"%d", line);
    text_format(value, 23, u"%d", number);
    raiseAppError(code, at, value);
}

using Row = std::array<std::u16string, LINEAR_MAX_EQUATIONS + 1>;

// The data lines after the header: exactly n + 1 fields each, at most n of
// them, blank lines only at the end. False with the error raised.
bool read_rows(FieldReader& in, i64 n, std::vector<Row>& rows) {
    i64 blank_line = 0;  // the first blank line, when no line has followed it yet
    for (;;) {
        const i64 line = in.line();
        Row row;
        Field f;
        i64 fields = 0;
        FieldEnd end = FieldEnd::separator;
        while (end == FieldEnd::separator) {
            end = in.next(f);
            if (fields <= n) row[static_cast<std::size_t>(fields)] = f.text;
            ++fields;
        }
        if (fields == 1 && blank(f)) {
            if (end == FieldEnd::file) return true;
            if (blank_line == 0) blank_line = line;
            continue;
        }
        if (blank_line != 0) {
            raise_line_error(APP_ERR_LINEAR_CSV_FIELDS, blank_line, n + 1);
            return false;
        }
        if (static_cast<i64>(rows.size()) == n) {
            raise_line_error(APP_ERR_LINEAR_CSV_ROWS, line, n);
            return false;
        }
        if (fields != n + 1) {
            raise_line_error(APP_ERR_LINEAR_CSV_FIELDS, line, n + 1);
            return false;
        }
        rows.push_back(row);
        if (end == FieldEnd::file) return true;
    }
}

// A cell text of more than LINEAR_CELL_MAX units keeps LINEAR_CELL_MAX - 1
// and "…".
std::u16string cell_text(std::u16string text) {
    if (text.size() <= LINEAR_CELL_MAX) return text;
    text.resize(LINEAR_CELL_MAX);
    text.resize(static_cast<std::size_t>(text_mark_cut(text.data(), LINEAR_CELL_MAX)));
    return text;
}

}  // namespace

bool linear_csv_read(std::u16string_view path, LinearCells& cells) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
        std::fopen(linear_csv_path_bytes(path).c_str(), "rb"), std::fclose);
    const std::u16string display(path);
    if (!file) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        raiseAppError(missing ? APP_ERR_FILE_NOT_FOUND : APP_ERR_FILE_ACCESS, display.c_str(),
                      nullptr);
        return false;
    }
    ByteReader bytes(file.get());
    FieldReader in(bytes);
    const i64 n = read_header(in);
    std::vector<Row> rows;
    bool read = false;
    if (bytes.failed()) {
        // reported below
    } else if (n < 0) {
        raiseAppError(APP_ERR_LINEAR_CSV_HEADER, nullptr, nullptr);
    } else if (n < LINEAR_MIN_EQUATIONS || n > LINEAR_MAX_EQUATIONS) {
        raiseAppError(APP_ERR_LINEAR_COUNT, u"25", nullptr);
    } else {
        read = read_rows(in, n, rows);
    }
    if (bytes.failed()) {
        raiseAppError(APP_ERR_FILE_ACCESS, display.c_str(), nullptr);
        return false;
    }
    if (!read) return false;
    cells.clear();
    cells.set_equation_count(static_cast<i32>(n));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (i64 k = 0; k <= n; ++k) {
            const i32 column = k == n ? LINEAR_COLUMN_B : static_cast<i32>(k);
            cells.set_cell(static_cast<i32>(r), column,
                           cell_text(rows[r][static_cast<std::size_t>(k)]));
        }
    }
    return true;
}
