// The output box every page writes its results into, and the status line
// under it that shows how far a long run is.
#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <functional>

class QMenu;
class QTimer;

// A read-only multi-line text with both scroll bars, named "Output"
// ("Ausgabe"). Its context menu adds "Copy all" and "Save as…" to the
// usual entries; the saved file is the text in UTF-8 with line feeds.
//
// Long output stays quick to show and to scroll: appended pieces are
// gathered and shown together a few times a second, and a line that grows
// very long is shown broken at a blank. The text itself keeps the blank:
// text(), a copied selection, "Copy all" and saving give the text as it
// was appended.
class OutputBox : public QPlainTextEdit {
  public:
    // Characters the box holds at most (about 128 MB of text).
    static constexpr qsizetype CAPACITY = qsizetype{1} << 26;

    explicit OutputBox(QWidget* parent);

    // Appends text (CR LF line ends become LF), shown within 50 ms. Returns
    // false, keeping what fits and ending it in "…", when the box would
    // grow past CAPACITY; nothing is appended after that until clear().
    bool appendText(const QString& text);
    // Shows at once what was appended.
    void flush();
    // Empties the text and the view.
    void clear();
    // Everything appended, also what is not shown yet.
    const QString& text() const { return text_; }

    // The context menu with the added entries (the caller owns it).
    QMenu* createContextMenu();
    // The whole text to the clipboard.
    void copyAll();
    // Asks for a file name and saves the text there; a failure is shown
    // without touching the pending error (a run may be going on).
    void saveAs();
    // Writes the whole text to path, replacing the file only when all of it
    // was written. False when it cannot be written.
    bool saveTo(const QString& path) const;

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // A copied selection is taken from the text, not from the view's breaks.
    QMimeData* createMimeDataFromSelection() const override;

  private:
    QTimer* flush_timer_;
    QString text_;
    qsizetype shown_ = 0;     // characters of text_ in the view
    qsizetype line_run_ = 0;  // characters since the last line break shown
    bool full_ = false;
    int filter_index_ = 0;
    QString last_name_;
};

// One line of text under an output box. While a run goes on it shows how
// far it is, asked of the page at most ten times a second, and the time
// elapsed; when the run ends it shows how far it came and the time taken.
class StatusLine : public QLabel {
  public:
    explicit StatusLine(QWidget* parent);

    // Starts the clock. progress (may be empty) gives the text of how far
    // the run is; it runs on the user-interface thread, so it may read
    // only what the worker publishes safely (atomics).
    void start(std::function<QString()> progress);
    // Stops the clock and shows the elapsed time, as a stop when stopped.
    void finish(bool stopped = false);
    // Empties the line (a new input makes an old time meaningless).
    void reset();
    // "12.34 s", "3 min 05.2 s" in the active language's decimal mark.
    static QString elapsedText(qint64 ms);

  private:
    void refresh();
    void show_text(const QString& how_far, const QString& time);

    std::function<QString()> progress_;
    QElapsedTimer clock_;
    QTimer* timer_;
};
