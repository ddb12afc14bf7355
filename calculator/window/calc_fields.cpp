// The formula field's keyboard and paste rules, the result field's copy.
#include "calculator/window/calc_fields.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <memory>

#include "app/ui_texts.h"
#include "calculator/calc_texts.h"
#include "calculator/formula_edit.h"
#include "numlib/mp_context.h"
#include "ui/form.h"
#include "ui/qt_text.h"

namespace {

// Far above the longest formula the calculator evaluates (that one is
// refused with a message), so a long paste arrives whole and is reported.
constexpr int FORMULA_FIELD_MAX = 1000000;

}  // namespace

FormulaField::FormulaField(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(FORMULA_FIELD_MAX);
    setProperty(UI_WANTS_ENTER, true);
}

void FormulaField::pasteClean(const QString& text) {
    const std::u16string clean = cleanPastedText(from_qstring(text), mp_group_chars);
    const qsizetype kept = this->text().size() - selectedText().size();
    if (kept + static_cast<qsizetype>(clean.size()) > maxLength()) {
        if (on_refused) on_refused(text);
        return;
    }
    insert(to_qstring(clean));
    emit textEdited(this->text());
}

void FormulaField::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        pasteClean(QApplication::clipboard()->text());
        return;
    }
    const bool plain = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (on_equals) on_equals();
            return;
        case Qt::Key_Escape:
            if (!text().isEmpty() && on_escape) {
                on_escape();
                return;
            }
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (plain && on_walk && on_walk(event->key() == Qt::Key_Up ? -1 : 1)) return;
            break;
        default:
            if (event->text() == QStringLiteral("=")) {
                if (on_equals) on_equals();
                return;
            }
    }
    QLineEdit::keyPressEvent(event);
}

void FormulaField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // Only the user's own moves count; the page's setFocus after a result does not.
    const Qt::FocusReason r = event->reason();
    const bool byUser = r == Qt::MouseFocusReason || r == Qt::TabFocusReason || r == Qt::BacktabFocusReason ||
                        r == Qt::ShortcutFocusReason;
    if (byUser && on_touched) on_touched();
}

void FormulaField::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (on_touched) on_touched();
}

void FormulaField::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] { pasteClean(QApplication::clipboard()->text()); });
    }
    menu->exec(event->globalPos());
}

void FormulaField::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText() || isReadOnly()) return;
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    pasteClean(event->mimeData()->text());
    event->acceptProposedAction();
}

ResultField::ResultField(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAnywhere);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void ResultField::setStale(bool stale) {
    QPalette p = palette();
    p.setColor(QPalette::Text,
               QApplication::palette().color(stale ? QPalette::Disabled : QPalette::Active, QPalette::Text));
    setPalette(p);
}

void ResultField::copyResult() {
    const QString text = copy_text ? copy_text() : toPlainText();
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void ResultField::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copyResult();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ResultField::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu;
    QAction* copy = menu.addAction(to_qstring(calcText(CalcText::Copy, ui_language)));
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(!toPlainText().isEmpty());
    connect(copy, &QAction::triggered, this, [this] { copyResult(); });
    menu.exec(event->globalPos());
}
