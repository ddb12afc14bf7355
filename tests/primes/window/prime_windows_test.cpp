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
        primes_.reset(primes_window_create());
        factors_.reset(factors_window_create());
    }
    void TearDown() override {
        primes_.reset();
        factors_.reset();
        PageTest::TearDown();
    }
    OutputBox* box(QWidget* page) { return findOne<OutputBox>(page); }
    QString status(QWidget* page) { return findOne<StatusLine>(page)->text(); }
    QPushButton* start(QWidget* page) {
        return static_cast<QPushButton*>(button(QStringLiteral("Start"), page));
    }
    QLineEdit* interval(QWidget* page) {
        return named<QLineEdit>(QStringLiteral("Interval size"), page);
    }
    // Runs events until the page's run has ended; the bound only proves it ends.
    bool waitIdle(QWidget* page) {
        QElapsedTimer t;
        t.start();
        QPushButton* first = page->findChildren<QPushButton*>().front();
        while (t.elapsed() < 30000 && !first->isEnabled()) spin(5);
        spin(80);  // the last pieces are shown
        return first->isEnabled() && !job_running();
    }
    // The number field (named "Start" like the button beside it).
    void setNumber(QWidget* page, const QString& text) {
        QWidget* f = named(QStringLiteral("Start"), page);
        if (auto* e = qobject_cast<QPlainTextEdit*>(f)) e->setPlainText(text);
        if (auto* e = qobject_cast<QLineEdit*>(f)) e->setText(text);
    }
    QString numberText(QWidget* page) {
        QWidget* f = named(QStringLiteral("Start"), page);
        if (auto* e = qobject_cast<QPlainTextEdit*>(f)) return e->toPlainText();
        return qobject_cast<QLineEdit*>(f)->text();
    }
    void setBase(QWidget* page, const QString& base) {
        QComboBox* c = named<QComboBox>(QStringLiteral("Base"), page);
        c->setCurrentIndex(c->findText(base));
        emit c->activated(c->currentIndex());
    }
    std::unique_ptr<Form> primes_, factors_;
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
    primes_->show();
    setNumber(primes_.get(), QStringLiteral("1000000000000"));
    interval(primes_.get())->setText(QStringLiteral("2800000"));
    QTest::mouseClick(start(primes_.get()), Qt::LeftButton);
    ASSERT_TRUE(waitIdle(primes_.get()));
    OutputBox* out = box(primes_.get());
    const QString expected = direct(PRIME_METHOD_EXACT, PRIME_OP_INTERVAL, 1000000000000, 2800000);
    EXPECT_GT(expected.count(u','), 100000);
    EXPECT_EQ(out->text(), expected);
    EXPECT_TRUE(
        status(primes_.get())
            .startsWith(QStringLiteral("2,800,000 of 2,800,000 numbers examined  \u2013  Time: ")))
        << status(primes_.get()).toStdString();
    // The view breaks the one long line at blanks, and only there.
    QString shown = out->toPlainText();
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
    primes_->show();
    setNumber(primes_.get(), QStringLiteral("255"));
    setBase(primes_.get(), QStringLiteral("16"));
    EXPECT_EQ(numberText(primes_.get()), QStringLiteral("FF"));
    EXPECT_EQ(interval(primes_.get())->text(), QStringLiteral("64"));
    EXPECT_EQ(named<QLabel>(QStringLiteral("Digits"), primes_.get())->text(), QStringLiteral("2 "));
    // In base 16 "100" means 256 numbers: from 1 they hold 54 primes.
    setNumber(primes_.get(), QStringLiteral("1"));
    interval(primes_.get())->setText(QStringLiteral("100"));
    start(primes_.get())->click();
    ASSERT_TRUE(waitIdle(primes_.get()));
    EXPECT_TRUE(
        box(primes_.get())->text().endsWith(QStringLiteral("FB }\nNumber of prime numbers: 54\n")));
    setNumber(primes_.get(), QStringLiteral("ff"));
    static_cast<QRadioButton*>(button(QStringLiteral("Prime number test"), primes_.get()))->click();
    start(primes_.get())->click();
    ASSERT_TRUE(waitIdle(primes_.get()));
    EXPECT_EQ(box(primes_.get())->text(), QStringLiteral("FF is not a prime number.\n"));
    // A field that is no number is named, left as it is, and the base changes.
    interval(primes_.get())->setText(QStringLiteral("1x"));
    auto message = nextMessage();
    setBase(primes_.get(), QStringLiteral("10"));
    EXPECT_EQ(*message, QStringLiteral("Invalid input \"1x\" !"));
    EXPECT_EQ(numberText(primes_.get()), QStringLiteral("255"));

    factors_->show();
    setNumber(factors_.get(), QStringLiteral("18446744073709551617"));  // 2^64 + 1
    setBase(factors_.get(), QStringLiteral("16"));
    EXPECT_EQ(numberText(factors_.get()), QStringLiteral("10000000000000001"));
}

// Each option of a page runs its worker on the fields as typed, blanks trimmed.
TEST_F(PrimeWindows, EachOptionRunsItsWorker) {
    struct Case {
        Form* page;
        const char* options;  // the buttons clicked, apart by "|"
        QString number, size, want;
    };
    const Case cases[] = {
        {primes_.get(), "Next prime number", "14", "", "Next prime number:\n17"},
        {primes_.get(), "Prime number test", "17", "", "17 is a prime number.\n"},
        {factors_.get(), "Prime factors", " 18446744073709551617 ", "1",
         "18446744073709551617 = 274177 * 67280421310721\n"},
        {factors_.get(), "Divisors|Number of divisors", "11", "2",
         "D 11 = { 1, 11 }  [2]\nD 12 = { 1, 2, 3, 4, 6, 12 }  [6]\n"},
    };
    for (const Case& c : cases) {
        c.page->show();
        for (const QString& option : QString::fromUtf8(c.options).split(u'|'))
            button(option, c.page)->click();
        setNumber(c.page, c.number);
        interval(c.page)->setText(c.size);
        start(c.page)->click();
        ASSERT_TRUE(waitIdle(c.page));
        EXPECT_EQ(box(c.page)->text(), c.want) << c.options;
        EXPECT_EQ(numberText(c.page), c.number.trimmed());
    }
    EXPECT_TRUE(status(factors_.get()).startsWith(QStringLiteral("Number 2 of 2  \u2013  Time: ")));
}

TEST_F(PrimeWindows, InvalidInputIsNamedAndNothingStarts) {
    struct Case {
        Form* page;
        QString number, interval, shown;
    };
    const Case cases[] = {
        {primes_.get(), "", "100", "Invalid input \"\" !"},
        {primes_.get(), "0", "100", "Invalid input \"0\" !"},
        {primes_.get(), "7", "0", "Invalid input \"0\" !"},
        {primes_.get(), "7", "2147483648", "Invalid input \"2147483648\" !"},
        {primes_.get(), "340282366920938463463374607431768211456", "1",
         "Invalid input \"340282366920938463463374607431768211456\" !"},
        {factors_.get(), "12", "1000001", "Invalid input \"1000001\" !"},
        {factors_.get(), "1 2", "", "Invalid input \"1 2\" !"},
        {factors_.get(), "abc", " ", "Invalid input \"abc\" !"},
    };
    for (const Case& c : cases) {
        c.page->show();
        setNumber(c.page, c.number);
        interval(c.page)->setText(c.interval);
        auto message = nextMessage();
        start(c.page)->click();
        spin(30);
        EXPECT_EQ(*message, c.shown);
        EXPECT_FALSE(job_running());
        EXPECT_TRUE(box(c.page)->text().isEmpty());
    }
    // The largest interval is taken.
    setNumber(primes_.get(), QStringLiteral("7"));
    interval(primes_.get())->setText(QStringLiteral("2147483647"));
    start(primes_.get())->click();
    EXPECT_TRUE(job_running());
    button(QStringLiteral("Stop"), primes_.get())->click();
    EXPECT_TRUE(waitIdle(primes_.get()));
}

TEST_F(PrimeWindows, StopAndCloseEndARunKeepingItsOutputAndALaterRunWorks) {
    primes_->show();
    factors_->show();
    // Beyond 2^64 every candidate is tested alone: a run long enough to stop.
    setNumber(primes_.get(), QStringLiteral("100000000000000000000"));
    interval(primes_.get())->setText(QStringLiteral("2147483647"));
    for (bool close : {false, true}) {
        start(primes_.get())->click();
        QElapsedTimer t;
        t.start();
        while (box(primes_.get())->text().count(u',') < 3 && t.elapsed() < 20000) spin(5);
        EXPECT_FALSE(factors_->isEnabled());
        EXPECT_FALSE(named(QStringLiteral("Method"), primes_.get())->isEnabled());
        EXPECT_FALSE(named(QStringLiteral("Base"), primes_.get())->isEnabled());
        if (close) {
            primes_->close();
            EXPECT_FALSE(primes_->isVisible());
        } else {
            button(QStringLiteral("Stop"), primes_.get())->click();
        }
        ASSERT_TRUE(waitIdle(primes_.get()));
        const QString text = box(primes_.get())->text();
        EXPECT_TRUE(
            text.startsWith(QStringLiteral("Prime numbers from 100000000000000000000 to ")));
        EXPECT_FALSE(text.contains(QStringLiteral("Number of prime numbers")));
        EXPECT_TRUE(status(primes_.get()).contains(QStringLiteral("Stopped after")));
        EXPECT_TRUE(factors_->isEnabled());
        EXPECT_TRUE(named(QStringLiteral("Method"), primes_.get())->isEnabled());
    }
    primes_->show();
    static_cast<QRadioButton*>(button(QStringLiteral("Next prime number"), primes_.get()))->click();
    start(primes_.get())->click();
    ASSERT_TRUE(waitIdle(primes_.get()));
    EXPECT_EQ(box(primes_.get())->text(),
              QStringLiteral("Next prime number:\n100000000000000000039"));
}

TEST_F(PrimeWindows, BothPagesShowAResultInBothLanguages) {
    for (const char* lang : {"en", "de"}) {
        ui_language_select(std::string(lang) == "de" ? SETTINGS_LANGUAGE_GERMAN
                                                     : SETTINGS_LANGUAGE_ENGLISH);
        primes_.reset(primes_window_create());
        factors_.reset(factors_window_create());
        setNumber(primes_.get(), QStringLiteral("1000000000000"));
        setNumber(factors_.get(), QStringLiteral("18446744073709551617"));
        for (Form* page : {primes_.get(), factors_.get()}) {
            page->show();
            page->findChildren<QPushButton*>().front()->click();  // Start ("Starten")
            ASSERT_TRUE(waitIdle(page));
            expectLayoutSound(page);
            saveScreenshot(page, std::string(VELMARIX_SCREENSHOT_DIR) + "/" +
                                     (page == primes_.get() ? "primes" : "factors") + "-result-" +
                                     lang + ".png");
        }
        EXPECT_EQ(box(factors_.get())->accessibleName(),
                  std::string(lang) == "de" ? "Ausgabe" : "Output");
    }
}

}  // namespace
