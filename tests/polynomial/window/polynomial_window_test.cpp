// The polynomial page through its widgets: two polynomials divided, the
// quotient moved into P1 by its result button, "/" and "^" only for two
// polynomials, and a bad cell with its message.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>

#include "gui_find.h"
#include "polynomial/window/polynomial_window.h"
#include "ui/form.h"
#include "ui/grid_widget.h"
#include "ui/output_box.h"

namespace {

class PolynomialWindow : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = polynomial_window_create();
        form->show();
        grid = findOne<GridWidget>(form);
        output = findOne<OutputBox>(form);
        stop = findButton(form, QStringLiteral("Stop"));
    }
    void TearDown() override {
        delete form;
        GuiTest::TearDown();
    }
    // Clicks an operation and waits until the page takes input again.
    void run(const QString& op) {
        findButton(form, op)->click();
        ASSERT_TRUE(waitFor([&] { return !stop->isEnabled() && findButton(form, QStringLiteral("+"))->isEnabled(); }));
    }
    Form* form = nullptr;
    GridWidget* grid = nullptr;
    OutputBox* output = nullptr;
    QAbstractButton* stop = nullptr;
};

TEST_F(PolynomialWindow, TwoPolynomialsDivideAndTheQuotientMovesIntoP1) {
    setField(form, QStringLiteral("Max. degree"), 3);
    // P0 = x^3 - 1 pasted as a spreadsheet row from a3 on; P1 = x - 1 typed.
    QApplication::clipboard()->setText(QStringLiteral("1\t0\t0\t-1\n"));
    grid->selectCell(17, 0);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    for (i64 col : {19, 20}) {
        grid->editCell(col, 1, true);
        QTest::keyClicks(grid->findChild<QLineEdit*>(), col == 19 ? QStringLiteral("1") : QStringLiteral("-1"));
        QTest::keyClick(grid->findChild<QLineEdit*>(), Qt::Key_Return);
    }
    run(QStringLiteral("/"));
    EXPECT_EQ(output->toPlainText(),
              QStringLiteral("P0(x) / P1(x) = b2*x^2 + b1*x + b0    Remainder    r0\n\n"
                             "b2 = 1\nb1 = 1\nb0 = 1\n\nr0 = 0\n"));
    QAbstractButton* to_p1 = findButton(form, QStringLiteral("Result → P1"));
    ASSERT_TRUE(to_p1->isEnabled());
    to_p1->click();
    EXPECT_EQ(grid->cellText(18, 1), QStringLiteral("1"));
    EXPECT_EQ(grid->cellText(19, 1), QStringLiteral("1"));

    setField(form, QStringLiteral("Polynomial count"), 3);
    EXPECT_FALSE(findButton(form, QStringLiteral("/"))->isEnabled());
    EXPECT_FALSE(findButton(form, QStringLiteral("^"))->isEnabled());
    grid->selectCell(20, 2);
    grid->paste(QStringLiteral("5"));
    run(QStringLiteral("+"));
    EXPECT_TRUE(output->toPlainText().startsWith(QStringLiteral("P0(x) + P1(x) + P2(x) = b3*x^3")));
    EXPECT_TRUE(output->toPlainText().endsWith(QStringLiteral("b0 = 5\n"))) << output->toPlainText().toStdString();
}

TEST_F(PolynomialWindow, ABadCellIsNamedAndLeavesTheResultButtonsOff) {
    grid->selectCell(18, 0);
    grid->paste(QStringLiteral("2*"));
    QString text;
    expectModal([&](QWidget* w) {
        text = static_cast<QMessageBox*>(w)->text();
        closeModal(w);
    });
    findButton(form, QStringLiteral("*"))->click();
    ASSERT_TRUE(waitFor([&] { return !text.isEmpty(); }));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Error evaluating coefficient \"a2\" in polynomial \"P0(x)\". Unexpected end")))
        << text.toStdString();
    GuiTest::spin(250);
    EXPECT_FALSE(findButton(form, QStringLiteral("Result → P0"))->isEnabled());
}

}  // namespace
