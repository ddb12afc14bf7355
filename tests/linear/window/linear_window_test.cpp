// The linear-systems page through its widgets: a typed system solved, saved
// as CSV, cleared and loaded back; a damaged file and a bad cell with their
// messages; Stop on a large system and a later solve that works.
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <fstream>

#include "gui_find.h"
#include "linear/window/linear_window.h"
#include "ui/form.h"
#include "ui/grid_widget.h"
#include "ui/output_box.h"

namespace {

class LinearWindow : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = linear_window_create();
        form->show();
        grid = findOne<GridWidget>(form);
        output = findOne<OutputBox>(form);
        solve = findButton(form, QStringLiteral("Solve"));
    }
    void TearDown() override {
        delete form;
        GuiTest::TearDown();
    }
    void type(i64 col, i64 row, const QString& text) {
        grid->editCell(col, row, true);
        auto* editor = grid->findChild<QLineEdit*>();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    void run() {
        solve->click();
        ASSERT_TRUE(waitFor([&] { return solve->text() == QStringLiteral("Solve"); }));
    }
    // The next file dialog picks path.
    void pickFile(const QString& path) {
        expectModal([path](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();  // as the Save or Open button does
        });
    }
    // The next message box's text.
    void readMessage(QString& text) {
        expectModal([&text](QWidget* w) {
            ASSERT_NE(qobject_cast<QMessageBox*>(w), nullptr);
            text = static_cast<QMessageBox*>(w)->text();
            closeModal(w);
        });
    }
    Form* form = nullptr;
    GridWidget* grid = nullptr;
    OutputBox* output = nullptr;
    QAbstractButton* solve = nullptr;
    QTemporaryDir dir;
};

TEST_F(LinearWindow, ATypedSystemSolvesAndComesBackFromItsFile) {
    setField(form, QStringLiteral("Equation count"), 3);
    // x + y + z = 6, 2y + 5z = -4, 2x + 5y - z = 27: x = 5, y = 3, z = -2.
    const char* cells[3][4] = {{"1", "1", "1", "6"}, {"", "2", "5", "-4"}, {"2", "5", "-1", "3^3"}};
    for (i64 r = 0; r < 3; ++r)
        for (i64 j = 0; j < 4; ++j) type(j == 3 ? 25 : j, r, QString::fromUtf8(cells[r][j]));
    run();
    const QString solved = output->toPlainText();
    EXPECT_EQ(solved, QStringLiteral("x1 = 5\nx2 = 3\nx3 = -2\n"));

    pickFile(dir.filePath(QStringLiteral("system")));  // ".csv" is added
    findButton(form, QStringLiteral("Save as"))->click();
    findButton(form, QStringLiteral("Clear"))->click();
    setField(form, QStringLiteral("Equation count"), 2);
    EXPECT_EQ(output->toPlainText(), QString());
    pickFile(dir.filePath(QStringLiteral("system.csv")));
    findButton(form, QStringLiteral("Load"))->click();
    EXPECT_EQ(grid->model().row_count(), 3);
    EXPECT_EQ(grid->cellText(25, 2), QStringLiteral("3^3"));
    run();
    EXPECT_EQ(output->toPlainText(), solved);
}

TEST_F(LinearWindow, ADamagedFileAndABadCellAreRefusedWithTheirMessages) {
    const QString path = dir.filePath(QStringLiteral("bad.csv"));
    std::ofstream(path.toStdString()) << "a1;b\r\n1;2\r\n";
    QString text;
    pickFile(path);
    readMessage(text);
    findButton(form, QStringLiteral("Load"))->click();
    EXPECT_TRUE(text.contains(QStringLiteral("between 2 "))) << text.toStdString();

    type(1, 1, QStringLiteral("2*"));
    text.clear();
    readMessage(text);
    solve->click();
    ASSERT_TRUE(waitFor([&] { return !text.isEmpty(); }));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Error evaluating coefficient in equation 2, column \"a2\". Unexpected end")))
        << text.toStdString();
}

// 25 equations of irrational coefficients at 1000 digits take long enough
// to stop; the output stays empty, and a small system solves afterwards.
TEST_F(LinearWindow, StopEndsALargeSolveAndTheNextOneWorks) {
    setField(form, QStringLiteral("Equation count"), 25);
    setField(form, QStringLiteral("Precision"), 1000);
    for (i64 r = 0; r < 25; ++r) {
        QStringList row;
        for (i64 j = 0; j < 26; ++j) row += QStringLiteral("sqrt(%1)+%2").arg(j + 2).arg(r * j % 7);
        grid->selectCell(0, r);
        grid->paste(row.join(u'\t'));
    }
    solve->click();
    GuiTest::spin(20);
    solve->click();
    ASSERT_TRUE(waitFor([&] { return solve->text() == QStringLiteral("Solve"); }));
    EXPECT_EQ(output->toPlainText(), QString());
    setField(form, QStringLiteral("Equation count"), 2);
    setField(form, QStringLiteral("Precision"), 10);
    run();
    EXPECT_TRUE(output->toPlainText().startsWith(QStringLiteral("x1 = "))) << output->toPlainText().toStdString();
}

}  // namespace
