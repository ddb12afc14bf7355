#include "linear/linear_cells.h"

std::u16string LinearGridModel::cell(i32 row, i32 column) const {
    if (!inside(row, column)) return {};
    return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void LinearGridModel::set_cell(i32 row, i32 column, std::u16string_view text) {
    if (!inside(row, column)) return;
    cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = text;
}

void LinearGridModel::set_equation_count(i32 n) {
    if (n < LINEAR_MIN_EQUATIONS) n = LINEAR_MIN_EQUATIONS;
    if (n > LINEAR_MAX_EQUATIONS) n = LINEAR_MAX_EQUATIONS;
    // Dropped rows come back empty, as rows appended to the grid do.
    for (i32 r = n; r < count_; ++r) {
        for (auto& c : cells_[static_cast<std::size_t>(r)]) c.clear();
    }
    count_ = n;
}

void LinearGridModel::clear() {
    for (auto& row : cells_) {
        for (auto& c : row) c.clear();
    }
}
