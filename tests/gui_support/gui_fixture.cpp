#include "gui_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>

#include "app/app_error.h"
#include "app/settings_path.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "ui/form.h"

namespace {

QWidget* current_modal() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    const auto& stack = form_modal_stack();
    return stack.empty() ? nullptr : stack.back();
}

}  // namespace

void GuiTest::SetUp() {
    folder_ = new QTemporaryDir;
    settings_path_forget();
    settings_path_set_folder(folder_->path().toStdString());
    // Files the program keeps in its data folder (the history) stay in the test folder too.
    setenv("XDG_DATA_HOME", folder_->path().toLocal8Bit().constData(), 1);
    settings_reset();
    clearErrors();
    ui_language_select(SETTINGS_LANGUAGE_ENGLISH);
    watchdog_ = new QTimer;
    QObject::connect(watchdog_, &QTimer::timeout, [this] { watch(); });
    watchdog_->start(10);
}

void GuiTest::TearDown() {
    delete watchdog_;
    EXPECT_TRUE(expected_.empty())
        << expected_.size() << " announced modal window(s) never appeared";
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    delete folder_;
}

void GuiTest::expectModal(std::function<void(QWidget*)> handler) {
    expected_.push_back(std::move(handler));
}

std::string GuiTest::settingsFolder() const {
    return folder_->path().toStdString();
}

void GuiTest::spin(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void GuiTest::watch() {
    QWidget* modal = current_modal();
    if (modal == nullptr || !modal->isVisible()) {
        handled_ = nullptr;
        return;
    }
    if (modal == handled_) return;
    handled_ = modal;
    if (expected_.empty()) {
        ADD_FAILURE() << "unexpected modal window: " << modal->windowTitle().toStdString();
        closeModal(modal);
    } else {
        auto handler = std::move(expected_.front());
        expected_.pop_front();
        handler(modal);
    }
    // A closed box is done with: the next one may be built at its address.
    if (!modal->isVisible()) handled_ = nullptr;
}

void closeModal(QWidget* modal, const QString& button) {
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        QAbstractButton* target = box->defaultButton();
        for (QAbstractButton* b : box->buttons())
            if (!button.isEmpty() && b->text() == button) target = b;
        if (target != nullptr)
            target->click();
        else
            box->close();
        return;
    }
    modal->hide();
}
