#include "ui/grid_model.h"

GridModel::GridModel() { clear(); }

void GridModel::clear() {
    GridColumn headers;
    headers.type = GRID_COLUMN_ROW_HEADERS;
    headers.cells.resize(1);
    if (!columns_.empty()) {  // the row-header column stays with its width
        headers.width = columns_[0].width;
        headers.cells[0] = columns_[0].cells[0];
    }
    columns_.clear();
    columns_.push_back(std::move(headers));
}

i64 GridModel::fail(int error) const {
    last_error_ = error;
    return -1;
}

i64 GridModel::col_at(i64 col, bool row_headers_too) const {
    if (col < (row_headers_too ? -1 : 0) || col >= column_count()) return fail(GRID_ERR_RANGE);
    return col + 1;
}

const GridCell* GridModel::cell_at(i64 col, i64 row, bool row_headers_too) const {
    const i64 c = col_at(col, row_headers_too);
    if (c < 0) return nullptr;
    if (row < 0 || row >= row_count()) {
        fail(GRID_ERR_MISSING);
        return nullptr;
    }
    return &columns_[static_cast<std::size_t>(c)].cells[static_cast<std::size_t>(row + 1)];
}

GridCell* GridModel::cell_at(i64 col, i64 row, bool row_headers_too) {
    return const_cast<GridCell*>(static_cast<const GridModel*>(this)->cell_at(col, row, row_headers_too));
}

const GridCell* GridModel::cell(i64 c, i64 r) const {
    if (c < 0 || c >= columns() || r < 0 || r >= rows()) return nullptr;
    return &columns_[static_cast<std::size_t>(c)].cells[static_cast<std::size_t>(r)];
}

GridCell* GridModel::cell(i64 c, i64 r) { return const_cast<GridCell*>(static_cast<const GridModel*>(this)->cell(c, r)); }

i64 GridModel::append_column(int type, std::u16string_view title) {
    if (column_count() >= GRID_MAX_COLUMNS) {
        last_error_ = GRID_ERR_LIMIT;
        return -2;
    }
    GridColumn c;
    c.type = type;
    c.cells.resize(static_cast<std::size_t>(rows()));
    c.cells[0].text = title;
    columns_.push_back(std::move(c));
    return column_count() - 1;
}

i64 GridModel::append_row(std::u16string_view header) { return insert_row(row_count(), header) - 1; }

i64 GridModel::insert_row(i64 row, std::u16string_view header) {
    if (row < 0 || row > row_count()) return fail(GRID_ERR_RANGE);
    for (GridColumn& c : columns_) c.cells.insert(c.cells.begin() + row + 1, GridCell{});
    columns_[0].cells[static_cast<std::size_t>(row + 1)].text = header;
    return row + 1;
}

i64 GridModel::delete_row(i64 row) {
    if (row < 0 || row >= row_count()) return fail(GRID_ERR_RANGE);
    for (GridColumn& c : columns_) c.cells.erase(c.cells.begin() + row + 1);
    return row_count() - 1;
}

i64 GridModel::column_header(i64 col, std::u16string& out) const {
    const i64 c = col_at(col, true);
    if (c < 0) return -1;
    out = column(c).cells[0].text;
    return static_cast<i64>(out.size());
}

i64 GridModel::set_column_header(i64 col, std::u16string_view text) {
    const i64 c = col_at(col, true);
    if (c < 0) return -1;
    column(c).cells[0].text = text;
    return 0;
}

i64 GridModel::column_type(i64 col) const {
    const i64 c = col_at(col, true);
    return c < 0 ? -1 : column(c).type;
}

i64 GridModel::column_width(i64 col) const {
    const i64 c = col_at(col, true);
    if (c < 0) return -1;
    return column(c).hidden ? 0 : column(c).width;
}

i64 GridModel::set_column_width(i64 col, int width) {
    const i64 c = col_at(col, true);
    if (c < 0) return -1;
    column(c).width = width < 0 ? 0 : width;
    return 0;
}

i64 GridModel::set_column_hidden(i64 col, bool hidden) {
    const i64 c = col_at(col, false);
    if (c < 0) return -1;
    column(c).hidden = hidden;
    return 0;
}

i64 GridModel::row_header(i64 row, std::u16string& out) const {
    const GridCell* cell = cell_at(-1, row, true);
    if (cell == nullptr) return -1;
    out = cell->text;
    return static_cast<i64>(out.size());
}

i64 GridModel::set_row_header(i64 row, std::u16string_view text) { return set_cell_text(-1, row, text); }

i64 GridModel::cell_text(i64 col, i64 row, std::u16string& out) const {
    out.clear();
    const GridCell* cell = cell_at(col, row, true);
    if (cell == nullptr) return -1;
    const int type = column(col + 1).type;
    if (type == GRID_COLUMN_TEXT || type == GRID_COLUMN_ROW_HEADERS) out = cell->text;
    return static_cast<i64>(out.size());
}

i64 GridModel::set_cell_text(i64 col, i64 row, std::u16string_view text) {
    GridCell* cell = cell_at(col, row, true);
    if (cell == nullptr) return -1;
    const int type = column(col + 1).type;
    cell->text = type == GRID_COLUMN_TEXT || type == GRID_COLUMN_ROW_HEADERS ? std::u16string(text) : u"";
    return 0;
}

i64 GridModel::cell_protected(i64 col, i64 row) const {
    const GridCell* cell = cell_at(col, row, false);
    return cell == nullptr ? -1 : cell->protect ? 1 : 0;
}

i64 GridModel::set_cell_protected(i64 col, i64 row, bool protect) {
    GridCell* cell = cell_at(col, row, false);
    if (cell == nullptr) return -1;
    cell->protect = protect;
    return 0;
}

i64 GridModel::set_cell_alignment(i64 col, i64 row, int align) {
    GridCell* cell = cell_at(col, row, true);
    if (cell == nullptr) return -1;
    cell->align = align == GRID_ALIGN_RIGHT ? GRID_ALIGN_RIGHT : GRID_ALIGN_LEFT;
    return 0;
}
