// The line being edited at the interactive prompt: its bytes, the cursor,
// the history and the keys that change them. No terminal I/O here: the
// prompt feeds in the bytes it reads and writes out what render() returns,
// so a pasted line of any length costs one insertion and one redraw per read
// rather than a redraw per character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CliLineEditor {
  public:
    enum class State { Editing, Done, EndOfInput };

    // Lines longer than maxBytes are cut there and marked overlong().
    explicit CliLineEditor(std::size_t maxBytes) : maxBytes_(maxBytes) {}

    // Starts an empty line.
    void begin();

    // Applies the keys in bytes up to the end of the line (Enter, or Ctrl-D
    // on an empty line) and returns how many bytes it used; the rest belongs
    // to the next line. A key split across two calls is completed by the
    // second.
    std::size_t feed(std::string_view bytes);

    State state() const { return state_; }
    const std::string& line() const { return line_; }
    // Some of the line's text did not fit into maxBytes and was dropped.
    bool overlong() const { return overlong_; }

    // Terminal text that redraws prompt and line on the current terminal
    // line, cols columns wide, scrolled sideways so that the cursor shows.
    // Each character counts as one column.
    std::string render(std::string_view prompt, int cols);

    // Adds line to the history unless it is blank or repeats the latest entry.
    void remember(const std::string& line);

  private:
    void key(unsigned char c);
    void escapeKey(unsigned char c);
    void insert(std::string_view bytes);
    void moveLeft();
    void moveRight();
    void wordLeft();
    void eraseTo(std::size_t from, std::size_t to);
    void recall(std::ptrdiff_t step);

    std::size_t maxBytes_;
    std::string line_;
    std::size_t cursor_ = 0;  // byte offset, at the start of a character
    std::size_t scroll_ = 0;  // first character shown
    State state_ = State::Editing;
    bool overlong_ = false;
    std::string escape_;  // an escape sequence read so far
    std::vector<std::string> history_;
    std::size_t recalled_ = 0;  // history_.size() while on the new line
    std::string draft_;         // the new line while browsing the history
    bool draftOverlong_ = false;
};
