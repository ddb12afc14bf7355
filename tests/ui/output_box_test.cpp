// The output box's added menu entries and its saving.
#include "ui/output_box.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include "app/app_error.h"
#include "gui_fixture.h"

namespace {

class OutputBoxTest : public GuiTest {};

TEST_F(OutputBoxTest, CopyAllAndSaveAsTakeTheWholeTextInUtf8) {
    OutputBox box(nullptr);
    const QString text =
        QStringLiteral("x1 = -sqrt(2) \u2248 -1.414   [1]\nx2 = \u00fc\u20ac\U0001D400");
    box.appendText(text);
    QMenu* menu = box.createContextMenu();
    QAction* copy = nullptr;
    QAction* save = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->text() == QStringLiteral("Copy all")) copy = a;
        if (a->text() == QStringLiteral("Save as\u2026")) save = a;
    }
    ASSERT_TRUE(copy != nullptr && save != nullptr);
    copy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), text);
    delete menu;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_TRUE(box.saveTo(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), text.toUtf8());

    // A failed save leaves the pending error to the run that may own it.
    EXPECT_FALSE(box.saveTo(dir.filePath(QStringLiteral("missing/out.txt"))));
    EXPECT_EQ(appError.load(), 0u);
}

}  // namespace
