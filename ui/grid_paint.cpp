// Painting of the grid on top of its geometry: title band, headers with
// row numbers and column letters, the cells, grey beyond the last ones.
#include <QPainter>
#include <QStyleOptionHeader>

#include "ui/grid_widget.h"
#include "ui/qt_text.h"

class GridPainter {
  public:
    GridPainter(GridWidget& grid, QPainter& p) : g_(grid), p_(p), geo_(grid.geometry()) {}

    void paint() {
        const QRect all = g_.viewport()->rect();
        p_.fillRect(all, g_.palette().color(QPalette::Window).darker(110));
        title();
        std::vector<i64> cols{0};
        for (i64 c : geo_.visible_columns().empty() ? std::vector<i64>{} : geo_.columns_in_view()) cols.push_back(c);
        for (i64 c : cols) {
            header(c);
            for (i64 r = geo_.first_row_in_view(); r <= geo_.last_row_in_view(); ++r) cell(c, r);
        }
    }

  private:
    static QRect rect_of(const GridRect& r) { return {r.x, r.y, r.w, r.h}; }

    void title() {
        if (g_.view_.title_h <= 0) return;
        const QRect band(0, 0, g_.viewport()->width(), g_.view_.title_h);
        bevel(band);
        p_.setPen(text_color());
        p_.setFont(g_.title_font_ == QFont() ? g_.font() : g_.title_font_);
        p_.drawText(band.adjusted(4, 0, -4, 0), Qt::AlignCenter | Qt::TextWordWrap | Qt::TextHideMnemonic, g_.title_);
        p_.setFont(g_.font());
    }

    QColor or_role(const QColor& set, QPalette::ColorRole role) const {
        return set.isValid() ? set : g_.palette().color(role);
    }

    QColor text_color() const {
        return g_.palette().color(g_.isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText);
    }

    void bevel(const QRect& r) {
        p_.fillRect(r, g_.palette().color(QPalette::Button));
        p_.setPen(g_.palette().color(QPalette::Light));
        p_.drawLine(r.topLeft(), r.topRight());
        p_.drawLine(r.topLeft(), r.bottomLeft());
        p_.setPen(g_.palette().color(QPalette::Mid));
        p_.drawLine(r.bottomLeft(), r.bottomRight());
        p_.drawLine(r.topRight(), r.bottomRight());
    }

    // Column headers: the letters right-aligned in a field of four, centred;
    // or the header text.
    void header(i64 c) {
        const QRect r = rect_of(geo_.cell_rect(c, 0));
        if (r.isEmpty()) return;
        bevel(r);
        p_.setPen(text_color());
        QString text = to_qstring(g_.model_.column(c).cells[0].text);
        p_.setFont(g_.header_font_ == QFont() ? g_.font() : g_.header_font_);
        if (c > 0 && g_.column_letters) {
            text = to_qstring(grid_column_letters(c)).rightJustified(4, u' ');
            p_.setFont(QFont(QStringLiteral("monospace"), p_.font().pointSize()));
        }
        p_.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignCenter | Qt::TextWordWrap, text);
        p_.setFont(g_.font());
    }

    void cell(i64 c, i64 r) {
        const QRect rect = rect_of(geo_.cell_rect(c, r));
        if (rect.isEmpty()) return;
        const GridCell& cell = g_.model_.column(c).cells[static_cast<std::size_t>(r)];
        if (c == 0) {
            bevel(rect);
            p_.setPen(text_color());
            const QString text = g_.row_numbers ? QString::number(r) : to_qstring(cell.text);
            p_.drawText(rect.adjusted(3, 0, -3, 0),
                        (g_.row_numbers ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter | Qt::TextSingleLine,
                        text);
            return;
        }
        const bool current = (g_.hasFocus() || g_.isEditing()) && r == g_.cur_row_ && (c == g_.cur_col_ || g_.row_select_);
        const QPalette& pal = g_.palette();
        p_.fillRect(rect, current       ? or_role(g_.select_color_, QPalette::Highlight)
                          : cell.protect ? or_role(g_.protected_color_, QPalette::AlternateBase)
                                         : pal.color(QPalette::Base));
        p_.setPen(or_role(g_.grid_color_, QPalette::Mid));
        p_.drawRect(rect.adjusted(0, 0, -1, -1));
        p_.setPen(current ? or_role(g_.select_text_color_, QPalette::HighlightedText) : pal.color(QPalette::Text));
        const QRect text_rect = rect.adjusted(5, 1, -3, -1);
        const int align = cell.align == GRID_ALIGN_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
        if (g_.single_line) {
            const QString shown = p_.fontMetrics().elidedText(to_qstring(cell.text), Qt::ElideRight, text_rect.width());
            p_.drawText(text_rect, align | Qt::AlignVCenter | Qt::TextSingleLine, shown);
        } else {
            p_.drawText(text_rect, align | Qt::TextWordWrap, to_qstring(cell.text));
        }
    }

    GridWidget& g_;
    QPainter& p_;
    GridGeometry geo_;
};

void GridWidget::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.setFont(font());
    GridPainter(*this, p).paint();
}
