// Loading the coefficient grid from CSV, block by block.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "formula/app_error.h"
#include "linear/linear_csv.h"
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
    const int extra = b >= 0xF0 && b < 0xF5 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : 0;
    long c = b & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const int t = in.peek(static_cast<std::size_t>(k));
        if (t < 0x80 || t > 0xBF) {
            c = -2;
            break;
        }
        c = (c << 6) | (t & 0x3F);
    }
    const long low = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (extra == 0 || c < low || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) {
        in.skip(1);
        return b;
    }
    in.skip(static_cast<std::size_t>(extra) + 1);
    return c;
}

struct FieldState {
    std::u16string text;
    bool quoted = false;      // inside a quoted field
    bool quote_seen = false;  // a '"' inside quotes waits for its partner
    bool started = false;     // the field has consumed a character
};

void put(FieldState& f, long c) {
    if (f.text.size() > LINEAR_CELL_MAX) return;
    if (c >= 0x10000) {
        f.text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        f.text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        f.text += static_cast<char16_t>(c);
    }
}

void store(LinearCells& cells, i32 n, i32 row, i32 k, FieldState& f) {
    if (f.text.size() > LINEAR_CELL_MAX) {
        f.text.resize(LINEAR_CELL_MAX);
        f.text.resize(static_cast<std::size_t>(text_mark_cut(f.text.data(), LINEAR_CELL_MAX)));
    }
    if (row < n && k <= n) cells.set_cell(row, k == n ? LINEAR_COLUMN_B : k, f.text);
    f = FieldState{};
}

// A CR that no LF follows ends a line as well: files with classic Mac line
// ends would otherwise read as one header line and load an empty grid.
bool lone_cr(ByteReader& in, long c) {
    return c == '\r' && in.peek(0) != '\n';
}

// The header's separator count, up to its line end.
i64 read_header(ByteReader& in) {
    i64 count = 0;
    for (int b = in.peek(0); b >= 0; b = in.peek(0)) {
        in.skip(1);
        if (b == '\n' || lone_cr(in, b)) break;
        count += b == ';' ? 1 : 0;
    }
    return count;
}

void read_lines(ByteReader& in, LinearCells& cells, i32 n) {
    FieldState f;
    i32 row = 0, k = 0;
    for (long c = next_char(in); c >= 0; c = next_char(in)) {
        if (f.quote_seen) {
            f.quote_seen = false;
            if (c == '"') {
                put(f, c);
                continue;
            }
            f.quoted = false;
        } else if (f.quoted) {
            if (c == '"') {
                f.quote_seen = true;
            } else {
                put(f, c);
            }
            continue;
        }
        if (c == '"' && !f.started) {
            f.quoted = f.started = true;
        } else if (lone_cr(in, c)) {
            store(cells, n, row, k, f);
            k = 0;
            row += 1;
        } else if (c == ';' || c == '\n') {
            store(cells, n, row, k, f);
            k = c == '\n' ? 0 : k + 1;
            row += c == '\n' ? 1 : 0;
        } else if (c != '\r') {
            f.started = true;
            put(f, c);
        }
    }
    if (f.started || k > 0) store(cells, n, row, k, f);
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
    cells.clear();
    ByteReader in(file.get());
    const i64 n = read_header(in);
    if (!in.failed()) {
        if (n < LINEAR_MIN_EQUATIONS || n > LINEAR_MAX_EQUATIONS) {
            raiseAppError(APP_ERR_LINEAR_COUNT, u"25", nullptr);
            return false;
        }
        cells.set_equation_count(static_cast<i32>(n));
        read_lines(in, cells, static_cast<i32>(n));
    }
    if (in.failed()) {
        raiseAppError(APP_ERR_FILE_ACCESS, display.c_str(), nullptr);
        return false;
    }
    return true;
}
