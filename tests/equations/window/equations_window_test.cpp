// The equations page through its widgets: coefficients typed and pasted,
// the roots in the output box and the time under it, the input errors, and
// Stop and closing while a solve runs.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include "equations/window/equations_window.h"
#include "gui_find.h"
#include "ui/form.h"
#include "ui/grid_widget.h"
#include "ui/output_box.h"

namespace {

class EquationsWindow : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = equations_window_create();
        form->show();
        grid = findOne<GridWidget>(form);
        output = findOne<OutputBox>(form);
        solve = findButton(form, QStringLiteral("Solve"));
    }
    void TearDown() override {
        delete form;
        GuiTest::TearDown();
    }
    void type(i64 row, const char* text) {
        grid->editCell(0, row, true);
        auto* editor = grid->findChild<QLineEdit*>();
        QTest::keyClicks(editor, QString::fromUtf8(text));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // Solves and waits until the page takes input again.
    void run() {
        solve->click();
        ASSERT_TRUE(waitFor([&] { return solve->text() == QStringLiteral("Solve"); }));
    }
    Form* form = nullptr;
    GridWidget* grid = nullptr;
    OutputBox* output = nullptr;
    QAbstractButton* solve = nullptr;
};

TEST_F(EquationsWindow, TheCubicSolvesFromTypedAndFromPastedCoefficients) {
    setField(form, QStringLiteral("Degree"), 3);
    ASSERT_EQ(grid->model().row_count(), 4);
    type(0, "1");
    type(2, "-2");
    type(3, "-5");
    run();
    EXPECT_EQ(output->toPlainText(), QStringLiteral("x1 = 2.094551482   [1]\n"));
    EXPECT_TRUE(findOne<StatusLine>(form)->text().startsWith(QStringLiteral("Time: ")));

    // The same equation pasted as a column, one line too many: the extra
    // cell is dropped with a word, the rest solved in complex mode.
    findButton(form, QStringLiteral("Clear"))->click();
    QApplication::clipboard()->setText(QStringLiteral("1\r\n\r\n-2\r\n-5\r\n7\r\n"));
    grid->selectCell(0, 0);
    QString note;
    expectModal([&](QWidget* w) {
        note = static_cast<QMessageBox*>(w)->text();
        closeModal(w);
    });
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(note, QStringLiteral("1 pasted cells lay beyond the grid and were left out."));
    EXPECT_EQ(grid->cellText(0, 3), QStringLiteral("-5"));
    static_cast<QRadioButton*>(findButton(form, QStringLiteral("complex")))->setChecked(true);
    run();
    const QStringList lines = output->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("x1 = 2.094551482   [1]"));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("i   [1]"))) << lines[1].toStdString();
}

TEST_F(EquationsWindow, InputErrorsNameTheCoefficient) {
    setField(form, QStringLiteral("Degree"), 3);
    const char* cases[][2] = {{"", "The highest coefficient \"a3\" must not be 0!"},
                              {"2+", "Error evaluating coefficient \"a3\". Unexpected end of formula!"}};
    for (const auto& c : cases) {
        type(0, c[0]);
        QString text;
        expectModal([&](QWidget* w) {
            text = static_cast<QMessageBox*>(w)->text();
            closeModal(w);
        });
        solve->click();
        ASSERT_TRUE(waitFor([&] { return !text.isEmpty(); }));
        EXPECT_TRUE(text.startsWith(QString::fromUtf8(c[1]))) << text.toStdString();
        EXPECT_EQ(solve->text(), QStringLiteral("Solve"));
    }
}

// A degree-10 equation at 750 digits runs long enough to be stopped; after
// Stop or closing, nothing is shown and the next solve works.
TEST_F(EquationsWindow, StopAndClosingEndTheSolveAndTheNextOneWorks) {
    setField(form, QStringLiteral("Degree"), 10);
    setField(form, QStringLiteral("Precision"), 750);
    static_cast<QRadioButton*>(findButton(form, QStringLiteral("complex")))->setChecked(true);
    for (i64 r = 0; r <= 10; ++r) type(r, r % 3 == 0 ? "3/7" : "-sqrt(2)");
    for (bool by_closing : {false, true}) {
        solve->click();
        EXPECT_EQ(solve->text(), QStringLiteral("Stop"));
        GuiTest::spin(50);
        if (by_closing) form->close();
        else solve->click();
        ASSERT_TRUE(waitFor([&] { return solve->text() == QStringLiteral("Solve"); }));
        EXPECT_EQ(output->toPlainText(), QString());
        form->show();
    }
    setField(form, QStringLiteral("Degree"), 1);
    setField(form, QStringLiteral("Precision"), 10);
    type(0, "2");
    type(1, "2");
    run();
    EXPECT_EQ(output->toPlainText(), QStringLiteral("x1 = -1   [1]\n"));
}

}  // namespace
