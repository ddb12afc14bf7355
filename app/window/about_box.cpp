#include "app/window/about_box.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "app/window/main_window.h"
#include "app/window/program_icon.h"
#include "ui/form.h"
#include "ui/qt_text.h"

namespace {

QLabel* title_label(Form* box) {
    auto* title = new QLabel(main_window_caption(), box);
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(14);
    title->setFont(font);
    return title;
}

QPushButton* button(Form* box, int slot) {
    auto* b = new QPushButton(ui_qtext(slot), box);
    b->setMinimumWidth(ui_scaled(box, 75));
    return b;
}

}  // namespace

Form* about_box_create(void (*show_topic)(const char* topic)) {
    auto* box = new Form(ui_qtext(96).replace(QStringLiteral("%s"), QStringLiteral("Velmarix")), 375, 250);
    auto* icon = new QLabel(box);
    icon->setPixmap(program_icon().pixmap(48, 48));
    icon->setAccessibleName(QStringLiteral("Velmarix"));
    auto* notice = new QLabel(ui_qtext(97).replace(QStringLiteral("%s"), QStringLiteral("Velmarix")), box);
    notice->setWordWrap(true);
    notice->setVisible(!notice->text().isEmpty());
    auto* rights = new QLabel(QStringLiteral("%1 %2\n%3").arg(ui_qtext(98), QStringLiteral("Velmarix"), ui_qtext(99)), box);
    rights->setAlignment(Qt::AlignCenter);
    QPushButton* contact = button(box, 100);
    QPushButton* donate = button(box, 101);
    QPushButton* ok = button(box, 0);
    box->setDefaultButton(ok);
    ok->setFocus();  // Enter on the welcome closes it rather than opening a help page

    auto* grid = new QGridLayout(box);
    grid->addWidget(icon, 0, 0, Qt::AlignTop);
    grid->addWidget(title_label(box), 0, 1, Qt::AlignVCenter);
    grid->addWidget(notice, 1, 0, 1, 2);
    grid->setRowStretch(1, 1);
    grid->addWidget(rights, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contact);
    buttons->addStretch();
    buttons->addWidget(donate);
    buttons->addStretch();
    buttons->addWidget(ok);
    grid->addLayout(buttons, 3, 0, 1, 2);

    QObject::connect(contact, &QPushButton::clicked, box, [show_topic] { show_topic("ContactDetails"); });
    QObject::connect(donate, &QPushButton::clicked, box, [show_topic] { show_topic("AuthorDonation"); });
    QObject::connect(ok, &QPushButton::clicked, box, [box] { box->close(); });
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    return box;
}
