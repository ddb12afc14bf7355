#include "ui/window_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>

#include "textbuf/textbuf.h"
#include "ui/qt_text.h"

namespace {

QString text_of(const QWidget* c) {
    if (auto* e = qobject_cast<const QLineEdit*>(c)) return e->text();
    if (auto* e = qobject_cast<const QPlainTextEdit*>(c)) return e->toPlainText();
    if (auto* e = qobject_cast<const QTextEdit*>(c)) return e->toPlainText();
    if (auto* e = qobject_cast<const QComboBox*>(c)) return e->currentText();
    if (auto* e = qobject_cast<const QLabel*>(c)) return e->text();
    if (auto* e = qobject_cast<const QAbstractButton*>(c)) return e->text();
    return {};
}

}  // namespace

std::int64_t window_text_get(const QWidget* control, char16_t* buffer, std::int64_t capacity) {
    if (buffer == nullptr || capacity < 0) return 0;
    const QString text = control != nullptr ? text_of(control) : QString();
    std::int64_t n = std::min<std::int64_t>(text.size(), capacity);
    std::copy_n(reinterpret_cast<const char16_t*>(text.utf16()), n, buffer);
    if (text.size() > capacity) n = text_mark_cut(buffer, n);
    buffer[n] = 0;
    return n;
}

void edit_append(QWidget* edit, std::u16string_view text) {
    if (auto* e = qobject_cast<QPlainTextEdit*>(edit)) {
        QTextCursor cursor(e->document());
        cursor.movePosition(QTextCursor::End);
        // The cores end their lines with CR LF; the document keeps plain line feeds.
        cursor.insertText(to_qstring(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        e->setTextCursor(cursor);
    } else if (auto* l = qobject_cast<QLineEdit*>(edit)) {
        const qsizetype room = std::max<qsizetype>(0, l->maxLength() - l->text().size());
        l->setText(l->text() + to_qstring(text).left(room));
    }
}
