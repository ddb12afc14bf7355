// The equations page through its widgets: coefficients typed,
// the roots in the output box and the time under it, the input errors, and
// Stop and closing while a solve runs.
#include "equations/window/equations_window.h"

#include <QRadioButton>

#include "gui_page.h"

namespace {

class EquationsWindow : public PageTest {
  protected:
    void SetUp() override {
        PageTest::SetUp();
        open(equations_window_create);
        solve = button(QStringLiteral("Solve"));
    }
    QAbstractButton* solve = nullptr;
};

TEST_F(EquationsWindow, TheCubicSolvesInBothModesAndErrorsNameTheCell) {
    setField(QStringLiteral("Degree"), 3);
    type(0, 0, QStringLiteral("1"));
    type(0, 2, QStringLiteral("-2"));
    type(0, 3, QStringLiteral("-5"));
    clickAndWait(solve);
    EXPECT_EQ(output->toPlainText(), QStringLiteral("x1 = 2.094551482   [1]\n"));
    EXPECT_TRUE(findOne<StatusLine>()->text().startsWith(QStringLiteral("Time: ")));

    // The same cubic in complex mode.
    static_cast<QRadioButton*>(button(QStringLiteral("complex")))->setChecked(true);
    clickAndWait(solve);
    const QStringList lines = output->toPlainText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], QStringLiteral("x1 = 2.094551482   [1]"));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("i   [1]"))) << lines[1].toStdString();

    // An input error names its coefficient.
    type(0, 0, QStringLiteral("2+"));
    auto text = nextMessage();
    clickAndWait(solve);
    EXPECT_TRUE(text->startsWith(QStringLiteral("Error evaluating coefficient \"a3\". Unexpected")))
        << text->toStdString();
}

// A degree-10 equation at 750 digits runs long enough to be stopped; after
// Stop or closing, nothing is shown and the next solve works.
TEST_F(EquationsWindow, StopAndClosingEndTheSolveAndTheNextOneWorks) {
    setField(QStringLiteral("Degree"), 10);
    setField(QStringLiteral("Precision"), 750);
    static_cast<QRadioButton*>(button(QStringLiteral("complex")))->setChecked(true);
    for (i64 r = 0; r <= 10; ++r)
        type(0, r, r % 3 == 0 ? QStringLiteral("3/7") : QStringLiteral("-sqrt(2)"));
    for (bool by_closing : {false, true}) {
        solve->click();
        EXPECT_EQ(solve->text(), QStringLiteral("Stop"));
        spin(50);
        if (by_closing)
            form->close();
        else
            solve->click();
        waitIdle();
        EXPECT_EQ(output->toPlainText(), QString());
        EXPECT_EQ(solve->text(), QStringLiteral("Solve"));
        form->show();
    }
    setField(QStringLiteral("Degree"), 1);
    setField(QStringLiteral("Precision"), 10);
    type(0, 0, QStringLiteral("2"));
    type(0, 1, QStringLiteral("2"));
    clickAndWait(solve);
    EXPECT_EQ(output->toPlainText(), QStringLiteral("x1 = -1   [1]\n"));
}

TEST_F(EquationsWindow, ShowsARootInBothLanguages) {
    shootResults(
        "equations", equations_window_create, [&] { grid->paste(QStringLiteral("1\n0\n-2")); },
        [&] { return form->defaultButton(); });
}

}  // namespace
