// The two prime pages through their real widgets: a run streams the
// worker's text intact into the output box, the status line follows it,
// inputs are checked and re-expressed with the base, and a stop or a
// close ends a run with its output kept.
#include "primes/window/prime_windows.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "app/app_error.h"
#include "app/settings_values.h"
#include "gui_page.h"
#include "numlib/mp_context.h"
#include "primes/prime_numbers_worker.h"

// Failures show texts as texts.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

class PrimeWindows : public PageTest {
  protected:
    void SetUp() override {
        PageTest::SetUp();
        build();
    }
    void TearDown() override {
        primes_.reset();
        factors_.reset();
        PageTest::TearDown();
    }
    // Both pages in the active language, P the primes and F the factors page.
    void build() {
        primes_.reset(P = primes_window_create());
        factors_.reset(F = factors_window_create());
    }
    OutputBox* box(QWidget* page) { return findOne<OutputBox>(page); }
    QString status(QWidget* page) { return findOne<StatusLine>(page)->text(); }
    QAbstractButton* start(QWidget* page) { return button(QStringLiteral("Start"), page); }
    QLineEdit* interval(QWidget* page) {
        return named<QLineEdit>(QStringLiteral("Interval size"), page);
    }
    // The number field (named "Start" like the button beside it).
    QWidget* number(QWidget* page) { return named(QStringLiteral("Start"), page); }
    QString numberText(QWidget* page) {
        if (auto* e = qobject_cast<QPlainTextEdit*>(number(page))) return e->toPlainText();
        return qobject_cast<QLineEdit*>(number(page))->text();
    }
    // Types the number and, unless size is null, the interval size.
    void fill(QWidget* page, const QString& text, const char* size = nullptr) {
        page->show();
        if (auto* e = qobject_cast<QPlainTextEdit*>(number(page))) e->setPlainText(text);
        if (auto* e = qobject_cast<QLineEdit*>(number(page))) e->setText(text);
        if (size) interval(page)->setText(QString::fromUtf8(size));
    }
    // Clicks the page's first button (Start in any language); the output at the run's end.
    QString run(QWidget* page) {
        QTest::mouseClick(page->findChildren<QPushButton*>().front(), Qt::LeftButton);
        waitIdle();
        return box(page)->text();
    }
    void option(QWidget* page, const char* caption) {
        button(QString::fromUtf8(caption), page)->click();
    }
    void setBase(QWidget* page, const QString& base) {
        QComboBox* c = named<QComboBox>(QStringLiteral("Base"), page);
        c->setCurrentIndex(c->findText(base));
        emit c->activated(c->currentIndex());
    }
    std::unique_ptr<Form> primes_, factors_;
    Form *P = nullptr, *F = nullptr;
};

// The text the worker gives for this run when it writes into a string.
QString direct(u32 method, u32 op, u64 start, i64 size) {
    mp_set_int_words(2);
    const u64 n[2] = {start, 0};
    struct Sink : PrimeOutputSink {
        QString text;
        void append(const char16_t* t) override { text += QString::fromUtf16(t); }
        void done() override {}
    } sink;
    prime_numbers_worker(SPrimeNumberCalc{method, op, n, size, 0, 10}, sink);
    clearErrors();
    return sink.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

TEST_F(PrimeWindows, AHundredThousandPrimesArriveWholeAndShownInShortLines) {
    fill(P, QStringLiteral("1000000000000"), "2800000");
    const QString got = run(P);
    const QString expected = direct(PRIME_METHOD_EXACT, PRIME_OP_INTERVAL, 1000000000000, 2800000);
    EXPECT_GT(expected.count(u','), 100000);
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(status(P).startsWith(
        QStringLiteral("2,800,000 of 2,800,000 numbers examined  \u2013  Time: ")))
        << status(P).toStdString();
    // The view breaks the one long line at blanks, and only there.
    QString shown = box(P)->toPlainText();
    ASSERT_EQ(shown.size(), expected.size());
    int longest = 0;
    for (const QString& line : shown.split(u'\n'))
        longest = std::max<int>(longest, static_cast<int>(line.size()));
    EXPECT_LT(longest, 2100);
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (shown[i] != expected[i]) {
            ASSERT_TRUE(shown[i] == u'\n' && expected[i] == u' ') << i;
        }
}

TEST_F(PrimeWindows, TheBaseReExpressesBothFieldsAndTheRunReadsThem) {
    fill(P, QStringLiteral("255"));
    setBase(P, QStringLiteral("16"));
    EXPECT_EQ(numberText(P), QStringLiteral("FF"));
    EXPECT_EQ(interval(P)->text(), QStringLiteral("64"));
    EXPECT_EQ(named<QLabel>(QStringLiteral("Digits"), P)->text(), QStringLiteral("2 "));
    // In base 16 "100" means 256 numbers: from 1 they hold 54 primes.
    fill(P, QStringLiteral("1"), "100");
    EXPECT_TRUE(run(P).endsWith(QStringLiteral("FB }\nNumber of prime numbers: 54\n")));
    fill(P, QStringLiteral("ff"));
    option(P, "Prime number test");
    EXPECT_EQ(run(P), QStringLiteral("FF is not a prime number.\n"));
    // A field that is no number is named, left as it is, and the base changes.
    interval(P)->setText(QStringLiteral("1x"));
    auto message = nextMessage();
    setBase(P, QStringLiteral("10"));
    EXPECT_EQ(*message, QStringLiteral("Invalid input \"1x\" !"));
    EXPECT_EQ(numberText(P), QStringLiteral("255"));

    fill(F, QStringLiteral("18446744073709551617"));  // 2^64 + 1
    setBase(F, QStringLiteral("16"));
    EXPECT_EQ(numberText(F), QStringLiteral("10000000000000001"));
}

// Each option of a page runs its worker on the fields as typed, blanks trimmed.
TEST_F(PrimeWindows, EachOptionRunsItsWorker) {
    const struct {
        Form* page;
        const char *options, *size;  // the buttons clicked, apart by "|"
        QString number, want;
    } cases[] = {
        {P, "Next prime number", "", "14", "Next prime number:\n17"},
        {P, "Prime number test", "", "17", "17 is a prime number.\n"},
        {F, "Prime factors", "1", " 18446744073709551617 ",
         "18446744073709551617 = 274177 * 67280421310721\n"},
        {F, "Divisors|Number of divisors", "2", "11",
         "D 11 = { 1, 11 }  [2]\nD 12 = { 1, 2, 3, 4, 6, 12 }  [6]\n"},
    };
    for (const auto& c : cases) {
        c.page->show();
        for (const QString& o : QString::fromUtf8(c.options).split(u'|'))
            option(c.page, qPrintable(o));
        fill(c.page, c.number, c.size);
        EXPECT_EQ(run(c.page), c.want) << c.options;
        EXPECT_EQ(numberText(c.page), c.number.trimmed());
    }
    EXPECT_TRUE(status(F).startsWith(QStringLiteral("Number 2 of 2  \u2013  Time: ")));
}

TEST_F(PrimeWindows, InvalidInputIsNamedAndNothingStarts) {
    const struct {
        Form* page;
        const char* size;
        QString number, shown;  // shown: the text between the quotes
    } cases[] = {
        {P, "100", "0", "0"},
        {P, "0", "7", "0"},
        {P, "2147483648", "7", "2147483648"},
        {F, "1000001", "12", "1000001"},
        {F, "", "1 2", "1 2"},
        {F, " ", "abc", "abc"},
    };
    for (const auto& c : cases) {
        fill(c.page, c.number, c.size);
        auto message = nextMessage();
        start(c.page)->click();
        spin(30);
        EXPECT_EQ(*message, "Invalid input \"" + c.shown + "\" !");
        EXPECT_FALSE(job_running());
        EXPECT_TRUE(box(c.page)->text().isEmpty());
    }
    // The largest interval is taken.
    fill(P, QStringLiteral("7"), "2147483647");
    start(P)->click();
    EXPECT_TRUE(job_running());
    button(QStringLiteral("Stop"), P)->click();
    waitIdle();
}

TEST_F(PrimeWindows, StopAndCloseEndARunKeepingItsOutputAndALaterRunWorks) {
    F->show();
    // Beyond 2^64 every candidate is tested alone: a run long enough to stop.
    fill(P, QStringLiteral("100000000000000000000"), "2147483647");
    for (bool close : {false, true}) {
        start(P)->click();
        QElapsedTimer t;
        t.start();
        while (box(P)->text().count(u',') < 3 && t.elapsed() < 20000) spin(5);
        EXPECT_FALSE(F->isEnabled());
        EXPECT_FALSE(named(QStringLiteral("Method"), P)->isEnabled());
        EXPECT_FALSE(named(QStringLiteral("Base"), P)->isEnabled());
        close ? void(P->close()) : button(QStringLiteral("Stop"), P)->click();
        EXPECT_NE(P->isVisible(), close);
        waitIdle();
        const QString text = box(P)->text();
        EXPECT_TRUE(
            text.startsWith(QStringLiteral("Prime numbers from 100000000000000000000 to ")));
        EXPECT_FALSE(text.contains(QStringLiteral("Number of prime numbers")));
        EXPECT_TRUE(status(P).contains(QStringLiteral("Stopped after")));
        EXPECT_TRUE(F->isEnabled());
        EXPECT_TRUE(named(QStringLiteral("Method"), P)->isEnabled());
    }
    P->show();
    option(P, "Next prime number");
    EXPECT_EQ(run(P), QStringLiteral("Next prime number:\n100000000000000000039"));
}

TEST_F(PrimeWindows, BothPagesShowAResultInBothLanguages) {
    for (const std::string lang : {"en", "de"}) {
        ui_language_select(lang == "de" ? SETTINGS_LANGUAGE_GERMAN : SETTINGS_LANGUAGE_ENGLISH);
        build();
        fill(P, QStringLiteral("1000000000000"));
        fill(F, QStringLiteral("18446744073709551617"));
        for (Form* page : {P, F}) {
            run(page);
            expectLayoutSound(page);
            saveScreenshot(page, std::string(VELMARIX_SCREENSHOT_DIR) + "/" +
                                     (page == P ? "primes" : "factors") + "-result-" + lang +
                                     ".png");
        }
        EXPECT_EQ(box(F)->accessibleName(), lang == "de" ? "Ausgabe" : "Output");
    }
}

}  // namespace
