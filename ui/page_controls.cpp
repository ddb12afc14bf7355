#include "ui/page_controls.h"

#include <QLabel>
#include <QSpinBox>

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
