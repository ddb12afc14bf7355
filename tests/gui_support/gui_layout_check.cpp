// The layout and accessibility checks of the window tests, and the
// screenshots.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>

#include "gui_fixture.h"

namespace {

// The widgets a user reads or operates; containers and the inner parts of
// Qt's composite widgets are left out.
bool is_control(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QGroupBox*>(w) || qobject_cast<const QAbstractScrollArea*>(w) ||
           (qobject_cast<const QLineEdit*>(w) &&
            !qobject_cast<const QAbstractSpinBox*>(w->parentWidget()) &&
            !qobject_cast<const QComboBox*>(w->parentWidget()));
}

std::string name_of(const QWidget* w) {
    QString text = w->metaObject()->className();
    if (auto* l = qobject_cast<const QLabel*>(w)) text += " \"" + l->text() + "\"";
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) text += " \"" + b->text() + "\"";
    if (auto* g = qobject_cast<const QGroupBox*>(w)) text += " \"" + g->title() + "\"";
    return text.toStdString() + " in " + w->window()->windowTitle().toStdString();
}

bool has_text(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w)) return !l->text().isEmpty() && !l->wordWrap();
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QGroupBox*>(w);
}

void check_control(QWidget* w) {
    if (has_text(w)) {
        const QSize hint = w->sizeHint();
        EXPECT_GE(w->width() + 1, hint.width()) << "text cut: " << name_of(w);
        EXPECT_GE(w->height() + 1, hint.height()) << "text cut: " << name_of(w);
    }
    const QRect inside = w->parentWidget()->rect();
    EXPECT_TRUE(inside.contains(w->geometry())) << "outside its parent: " << name_of(w);
    if (w->focusPolicy() != Qt::NoFocus || qobject_cast<QLabel*>(w)) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        EXPECT_TRUE(a != nullptr && !a->text(QAccessible::Name).trimmed().isEmpty())
            << "no accessible name: " << name_of(w);
    }
}

}  // namespace

void expectLayoutSound(QWidget* window) {
    std::vector<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (w->isVisibleTo(window) && is_control(w)) controls.push_back(w);
    for (QWidget* w : controls) check_control(w);
    for (std::size_t i = 0; i < controls.size(); ++i)
        for (std::size_t j = i + 1; j < controls.size(); ++j)
            if (controls[i]->parentWidget() == controls[j]->parentWidget()) {
                EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                    << "overlap: " << name_of(controls[i]) << " and " << name_of(controls[j]);
            }
}

void saveScreenshot(QWidget* window, const std::string& path) {
    const QString file = QString::fromStdString(path);
    QDir().mkpath(QFileInfo(file).path());
    EXPECT_TRUE(window->grab().save(file)) << path;
}
