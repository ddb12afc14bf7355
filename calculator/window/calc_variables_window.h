// The "Calculator variables" window: the variable list of the calculator's
// state with name, base and value of the selected entry, and the buttons
// that add, insert, delete, fill from the result and hand a name over.
#pragma once

#include <functional>
#include <string>

#include "ui/form.h"

class CalcVariableList;
class NumberBaseControl;
class QListWidget;
class QLineEdit;
class QPlainTextEdit;

class VariablesForm : public Form {
  public:
    explicit VariablesForm(CalcVariableList& list);

    // The calculator's result text and the base it is written in ("Assign
    // result"), and the insertion of a name at its formula's caret.
    std::function<std::u16string()> result_text;
    std::function<unsigned()> result_base;
    std::function<void(const std::u16string&)> take_name;

    // Stores what the name and value fields hold but have not stored yet.
    void commit();
    int selected() const { return selected_; }

  private:
    void select(int index);
    void add(bool before);
    void remove();
    void commitName();
    void commitValue();
    void updateButtons();

    CalcVariableList& list_;
    int selected_ = -1;
    QListWidget* names_ = nullptr;
    QLineEdit* name_ = nullptr;
    NumberBaseControl* base_ = nullptr;
    QPlainTextEdit* value_ = nullptr;
    QWidget* take_ = nullptr;
    QWidget* insert_ = nullptr;
    QWidget* delete_ = nullptr;
    QWidget* assign_ = nullptr;
};
