// Where the grid's parts lie: cell rectangles, the rows and columns in
// view, the scroll ranges, the cell under a point, the column border a
// drag may take, and the column letters. Pure arithmetic on the model's
// widths and a few numbers; no Qt. Indexes are internal (column 0 and row
// 0 are the headers, data from 1).
#pragma once

#include <string>
#include <vector>

#include "ui/grid_model.h"

struct GridRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const GridRect&) const = default;
};

// The numbers the geometry depends on besides the model.
struct GridView {
    int client_w = 0, client_h = 0;
    int title_h = 0, header_h = 21, row_h = 21;
    i64 top_row = 1;      // first data row in view
    i64 left_column = 1;  // position among the visible data columns (1-based)
    bool extend_last_column = true;
};

struct GridScroll {
    bool shown = false;
    i64 max = 1;  // range 1 .. max
    i64 page = 1;
};

class GridGeometry {
  public:
    GridGeometry(const GridModel& model, const GridView& view);

    // Data columns not hidden and with a width, in order.
    const std::vector<i64>& visible_columns() const { return visible_; }
    // Whole data rows that fit below the headers (at least 1).
    i64 rows_per_page() const;

    // The columns drawn after the row headers: from the left_column-th
    // visible column while they start inside the client area; empty
    // without columns.
    std::vector<i64> columns_in_view() const;
    i64 first_row_in_view() const { return view_.top_row; }
    i64 last_row_in_view() const;  // may be below first when there are no rows

    // The rectangle of internal cell (c, r); a column or row out of view
    // gives an empty rectangle. With extend_last_column the last column in
    // view reaches the right edge.
    GridRect cell_rect(i64 c, i64 r) const;

    // The cell under (x, y): column -1 or row -1 when there is none; row 0
    // is the header row.
    void hit(int x, int y, i64& c, i64& r) const;
    // The column whose right border in the header row lies within 10
    // pixels of x; -1 when none.
    i64 border_near(int x, int y) const;

    GridScroll vertical() const;
    GridScroll horizontal() const;
    // top_row and left_column moved the least that puts internal cell
    // (c, r) in view (c 0: only the row).
    void scroll_into_view(i64 c, i64 r, i64& top_row, i64& left_column) const;

  private:
    int column_x(i64 c) const;  // left edge, or -1 when out of view

    const GridModel& model_;
    GridView view_;
    std::vector<i64> visible_;
};

// Column letters in bijective base 26: 1 "A", 26 "Z", 27 "AA", 28 "AB",
// up to 475254 "ZZZZ"; empty outside 1 .. GRID_MAX_COLUMNS.
std::u16string grid_column_letters(i64 n);
