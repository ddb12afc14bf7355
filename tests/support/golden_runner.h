// Golden files: tables of inputs and the texts they must give, kept as data
// in tests/golden/ and read by every test program the same way.
//
// A file is UTF-8 text. "#" starts a comment line (and a trailing comment
// after blanks); "[name]" starts a section; any other line is a row of
// cells separated by "|". Cells are trimmed; a cell written as one quoted
// string keeps its blanks and takes the escapes \n \r \t \0 \\ \" \| \#
// and \xHH (one byte).
#pragma once

#include <functional>
#include <string>
#include <vector>

struct GoldenLine {
    std::string file;
    int line = 0;
    std::string section;
    std::vector<std::string> cells;  // as written, trimmed

    // Cell i as text: a quoted cell unescaped, a missing cell "".
    std::string text(std::size_t i) const;
    // Cell i split at blanks; quoted words are unescaped and may hold blanks.
    std::vector<std::string> words(std::size_t i) const;
    bool has(std::size_t i) const { return i < cells.size(); }
    // "file:line [section]", for failure messages.
    std::string where() const;
};

// The rows of tests/golden/name, in file order; a test failure (and no rows)
// when the file cannot be read or a line is malformed.
std::vector<GoldenLine> golden_lines(const std::string& name);

// Runs check on each row of the file whose section starts with prefix and
// reports each non-empty answer as a failure at the row. Returns the number
// of rows run (a test failure when none matched).
int golden_run(const std::string& name, const std::function<std::string(const GoldenLine&)>& check,
               const std::string& prefix = "");
