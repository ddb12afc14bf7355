// Modal runs of forms and the locking of the program's windows.
#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QWindow>

#include "ui/form.h"

namespace {

std::vector<Form*> modal_stack;

// Ends the modal loop when the form is hidden or destroyed.
class HideWatch : public QObject {
  public:
    explicit HideWatch(QEventLoop& loop) : loop_(loop) {}
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Destroy) loop_.quit();
        return false;
    }

  private:
    QEventLoop& loop_;
};

std::vector<QPointer<QWidget>> disable_others(QWidget* except) {
    std::vector<QPointer<QWidget>> disabled;
    for (QWidget* t : QApplication::topLevelWidgets()) {
        if (t == except || !t->isWindow() || !t->isEnabled()) continue;
        t->setEnabled(false);
        disabled.emplace_back(t);
    }
    return disabled;
}

}  // namespace

bool form_run_modal(Form* form, QWidget* owner) {
    QPointer<QWidget> focus(QApplication::focusWidget());
    QPointer<Form> self(form);
    // The owner keeps the form above it where the window manager honours that.
    if (owner != nullptr && form->windowHandle() == nullptr) form->winId();
    if (owner != nullptr && owner->window()->windowHandle() != nullptr)
        form->windowHandle()->setTransientParent(owner->window()->windowHandle());
    form->show();
    if (!form->isVisible()) return false;
    form->raise();
    form->activateWindow();
    auto disabled = disable_others(form);
    QEventLoop loop;
    HideWatch watch(loop);
    form->installEventFilter(&watch);
    modal_stack.push_back(form);
    loop.exec();
    modal_stack.pop_back();
    if (self) form->removeEventFilter(&watch);
    for (auto& t : disabled)
        if (t) t->setEnabled(true);
    if (focus) {
        focus->window()->activateWindow();
        focus->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

const std::vector<Form*>& form_modal_stack() { return modal_stack; }

void enable_thread_windows(QWidget* except, bool enable) {
    QWidget* keep = except != nullptr ? except->window() : nullptr;
    int count = 0;
    for (QWidget* t : QApplication::topLevelWidgets()) {
        if (!t->isWindow() || t == keep) continue;
        if (++count > 100) break;
        t->setEnabled(enable);
    }
}
