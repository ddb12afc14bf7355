// Tab with wrap-around, arrow keys in radio groups, Enter for the default
// button, and the default button shown on the focused push button.
#include "ui/form_keys.h"

#include <QApplication>
#include <algorithm>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include "ui/form.h"

namespace {

Form* form_of(QWidget* w) { return w == nullptr ? nullptr : dynamic_cast<Form*>(w->window()); }

bool is_tab_stop(QWidget* c, Form* f) {
    return c != f && c->window() == f && (c->focusPolicy() & Qt::TabFocus) != 0 && c->isEnabled() &&
           c->isVisibleTo(f) && c->focusProxy() == nullptr;
}

// From a radio button the walk starts at the end of its group, so that the
// whole group is one stop.
QWidget* walk_start(QWidget* w, bool backward) {
    auto* r = qobject_cast<QRadioButton*>(w);
    if (r == nullptr) return w;
    const auto group = radio_group_of(r);
    return backward ? group.front() : group.back();
}

void tab_step(Form* f, QWidget* from, bool backward) {
    QWidget* w = walk_start(from, backward);
    // The focus chain is circular, so the walk wraps round the form.
    for (int guard = 0; guard < 100000; ++guard) {
        w = backward ? w->previousInFocusChain() : w->nextInFocusChain();
        if (w == nullptr) return;
        if (is_tab_stop(w, f)) break;
        if (w == from) return;
    }
    control_focus(w);
}

void radio_step(QRadioButton* r, bool forward) {
    const auto group = radio_group_of(r);
    auto it = std::find(group.begin(), group.end(), r);
    while (true) {
        if (forward ? it + 1 == group.end() : it == group.begin()) return;  // stop at the ends
        it += forward ? 1 : -1;
        if ((*it)->isVisible() && (*it)->isEnabled()) break;
    }
    (*it)->click();
    (*it)->setFocus(Qt::TabFocusReason);
}

bool wants_enter(QWidget* w, Form* f) {
    const QVariant own = w->property(UI_WANTS_ENTER);
    if (own.isValid()) return own.toBool();
    if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return !e->isReadOnly();
    if (auto* e = qobject_cast<QTextEdit*>(w)) return !e->isReadOnly();
    for (QWidget* p = w; p != nullptr && p != f; p = p->parentWidget())
        if (p->property(UI_WANTS_ENTER).toBool()) return true;
    return false;
}

void press_enter(QWidget* w, Form* f) {
    if (auto* b = qobject_cast<QPushButton*>(w)) {
        b->click();
        return;
    }
    QPushButton* d = f->defaultButton();
    if (d == nullptr || !d->isEnabled() || !d->isVisibleTo(f)) return;
    QPointer<QWidget> self(w);
    d->click();
    // The click may have moved the focus into another window; then it stays there.
    QWidget* now = QApplication::focusWidget();
    if (self && (now == nullptr || now->window() == f)) self->setFocus(Qt::OtherFocusReason);
}

// Returns true when the key was used.
bool key_press(QWidget* w, QKeyEvent* e) {
    Form* f = form_of(w);
    if (f == nullptr || w != QApplication::focusWidget()) return false;
    const bool ctrl = (e->modifiers() & Qt::ControlModifier) != 0;
    switch (e->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (ctrl) return false;
            tab_step(f, w, e->key() == Qt::Key_Backtab || (e->modifiers() & Qt::ShiftModifier));
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (ctrl || wants_enter(w, f)) return false;
            press_enter(w, f);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down: {
            auto* r = qobject_cast<QRadioButton*>(w);
            if (r == nullptr) return false;
            radio_step(r, e->key() == Qt::Key_Right || e->key() == Qt::Key_Down);
            return true;
        }
        default:
            return false;
    }
}

// A focused push button shows as the default; elsewhere the form's own
// default button does.
void focus_in(QWidget* w) {
    Form* f = form_of(w);
    if (f == nullptr) return;
    auto* focused = qobject_cast<QPushButton*>(w);
    for (QPushButton* b : f->findChildren<QPushButton*>())
        if (b->isDefault() && b != focused) b->setDefault(false);
    if (focused != nullptr)
        focused->setDefault(true);
    else if (f->defaultButton() != nullptr)
        f->defaultButton()->setDefault(true);
}

class FormKeyFilter : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* event) override {
        if (!obj->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(obj);
        if (event->type() == QEvent::KeyPress) return key_press(w, static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::FocusIn) focus_in(w);
        return false;
    }
};

}  // namespace

void form_keys_install() {
    static FormKeyFilter* filter = nullptr;
    if (filter != nullptr || qApp == nullptr) return;
    filter = new FormKeyFilter(qApp);
    qApp->installEventFilter(filter);
}

std::vector<QRadioButton*> radio_group_of(QRadioButton* r) {
    std::vector<QRadioButton*> run;
    QObject* parent = r->parent();
    if (parent == nullptr) return {r};
    bool found = false;
    for (QObject* o : parent->children()) {
        if (!o->isWidgetType()) continue;  // layouts and button groups are not siblings
        auto* rb = qobject_cast<QRadioButton*>(o);
        if (rb == nullptr) {
            if (found) break;
            run.clear();
            continue;
        }
        run.push_back(rb);
        found = found || rb == r;
    }
    return run;
}

void control_focus(QWidget* control) {
    auto* r = qobject_cast<QRadioButton*>(control);
    if (r == nullptr) {
        control->setFocus(Qt::TabFocusReason);
        return;
    }
    const auto group = radio_group_of(r);
    for (QRadioButton* b : group)
        if (b->isChecked()) {
            b->setFocus(Qt::TabFocusReason);
            return;
        }
    group.front()->setChecked(true);
    group.front()->setFocus(Qt::TabFocusReason);
}
