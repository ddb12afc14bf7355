// The four small composite controls of the pages: a digit counter beside a
// number input, a choice of number base, a choice of number type and an
// up-down field for small integer settings. Each reports a change through
// a callback the page installs (empty: none).
#pragma once

#include <QWidget>
#include <functional>
#include <string_view>

class QComboBox;
class QLabel;
class QSpinBox;

// The characters a digit counter counts in text: 0-9, A-Z and a-z.
int digit_count_of(std::u16string_view text);

// A label ("Digits") and a sunken, right-aligned count.
class DigitCountControl : public QWidget {
  public:
    enum Style { OneLine = 0, TwoLines = 1 };
    DigitCountControl(QWidget* parent, int style);
    void setLabel(const QString& text);
    void setCount(int count);  // shown as "%d "
    QString countText() const;

  private:
    QLabel* label_;
    QLabel* count_;
};

// A label and a drop-down list of number bases. on_change receives the base
// the user chose, also when it was already selected.
class NumberBaseControl : public QWidget {
  public:
    // Style bits: TwoLineLabel for captions such as "Input\r\nBase",
    // Base2 and Base8 to offer those bases besides 10 and 16, LabelAbove to
    // put the label above the list instead of beside it.
    enum Style { TwoLineLabel = 1, Base2 = 2, Base8 = 4, LabelAbove = 8 };
    NumberBaseControl(QWidget* parent, int style);
    void setLabel(const QString& text);
    void select(int base);  // a negative base clears the selection
    int base() const;       // 0 when nothing is selected
    QComboBox* combo() const { return combo_; }

    std::function<void(int base)> on_change;

  private:
    QLabel* label_;
    QComboBox* combo_;
};

// A drop-down list of number types; each item carries its type code.
class NumberTypeControl : public QWidget {
  public:
    enum Style { Rational = 1, Real = 2, Complex = 4 };
    explicit NumberTypeControl(QWidget* parent, int style = Rational | Real | Complex);
    int type() const;  // number_type_get: the selected code, 0 for none
    void select(int type);
    void selectReal() { select(1); }
    QComboBox* combo() const { return combo_; }

    std::function<void(int type)> on_change;

  private:
    QComboBox* combo_;
};

// An edit with up and down arrows for an integer in a range (0..100 at
// first). Enter, leaving the field and the arrows commit the value; a
// commit reports it through on_change when it differs from the last value
// reported. Enter stays in the field (it does not click the default button).
class NumericUpDownControl : public QWidget {
  public:
    explicit NumericUpDownControl(QWidget* parent);
    void setMin(int min);
    void setMax(int max);
    void setValue(int value);  // no report; the value counts as reported
    int value() const;
    // Takes the field's value: with show_text the edit shows it, with notify
    // a change is reported. Returns the previous last value.
    int commit(bool show_text, bool notify);
    QSpinBox* spin() const { return spin_; }

    std::function<void(int value)> on_change;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    QSpinBox* spin_;
    int last_ = 0;
};
