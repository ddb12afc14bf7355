// The output box's added context-menu entries, its saving, and the status
// line's clock.
#include "ui/output_box.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QSaveFile>
#include <QTimer>
#include <string>

#include "formula/app_error.h"
#include "ui/error_box.h"
#include "ui/file_dialog.h"
#include "ui/qt_text.h"

OutputBox::OutputBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setAccessibleName(ui_lang(u"Output", u"Ausgabe"));
}

QMenu* OutputBox::createContextMenu() {
    QMenu* menu = createStandardContextMenu();
    menu->addSeparator();
    QAction* copy = menu->addAction(ui_lang(u"Copy all", u"Alles kopieren"), this, [this] { copyAll(); });
    QAction* save = menu->addAction(ui_lang(u"Save as…", u"Speichern unter…"), this, [this] { saveAs(); });
    const bool empty = document()->isEmpty();
    copy->setEnabled(!empty);
    save->setEnabled(!empty);
    return menu;
}

void OutputBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void OutputBox::copyAll() { QGuiApplication::clipboard()->setText(toPlainText()); }

void OutputBox::saveAs() {
    const QStringList filters = {ui_lang(u"Text files (*.txt)", u"Textdateien (*.txt)"),
                                 ui_qtext(87) + QStringLiteral(" (*)")};
    const QString path = file_dialog_ask(window(), FileAsk::Save, filters, &filter_index_, last_name_);
    if (path.isEmpty()) return;
    clearErrors();
    if (saveTo(path)) last_name_ = path;
    showErrorMessage(window());
}

bool OutputBox::saveTo(const QString& path) {
    QSaveFile file(path);
    const QByteArray bytes = toPlainText().toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) return true;
    file.cancelWriting();
    const std::u16string name = from_qstring(path);
    raiseAppError(APP_ERR_FILE_ACCESS, name.c_str(), nullptr);
    return false;
}

StatusLine::StatusLine(QWidget* parent) : QLabel(parent), timer_(new QTimer(this)) {
    show_text({});
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
    show_text(how_far.isEmpty() ? ui_lang(u"Running … ", u"Läuft … ") + time
                                : how_far + QStringLiteral("  –  ") + time);
}

void StatusLine::finish() {
    if (!clock_.isValid()) return;
    timer_->stop();
    progress_ = nullptr;
    show_text(ui_lang(u"Time: ", u"Zeit: ") + elapsedText(clock_.elapsed()));
    clock_.invalidate();
}

void StatusLine::reset() {
    timer_->stop();
    progress_ = nullptr;
    clock_.invalidate();
    show_text({});
}

// A reader hears the line's text; an empty line is still named.
void StatusLine::show_text(const QString& text) {
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
