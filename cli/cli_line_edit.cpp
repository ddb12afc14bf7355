// The prompt's line editor: emacs-style keys, the arrow keys of VT100 and
// xterm terminals, and a history. The line is kept as the bytes typed
// (UTF-8); the cursor moves by whole characters.
#include "cli/cli_line_edit.h"

#include <algorithm>

namespace {

constexpr unsigned char kEscape = 0x1b;
constexpr std::size_t kLongestEscape = 16;  // longer sequences are dropped as garbage
constexpr std::size_t kHistoryEntries = 1000;

bool continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Bytes that go into the line as they are: printable ASCII, tab and every
// byte of a multibyte character.
bool insertable(unsigned char c) {
    return c == '\t' || (c >= 0x20 && c != 0x7f);
}

bool wordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || u == '_' || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') ||
           (u >= 'A' && u <= 'Z');
}

// Characters (bytes that start one) in text[from, to).
std::size_t charsIn(const std::string& text, std::size_t from, std::size_t to) {
    std::size_t n = 0;
    for (std::size_t i = from; i < to; ++i) n += continuation(text[i]) ? 0 : 1;
    return n;
}

// Byte offset of character chars after byte offset from.
std::size_t skipChars(const std::string& text, std::size_t from, std::size_t chars) {
    std::size_t i = from;
    for (; chars > 0 && i < text.size(); --chars)
        while (++i < text.size() && continuation(text[i])) {
        }
    return i;
}

}  // namespace

void CliLineEditor::begin() {
    line_.clear();
    draft_.clear();
    cursor_ = scroll_ = 0;
    state_ = State::Editing;
    overlong_ = false;
    escape_.clear();
    recalled_ = history_.size();
}

std::size_t CliLineEditor::feed(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size() && state_ == State::Editing) {
        std::size_t run = i;
        while (escape_.empty() && run < bytes.size() &&
               insertable(static_cast<unsigned char>(bytes[run])))
            ++run;
        if (run > i) {  // a pasted run goes in at once
            insert(bytes.substr(i, run - i));
            i = run;
            continue;
        }
        key(static_cast<unsigned char>(bytes[i++]));
    }
    return i;
}

void CliLineEditor::key(unsigned char c) {
    if (!escape_.empty()) return escapeKey(c);
    switch (c) {
        case '\r':
        case '\n':
            cursor_ = line_.size();
            state_ = State::Done;
            return;
        case 0x04:  // Ctrl-D: the end of the input on an empty line
            if (line_.empty()) {
                state_ = State::EndOfInput;
                return;
            }
            if (cursor_ < line_.size()) eraseTo(cursor_, skipChars(line_, cursor_, 1));
            return;
        case 0x7f:
        case 0x08: {
            const std::size_t end = cursor_;
            moveLeft();
            return eraseTo(cursor_, end);
        }
        case 0x01:
            cursor_ = 0;
            return;
        case 0x05:
            cursor_ = line_.size();
            return;
        case 0x02:
            return moveLeft();
        case 0x06:
            return moveRight();
        case 0x0b:
            return eraseTo(cursor_, line_.size());
        case 0x15:
            return eraseTo(0, cursor_);
        case 0x17: {
            const std::size_t end = cursor_;
            wordLeft();
            return eraseTo(cursor_, end);
        }
        case 0x10:
            return recall(-1);
        case 0x0e:
            return recall(1);
        case kEscape:
            escape_.assign(1, static_cast<char>(c));
            return;
        default:
            return;  // other control keys do nothing
    }
}

// ESC [ parameters final, ESC O final, or ESC and one key (Alt+key).
void CliLineEditor::escapeKey(unsigned char c) {
    escape_ += static_cast<char>(c);
    if (escape_.size() == 2) {
        if (c == '[' || c == 'O') return;
        escape_.clear();
        if (c == 'b') return wordLeft();
        if (c == 'f') {
            while (cursor_ < line_.size() && !wordChar(line_[cursor_])) moveRight();
            while (cursor_ < line_.size() && wordChar(line_[cursor_])) moveRight();
        }
        return;
    }
    if (escape_[1] == '[' && (c < 0x40 || c > 0x7e)) {  // a parameter byte
        if (escape_.size() > kLongestEscape) escape_.clear();
        return;
    }
    const std::string params = escape_.substr(2, escape_.size() - 3);
    escape_.clear();
    switch (c) {
        case 'A':
            return recall(-1);
        case 'B':
            return recall(1);
        case 'C':
            return moveRight();
        case 'D':
            return moveLeft();
        case 'H':
            cursor_ = 0;
            return;
        case 'F':
            cursor_ = line_.size();
            return;
        case '~':
            if (params == "1" || params == "7") cursor_ = 0;
            if (params == "4" || params == "8") cursor_ = line_.size();
            if (params == "3" && cursor_ < line_.size())
                eraseTo(cursor_, skipChars(line_, cursor_, 1));
            return;
        default:
            return;
    }
}

void CliLineEditor::insert(std::string_view bytes) {
    const std::size_t room = maxBytes_ - std::min(maxBytes_, line_.size());
    if (bytes.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && continuation(bytes[cut])) --cut;  // whole characters only
        bytes = bytes.substr(0, cut);
        overlong_ = true;
    }
    line_.insert(cursor_, bytes);
    cursor_ += bytes.size();
}

void CliLineEditor::moveLeft() {
    while (cursor_ > 0 && continuation(line_[--cursor_])) {
    }
}

void CliLineEditor::moveRight() {
    cursor_ = skipChars(line_, cursor_, 1);
}

void CliLineEditor::wordLeft() {
    while (cursor_ > 0 && !wordChar(line_[cursor_ - 1])) moveLeft();
    while (cursor_ > 0 && wordChar(line_[cursor_ - 1])) moveLeft();
}

// Text cut from an overlong line counts as lost until the line is emptied.
void CliLineEditor::eraseTo(std::size_t from, std::size_t to) {
    line_.erase(from, to - from);
    cursor_ = from;
    if (line_.empty()) overlong_ = false;
}

// Steps through the history; past its newest entry is the line being typed.
void CliLineEditor::recall(std::ptrdiff_t step) {
    const auto last = static_cast<std::ptrdiff_t>(history_.size());
    const std::ptrdiff_t to =
        std::clamp(static_cast<std::ptrdiff_t>(recalled_) + step, std::ptrdiff_t{0}, last);
    if (to == static_cast<std::ptrdiff_t>(recalled_)) return;
    if (recalled_ == history_.size()) draft_ = line_, draftOverlong_ = overlong_;
    recalled_ = static_cast<std::size_t>(to);
    line_ = to == last ? draft_ : history_[recalled_];
    overlong_ = to == last && draftOverlong_;
    cursor_ = line_.size();
}

std::string CliLineEditor::render(std::string_view prompt, int cols) {
    const std::size_t promptCols = charsIn(std::string(prompt), 0, prompt.size());
    const std::size_t width = std::max<std::ptrdiff_t>(
        1, std::ptrdiff_t{cols > 0 ? cols : 80} - 1 - static_cast<std::ptrdiff_t>(promptCols));
    const std::size_t total = charsIn(line_, 0, line_.size());
    const std::size_t at = charsIn(line_, 0, cursor_);
    scroll_ = std::min(scroll_, total + 1 > width ? total + 1 - width : 0);
    if (at < scroll_) scroll_ = at;
    if (at >= scroll_ + width) scroll_ = at - width + 1;
    const std::size_t from = skipChars(line_, 0, scroll_);
    const std::size_t to = skipChars(line_, from, width);

    std::string out = "\r";
    out += prompt;
    for (std::size_t i = from; i < to; ++i) out += line_[i] == '\t' ? ' ' : line_[i];
    out += "\x1b[0K\r";
    const std::size_t column = promptCols + at - scroll_;
    if (column > 0) out += "\x1b[" + std::to_string(column) + "C";
    return out;
}

void CliLineEditor::remember(const std::string& line) {
    if (line.find_first_not_of(" \t") == std::string::npos) return;
    if (!history_.empty() && history_.back() == line) return;
    if (history_.size() == kHistoryEntries) history_.erase(history_.begin());
    history_.push_back(line);
}
