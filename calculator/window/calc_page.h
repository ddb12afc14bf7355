// The calculator page: formula and result fields, the "[ ]" indicator and
// digit count, the history, the setting controls and the keypad over one
// CalcState of the core. Evaluations run through job_start: after 100 ms
// the first key reads "Stop" and the other keys are disabled, and after a
// Stop a further 200 ms pass before keys are taken again.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "calculator/calc_history.h"
#include "ui/form.h"

struct CalcState;
class DigitCountControl;
class FormulaField;
class KeypadWidget;
class NumberBaseControl;
class NumericUpDownControl;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;
class ResultField;
class VariablesForm;

class CalcPage : public Form {
  public:
    CalcPage();
    ~CalcPage() override;

    CalcState& state() { return *s_; }
    VariablesForm* variables() const { return variables_; }
    // Hands the variables to the settings when they changed.
    void beforeSave();
    // A click on the key at index (the keypad's handler).
    void onKey(int index);
    bool busy() const;

    // The controls a test or a neighbour window drives.
    FormulaField* formulaField() const { return formula_; }
    ResultField* resultField() const { return result_; }
    QListWidget* historyList() const { return historyList_; }
    KeypadWidget* keypad() const { return keypad_; }
    NumberBaseControl* inputBaseControl() const { return inputBase_; }
    NumericUpDownControl* digitsControl() const { return digits_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void buildSettings(QWidget* box);
    void buildHistory(QWidget* box);
    void relabel();
    void syncControls();
    void showResult();
    void setStale(bool stale);
    void formulaToState();
    void stateToFormula();
    void insertText(const std::u16string& text);
    void clearAll();
    void showVariables();
    void showError();

    // Evaluation (calc_page_eval.cpp).
    void equals();
    void showStop();
    void finished();

    // History (calc_page_history.cpp).
    void historyAdd();
    void historyRefill();
    void historySave();
    void historyClicked(QListWidgetItem* item);
    void historyDoubleClicked(QListWidgetItem* item);
    bool historyWalk(int step);
    void historyShow(bool shown);

    std::shared_ptr<CalcState> s_;  // shared with a running job
    CalcHistory history_;
    std::string historyPath_;
    VariablesForm* variables_ = nullptr;

    FormulaField* formula_ = nullptr;
    ResultField* result_ = nullptr;
    QLabel* inexact_ = nullptr;
    DigitCountControl* digitCount_ = nullptr;
    QCheckBox* showHistory_ = nullptr;
    QPushButton* copyHistory_ = nullptr;
    QListWidget* historyList_ = nullptr;
    QComboBox* type_ = nullptr;
    NumericUpDownControl* digits_ = nullptr;
    NumberBaseControl* inputBase_ = nullptr;
    NumberBaseControl* outputBase_ = nullptr;
    QComboBox* angle_ = nullptr;
    QWidget* settings_ = nullptr;
    KeypadWidget* keypad_ = nullptr;

    QTimer* stopTimer_ = nullptr;   // 100 ms: the first key becomes "Stop"
    QTimer* guardTimer_ = nullptr;  // 200 ms after a Stop: clicks are ignored
    bool stopShown_ = false;
    QString savedLabel_;
    std::vector<bool> enabledKeys_;

    // Walking the history with Up and Down: the entry shown (-1: none)
    // and the text it put into the formula field.
    int walk_ = -1;
    QString walkText_;
    QString lastEvaluated_;
    // A single click on an entry put its formula in; a double click takes
    // that back before it inserts the result.
    QString beforeClick_;
    int beforeClickCaret_ = 0;
};
