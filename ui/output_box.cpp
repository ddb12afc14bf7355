#include "ui/output_box.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "app/ui_texts.h"
#include "formula/app_error.h"
#include "formula/error_texts.h"
#include "ui/error_box.h"
#include "ui/form.h"
#include "ui/qt_text.h"

namespace {

// A shown line is broken at the first blank after this many characters: a
// listing of a hundred thousand primes is one line of text, and one block
// of that size makes every append and every scroll lay it out anew.
constexpr qsizetype SOFT_LINE = 2000;
// Gathered pieces are shown at this interval (milliseconds).
constexpr int FLUSH_MS = 50;

bool german() { return ui_language == LANGUAGE_GERMAN; }

}  // namespace

// The view keeps its positions equal to those of the box's text (a soft
// break replaces a blank), so a copied selection is taken from the text.
class OutputView : public QPlainTextEdit {
  public:
    OutputView(QWidget* parent, const OutputBox* box) : QPlainTextEdit(parent), box_(box) {}

  protected:
    QMimeData* createMimeDataFromSelection() const override {
        const QTextCursor c = textCursor();
        auto* data = new QMimeData;
        data->setText(box_->text().mid(c.selectionStart(), c.selectionEnd() - c.selectionStart()));
        return data;
    }

  private:
    const OutputBox* box_;
};

OutputBox::OutputBox(QWidget* parent)
    : QWidget(parent), view_(new OutputView(this, this)), status_(new QLabel(this)), flush_timer_(new QTimer(this)) {
    view_->setReadOnly(true);
    view_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view_->setUndoRedoEnabled(false);
    view_->setAccessibleName(german() ? QStringLiteral("Ausgabe") : QStringLiteral("Output"));
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &OutputBox::showMenu);
    status_->setAccessibleName(german() ? QStringLiteral("Status") : QStringLiteral("Status"));
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(ui_scaled(this, 2));
    layout->addWidget(view_, 1);
    layout->addWidget(status_);
    setFocusProxy(view_);
    flush_timer_->setSingleShot(true);
    flush_timer_->setInterval(FLUSH_MS);
    connect(flush_timer_, &QTimer::timeout, this, &OutputBox::flush);
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
    QScrollBar* bar = view_->verticalScrollBar();
    const bool at_end = bar->value() >= bar->maximum();
    QTextCursor cursor(view_->document());
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
    view_->clear();
}

void OutputBox::setStatus(const QString& status) { status_->setText(status); }

QString OutputBox::status() const { return status_->text(); }

QPlainTextEdit* OutputBox::edit() const { return view_; }

bool OutputBox::saveTo(const QString& path) const {
    QFile file(path);
    const QByteArray bytes = text_.toUtf8();
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() &&
           file.flush();
}

void OutputBox::copyAll() { QGuiApplication::clipboard()->setText(text_); }

void OutputBox::saveAs() {
    const QString caption = ui_plain(ui_qtext(82));
    const QString path = QFileDialog::getSaveFileName(this, caption, QString(),
                                                      (german() ? QStringLiteral("Textdateien") : QStringLiteral("Text files")) +
                                                          QStringLiteral(" (*.txt);;") + ui_qtext(87) +
                                                          QStringLiteral(" (*)"));
    if (!path.isEmpty() && !saveTo(path))
        showAppErrorMessage(window(), APP_ERR_FILE_ACCESS, from_qstring(path).c_str());
}

void OutputBox::showMenu(const QPoint& at) {
    std::unique_ptr<QMenu> menu(view_->createStandardContextMenu(at));
    menu->addSeparator();
    QAction* copy = menu->addAction(german() ? QStringLiteral("Alles kopieren") : QStringLiteral("Copy all"));
    QAction* save =
        menu->addAction(german() ? QStringLiteral("Speichern unter\u2026") : QStringLiteral("Save as\u2026"));
    copy->setEnabled(!text_.isEmpty());
    connect(copy, &QAction::triggered, this, &OutputBox::copyAll);
    connect(save, &QAction::triggered, this, &OutputBox::saveAs);
    menu->exec(view_->viewport()->mapToGlobal(at));
}
