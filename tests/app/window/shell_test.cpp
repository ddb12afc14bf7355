// The program's shell driven through its windows: the welcome at the first
// start only, the save at exit when something changed, the menu, the
// options' apply rules with the language change, help errors, the command
// line. (The settings' language naming the windows is checked with the
// screenshots.)
#include <QAbstractButton>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "app/settings_file.h"
#include "app/settings_path.h"
#include "app/settings_values.h"
#include "app/window/app_main.h"
#include "app/window/command_line.h"
#include "app/window/tool_windows.h"
#include "gui_fixture.h"
#include "numlib/mp_context.h"
#include "ui/form.h"
#include "ui/qt_text.h"

namespace {

namespace fs = std::filesystem;

QAction* menu_item(Form* main, const QString& text) {
    for (QAction* menu : main->findChild<QMenuBar*>()->actions())
        for (QAction* item : menu->menu()->actions())
            if (item->text() == text) return item;
    return nullptr;
}

QAbstractButton* button(QWidget* w, const QString& text) {
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->text() == text) return b;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

class Shell : public GuiTest {
  protected:
    void SetUp() override {
        GuiTest::SetUp();
        app_set_restart([this] { return ++restarts, true; });
    }
    void write_settings(const char* hint) {
        settings_reset();
        settings_show_welcome_hint = hint[0] == '1';
        ASSERT_TRUE(settings_save());
    }
    int restarts = 0;
};

TEST_F(Shell, TheAboutBoxGreetsOnceAndTheHintIsSavedOffAtExit) {
    QString title;
    expectModal([&](QWidget* w) {
        title = w->windowTitle();
        closeModal(w);
    });
    const AppWindows& win = app_start("");
    EXPECT_TRUE(win.main->isVisible());
    spin(100);
    EXPECT_EQ(title, QStringLiteral("About Velmarix"));
    EXPECT_FALSE(app_finish());
    ASSERT_TRUE(fs::exists(settings_path));
    settings_load();
    EXPECT_EQ(settings_show_welcome_hint, 0);

    // The second start greets no more and, with nothing changed, writes nothing.
    fs::remove(settings_path);
    write_settings("0");
    const auto stamp = fs::last_write_time(settings_path);
    app_start("");
    spin(100);
    app_finish();
    EXPECT_EQ(fs::last_write_time(settings_path), stamp);
}

TEST_F(Shell, TheMenuOpensTheShellsWindowsAndHelpAndDisablesToolsWithoutOne) {
    write_settings("0");
    const AppWindows& win = app_start("");
    spin(50);
    for (const ToolPage& page : tool_pages()) {
        QAction* item = menu_item(win.main, ui_qtext(page.menu_slot));
        ASSERT_NE(item, nullptr) << page.name;
        EXPECT_EQ(item->isEnabled(), page.create != nullptr) << page.name;
        if (!item->isEnabled()) continue;
        item->trigger();
        EXPECT_TRUE(tool_window(page)->isVisible()) << page.name;
        tool_window(page)->close();
    }
    menu_item(win.main, QStringLiteral("Options"))->trigger();
    EXPECT_TRUE(win.options->isVisible());
    win.options->close();
    EXPECT_FALSE(win.options->isVisible());
    bool about_modal = false;
    expectModal([&](QWidget* w) {
        about_modal = w == win.about && !win.main->isEnabled();
        closeModal(w);
    });
    menu_item(win.main, QStringLiteral("Info ..."))->trigger();
    EXPECT_TRUE(about_modal);
    EXPECT_TRUE(win.main->isEnabled());
    menu_item(win.main, QStringLiteral("Show Help"))->trigger();
    bool help_shown = false;
    for (QWidget* w : QApplication::topLevelWidgets())
        help_shown |= w->windowTitle() == QStringLiteral("Help") && w->isVisible();
    EXPECT_TRUE(help_shown) << "the help pages of the build tree are not there";
}

// Each row: what the user does on the options page, and what must follow.
TEST_F(Shell, OptionsApplyWhatChangedAndANewLanguageRestarts) {
    const struct {
        std::vector<const char*> clicks;  // buttons by caption, on the page, then OK or Cancel
        const char* answer;               // the language message's button; null: no message
        u32 separator, language;
        u8 grouping_calc, dirty;
        int restarts;
    } rows[] = {
        {{"Scientific calculator", "OK"}, nullptr, 0, 1, 1, 1, 0},
        {{"Comma", "OK"}, nullptr, 1, 1, 0, 1, 0},
        {{"Comma", "German", "Cancel"}, nullptr, 0, 1, 0, 0, 0},
        {{"Automatic selection", "OK"}, nullptr, 0, 1, 0, 0, 0},
        {{"German", "OK"}, "OK", 0, 3, 0, 0, 1},
        {{"German", "OK"}, "Cancel", 0, 3, 0, 1, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.clicks[0]) + " " + (row.answer ? row.answer : ""));
        write_settings("0");
        restarts = 0;
        const AppWindows& win = app_start("options");
        spin(50);
        ASSERT_TRUE(win.options->isVisible());
        if (row.answer != nullptr)
            expectModal([&](QWidget* w) { closeModal(w, QString::fromUtf8(row.answer)); });
        for (const char* caption : row.clicks)
            button(win.options, QString::fromUtf8(caption))->click();
        spin(50);
        EXPECT_FALSE(win.options->isVisible());
        EXPECT_EQ(settings_decimal_separator, row.separator);
        EXPECT_EQ(std::u16string(mp_decimal_chars), row.separator == 1 ? u",." : u".,");
        EXPECT_EQ(settings_language, row.language);
        EXPECT_EQ(settings_thousands_sci_calc, row.grouping_calc);
        EXPECT_EQ(restarts, row.restarts);
        EXPECT_EQ(win.main->isVisible(), row.restarts == 0);
        if (row.restarts == 0) {
            EXPECT_EQ(settings_dirty, row.dirty);
        } else {  // saved before the restart, in the new language
            settings_load();
            EXPECT_EQ(settings_language, row.language);
        }
        // Shown again, the page holds the stored settings, not abandoned choices.
        win.options->show();
        EXPECT_EQ(button(win.options, "Comma")->isChecked(), row.separator == 1);
        EXPECT_EQ(button(win.options, "German")->isChecked(), row.language == 3);
        EXPECT_EQ(button(win.options, "Scientific calculator")->isChecked(),
                  row.grouping_calc == 1);
        win.options->hide();
        app_finish();
    }
}

// A missing help folder is 1005 with its full path, a missing page 1006.
TEST_F(Shell, HelpNamesWhatIsMissing) {
    write_settings("0");
    const std::string empty = settingsFolder() + "/help";
    fs::create_directories(empty + "/Velmarix_en");
    const struct {
        std::string dir, want;
    } rows[] = {
        {"/nonexistent/help", "\"/nonexistent/help/Velmarix_en\" was not found"},
        {empty, "Overview_en.html"},
    };
    for (const auto& row : rows) {
        qputenv("VELMARIX_HELP_DIR", QByteArray::fromStdString(row.dir));
        const AppWindows& again = app_start("");  // builds the help path anew
        spin(50);
        QString text;
        expectModal([&](QWidget* w) {
            text = static_cast<QMessageBox*>(w)->text();
            closeModal(w);
        });
        menu_item(again.main, QStringLiteral("Show Help"))->trigger();
        EXPECT_TRUE(text.contains(QString::fromStdString(row.want))) << text.toStdString();
    }
    qunsetenv("VELMARIX_HELP_DIR");
}

TEST(CommandLine, OptionsAreReadAndMistakesNamed) {
    struct Row {
        std::vector<const char*> args;
        CommandLine::Action action;
        const char* open;
    } rows[] = {
        {{}, CommandLine::Run, ""},
        {{"--open", "primes"}, CommandLine::Run, "primes"},
        {{"--open=about"}, CommandLine::Run, "about"},
        {{"-platform", "offscreen", "--open", "about"}, CommandLine::Run, "about"},
        {{"--open", "nothing"}, CommandLine::Usage, ""},
        {{"--help", "--bogus"}, CommandLine::Help, ""},
        {{"--open=primes", "--version"}, CommandLine::Version, ""},
        {{"--open"}, CommandLine::Usage, ""},  // the name missing
        {{"stray"}, CommandLine::Usage, ""},
    };
    for (const Row& r : rows) {
        std::vector<char*> argv{const_cast<char*>("velmarix")};
        for (const char* a : r.args) argv.push_back(const_cast<char*>(a));
        const CommandLine cl = command_line_parse(static_cast<int>(argv.size()), argv.data());
        SCOPED_TRACE(r.args.empty() ? "" : r.args[0]);
        EXPECT_EQ(cl.action, r.action);
        EXPECT_EQ(cl.open, r.open);
        EXPECT_EQ(cl.error.empty(), r.action != CommandLine::Usage);  // a mistake is named
    }
}

// Both languages have the same pages, and every link between them leads to
// a page that exists.
TEST(HelpPages, EveryLinkLeadsToAPageInBothLanguages) {
    const fs::path root =
        fs::path(QCoreApplication::applicationDirPath().toStdString()) / "../share/velmarix/help";
    std::set<std::string> topics[2];
    const char* langs[2] = {"en", "de"};
    for (int l = 0; l < 2; ++l) {
        const fs::path folder = root / (std::string("Velmarix_") + langs[l]);
        ASSERT_TRUE(fs::is_directory(folder)) << folder;
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            topics[l].insert(name.substr(0, name.size() - 8));  // without "_en.html"
            std::ifstream in(entry.path());
            const std::string text((std::istreambuf_iterator<char>(in)), {});
            const std::regex link("href=\"([^\"#:]+)\"");
            for (auto it = std::sregex_iterator(text.begin(), text.end(), link);
                 it != std::sregex_iterator(); ++it)
                EXPECT_TRUE(fs::exists(folder / (*it)[1].str()))
                    << name << " links to " << (*it)[1];
        }
    }
    EXPECT_EQ(topics[0], topics[1]);
    for (const char* topic : {"Overview", "ContactDetails", "AuthorDonation"})
        EXPECT_TRUE(topics[0].count(topic)) << topic;
}

}  // namespace
