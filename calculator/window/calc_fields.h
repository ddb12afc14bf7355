// The calculator page's two text fields: the formula field, which takes the
// keyboard the way the keypad works (Enter and "=" evaluate, Escape clears,
// Up and Down walk the history, pasted numbers lose their grouping), and the
// read-only result field, whose copy is the whole result without grouping.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

class FormulaField : public QLineEdit {
  public:
    explicit FormulaField(QWidget* parent);

    std::function<void()> on_equals;             // Enter, or "=" typed
    std::function<void()> on_escape;             // Escape on a non-empty field
    std::function<bool(int step)> on_walk;       // Up (-1), Down (+1); true when used
    std::function<void()> on_touched;            // focused or clicked by the user
    std::function<void(const QString&)> on_refused;  // a paste too long for the field

    // Pastes text at the caret as typed input, without its digit grouping.
    void pasteClean(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

class ResultField : public QPlainTextEdit {
  public:
    explicit ResultField(QWidget* parent);
    void setStale(bool stale);  // grey text while the result is out of date

    std::function<QString()> copy_text;  // the text "Copy" puts on the clipboard
    void copyResult();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};
