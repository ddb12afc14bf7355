// The data grid: a custom-painted table of text cells in which the
// equations, linear-systems and polynomial pages enter coefficients. The
// cells live in a GridModel, the arithmetic of rows, columns and scrolling
// in GridGeometry; this widget adds the keyboard, the in-cell editor, the
// mouse, the scroll bars, the painting and the notifications to the page.
// The calls with a result answer like the model's (-1 and last_error()).
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <functional>

#include "ui/grid_geometry.h"
#include "ui/grid_model.h"
#include "ui/grid_paste.h"

class QLineEdit;

// What the grid tells its page.
struct GridNotify {
    enum Code { Moved = 3, EditStarted = 4, EditEnded = 5, Key = 6, FocusIn = 18, FocusOut = 19 };
    int code;
    i64 column, row;  // the current cell, data indexes from 0
    int column_type;
    int key = 0;      // Qt::Key for Key
};

class GridWidget : public QAbstractScrollArea {
  public:
    explicit GridWidget(QWidget* parent = nullptr);

    GridModel& model() { return model_; }
    const GridModel& model() const { return model_; }

    // Changing calls: the current cell is kept in view and the grid repainted.
    i64 appendColumn(int type, const QString& title);
    i64 appendRow(const QString& header);
    i64 insertRow(i64 row, const QString& header);
    i64 deleteRow(i64 row);
    void clear();
    i64 setCellText(i64 col, i64 row, const QString& text);
    i64 setColumnHeader(i64 col, const QString& text);
    i64 setRowHeader(i64 row, const QString& text);
    i64 setColumnWidth(i64 col, int width);
    i64 setColumnHidden(i64 col, bool hidden);
    QString cellText(i64 col, i64 row) const;

    // The title band above the headers (empty: none).
    void setTitle(const QString& title);
    i64 selectCell(i64 col, i64 row);                     // makes it current; 0
    i64 editCell(i64 col, i64 row, bool start_empty);     // selects it and opens the editor
    i64 currentColumn() const { return cur_col_ - 1; }
    i64 currentRow() const { return cur_row_ - 1; }
    bool isEditing() const;
    // Stores a block of cells (grid_paste) from the current cell on; Ctrl+V
    // pastes the clipboard this way and tells the user of dropped cells.
    GridPasteResult paste(const QString& text);

    void setRowHeight(int h);          // 0 counts as 1
    void setHeaderHeight(int h);       // ignored when negative
    int rowHeight() const { return view_.row_h; }
    int headerHeight() const { return view_.header_h; }
    // Selection mode: 3 selects whole rows; in mode 1 a click on a row
    // header selects its row.
    void setSelectMode(int mode);

    // Behaviour and look; each setter repaints. Unset colours and fonts
    // follow the palette and the widget's font, so light and dark themes
    // both read well. Painting always goes through Qt's back buffer.
    void setEditable(bool on) { editable = on; }
    void setRowNumbers(bool on) { row_numbers = on, viewport()->update(); }
    void setColumnLetters(bool on) { column_letters = on, viewport()->update(); }
    void setSingleLine(bool on) { single_line = on, viewport()->update(); }
    void setAutoSize(bool on) { auto_size = on; }
    void setAllowResize(bool on) { allow_resize = on; }
    void setExtendLastColumn(bool on);
    void setRowHeaderWidth(int width) { setColumnWidth(-1, width); }
    void setTitleHeight(int h);  // negative counts as 0
    void setGridColor(const QColor& c) { grid_color_ = c, viewport()->update(); }
    void setSelectColor(const QColor& c) { select_color_ = c, viewport()->update(); }
    void setSelectTextColor(const QColor& c) { select_text_color_ = c, viewport()->update(); }
    void setProtectedColor(const QColor& c) { protected_color_ = c, viewport()->update(); }
    void setHeaderFont(const QFont& f) { header_font_ = f, viewport()->update(); }
    void setTitleFont(const QFont& f) { title_font_ = f, viewport()->update(); }
    void repaintNow() { viewport()->repaint(); }
    // Protection and alignment of a cell; -1 when it is missing.
    i64 setCellProtected(i64 col, i64 row, bool on);
    i64 setCellAlignment(i64 col, i64 row, int align);

    bool editable = true;
    bool row_numbers = true;
    bool column_letters = true;
    bool single_line = true;
    bool auto_size = false;
    bool allow_resize = false;

    std::function<void(const GridNotify&)> on_notify;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* obj, QEvent* event) override;

  private:
    friend class GridPainter;
    GridGeometry geometry() const;
    void notify(int code, int key = 0);
    void changed();  // scroll bars, current cell in view, repaint
    bool move_by(int key);
    void open_editor(const QString& text);
    void commit();
    void close_editor();
    void hide_editor();
    bool editor_key(QKeyEvent* event);
    void fit_text(i64 c, i64 r);
    void paste_clipboard();

    GridModel model_;
    GridView view_;
    i64 cur_col_ = 1, cur_row_ = 1;
    int select_mode_ = 0;
    bool row_select_ = false;
    QString title_;
    QLineEdit* editor_ = nullptr;
    int wheel_ = 0;
    bool from_editor_ = false;
    i64 resize_col_ = -1;
    QColor grid_color_, select_color_, select_text_color_, protected_color_;
    QFont header_font_, title_font_;
    int resize_start_w_ = 0, resize_start_x_ = 0;
};
