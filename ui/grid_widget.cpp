// The grid's calls, keyboard, mouse, scrolling and notifications.
#include "ui/grid_widget.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include "ui/form.h"
#include "ui/qt_text.h"

GridWidget::GridWidget(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setProperty(UI_WANTS_ENTER, true);
    viewport()->setMouseTracking(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const int line = fontMetrics().height();
    view_.row_h = view_.header_h = line + 6;
    model_.column(0).width = fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 10;
    changed();
}

GridGeometry GridWidget::geometry() const {
    GridView v = view_;
    v.client_w = viewport()->width();
    v.client_h = viewport()->height();
    return GridGeometry(model_, v);
}

void GridWidget::notify(int code, int key) {
    if (!on_notify) return;
    const GridColumn* col = cur_col_ < model_.columns() ? &model_.column(cur_col_) : nullptr;
    on_notify({code, cur_col_ - 1, cur_row_ - 1, col != nullptr ? col->type : 0, key});
}

void GridWidget::changed() {
    const GridGeometry g = geometry();
    const GridScroll v = g.vertical(), h = g.horizontal();
    const QSignalBlocker qv(verticalScrollBar()), qh(horizontalScrollBar());
    verticalScrollBar()->setRange(1, static_cast<int>(v.max));
    verticalScrollBar()->setPageStep(static_cast<int>(v.page));
    horizontalScrollBar()->setRange(1, static_cast<int>(h.max));
    view_.top_row = std::clamp<i64>(view_.top_row, 1, v.max);
    view_.left_column = std::clamp<i64>(view_.left_column, 1, h.max);
    if (cur_row_ >= 1 && cur_row_ < model_.rows()) geometry().scroll_into_view(cur_col_, cur_row_, view_.top_row, view_.left_column);
    verticalScrollBar()->setValue(static_cast<int>(view_.top_row));
    horizontalScrollBar()->setValue(static_cast<int>(view_.left_column));
    viewport()->update();
}

i64 GridWidget::appendColumn(int type, const QString& title) {
    const i64 r = model_.append_column(type, from_qstring(title));
    if (r >= 0) fit_text(r + 1, 0);
    changed();
    return r;
}

i64 GridWidget::appendRow(const QString& header) {
    const i64 r = model_.append_row(from_qstring(header));
    changed();
    return r;
}

i64 GridWidget::insertRow(i64 row, const QString& header) {
    const i64 r = model_.insert_row(row, from_qstring(header));
    changed();
    return r;
}

i64 GridWidget::deleteRow(i64 row) {
    close_editor();
    const i64 r = model_.delete_row(row);
    cur_row_ = std::clamp<i64>(cur_row_, 1, std::max<i64>(1, model_.rows() - 1));
    changed();
    return r;
}

void GridWidget::clear() {
    close_editor();
    model_.clear();
    cur_col_ = cur_row_ = 1;
    view_.top_row = view_.left_column = 1;
    changed();
}

i64 GridWidget::setCellText(i64 col, i64 row, const QString& text) {
    const i64 r = model_.set_cell_text(col, row, from_qstring(text));
    if (r == 0 && auto_size) fit_text(col + 1, row + 1);
    changed();
    return r;
}

i64 GridWidget::setColumnHeader(i64 col, const QString& text) {
    const i64 r = model_.set_column_header(col, from_qstring(text));
    if (r == 0) fit_text(col + 1, 0);
    changed();
    return r;
}

i64 GridWidget::setRowHeader(i64 row, const QString& text) {
    const i64 r = model_.set_row_header(row, from_qstring(text));
    if (r == 0) fit_text(0, row + 1);
    changed();
    return r;
}

i64 GridWidget::setColumnWidth(i64 col, int width) {
    const i64 r = model_.set_column_width(col, width);
    changed();
    return r;
}

i64 GridWidget::setColumnHidden(i64 col, bool hidden) {
    const i64 r = model_.set_column_hidden(col, hidden);
    changed();
    return r;
}

QString GridWidget::cellText(i64 col, i64 row) const {
    std::u16string text;
    model_.cell_text(col, row, text);
    return to_qstring(text);
}

void GridWidget::setTitle(const QString& title) {
    title_ = title;
    setAccessibleName(ui_plain(title));
    const int lines = title.isEmpty() ? 0 : static_cast<int>(title.count(u'\n')) + 1;
    view_.title_h = static_cast<int>(1.2 * fontMetrics().height() * lines);
    changed();
}

// Grows the column, the row height or the header height to hold the text
// of internal cell (c, r) (headers always, data cells with auto_size).
void GridWidget::fit_text(i64 c, i64 r) {
    const GridCell* cell = model_.cell(c, r);
    if (cell == nullptr) return;
    const QStringList lines = to_qstring(cell->text).split(u'\n');
    int w = 0;
    for (const QString& l : lines) w = std::max(w, fontMetrics().horizontalAdvance(l));
    if (w + 5 > model_.column(c).width) model_.column(c).width = w + 5;
    const int h = single_line && r != 0 ? 0 : fontMetrics().height() * static_cast<int>(lines.size()) + 5;
    if (r == 0 && h > view_.header_h) view_.header_h = h;
    if (r > 0 && h > view_.row_h) view_.row_h = h;
}

i64 GridWidget::selectCell(i64 col, i64 row) {
    if (model_.cell(col + 1, row + 1) == nullptr || col < 0 || row < 0) return -1;
    commit();
    cur_col_ = col + 1;
    cur_row_ = row + 1;
    changed();
    return 0;
}

i64 GridWidget::editCell(i64 col, i64 row, bool start_empty) {
    if (selectCell(col, row) != 0) return -1;
    setFocus();
    const GridCell* cell = model_.cell(cur_col_, cur_row_);
    open_editor(start_empty ? QString() : to_qstring(cell->text));
    return 0;
}

bool GridWidget::isEditing() const { return editor_ != nullptr && editor_->isVisible(); }

void GridWidget::setRowHeight(int h) {
    view_.row_h = h <= 0 ? 1 : h;
    changed();
}

void GridWidget::setHeaderHeight(int h) {
    if (h < 0) return;
    view_.header_h = h;
    changed();
}

void GridWidget::setSelectMode(int mode) {
    select_mode_ = mode;
    row_select_ = mode == 3;
    viewport()->update();
}

void GridWidget::setTitleHeight(int h) {
    view_.title_h = std::max(h, 0);
    changed();
}

i64 GridWidget::setCellProtected(i64 col, i64 row, bool on) {
    const i64 r = model_.set_cell_protected(col, row, on);
    viewport()->update();
    return r;
}

i64 GridWidget::setCellAlignment(i64 col, i64 row, int align) {
    const i64 r = model_.set_cell_alignment(col, row, align);
    viewport()->update();
    return r;
}

void GridWidget::setExtendLastColumn(bool on) {
    view_.extend_last_column = on;
    changed();
}

// Moves the current cell for an arrow or page key; false when nothing moved.
bool GridWidget::move_by(int key) {
    const GridGeometry g = geometry();
    const i64 last = model_.rows() - 1;
    i64 row = cur_row_, col = cur_col_;
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        const i64 step = key == Qt::Key_Up || key == Qt::Key_Down ? 1 : g.rows_per_page();
        row += key == Qt::Key_Up || key == Qt::Key_PageUp ? -step : step;
        row = std::clamp<i64>(row, 1, std::max<i64>(1, last));
    } else {
        const auto& vis = g.visible_columns();
        auto it = std::find(vis.begin(), vis.end(), cur_col_);
        if (key == Qt::Key_Right && row_select_ && select_mode_ == 1) {
            row_select_ = false;
            viewport()->update();
            return true;
        }
        if (key == Qt::Key_Left && it != vis.end() && it != vis.begin()) col = *(it - 1);
        if (key == Qt::Key_Right && it != vis.end() && it + 1 != vis.end()) col = *(it + 1);
    }
    if (row == cur_row_ && col == cur_col_) return false;
    close_editor();
    cur_row_ = row;
    cur_col_ = col;
    notify(GridNotify::Moved);
    changed();
    return true;
}

GridPasteResult GridWidget::paste(const QString& text) {
    if (!editable || row_select_) return {};
    commit();
    const GridPasteResult r = grid_paste(model_, cur_col_ - 1, cur_row_ - 1, from_qstring(text));
    changed();
    return r;
}

void GridWidget::paste_clipboard() {
    const GridPasteResult r = paste(QGuiApplication::clipboard()->text());
    if (r.dropped == 0) return;
    const QString text = ui_lang(u"%1 pasted cells lay beyond the grid and were left out.",
                                 u"%1 eingefügte Zellen lagen außerhalb des Datengitters und wurden weggelassen.");
    QMessageBox box(QMessageBox::Information, ui_qtext(62), text.arg(r.dropped), QMessageBox::Ok, window());
    box.button(QMessageBox::Ok)->setText(ui_qtext(0));
    box.exec();
}

void GridWidget::keyPressEvent(QKeyEvent* event) {
    notify(GridNotify::Key, event->key());
    if (event->matches(QKeySequence::Paste)) {
        paste_clipboard();
        return;
    }
    const int key = event->key();
    switch (key) {
        case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
        case Qt::Key_Left: case Qt::Key_Right:
            move_by(key);
            return;
        case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Alt:
        case Qt::Key_Pause: case Qt::Key_CapsLock: case Qt::Key_Insert: case Qt::Key_Meta: case Qt::Key_Menu:
        case Qt::Key_NumLock: case Qt::Key_Escape:
            return;  // keys that never start editing
        default:
            if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return;
    }
    const GridCell* cell = model_.cell(cur_col_, cur_row_);
    if (!editable || row_select_ || cur_row_ < 1 || cell == nullptr || cell->protect ||
        model_.column(cur_col_).type != GRID_COLUMN_TEXT)
        return;
    QString text = event->text();
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    open_editor(text.left(5));
}

void GridWidget::open_editor(const QString& text) {
    if (editor_ == nullptr) {
        editor_ = new QLineEdit(viewport());
        editor_->setFrame(false);
        editor_->setProperty(UI_WANTS_ENTER, true);
        editor_->setAccessibleName(accessibleName());
        editor_->installEventFilter(this);
    }
    const GridRect r = geometry().cell_rect(cur_col_, cur_row_);
    editor_->setGeometry(r.x + 1, r.y + 1, std::max(r.w - 2, 1), std::max(r.h - 2, 1));
    editor_->setText(text);
    editor_->setFont(font());
    editor_->show();
    editor_->setFocus();
    editor_->end(false);
    notify(GridNotify::EditStarted);
}

// Stores the editor's text in its cell, hides it and gives the focus back.
void GridWidget::commit() {
    if (!isEditing()) return;
    GridCell* cell = model_.cell(cur_col_, cur_row_);
    if (cell != nullptr) cell->text = from_qstring(editor_->text());
    if (auto_size || cur_row_ == 0 || cur_col_ == 0) fit_text(cur_col_, cur_row_);
    hide_editor();
    notify(GridNotify::EditEnded);
    changed();
}

void GridWidget::close_editor() { commit(); }

// The focus goes back from the editor to the grid; within the grid that is
// no focus change for the page.
void GridWidget::hide_editor() {
    from_editor_ = true;
    const bool had_focus = editor_->hasFocus();
    editor_->hide();
    if (had_focus) setFocus();
    from_editor_ = false;
}

bool GridWidget::editor_key(QKeyEvent* e) {
    const int key = e->key();
    const i64 last = model_.rows() - 1;
    const GridGeometry g = geometry();
    const auto& vis = g.visible_columns();
    auto it = std::find(vis.begin(), vis.end(), cur_col_);
    const bool pass = ((key == Qt::Key_Up || key == Qt::Key_PageUp) && cur_row_ > 1) ||
                      ((key == Qt::Key_Down || key == Qt::Key_PageDown) && cur_row_ < last) ||
                      (key == Qt::Key_Left && editor_->cursorPosition() == 0 && it != vis.begin()) ||
                      (key == Qt::Key_Right && editor_->cursorPosition() == editor_->text().size() &&
                       it != vis.end() && it + 1 != vis.end());
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        commit();
        return true;
    }
    if (key == Qt::Key_Escape) {
        hide_editor();
        return true;
    }
    // A block of cells goes to the grid; one cell's text into the editor.
    if (e->matches(QKeySequence::Paste)) {
        const QString clip = QGuiApplication::clipboard()->text();
        if (clip.contains(u'\t') || clip.contains(u'\n') || clip.contains(u'\r')) {
            paste_clipboard();
            return true;
        }
    }
    if (!pass) return false;
    commit();
    move_by(key);
    return true;
}

bool GridWidget::eventFilter(QObject* obj, QEvent* event) {
    if (obj != editor_) return QAbstractScrollArea::eventFilter(obj, event);
    if (event->type() == QEvent::KeyPress) return editor_key(static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut && editor_->isVisible()) commit();
    if (event->type() == QEvent::Wheel) {
        commit();
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return false;
}

void GridWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus();
    commit();
    const QPoint p = event->position().toPoint();
    const GridGeometry g = geometry();
    const i64 border = allow_resize ? g.border_near(p.x(), p.y()) : -1;
    if (border >= 0) {
        resize_col_ = border;
        resize_start_w_ = model_.column(border).width;
        resize_start_x_ = p.x();
        return;
    }
    i64 c, r;
    g.hit(p.x(), p.y(), c, r);
    if (r < 1 || c < 0) return;
    if (c == 0) {
        if (select_mode_ == 1) row_select_ = true;
    } else {
        cur_col_ = c;
        if (select_mode_ == 1) row_select_ = false;
    }
    cur_row_ = r;
    notify(GridNotify::Moved);
    changed();
}

void GridWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (resize_col_ >= 0) {
        model_.column(resize_col_).width = std::max(0, resize_start_w_ + p.x() - resize_start_x_);
        changed();
        return;
    }
    const bool near = allow_resize && geometry().border_near(p.x(), p.y()) >= 0;
    viewport()->setCursor(near ? Qt::SizeHorCursor : Qt::ArrowCursor);
}

void GridWidget::mouseReleaseEvent(QMouseEvent*) {
    resize_col_ = -1;
    viewport()->setCursor(Qt::ArrowCursor);
}

void GridWidget::wheelEvent(QWheelEvent* event) {
    if (!geometry().vertical().shown) return;
    wheel_ += event->angleDelta().y();
    while (wheel_ >= 120 || wheel_ <= -120) {
        const int step = wheel_ > 0 ? -1 : 1;
        wheel_ += step * 120;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + step);
    }
}

void GridWidget::focusInEvent(QFocusEvent* event) {
    if (!from_editor_) notify(GridNotify::FocusIn);
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void GridWidget::focusOutEvent(QFocusEvent* event) {
    if (!isEditing()) notify(GridNotify::FocusOut);
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void GridWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    changed();
}

void GridWidget::scrollContentsBy(int, int) {
    commit();
    view_.top_row = verticalScrollBar()->value();
    view_.left_column = horizontalScrollBar()->value();
    viewport()->update();
}
