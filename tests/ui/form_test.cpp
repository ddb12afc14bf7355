// The forms' keyboard rules and modal runs, driven by real key events.
#include "ui/form.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include "gui_fixture.h"
#include "ui/number_controls.h"
#include "ui/window_text.h"

namespace {

// edit, a radio group of three (the second checked), a multi-line edit, an
// up-down field, a button and the default button OK.
struct SampleForm {
    Form form{QStringLiteral("Sample"), 300, 300};
    QLineEdit* edit = new QLineEdit(&form);
    QGroupBox* group = new QGroupBox(QStringLiteral("Group"), &form);
    QRadioButton* radio[3] = {new QRadioButton(QStringLiteral("One"), group),
                              new QRadioButton(QStringLiteral("Two"), group),
                              new QRadioButton(QStringLiteral("Three"), group)};
    QPlainTextEdit* multi = new QPlainTextEdit(&form);
    NumericUpDownControl* updown = new NumericUpDownControl(&form);
    QPushButton* other = new QPushButton(QStringLiteral("Other"), &form);
    QPushButton* ok = new QPushButton(QStringLiteral("OK"), &form);
    int ok_clicks = 0, other_clicks = 0;

    SampleForm() {
        auto* g = new QVBoxLayout(group);
        for (auto* r : radio) g->addWidget(r);
        radio[1]->setChecked(true);
        auto* l = new QVBoxLayout(&form);
        for (QWidget* w : std::initializer_list<QWidget*>{edit, group, multi, updown, other, ok})
            l->addWidget(w);
        form.setDefaultButton(ok);
        QObject::connect(ok, &QPushButton::clicked, [this] { ++ok_clicks; });
        QObject::connect(other, &QPushButton::clicked, [this] { ++other_clicks; });
        form.show();
        QApplication::setActiveWindow(&form);
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    QWidget* widget(int i) {
        QWidget* all[] = {edit, radio[0], radio[1], radio[2], multi, updown->spin(), other, ok};
        return all[i];
    }
};

enum { EDIT, R1, R2, R3, MULTI, UPDOWN, OTHER, OK };

class FormKeys : public GuiTest {};

// Tab and Backtab walk every stop with wrap-around, a radio group being one
// stop; the arrows move and check within the group and stop at its ends.
TEST_F(FormKeys, TabAndArrowKeys) {
    const struct {
        int from;
        Qt::Key key;
        int to;
    } rows[] = {
        {EDIT, Qt::Key_Tab, R2},      {R2, Qt::Key_Tab, MULTI},     {OK, Qt::Key_Tab, EDIT},
        {EDIT, Qt::Key_Backtab, OK},  {MULTI, Qt::Key_Backtab, R2}, {R3, Qt::Key_Tab, MULTI},
        {UPDOWN, Qt::Key_Tab, OTHER}, {R2, Qt::Key_Down, R3},       {R3, Qt::Key_Right, R3},
        {R3, Qt::Key_Up, R2},         {R2, Qt::Key_Left, R1},       {R1, Qt::Key_Up, R1},
    };
    SampleForm s;
    for (const auto& r : rows) {
        s.widget(r.from)->setFocus();
        QTest::keyClick(s.focused(), r.key);
        EXPECT_EQ(s.focused(), s.widget(r.to)) << "from " << r.from << " key " << r.key;
        if (r.to >= R1 && r.to <= R3 && r.key != Qt::Key_Tab) {
            EXPECT_TRUE(static_cast<QRadioButton*>(s.widget(r.to))->isChecked());
        }
    }
}

TEST_F(FormKeys, EnterClicksTheDefaultButtonUnlessTheControlTakesEnter) {
    SampleForm s;
    s.edit->setFocus();
    QTest::keyClick(s.edit, Qt::Key_Return);
    EXPECT_EQ(s.ok_clicks, 1);
    EXPECT_EQ(s.focused(), s.edit);  // the focus comes back

    s.multi->setFocus();
    QTest::keyClicks(s.multi, QStringLiteral("a"));
    QTest::keyClick(s.multi, Qt::Key_Return);
    QTest::keyClicks(s.multi, QStringLiteral("b"));
    EXPECT_EQ(s.multi->toPlainText(), QStringLiteral("a\nb"));

    // A focused push button shows as the default instead of the form's own.
    s.other->setFocus();
    EXPECT_TRUE(s.other->isDefault() && !s.ok->isDefault());
    QTest::keyClick(s.other, Qt::Key_Return);
    EXPECT_EQ(s.other_clicks, 1);
    EXPECT_EQ(s.ok_clicks, 1);
    s.edit->setFocus();
    EXPECT_TRUE(!s.other->isDefault() && s.ok->isDefault());
}

TEST_F(FormKeys, NumberControlsReportWhatTheUserChose) {
    SampleForm s;
    auto* base =
        new NumberBaseControl(&s.form, NumberBaseControl::Base2 | NumberBaseControl::Base8);
    base->show();
    base->select(10);
    std::vector<int> bases;
    base->on_change = [&](int b) { bases.push_back(b); };
    base->combo()->setFocus();
    QTest::keyClick(base->combo(), Qt::Key_Down);
    EXPECT_EQ(bases, std::vector<int>{16});
    base->select(-1);
    EXPECT_EQ(base->base(), 0);

    std::vector<int> values;
    s.updown->on_change = [&](int v) { values.push_back(v); };
    s.updown->setValue(5);  // set by the page: not reported
    // Enter (taken by the field, not the default button) and leaving the field commit.
    for (const auto& [typed, key] : {std::pair{"42", Qt::Key_Return}, {"7", Qt::Key_Tab}}) {
        s.updown->spin()->setFocus();
        s.updown->spin()->selectAll();
        QTest::keyClicks(s.updown->spin(), QString::fromUtf8(typed));
        QTest::keyClick(s.updown->spin(), key);
    }
    s.updown->spin()->setFocus();
    QTest::keyClick(s.updown->spin(), Qt::Key_Up);  // the arrows commit at once
    EXPECT_EQ(values, (std::vector<int>{42, 7, 8}));
    EXPECT_EQ(s.ok_clicks, 0);
    // The digit count counts every digit and letter, zeros too, and no separator.
    EXPECT_EQ(digit_count_of(u"10'203 0fF"), 8);
    // A window text too long for the buffer is cut with an ellipsis.
    s.edit->setText(QStringLiteral("123456"));
    char16_t buf[8];
    EXPECT_EQ(window_text_get(s.edit, buf, 6), 6);
    EXPECT_EQ(std::u16string(buf), u"123456");
    EXPECT_EQ(window_text_get(s.edit, buf, 4), 4);
    EXPECT_EQ(std::u16string(buf), u"123…");
}

TEST_F(FormKeys, AModalRunDisablesTheOtherWindowsAndReEnablesExactlyThose) {
    Form enabled(QStringLiteral("A"), 100, 100), disabled(QStringLiteral("B"), 100, 100);
    Form modal(QStringLiteral("Modal"), 100, 100);
    enabled.show();
    disabled.setEnabled(false);
    bool seen = false;
    expectModal([&](QWidget* w) {
        seen = w == &modal && !enabled.isEnabled() && !disabled.isEnabled() && modal.isEnabled();
        w->hide();
    });
    EXPECT_TRUE(form_run_modal(&modal, &enabled));
    EXPECT_TRUE(seen);
    EXPECT_TRUE(enabled.isEnabled());
    EXPECT_FALSE(disabled.isEnabled());

    enable_thread_windows(&enabled, false);
    EXPECT_TRUE(enabled.isEnabled());
    EXPECT_FALSE(modal.isEnabled());
    enable_thread_windows(&enabled, true);
    EXPECT_TRUE(modal.isEnabled());
}

}  // namespace
