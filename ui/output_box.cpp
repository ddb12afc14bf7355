// The output box's gathered appends and display breaks, its added
// context-menu entries and its saving, and the status line's clock.
#include "ui/output_box.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QSaveFile>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <string>

#include "app/app_error.h"
#include "ui/error_box.h"
#include "ui/file_dialog.h"
#include "ui/qt_text.h"

namespace {

// A shown line is broken at the first blank after this many characters: a
// listing of a hundred thousand primes is one line of text, and one block
// of that size makes every append and every scroll lay it out anew.
constexpr qsizetype SOFT_LINE = 2000;
// Gathered pieces are shown at this interval (milliseconds).
constexpr int FLUSH_MS = 50;

}  // namespace

OutputBox::OutputBox(QWidget* parent) : QPlainTextEdit(parent), flush_timer_(new QTimer(this)) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    setAccessibleName(ui_lang(u"Output", u"Ausgabe"));
    flush_timer_->setSingleShot(true);
    flush_timer_->setInterval(FLUSH_MS);
    QObject::connect(flush_timer_, &QTimer::timeout, this, [this] { flush(); });
}

bool OutputBox::appendText(const QString& text) {
    if (full_) return false;
    QString piece = text;
    piece.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text_.size() + piece.size() > CAPACITY) {
        piece.truncate(std::max<qsizetype>(0, CAPACITY - text_.size() - 1));
        piece += QChar(0x2026);
        full_ = true;
    }
    text_ += piece;
    if (!flush_timer_->isActive()) flush_timer_->start();
    return !full_;
}

void OutputBox::flush() {
    flush_timer_->stop();
    if (shown_ == text_.size()) return;
    // A soft break replaces a blank, so the view's positions stay those of
    // the text.
    QString piece = text_.mid(shown_);
    for (QChar& c : piece) {
        if (c == u'\n') {
            line_run_ = 0;
        } else if (c == u' ' && line_run_ >= SOFT_LINE) {
            c = u'\n';
            line_run_ = 0;
        } else {
            ++line_run_;
        }
    }
    shown_ = text_.size();
    // Follow the end only when the user has not scrolled away from it.
    QScrollBar* bar = verticalScrollBar();
    const bool at_end = bar->value() >= bar->maximum();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(piece);
    if (at_end) bar->setValue(bar->maximum());
}

void OutputBox::clear() {
    flush_timer_->stop();
    text_.clear();
    shown_ = 0;
    line_run_ = 0;
    full_ = false;
    QPlainTextEdit::clear();
}

QMimeData* OutputBox::createMimeDataFromSelection() const {
    const QTextCursor c = textCursor();
    auto* mime = new QMimeData;
    mime->setText(text_.mid(c.selectionStart(), c.selectionEnd() - c.selectionStart()));
    return mime;
}

QMenu* OutputBox::createContextMenu() {
    QMenu* menu = createStandardContextMenu();
    menu->addSeparator();
    QAction* copy = menu->addAction(ui_lang(u"Copy all", u"Alles kopieren"), this, [this] { copyAll(); });
    QAction* save = menu->addAction(ui_lang(u"Save as…", u"Speichern unter…"), this, [this] { saveAs(); });
    copy->setEnabled(!text_.isEmpty());
    save->setEnabled(!text_.isEmpty());
    return menu;
}

void OutputBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void OutputBox::copyAll() { QGuiApplication::clipboard()->setText(text_); }

void OutputBox::saveAs() {
    const QStringList filters = {ui_lang(u"Text files (*.txt)", u"Textdateien (*.txt)"),
                                 ui_qtext(87) + QStringLiteral(" (*)")};
    const QString path = file_dialog_ask(window(), FileAsk::Save, filters, &filter_index_, last_name_);
    if (path.isEmpty()) return;
    if (saveTo(path))
        last_name_ = path;
    else
        showAppErrorMessage(window(), APP_ERR_FILE_ACCESS, from_qstring(path).c_str());
}

bool OutputBox::saveTo(const QString& path) const {
    QSaveFile file(path);
    const QByteArray bytes = text_.toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
    file.cancelWriting();
    return false;
}

StatusLine::StatusLine(QWidget* parent) : QLabel(parent), timer_(new QTimer(this)) {
    show_text({}, {});
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    timer_->setInterval(100);
    QObject::connect(timer_, &QTimer::timeout, this, [this] { refresh(); });
}

void StatusLine::start(std::function<QString()> progress) {
    progress_ = std::move(progress);
    clock_.start();
    timer_->start();
    refresh();
}

void StatusLine::refresh() {
    const QString how_far = progress_ ? progress_() : QString();
    const QString time = elapsedText(clock_.elapsed());
    show_text(how_far, how_far.isEmpty() ? ui_lang(u"Running … ", u"Läuft … ") + time : time);
}

void StatusLine::finish(bool stopped) {
    if (!clock_.isValid()) return;
    timer_->stop();
    const QString how_far = progress_ ? progress_() : QString();
    progress_ = nullptr;
    const QString time = elapsedText(clock_.elapsed());
    show_text(how_far, stopped ? ui_lang(u"Stopped after ", u"Gestoppt nach ") + time
                               : ui_lang(u"Time: ", u"Zeit: ") + time);
    clock_.invalidate();
}

void StatusLine::reset() {
    timer_->stop();
    progress_ = nullptr;
    clock_.invalidate();
    show_text({}, {});
}

// A reader hears the line's text; an empty line is still named.
void StatusLine::show_text(const QString& how_far, const QString& time) {
    const QString text = how_far.isEmpty() ? time : how_far + QStringLiteral("  –  ") + time;
    setText(text);
    setAccessibleName(text.isEmpty() ? ui_lang(u"Status", u"Status") : text);
}

QString StatusLine::elapsedText(qint64 ms) {
    const QChar mark = ui_lang(u".", u",").front();
    if (ms < 60000) return QString::number(static_cast<double>(ms) / 1000.0, 'f', 2).replace(u'.', mark) + " s";
    const qint64 minutes = ms / 60000;
    const QString seconds = QStringLiteral("%1").arg(static_cast<double>(ms % 60000) / 1000.0, 4, 'f', 1, u'0');
    return QStringLiteral("%1 min %2 s").arg(minutes).arg(QString(seconds).replace(u'.', mark));
}
