#include "ui/error_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "app/error_message.h"
#include "app/error_texts.h"
#include "app/ui_texts.h"
#include "ui/qt_text.h"

namespace {

void show_box(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, owner);
    box.button(QMessageBox::Ok)->setText(ui_qtext(0));
    box.exec();
}

}  // namespace

bool showErrorMessage(QWidget* owner) {
    const ErrorMessage message = takeErrorMessage();
    if (!message.shown) return false;
    show_box(owner, QString::fromUtf16(message.caption), QString::fromUtf16(message.text));
    return true;
}

void showAppErrorMessage(QWidget* owner, unsigned code, const char16_t* text1) {
    char16_t text[ERROR_MESSAGE_MAX + 1];
    TextBuf buf = textbuf_on(text);
    ErrorState state;
    state.app_code = code;
    state.text1 = text1;
    if (!formatErrorMessage(buf, state, messageLanguage())) return;
    show_box(owner, ui_qtext(UI_TEXT_ERROR_CAPTION), QString::fromUtf16(text));
}
