#include "ui/error_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "formula/error_message.h"
#include "ui/qt_text.h"

bool showErrorMessage(QWidget* owner) {
    const ErrorMessage message = takeErrorMessage();
    if (!message.shown) return false;
    QMessageBox box(QMessageBox::Critical, QString::fromUtf16(message.caption),
                    QString::fromUtf16(message.text), QMessageBox::Ok, owner);
    box.button(QMessageBox::Ok)->setText(ui_qtext(0));
    box.exec();
    return true;
}
