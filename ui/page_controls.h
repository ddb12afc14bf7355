// Small pieces the tool pages share.
#pragma once

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
