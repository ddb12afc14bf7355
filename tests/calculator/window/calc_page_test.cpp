// The calculator page driven through its widgets: typing and the keypad,
// evaluation with Stop and the locks, the display toggles, variables, the
// history and its file, the clipboard, and error positions.
#include "calculator/window/calc_page.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <memory>

#include "app/error_texts.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "calculator/calc_history.h"
#include "calculator/calc_state.h"
#include "calculator/window/calc_fields.h"
#include "calculator/window/calc_keypad.h"
#include "calculator/window/calc_variables_window.h"
#include "calculator/window/calc_window.h"
#include "gui_fixture.h"
#include "ui/number_controls.h"

// Readable QStrings in failure messages.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

// Keypad places (row * 9 + column).
constexpr int CA = 0, K7 = 2, K8 = 3, K2 = 21, K3 = 22, K0 = 29, EQ = 30, CLOSE = 19, VAR = 10,
              POW10 = 14, SIN = 41, DIV = 47, RAT_MIXED = 26;

class CalcWindow : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        open();
    }
    void TearDown() override {
        waitIdle();
        page.reset();
        GuiTest::TearDown();
    }
    void open() {
        page.reset();
        page.reset(static_cast<CalcPage*>(calculator_window_create()));
        page->show();
        spin(10);
        formula = page->formulaField();
        result = page->resultField();
        history = page->historyList();
    }
    KeyButton* key(int index) { return page->keypad()->key(index); }
    void press(std::initializer_list<int> keys) {
        for (int k : keys) QTest::mouseClick(key(k), Qt::LeftButton);
    }
    void waitIdle() {
        for (int i = 0; i < 12000 && page && page->busy(); ++i) spin(5);
    }
    QString eval(const char* text) {
        formula->setFocus();
        formula->clear();
        QTest::keyClicks(formula, text);
        QTest::keyClick(formula, Qt::Key_Return);
        waitIdle();
        return result->toPlainText();
    }
    template <typename T>
    T* named(const QString& name) {
        for (T* w : page->findChildren<T*>())
            if (w->accessibleName() == name) return w;
        ADD_FAILURE() << "no control " << name.toStdString();
        return nullptr;
    }
    void setType(int type) {
        QComboBox* c = named<QComboBox>(ui_language == LANGUAGE_GERMAN ? "Typ" : "Type");
        c->setCurrentIndex(c->findData(type));
        emit c->activated(c->currentIndex());
    }
    void expectMessage(const QString& part) {
        expectModal([part, this](QWidget* w) {
            const QString text = static_cast<QMessageBox*>(w)->text();
            EXPECT_TRUE(text.contains(part)) << text.toStdString();
            shownSelection = formula->selectedText();
            closeModal(w);
        });
    }

    std::unique_ptr<CalcPage> page;
    FormulaField* formula = nullptr;
    ResultField* result = nullptr;
    QListWidget* history = nullptr;
    QString shownSelection;
};

// A newcomer's first minutes: 2^100, Enter, copy; grouping stays out of
// the clipboard and out of pasted numbers, also with the decimal comma.
TEST_F(CalcWindow, TypeEnterCopyAndPaste) {
    settings_thousands_sci_calc = 1;
    settings_number_type = MP_TYPE_UINT;
    open();
    EXPECT_EQ(eval("2^100"), "1'267'650'600'228'229'401'496'703'205'376");
    result->setFocus();
    QTest::keyClick(result, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "1267650600228229401496703205376");

    // With the decimal comma too.
    setType(MP_TYPE_REAL);
    settings_decimal_separator = SETTINGS_SEPARATOR_COMMA;
    settings_apply_decimal_separator();
    QApplication::clipboard()->setText("1'234 567,5 +\n1");
    formula->clear();
    QTest::keyClick(formula, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(formula->text(), "1234567,5 + 1");
    QTest::keyClick(formula, Qt::Key_Return);
    waitIdle();
    EXPECT_EQ(result->toPlainText(), "1'234'568,5");
    result->copyResult();
    EXPECT_EQ(QApplication::clipboard()->text(), "1234568,5");
    settings_decimal_separator = SETTINGS_SEPARATOR_POINT;
    settings_apply_decimal_separator();

    // A paste that just fills the field arrives whole; evaluated, it is too long.
    const QString before = result->toPlainText();
    QApplication::clipboard()->setText(QString(formula->maxLength(), '1'));
    formula->clear();
    QTest::keyClick(formula, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(formula->text().size(), formula->maxLength());
    expectMessage("The text entered is too long!");
    QTest::keyClick(formula, Qt::Key_Return);
    waitIdle();
    EXPECT_EQ(result->toPlainText(), before);  // the previous result stays
}

// Errors select their position and name the cause; then the keypad's
// formulas by type, base and angle.
TEST_F(CalcWindow, ErrorsAndKeypadFormulasByTypeBaseAndAngle) {
    expectMessage(
        "Error in mathematical formula. The operation at character position 3 is not defined");
    eval("2+ln(0)");
    EXPECT_EQ(shownSelection, "l");
    spin(30);  // the watchdog sees the first box gone before the next one
    expectMessage("no result of the previous calculation");
    eval("ans+1");
    EXPECT_EQ(result->toPlainText(), "");
    formula->clear();
    named<QComboBox>("Angle")->setCurrentIndex(0);
    emit named<QComboBox>("Angle")->activated(0);
    press({SIN, K3, K0, CLOSE, EQ});
    waitIdle();
    EXPECT_EQ(formula->text(), "sind(30)");
    EXPECT_EQ(result->toPlainText(), "0.5");
    EXPECT_EQ(key(SIN)->toolTip(), "Sine");
    press({K7});  // after a result a key starts a new formula
    EXPECT_EQ(formula->text(), "7");
    EXPECT_EQ(eval("(1+2"), "3");
    EXPECT_EQ(formula->text(), "(1+2)");

    setType(MP_TYPE_RAT);
    press({CA, K7, DIV, K2, EQ});
    waitIdle();
    EXPECT_EQ(result->toPlainText(), "7/2");
    press({RAT_MIXED});
    EXPECT_EQ(result->toPlainText(), "3+1/2");
    EXPECT_EQ(eval("sqrt(2)"), "1.414213562");  // rat gives way to real
    EXPECT_EQ(named<QComboBox>("Type")->currentData().toInt(), MP_TYPE_REAL);

    setType(MP_TYPE_UINT);
    // The input base reaches the keypad.
    NumberBaseControl* input = page->inputBaseControl();
    input->on_change(16);
    press({CA, POW10});
    EXPECT_EQ(formula->text(), "A^");
    input->on_change(8);
    EXPECT_FALSE(key(K8)->isEnabled());
    EXPECT_EQ(key(DIV)->text(), "[/]");
    input->on_change(10);
    QLabel* inexact = nullptr;
    for (QLabel* l : page->findChildren<QLabel*>())
        if (l->text() == "[ ]") inexact = l;
    ASSERT_NE(inexact, nullptr);
    EXPECT_EQ(eval("7/2"), "3");
    EXPECT_TRUE(inexact->isVisible());
    EXPECT_EQ(eval("8/2"), "4");
    EXPECT_FALSE(inexact->isVisible());
}

// "Stop" after 100 ms locks the other keys, the settings and every other
// window; a click on it ends the run and keeps the previous result.
TEST_F(CalcWindow, LongEvaluationShowsStopAndLocks) {
    EXPECT_EQ(eval("7"), "7");
    NumericUpDownControl* digits = page->digitsControl();
    digits->setValue(10000);
    digits->on_change(10000);
    VariablesForm* vars = page->variables();
    press({VAR});
    ASSERT_TRUE(vars->isVisible());
    formula->setText("fact(10^7)+fact(10^7+1)");
    QTest::keyClick(formula, Qt::Key_Return);
    spin(300);
    ASSERT_TRUE(page->busy());
    EXPECT_EQ(key(CA)->text(), "Stop");
    EXPECT_FALSE(key(K7)->isEnabled());
    EXPECT_FALSE(named<QComboBox>("Type")->isEnabled());
    EXPECT_FALSE(vars->isEnabled());
    press({CA});
    waitIdle();
    EXPECT_FALSE(page->busy());
    EXPECT_EQ(result->toPlainText(), "7");
    EXPECT_EQ(key(CA)->text(), "CA");
    EXPECT_TRUE(key(K7)->isEnabled());
    EXPECT_TRUE(vars->isEnabled());
    vars->hide();
}

TEST_F(CalcWindow, VariablesAddRenameUseAndSave) {
    press({VAR});
    VariablesForm* vars = page->variables();
    auto* names = vars->findChild<QListWidget*>();
    QPushButton* add = vars->findChild<QPushButton*>();  // the first button
    ASSERT_EQ(add->text(), "Add variable");
    QTest::mouseClick(add, Qt::LeftButton);
    QLineEdit* name = vars->findChild<QLineEdit*>();
    EXPECT_EQ(name->text(), "var00");
    EXPECT_EQ(vars->focusWidget(), name);
    EXPECT_EQ(name->selectedText(), "var00");
    expectMessage("The variable name \"Bad\" is invalid.");
    QTest::keyClicks(name, "Bad");
    QTest::keyClick(name, Qt::Key_Return);  // leaving the field works the same
    spin(30);
    EXPECT_EQ(names->item(0)->text(), "Bad");
    name->selectAll();
    QTest::keyClicks(name, "x");
    QTest::keyClicks(vars->findChild<QPlainTextEdit*>(), "5");
    EXPECT_EQ(eval("x*2"), "10");  // pending edits are taken before an evaluation
    page->beforeSave();
    ASSERT_EQ(settings_variables.size(), 1u);
    EXPECT_EQ(settings_variables[0], (SavedVariable{u"x", 10, u"5"}));
    vars->hide();
}

TEST_F(CalcWindow, HistoryIsReusedWalkedKeptAndReadTolerantly) {
    eval("1+1");
    eval("2*3");
    ASSERT_EQ(history->count(), 2);
    EXPECT_EQ(history->item(1)->text(), "2*3 = 6");
    formula->setText("9");
    emit history->itemClicked(history->item(0));
    EXPECT_EQ(formula->text(), "1+1");
    emit history->itemDoubleClicked(history->item(1));
    EXPECT_EQ(formula->text(), "96");  // the click taken back, the result inserted

    formula->clear();
    const std::vector<QString> walk = {"2*3", "1+1", "1+1"};
    for (const QString& expected : walk) {
        QTest::keyClick(formula, Qt::Key_Up);
        EXPECT_EQ(formula->text(), expected);
    }
    QTest::keyClick(formula, Qt::Key_Down);
    EXPECT_EQ(formula->text(), "2*3");
    QTest::keyClick(formula, Qt::Key_Escape);
    EXPECT_EQ(formula->text(), "");
    QTest::keyClicks(formula, "sin(30)+abc");
    QTest::keyClick(formula, Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(formula->text(), "sin(30)+");

    open();  // a restart
    ASSERT_EQ(history->count(), 2);
    page->findChild<QPushButton*>()->click();  // "Copy history"
    EXPECT_EQ(QApplication::clipboard()->text(), "1+1 = 2\n2*3 = 6\n");

    std::ofstream(calcHistoryPath(), std::ios::binary)
        << "# Velmarix history: hidden\n4 = 4\n\xff junk\n5 = 5\n";
    open();
    EXPECT_EQ(history->count(), 1);
    EXPECT_FALSE(history->isVisible());
}

// The page in each number type with a result and the history, in both
// languages, for people to look at; with the layout checks.
TEST_F(CalcWindow, ScreenshotsInEveryTypeAndLanguage) {
    const std::pair<int, const char*> types[] = {{MP_TYPE_UINT, "2^100"},
                                                 {MP_TYPE_RAT, "1/3"},
                                                 {MP_TYPE_REAL, "sqrt(2)"},
                                                 {MP_TYPE_CPLX, "1+2i"}};
    const std::string dir = VELMARIX_SCREENSHOT_DIR;
    for (const std::string lang : {"en", "de"}) {
        ui_language_select(lang == "de" ? SETTINGS_LANGUAGE_GERMAN : SETTINGS_LANGUAGE_ENGLISH);
        open();
        // The labels name the controls in German too.
        EXPECT_NE(named<QLineEdit>(lang == "de" ? "Formel" : "Formula"), nullptr);
        EXPECT_NE(named<QListWidget>(lang == "de" ? "Verlauf" : "History"), nullptr);
        for (const auto& [type, text] : types) {
            setType(type);
            eval(text);
            SCOPED_TRACE(lang + " " + text);
            expectLayoutSound(page.get());
            saveScreenshot(page.get(),
                           dir + "/calculator-type" + std::to_string(type) + "-" + lang + ".png");
        }
        page->variables()->show();
        spin(20);
        expectLayoutSound(page->variables());
        saveScreenshot(page->variables(), dir + "/calculator_variables-" + lang + ".png");
        page->variables()->hide();
    }
}

}  // namespace
