#include "app/window/help_viewer.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/help_files.h"
#include "app/ui_texts.h"
#include "ui/error_box.h"
#include "ui/form.h"
#include "ui/qt_text.h"

namespace {

Form* viewer = nullptr;
QTextBrowser* browser = nullptr;

QPushButton* nav_button(Form* form, const QString& text, QHBoxLayout* row) {
    auto* b = new QPushButton(text, form);
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}

}  // namespace

Form* help_viewer_create() {
    viewer = new Form(ui_qtext(16), 640, 520);
    browser = new QTextBrowser(viewer);
    browser->setAccessibleName(ui_plain(ui_qtext(16)));
    browser->setOpenExternalLinks(true);
    auto* row = new QHBoxLayout;
    // Arrows and a house, so that the buttons read the same in both languages.
    QPushButton* back = nav_button(viewer, QStringLiteral("\u25C0"), row);
    QPushButton* forward = nav_button(viewer, QStringLiteral("\u25B6"), row);
    QPushButton* home = nav_button(viewer, QStringLiteral("\u2302"), row);
    const bool german = ui_language == 3;
    back->setAccessibleName(german ? QStringLiteral("Zurück") : QStringLiteral("Back"));
    forward->setAccessibleName(german ? QStringLiteral("Vorwärts") : QStringLiteral("Forward"));
    home->setAccessibleName(german ? QStringLiteral("Startseite") : QStringLiteral("Home"));
    row->addStretch();
    auto* layout = new QVBoxLayout(viewer);
    layout->addLayout(row);
    layout->addWidget(browser);
    QObject::connect(back, &QPushButton::clicked, browser, &QTextBrowser::backward);
    QObject::connect(forward, &QPushButton::clicked, browser, &QTextBrowser::forward);
    QObject::connect(home, &QPushButton::clicked, viewer, [] { help_show("Overview"); });
    QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    QObject::connect(browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);
    return viewer;
}

void help_show(const char* topic) {
    const std::string page = help_page_for(topic);
    if (page.empty() || viewer == nullptr) {
        showErrorMessage(viewer != nullptr && viewer->isVisible() ? viewer : nullptr);
        return;
    }
    browser->setSource(QUrl::fromLocalFile(QString::fromStdString(page)));
    // Opened from a modal box (the about box's links), the viewer must stay
    // usable; the modal run re-enables it anyway when it ends.
    viewer->setEnabled(true);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}
