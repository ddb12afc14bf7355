// The data of the grid control: text cells in columns, column 0 holding
// the row headers and row 0 of every column its header. No Qt.
//
// The public calls take the indexes the pages use: data columns and data
// rows from 0 (the row-header column is column -1 where a call allows it).
// A call on a missing column answers -1 with last_error() GRID_ERR_RANGE, on
// a missing row -1 with GRID_ERR_MISSING; texts are returned as strings, so
// no caller's buffer can be too small.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using i64 = std::int64_t;

enum : int { GRID_ERR_MISSING = 13, GRID_ERR_LIMIT = 14, GRID_ERR_RANGE = 1413 };

// Column types: the row headers, editable text, and anything else a page
// marks (neither edited nor readable as text).
enum : int { GRID_COLUMN_ROW_HEADERS = -1, GRID_COLUMN_TEXT = 1 };
enum : int { GRID_ALIGN_LEFT = 2, GRID_ALIGN_RIGHT = 3 };

// The number of four-letter column names, A to ZZZZ.
constexpr i64 GRID_MAX_COLUMNS = 475254;
constexpr int GRID_DEFAULT_WIDTH = 50;

struct GridCell {
    std::u16string text;
    int align = GRID_ALIGN_LEFT;
    bool protect = false;
};

struct GridColumn {
    int type = GRID_COLUMN_TEXT;
    int width = GRID_DEFAULT_WIDTH;
    bool hidden = false;
    std::vector<GridCell> cells;  // [0] is the header
};

class GridModel {
  public:
    GridModel();

    i64 append_column(int type, std::u16string_view title);  // new index; -2 past the limit
    i64 append_row(std::u16string_view header);               // new index
    i64 insert_row(i64 row, std::u16string_view header);      // before row (row_count: at the end); row + 1
    i64 delete_row(i64 row);                                  // the last row index left
    void clear();                                             // no rows, only the row-header column

    i64 column_count() const { return static_cast<i64>(columns_.size()) - 1; }
    i64 row_count() const { return static_cast<i64>(columns_[0].cells.size()) - 1; }

    i64 column_header(i64 col, std::u16string& out) const;
    i64 set_column_header(i64 col, std::u16string_view text);
    i64 column_type(i64 col) const;
    i64 column_width(i64 col) const;  // 0 when hidden; col -1: the row headers
    i64 set_column_width(i64 col, int width);
    i64 set_column_hidden(i64 col, bool hidden);

    i64 row_header(i64 row, std::u16string& out) const;
    i64 set_row_header(i64 row, std::u16string_view text);

    // Text of a text-column or row-header cell: its length (0 and an empty
    // text for other columns).
    i64 cell_text(i64 col, i64 row, std::u16string& out) const;
    // Cells of columns that hold no text get an empty text.
    i64 set_cell_text(i64 col, i64 row, std::u16string_view text);
    i64 cell_protected(i64 col, i64 row) const;
    i64 set_cell_protected(i64 col, i64 row, bool protect);
    i64 set_cell_alignment(i64 col, i64 row, int align);

    int last_error() const { return last_error_; }

    // Internal indexes (column 0 and row 0 are the headers), for the
    // geometry, the painting and the editor; null when out of range.
    i64 columns() const { return static_cast<i64>(columns_.size()); }
    i64 rows() const { return static_cast<i64>(columns_[0].cells.size()); }
    const GridColumn& column(i64 c) const { return columns_[static_cast<std::size_t>(c)]; }
    GridColumn& column(i64 c) { return columns_[static_cast<std::size_t>(c)]; }
    GridCell* cell(i64 c, i64 r);
    const GridCell* cell(i64 c, i64 r) const;

  private:
    // The internal column of a data column (-1: the row headers when
    // allowed), or -1 with the error set.
    i64 col_at(i64 col, bool row_headers_too) const;
    const GridCell* cell_at(i64 col, i64 row, bool row_headers_too) const;
    GridCell* cell_at(i64 col, i64 row, bool row_headers_too);
    i64 fail(int error) const;

    std::vector<GridColumn> columns_;
    mutable int last_error_ = 0;
};
