#include "app/window/main_window.h"

#include <QApplication>
#include <QMenuBar>
#include <QVBoxLayout>

#include "app/window/tool_windows.h"
#include "ui/form.h"
#include "ui/qt_text.h"

namespace {

QAction* add_item(QMenu* menu, int slot, void (*action)()) {
    QAction* item = menu->addAction(ui_qtext(slot));
    if (action != nullptr) QObject::connect(item, &QAction::triggered, item, [action] { action(); });
    return item;
}

void build_menu(QMenuBar* bar, Form* main, const MainMenuActions& actions) {
    QMenu* app = bar->addMenu(ui_qtext(14));
    add_item(app, 4, actions.options);
    QAction* exit = app->addAction(ui_qtext(5));
    QObject::connect(exit, &QAction::triggered, main, [main] { main->close(); });
    QMenu* algebra = bar->addMenu(ui_qtext(15));
    for (const ToolPage& page : tool_pages()) {
        QAction* item = algebra->addAction(ui_qtext(page.menu_slot));
        item->setEnabled(page.create != nullptr);
        QObject::connect(item, &QAction::triggered, item, [&page] { tool_window_show(page); });
    }
    QMenu* help = bar->addMenu(ui_qtext(16));
    add_item(help, 12, actions.help);
    add_item(help, 13, actions.about);
}

}  // namespace

QString main_window_caption() { return QStringLiteral("Velmarix %1.%2").arg(3).arg(5); }

Form* main_window_create(const MainMenuActions& actions) {
    auto* main = new Form(main_window_caption(), 370, 40);
    auto* layout = new QVBoxLayout(main);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QMenuBar(main);
    bar->setAccessibleName(ui_plain(main_window_caption()));
    // On desktops with a global menu the bar would leave the window empty.
    bar->setNativeMenuBar(false);
    layout->setMenuBar(bar);
    layout->addStretch();
    build_menu(bar, main, actions);
    main->on_close = [] { QApplication::quit(); };
    return main;
}
