// The grid driven by real keys and clicks: navigation and its limits, the
// editor's keys, protected cells, notifications, painting at any size.
#include "ui/grid_widget.h"

#include <QLineEdit>
#include <QTest>
#include <random>

#include "gui_fixture.h"
#include "ui/form.h"

namespace {

class Grid : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        for (const char* t : {"a1", "a2", "b"})
            grid->appendColumn(GRID_COLUMN_TEXT, QString::fromUtf8(t));
        for (int r = 0; r < 30; ++r) grid->appendRow(QString());
        grid->model().set_cell_protected(1, 1, true);
        grid->on_notify = [this](const GridNotify& n) { codes.push_back(n.code); };
        form.resize(300, 200);
        grid->resize(280, 180);
        form.show();
        QApplication::setActiveWindow(&form);
        grid->setFocus();
        codes.clear();
    }
    QLineEdit* editor() { return grid->viewport()->findChild<QLineEdit*>(); }

    Form form{QStringLiteral("Grid"), 300, 200};
    GridWidget* grid = new GridWidget(&form);
    std::vector<int> codes;
};

TEST_F(Grid, KeysMoveTheCurrentCellAndStopAtTheEdges) {
    const i64 page = (grid->viewport()->height() - grid->headerHeight()) / grid->rowHeight();
    struct Row {
        i64 col, row;
        Qt::Key key;
        i64 want_col, want_row;
        std::vector<int> codes;
    } rows[] = {
        {0, 0, Qt::Key_Down, 0, 1, {6, 3}},    {0, 0, Qt::Key_Up, 0, 0, {6}},
        {0, 29, Qt::Key_PageDown, 0, 29, {6}}, {0, 29, Qt::Key_Down, 0, 29, {6}},
        {0, 0, Qt::Key_Right, 1, 0, {6, 3}},   {2, 0, Qt::Key_Right, 2, 0, {6}},
        {0, 0, Qt::Key_Left, 0, 0, {6}},       {0, 28, Qt::Key_PageUp, 0, 28 - page, {6, 3}},
    };
    for (const Row& r : rows) {
        grid->selectCell(r.col, r.row);
        codes.clear();
        QTest::keyClick(grid, r.key);
        EXPECT_EQ(grid->currentColumn(), r.want_col) << r.key;
        EXPECT_EQ(grid->currentRow(), r.want_row) << r.key << " from row " << r.row;
        EXPECT_EQ(codes, r.codes) << r.key;
    }
    grid->setColumnHidden(1, true);  // a hidden column is skipped
    grid->selectCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Right);
    EXPECT_EQ(grid->currentColumn(), 2);
}

TEST_F(Grid, TypingOpensTheEditorWithTheKeyAndEnterStoresTheText) {
    grid->selectCell(0, 3);
    codes.clear();
    QTest::keyClick(grid, Qt::Key_7);
    ASSERT_NE(editor(), nullptr);
    EXPECT_TRUE(grid->isEditing());
    EXPECT_EQ(editor()->text(), QStringLiteral("7"));
    QTest::keyClicks(editor(), QStringLiteral("/2"));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(grid->cellText(0, 3), QStringLiteral("7/2"));
    EXPECT_EQ(codes, (std::vector<int>{6, 4, 5}));
    EXPECT_TRUE(grid->hasFocus());

    // Escape drops the edit; F-keys and Enter never start one.
    QTest::keyClick(grid, Qt::Key_1);
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(grid->cellText(0, 3), QStringLiteral("7/2"));
    QTest::keyClick(grid, Qt::Key_F5);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_FALSE(grid->isEditing());
}

TEST_F(Grid, ArrowsInTheEditorMoveTheCaretUntilItsEndThenTheSelection) {
    grid->editCell(1, 4, false);
    grid->selectCell(1, 4);
    grid->editCell(1, 4, true);
    QTest::keyClicks(editor(), QStringLiteral("123"));
    QTest::keyClick(editor(), Qt::Key_Left);
    QTest::keyClick(editor(), Qt::Key_Right);  // caret back at the end: still in the cell
    EXPECT_TRUE(grid->isEditing());
    EXPECT_EQ(grid->currentColumn(), 1);
    QTest::keyClick(editor(), Qt::Key_Right);  // at the end: commit and move
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(grid->currentColumn(), 2);
    EXPECT_EQ(grid->cellText(1, 4), QStringLiteral("123"));
    grid->editCell(2, 4, true);
    QTest::keyClick(editor(), Qt::Key_Down);
    EXPECT_EQ(grid->currentRow(), 5);
}

TEST_F(Grid, AClickSelectsAndAProtectedCellOrReadOnlyGridIsNotEdited) {
    const int y = grid->headerHeight() + grid->rowHeight() * 2 + 3;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      QPoint(grid->model().column(0).width + 5, y));
    EXPECT_EQ(grid->currentColumn(), 0);
    EXPECT_EQ(grid->currentRow(), 2);
    for (const i64 col : {1, 0}) {  // the protected cell (1, 1), then any cell read-only
        grid->selectCell(col, 1);
        QTest::keyClick(grid, Qt::Key_5);
        EXPECT_FALSE(grid->isEditing());
        grid->editable = false;
    }
}

TEST_F(Grid, PaintingAtAnySizeAndScrollPositionIsSafe) {
    std::mt19937 rng(3);
    for (int i = 0; i < 60; ++i) {
        grid->resize(static_cast<int>(rng() % 500), static_cast<int>(rng() % 400));
        grid->setTitle(i % 3 == 0 ? QStringLiteral("Title\nline") : QString());
        grid->selectCell(static_cast<i64>(rng() % 3), static_cast<i64>(rng() % 30));
        if (i % 7 == 0)
            grid->setColumnWidth(static_cast<i64>(rng() % 3), static_cast<int>(rng() % 200));
        EXPECT_FALSE(grid->grab().isNull() && grid->width() > 0 && grid->height() > 0);
    }
    grid->clear();
    grid->grab();
}

}  // namespace
