// The polynomial page through its widgets: two polynomials divided, the
// quotient moved into P1 by its result button, "/" and "^" only for two
// polynomials, and a bad cell with its message.
#include "polynomial/window/polynomial_window.h"

#include "gui_page.h"

namespace {

class PolynomialWindow : public PageTest {
  protected:
    void SetUp() override {
        PageTest::SetUp();
        open(polynomial_window_create);
    }
};

TEST_F(PolynomialWindow, DivisionResultButtonsCountAndABadCell) {
    setField(QStringLiteral("Max. degree"), 3);
    // P0 = x^3 - 1 pasted as a spreadsheet row from a3 on; P1 = x - 1 typed.
    grid->selectCell(17, 0);
    grid->paste(QStringLiteral("1\t0\t0\t-1\n"));
    type(19, 1, QStringLiteral("1"));
    type(20, 1, QStringLiteral("-1"));
    clickAndWait(button(QStringLiteral("/")));
    EXPECT_EQ(output->toPlainText(),
              QStringLiteral("P0(x) / P1(x) = b2*x^2 + b1*x + b0    Remainder    r0\n\n"
                             "b2 = 1\nb1 = 1\nb0 = 1\n\nr0 = 0\n"));
    button(QStringLiteral("Result → P1"))->click();
    EXPECT_EQ(grid->cellText(18, 1), QStringLiteral("1"));
    EXPECT_EQ(grid->cellText(19, 1), QStringLiteral("1"));

    setField(QStringLiteral("Polynomial count"), 3);
    EXPECT_FALSE(button(QStringLiteral("/"))->isEnabled() ||
                 button(QStringLiteral("^"))->isEnabled());
    clickAndWait(button(QStringLiteral("+")));
    EXPECT_TRUE(output->toPlainText().startsWith(QStringLiteral("P0(x) + P1(x) + P2(x) = b3*x^3")));

    // A bad cell is named and turns the result buttons off.
    grid->selectCell(18, 0);
    grid->paste(QStringLiteral("2*"));
    auto text = nextMessage();
    clickAndWait(button(QStringLiteral("*")));
    EXPECT_TRUE(text->startsWith(
        QStringLiteral("Error evaluating coefficient \"a2\" in polynomial \"P0(x)\". Unexpected")))
        << text->toStdString();
    EXPECT_FALSE(button(QStringLiteral("Result → P0"))->isEnabled());
}

TEST_F(PolynomialWindow, ShowsAProductInBothLanguages) {
    shootResults(
        "polynomial", polynomial_window_create,
        [&] { grid->paste(QStringLiteral("1;2;3\n1;-1;1/2")); },
        [&] { return button(QStringLiteral("*")); });
}

}  // namespace
