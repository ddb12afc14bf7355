// The calculator's keypad widget: 72 keys in 8 rows of 9, each drawn with
// its label in the colour of its class and the font of its layout entry.
#pragma once

#include <QAbstractButton>
#include <array>
#include <functional>

#include "calculator/keypad.h"

// One key: a push button that draws its label itself, in one line.
class KeyButton : public QAbstractButton {
  public:
    explicit KeyButton(QWidget* parent);  // the keypad: its font sets the cell size
    void setKey(const CalcKey& key);  // label, colour class and font
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QSize cellSize() const;
    u32 labelClass_ = KEY_CLASS_NONE;
};

class KeypadWidget : public QWidget {
  public:
    explicit KeypadWidget(QWidget* parent);
    KeyButton* key(int index) const { return keys_[static_cast<std::size_t>(index)]; }
    // Lays out the keys of the number type and enables them by state;
    // language chooses the tooltips.
    void relabel(const KeypadState& state, i32 language);
    // The enabled state of every key by state, labels unchanged.
    void enableByState(const KeypadState& state);

    std::function<void(int index)> on_key;  // a click on the key at index

  private:
    std::array<KeyButton*, KEYPAD_KEYS> keys_{};
};
