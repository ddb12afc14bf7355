#include "support/golden_runner.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the quoted string starting at s[at] == '"'; at ends behind the
// closing quote. False on a missing quote or a bad escape.
bool read_quoted(const std::string& s, std::size_t& at, std::string* out) {
    for (++at; at < s.size(); ++at) {
        char c = s[at];
        if (c == '"') {
            ++at;
            return true;
        }
        if (c == '\\') {
            if (++at >= s.size()) return false;
            static const std::string kEscapes = "nrt0\\\"|#", kChars("\n\r\t\0\\\"|#", 8);
            const std::size_t k = kEscapes.find(s[at]);
            if (s[at] == 'x') {
                const int hi = at + 1 < s.size() ? hex_digit(s[at + 1]) : -1;
                const int lo = at + 2 < s.size() ? hex_digit(s[at + 2]) : -1;
                if (hi < 0 || lo < 0) return false;
                c = static_cast<char>(hi * 16 + lo);
                at += 2;
            } else if (k != std::string::npos) {
                c = kChars[k];
            } else {
                return false;
            }
        }
        out->push_back(c);
    }
    return false;
}

std::string trimmed(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Splits a row into its cells; false when a quote is left open.
bool split_row(const std::string& line, std::vector<std::string>* cells) {
    std::string cell;
    for (std::size_t at = 0; at < line.size();) {
        const char c = line[at];
        if (c == '"') {
            const std::size_t start = at;
            std::string ignored;
            if (!read_quoted(line, at, &ignored)) return false;
            cell += line.substr(start, at - start);
            continue;
        }
        if (c == '#' && (at == 0 || blank(line[at - 1]))) break;  // a trailing comment
        if (c == '|') {
            cells->push_back(trimmed(cell));
            cell.clear();
        } else {
            cell += c;
        }
        ++at;
    }
    cells->push_back(trimmed(cell));
    return true;
}

}  // namespace

std::string GoldenLine::text(std::size_t i) const {
    if (i >= cells.size()) return "";
    const std::string& c = cells[i];
    std::size_t at = 0;
    std::string out;
    if (!c.empty() && c[0] == '"' && read_quoted(c, at, &out) && at == c.size()) return out;
    return c;
}

std::vector<std::string> GoldenLine::words(std::size_t i) const {
    std::vector<std::string> out;
    if (i >= cells.size()) return out;
    const std::string& c = cells[i];
    for (std::size_t at = 0; at < c.size();) {
        if (blank(c[at])) {
            ++at;
            continue;
        }
        std::string word;
        if (c[at] == '"') {
            read_quoted(c, at, &word);
        } else {
            while (at < c.size() && !blank(c[at])) word += c[at++];
        }
        out.push_back(word);
    }
    return out;
}

std::string GoldenLine::where() const {
    return file + ":" + std::to_string(line) + " [" + section + "]";
}

std::vector<GoldenLine> golden_lines(const std::string& name) {
    std::vector<GoldenLine> rows;
    const std::string path = std::string(VELMARIX_GOLDEN_DIR) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return rows;
    }
    std::string section, raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        const std::string line = trimmed(raw);
        if (line.empty() || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        GoldenLine row{name, number, section, {}};
        if (!split_row(line, &row.cells)) {
            ADD_FAILURE() << row.where() << ": unterminated quote or bad escape";
            continue;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

int golden_run(const std::string& name, const std::function<std::string(const GoldenLine&)>& check,
               const std::string& prefix) {
    int run = 0;
    for (const GoldenLine& row : golden_lines(name)) {
        if (row.section.compare(0, prefix.size(), prefix) != 0) continue;
        ++run;
        const std::string why = check(row);
        if (!why.empty()) ADD_FAILURE() << row.where() << ": " << why;
    }
    EXPECT_GT(run, 0) << name << " has no rows in [" << prefix << "...]";
    return run;
}
