#include "ui/grid_paste.h"

#include <vector>

namespace {

// The next line of text from pos on (without its line end); pos moves past
// the line end.
std::u16string_view next_line(std::u16string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] != u'\n' && text[pos] != u'\r') ++pos;
    const std::u16string_view line = text.substr(start, pos - start);
    if (pos < text.size()) {
        const bool cr = text[pos] == u'\r';
        ++pos;
        if (cr && pos < text.size() && text[pos] == u'\n') ++pos;
    }
    return line;
}

}  // namespace

GridPasteResult grid_paste(GridModel& model, i64 col, i64 row, std::u16string_view text) {
    GridPasteResult result;
    if (col < 0 || col >= model.column_count() || row < 0 || row >= model.row_count()) return result;
    std::vector<i64> shown;  // internal indexes of the shown columns from col on
    for (i64 c = col + 1; c < model.columns(); ++c)
        if (!model.column(c).hidden) shown.push_back(c);
    const char16_t separator = text.find(u'\t') != std::u16string_view::npos ? u'\t' : u';';
    std::size_t pos = 0;
    for (i64 r = row + 1; pos < text.size(); ++r) {
        const std::u16string_view line = next_line(text, pos);
        std::size_t begin = 0;
        for (std::size_t j = 0;; ++j) {
            std::size_t end = line.find(separator, begin);
            if (end == std::u16string_view::npos) end = line.size();
            GridCell* cell = j < shown.size() ? model.cell(shown[j], r) : nullptr;
            if (cell == nullptr) ++result.dropped;
            else if (cell->protect || model.column(shown[j]).type != GRID_COLUMN_TEXT) ++result.skipped;
            else cell->text = line.substr(begin, end - begin), ++result.written;
            if (end == line.size()) break;
            begin = end + 1;
        }
    }
    return result;
}
