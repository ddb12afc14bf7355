// The page's grid as the linear-systems logic sees it: equations as rows,
// a1..a25 and b as columns, the equation count kept with the up-down field.
#pragma once

#include <functional>

#include "linear/linear_cells.h"

class GridWidget;

class GridCells : public LinearCells {
  public:
    // resize: what the page does when the equation count changes (the
    // up-down field, the rows, the shown columns).
    GridCells(GridWidget* grid, std::function<void(i32)> resize) : grid_(grid), resize_(std::move(resize)) {}

    std::u16string cell(i32 row, i32 column) const override;
    void set_cell(i32 row, i32 column, std::u16string_view text) override;
    i32 equation_count() const override;
    void set_equation_count(i32 n) override;
    void clear() override;

    // The equations in memory, for a solve on the worker.
    void copy_to(LinearGridModel& model) const;

  private:
    GridWidget* grid_;
    std::function<void(i32)> resize_;
};
