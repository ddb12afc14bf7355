// Pasting a block of text into the grid, as copied from a spreadsheet or
// typed in a text: rows at line ends, cells at tabs or semicolons.
#pragma once

#include <string_view>

#include "ui/grid_model.h"

struct GridPasteResult {
    i64 written = 0;  // cells stored
    i64 skipped = 0;  // cells that fell on a protected cell or a column without text
    i64 dropped = 0;  // cells beyond the last row or the last shown column
};

// Splits text into rows at CR LF, LF or a CR alone (a line end that ends
// the text starts no further row), and each row into cells at tabs or, when
// the text holds no tab, at ";". Stores the cells from the data cell (col,
// row) to the right and downwards over the shown columns (hidden columns
// are passed over); a protected cell or a column that holds no text keeps
// what it has. Nothing is stored when (col, row) is not a data cell.
GridPasteResult grid_paste(GridModel& model, i64 col, i64 row, std::u16string_view text);
