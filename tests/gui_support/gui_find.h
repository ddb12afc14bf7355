// Finding a page's controls the way a user does, by caption or by name, and
// waiting for a run to end.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QTest>
#include <functional>

#include "gui_fixture.h"

inline QAbstractButton* findButton(QWidget* w, const QString& text) {
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->text() == text) return b;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

// The first child of class T, also for classes without their own meta-object.
template <typename T>
T* findOne(QWidget* w) {
    for (QWidget* c : w->findChildren<QWidget*>())
        if (auto* t = dynamic_cast<T*>(c)) return t;
    ADD_FAILURE() << "no " << typeid(T).name();
    return nullptr;
}

// A field by its accessible name (the label's text); the value is typed and
// committed as a user does.
inline void setField(QWidget* w, const QString& name, int value) {
    for (QSpinBox* s : w->findChildren<QSpinBox*>())
        if (s->accessibleName() == name) {
            s->setValue(value);
            return;
        }
    ADD_FAILURE() << "no field " << name.toStdString();
}

// Runs events until pred holds; the generous bound only proves the run ends.
inline bool waitFor(const std::function<bool()>& pred, int ms = 30000) {
    QElapsedTimer t;
    t.start();
    while (!pred() && t.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
    return pred();
}
