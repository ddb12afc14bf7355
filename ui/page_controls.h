// Small pieces the tool pages share.
#pragma once

#include <QString>

class GridWidget;
class QLabel;
class QWidget;
class NumericUpDownControl;

struct LabelledUpDown {
    QLabel* label;
    NumericUpDownControl* field;  // named by the label's text
};

// A label with the text of slot `slot` and an up-down field for min..max
// starting at value; the caller lays them out.
LabelledUpDown labelled_up_down(QWidget* parent, int slot, int min, int max, int value);

// The hint above a page's grid: wrapped text.
QLabel* page_hint(QWidget* parent, const QString& text = {});

// The grid a page enters its coefficients into, named "Coefficients": row
// headers as the page names them (as wide as widest_header), column headers
// without letters, columns of their own width.
GridWidget* coefficient_grid(QWidget* parent, const QString& widest_header);
