#include "ui/grid_geometry.h"

#include <algorithm>

GridGeometry::GridGeometry(const GridModel& model, const GridView& view) : model_(model), view_(view) {
    for (i64 c = 1; c < model.columns(); ++c)
        if (!model.column(c).hidden && model.column(c).width > 0) visible_.push_back(c);
}

i64 GridGeometry::rows_per_page() const {
    const int room = view_.client_h - view_.title_h - view_.header_h;
    return std::max<i64>(1, view_.row_h > 0 ? room / view_.row_h : 1);
}

std::vector<i64> GridGeometry::columns_in_view() const {
    std::vector<i64> out;
    int x = model_.column(0).hidden ? 0 : model_.column(0).width;
    for (std::size_t i = static_cast<std::size_t>(std::max<i64>(view_.left_column, 1) - 1);
         i < visible_.size() && x < std::max(view_.client_w, 1); ++i) {
        out.push_back(visible_[i]);
        x += model_.column(visible_[i]).width;
    }
    return out;
}

i64 GridGeometry::last_row_in_view() const {
    const int room = view_.client_h - view_.title_h - view_.header_h;
    const i64 fit = view_.row_h > 0 ? (room + view_.row_h - 1) / view_.row_h : 0;
    return std::min(model_.rows() - 1, view_.top_row + fit - 1);
}

int GridGeometry::column_x(i64 c) const {
    const int head = model_.column(0).width;
    if (c == 0) return 0;
    int x = head;
    for (i64 v : columns_in_view()) {
        if (v == c) return x;
        x += model_.column(v).width;
    }
    return -1;
}

GridRect GridGeometry::cell_rect(i64 c, i64 r) const {
    if (c < 0 || c >= model_.columns() || r < 0 || r >= model_.rows()) return {};
    const int x = column_x(c);
    if (x < 0) return {};
    int w = model_.column(c).width;
    const auto in_view = columns_in_view();
    if (view_.extend_last_column && c != 0 && !in_view.empty() && in_view.back() == c)
        w = std::max(w, view_.client_w - x);
    if (r == 0) return {x, view_.title_h, w, view_.header_h};
    if (r < view_.top_row || r > last_row_in_view()) return {};
    const i64 y = view_.title_h + view_.header_h + (r - view_.top_row) * view_.row_h;
    return {x, static_cast<int>(y), w, view_.row_h};
}

void GridGeometry::hit(int x, int y, i64& c, i64& r) const {
    c = r = -1;
    if (y < view_.title_h || x < 0) return;
    if (y < view_.title_h + view_.header_h) {
        r = 0;
    } else if (view_.row_h > 0) {
        r = (y - view_.title_h - view_.header_h) / view_.row_h + view_.top_row;
        if (r >= model_.rows()) r = -1;
    }
    if (r < 0) return;
    std::vector<i64> order{0};
    for (i64 v : columns_in_view()) order.push_back(v);
    for (i64 v : order) {
        const GridRect rect = cell_rect(v, r);
        if (rect.w > 0 && x >= rect.x && x < rect.x + rect.w) {
            c = v;
            return;
        }
    }
    r = -1;
}

i64 GridGeometry::border_near(int x, int y) const {
    if (y < view_.title_h || y >= view_.title_h + view_.header_h) return -1;
    i64 best = -1;
    int best_d = 11;
    int right = model_.column(0).width;
    for (i64 v : columns_in_view()) {
        right += model_.column(v).width;
        const int d = std::abs(x - right);
        if (d <= 10 && d < best_d) best = v, best_d = d;
    }
    return best;
}

GridScroll GridGeometry::vertical() const {
    const i64 page = rows_per_page();
    const i64 rows = model_.rows() - 1;
    GridScroll s;
    s.page = page;
    s.shown = rows > page;
    s.max = s.shown ? rows - page + 1 : 1;
    return s;
}

GridScroll GridGeometry::horizontal() const {
    i64 total = model_.column(0).width;
    for (i64 v : visible_) total += model_.column(v).width;
    GridScroll s;
    s.shown = total > view_.client_w && !visible_.empty();
    s.max = s.shown ? static_cast<i64>(visible_.size()) : 1;
    return s;
}

void GridGeometry::scroll_into_view(i64 c, i64 r, i64& top_row, i64& left_column) const {
    top_row = view_.top_row;
    left_column = view_.left_column;
    if (r >= 1) {
        const i64 page = rows_per_page();
        if (r < top_row) top_row = r;
        if (r > top_row + page - 1) top_row = r - page + 1;
        top_row = std::clamp<i64>(top_row, 1, std::max<i64>(1, vertical().max));
    }
    const auto it = std::find(visible_.begin(), visible_.end(), c);
    if (c < 1 || it == visible_.end()) return;
    const i64 pos = it - visible_.begin() + 1;
    if (pos < left_column) left_column = pos;
    // Move right until the column's right edge fits (or it is the first shown).
    while (left_column < pos) {
        int x = model_.column(0).width;
        for (i64 i = left_column; i <= pos; ++i) x += model_.column(visible_[static_cast<std::size_t>(i - 1)]).width;
        if (x <= view_.client_w) break;
        ++left_column;
    }
}

std::u16string grid_column_letters(i64 n) {
    if (n < 1 || n > GRID_MAX_COLUMNS) return {};
    std::u16string s;
    while (n > 0) {
        --n;
        s.insert(s.begin(), static_cast<char16_t>(u'A' + n % 26));
        n /= 26;
    }
    return s;
}
