// The output box of the pages: a read-only text that grows piece by piece
// while a worker runs, with "Copy all" and "Save as…" in its context menu
// and a status line under it.
//
// Long output stays quick to show and to scroll: pieces are gathered and
// shown together a few times a second, and a line that grows very long is
// shown broken at a blank (the text itself keeps the blank: copying and
// saving give the text as it was appended).
#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QTimer;
class OutputView;

class OutputBox : public QWidget {
  public:
    // Characters the box holds at most (about 128 MB of text).
    static constexpr qsizetype CAPACITY = qsizetype{1} << 26;

    explicit OutputBox(QWidget* parent);

    // Appends text (CR LF line ends become LF). Returns false, keeping what
    // fits and ending it in "…", when the box would grow past CAPACITY;
    // nothing is appended after that until clear().
    bool appendText(const QString& text);
    void clear();
    // Everything appended, also what is not shown yet.
    QString text() const { return text_; }
    // Shows at once what was appended.
    void flush();

    void setStatus(const QString& status);
    QString status() const;

    // Writes the text to path as UTF-8; false when it cannot be written.
    // ("Save as…" asks for the path and names a failure in a message box.)
    bool saveTo(const QString& path) const;

    QPlainTextEdit* edit() const;
    QLabel* statusLine() const { return status_; }

  private:
    void copyAll();
    void saveAs();
    void showMenu(const QPoint& at);

    OutputView* view_;
    QLabel* status_;
    QTimer* flush_timer_;
    QString text_;
    qsizetype shown_ = 0;     // characters of text_ in the view
    qsizetype line_run_ = 0;  // characters since the last line break shown
    bool full_ = false;
};
