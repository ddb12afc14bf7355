// The coefficient grid of the linear-systems tool as its logic sees it: rows
// 0..N-1 are the equations, columns 0..24 the coefficients a1..a25 and
// column 25 the right-hand side b. The window's grid control implements the
// interface; LinearGridModel keeps the cells in memory for the command line
// and the tests.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "linear/linear_solver.h"

constexpr i32 LINEAR_GRID_ROWS = 25;
constexpr i32 LINEAR_GRID_COLUMNS = 26;
constexpr i32 LINEAR_COLUMN_B = 25;
// Longest cell text that is solved, and the longest field a loaded file keeps.
constexpr i64 LINEAR_CELL_MAX = 1030;

class LinearCells {
  public:
    virtual ~LinearCells() = default;
    // The text of a cell; empty outside the grid.
    virtual std::u16string cell(i32 row, i32 column) const = 0;
    // Sets a cell; outside the grid nothing happens.
    virtual void set_cell(i32 row, i32 column, std::u16string_view text) = 0;
    // The equation count N (2..25): rows 0..N-1 exist, columns N..24 are hidden.
    virtual i32 equation_count() const = 0;
    // Sets N (clamped to 2..25); rows beyond it are dropped.
    virtual void set_equation_count(i32 n) = 0;
    // Empties every cell.
    virtual void clear() = 0;
};

class LinearGridModel : public LinearCells {
  public:
    std::u16string cell(i32 row, i32 column) const override;
    void set_cell(i32 row, i32 column, std::u16string_view text) override;
    i32 equation_count() const override { return count_; }
    void set_equation_count(i32 n) override;
    void clear() override;

  private:
    bool inside(i32 row, i32 column) const {
        return row >= 0 && row < count_ && column >= 0 && column < LINEAR_GRID_COLUMNS;
    }
    i32 count_ = 2;
    std::array<std::array<std::u16string, LINEAR_GRID_COLUMNS>, LINEAR_GRID_ROWS> cells_;
};
