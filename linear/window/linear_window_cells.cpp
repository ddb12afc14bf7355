#include "linear/window/linear_window_cells.h"

#include "ui/grid_widget.h"
#include "ui/qt_text.h"

std::u16string GridCells::cell(i32 row, i32 column) const {
    std::u16string text;
    grid_->model().cell_text(column, row, text);
    return text;
}

void GridCells::set_cell(i32 row, i32 column, std::u16string_view text) {
    if (column >= 0 && column < LINEAR_GRID_COLUMNS) grid_->setCellText(column, row, to_qstring(text));
}

i32 GridCells::equation_count() const { return static_cast<i32>(grid_->model().row_count()); }

void GridCells::set_equation_count(i32 n) {
    constexpr i32 lo = static_cast<i32>(LINEAR_MIN_EQUATIONS), hi = static_cast<i32>(LINEAR_MAX_EQUATIONS);
    resize_(n < lo ? lo : n > hi ? hi : n);
}

void GridCells::clear() {
    for (i32 r = 0; r < equation_count(); ++r)
        for (i32 c = 0; c < LINEAR_GRID_COLUMNS; ++c) grid_->model().set_cell_text(c, r, u"");
    grid_->repaintNow();
}

void GridCells::copy_to(LinearGridModel& model) const {
    const i32 n = equation_count();
    model.set_equation_count(n);
    for (i32 r = 0; r < n; ++r)
        for (i32 c = 0; c < LINEAR_GRID_COLUMNS; ++c) model.set_cell(r, c, cell(r, c));
}
