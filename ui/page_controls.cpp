#include "ui/page_controls.h"

#include <QLabel>
#include <QSpinBox>

#include "ui/grid_widget.h"
#include "ui/number_controls.h"
#include "ui/qt_text.h"

LabelledUpDown labelled_up_down(QWidget* parent, int slot, int min, int max, int value) {
    auto* label = new QLabel(ui_qtext(slot), parent);
    auto* field = new NumericUpDownControl(parent);
    field->setMin(min);
    field->setMax(max);
    field->setValue(value);
    // The field and its spin box both carry the name: the focus may be
    // reported on either.
    field->setAccessibleName(ui_plain(ui_qtext(slot)));
    field->spin()->setAccessibleName(ui_plain(ui_qtext(slot)));
    label->setBuddy(field->spin());
    return {label, field};
}

QLabel* page_hint(QWidget* parent, const QString& text) {
    auto* hint = new QLabel(text, parent);
    hint->setWordWrap(true);
    return hint;
}

GridWidget* coefficient_grid(QWidget* parent, const QString& widest_header) {
    auto* grid = new GridWidget(parent);
    grid->setAccessibleName(ui_lang(u"Coefficients", u"Koeffizienten"));
    grid->setColumnLetters(false);
    grid->setRowNumbers(false);
    grid->setExtendLastColumn(false);
    grid->setRowHeaderWidth(grid->fontMetrics().horizontalAdvance(widest_header) + 12);
    return grid;
}
