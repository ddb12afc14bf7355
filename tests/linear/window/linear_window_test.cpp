// The linear-systems page through its widgets: a typed system solved, saved
// as CSV, cleared and loaded back; a damaged file and a bad cell with their
// messages; Stop on a large system and a later solve that works.
#include "linear/window/linear_window.h"

#include <QTemporaryDir>
#include <fstream>

#include "gui_page.h"

namespace {

class LinearWindow : public PageTest {
  protected:
    void SetUp() override {
        PageTest::SetUp();
        open(linear_window_create);
        solve = button(QStringLiteral("Solve"));
    }
    QAbstractButton* solve = nullptr;
    QTemporaryDir dir;
};

TEST_F(LinearWindow, ATypedSystemSolvesComesBackFromItsFileAndBadInputIsRefused) {
    setField(QStringLiteral("Equation count"), 3);
    // x + y + z = 6, 2y + 5z = -4, 2x + 5y - z = 27: x = 5, y = 3, z = -2.
    const char* cells[3][4] = {{"1", "1", "1", "6"}, {"", "2", "5", "-4"}, {"2", "5", "-1", "3^3"}};
    for (i64 r = 0; r < 3; ++r)
        for (i64 j = 0; j < 4; ++j) type(j == 3 ? 25 : j, r, QString::fromUtf8(cells[r][j]));
    clickAndWait(solve);
    const QString solved = output->toPlainText();
    EXPECT_EQ(solved, QStringLiteral("x1 = 5\nx2 = 3\nx3 = -2\n"));

    pickFile(dir.filePath(QStringLiteral("system")));  // ".csv" is added
    button(QStringLiteral("Save as"))->click();
    button(QStringLiteral("Clear"))->click();
    setField(QStringLiteral("Equation count"), 2);
    EXPECT_EQ(output->toPlainText(), QString());
    pickFile(dir.filePath(QStringLiteral("system.csv")));
    button(QStringLiteral("Load"))->click();
    clickAndWait(solve);
    EXPECT_EQ(output->toPlainText(), solved);

    // A damaged file and a bad cell are refused with their messages.
    const QString path = dir.filePath(QStringLiteral("bad.csv"));
    std::ofstream(path.toStdString()) << "a1;b\r\n1;2\r\n";
    pickFile(path);
    auto text = nextMessage();
    button(QStringLiteral("Load"))->click();
    EXPECT_TRUE(text->contains(QStringLiteral("between 2 "))) << text->toStdString();

    type(1, 1, QStringLiteral("2*"));
    text = nextMessage();
    clickAndWait(solve);
    EXPECT_TRUE(text->startsWith(
        QStringLiteral("Error evaluating coefficient in equation 2, column \"a2\". Unexpected")))
        << text->toStdString();
}

// 25 equations of irrational coefficients at 1000 digits: Stop leaves the
// output empty, and a small system solves afterwards.
TEST_F(LinearWindow, StopEndsALargeSolveAndTheNextOneWorks) {
    setField(QStringLiteral("Equation count"), 25);
    setField(QStringLiteral("Precision"), 1000);
    for (i64 r = 0; r < 25; ++r) {
        QStringList row;
        for (i64 j = 0; j < 26; ++j) row += QStringLiteral("sqrt(%1)").arg(r * 26 + j + 2);
        grid->selectCell(0, r);
        grid->paste(row.join(u'\t'));
    }
    solve->click();
    spin(20);
    clickAndWait(solve);
    EXPECT_EQ(output->toPlainText(), QString());
    setField(QStringLiteral("Equation count"), 2);
    setField(QStringLiteral("Precision"), 10);
    clickAndWait(solve);
    EXPECT_TRUE(output->toPlainText().startsWith(QStringLiteral("x1 = ")))
        << output->toPlainText().toStdString();
}

TEST_F(LinearWindow, ShowsASolutionInBothLanguages) {
    shootResults(
        "linear", linear_window_create, [&] { grid->paste(QStringLiteral("1\t1\t7\n1\t-1\t1")); },
        [&] { return form->defaultButton(); });
}

}  // namespace
