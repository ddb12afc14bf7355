// The form window, its default button and its closing.
#include "ui/form.h"

#include <QCloseEvent>
#include <QScreen>
#include <QPushButton>

#include "ui/form_keys.h"

Form::Form(const QString& caption, int width, int height) {
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(ui_scaled(this, width), ui_scaled(this, height));
    form_keys_install();
}

void Form::setDefaultButton(QPushButton* button) {
    if (default_button_ != nullptr && default_button_ != button) default_button_->setDefault(false);
    default_button_ = button;
    if (button != nullptr) button->setDefault(true);
}

void Form::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (on_close) on_close();
    hide();
}

// Every form opens centred on the screen; later showings keep where the
// user put it.
void Form::showEvent(QShowEvent* event) {
    if (!placed_ && screen() != nullptr) {
        placed_ = true;
        const QRect area = screen()->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    QWidget::showEvent(event);
}

int ui_scaled(const QWidget* w, int px) {
    const int line = w->fontMetrics().height();
    return (px * line + 8) / 16;
}
