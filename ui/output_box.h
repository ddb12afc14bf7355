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
class OutputBox : public QPlainTextEdit {
  public:
    explicit OutputBox(QWidget* parent);

    // The context menu with the added entries (the caller owns it).
    QMenu* createContextMenu();
    // The whole text to the clipboard.
    void copyAll();
    // Asks for a file name and saves the text there; any failure is shown.
    void saveAs();
    // Writes the whole text to path, replacing the file only when all of it
    // was written. False with error 1006 (the path) pending.
    bool saveTo(const QString& path);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    int filter_index_ = 0;
    QString last_name_;
};

// One line of text under an output box. While a run goes on it shows how
// far it is, asked of the page at most ten times a second, and the time
// elapsed; when the run ends it shows the time the run took.
class StatusLine : public QLabel {
  public:
    explicit StatusLine(QWidget* parent);

    // Starts the clock. progress (may be empty) gives the text of how far
    // the run is; it runs on the user-interface thread, so it may read
    // only what the worker publishes safely (atomics).
    void start(std::function<QString()> progress);
    // Stops the clock and shows the elapsed time.
    void finish();
    // Empties the line (a new input makes an old time meaningless).
    void reset();
    // "12.34 s", "3 min 05.2 s" in the active language's decimal mark.
    static QString elapsedText(qint64 ms);

  private:
    void refresh();
    void show_text(const QString& text);

    std::function<QString()> progress_;
    QElapsedTimer clock_;
    QTimer* timer_;
};
