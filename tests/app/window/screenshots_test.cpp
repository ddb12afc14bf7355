// A picture of every window in English and German, light and dark, at the
// scale this run was started with (QT_SCALE_FACTOR; the 200 % run is its
// own test), written to build/screenshots/WINDOW-LANG-THEME-SCALE.png for
// people to look at; and the layout and accessibility checks on each.
#include <QApplication>
#include <QMenuBar>
#include <QPalette>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>

#include "app/settings_file.h"
#include "app/settings_values.h"
#include "app/window/app_main.h"
#include "app/window/help_viewer.h"
#include "app/window/tool_windows.h"
#include "gui_fixture.h"
#include "ui/form.h"

namespace {

QPalette dark_palette() {
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 32), text(220, 220, 220), button(60, 60, 64);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 170, 255));  // as dark desktop themes set it
    p.setColor(QPalette::LinkVisited, QColor(170, 140, 255));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return p;
}

class Screenshots : public GuiTest {
  protected:
    void shoot(QWidget* w, const std::string& name, const std::string& lang,
               const std::string& theme) {
        w->show();
        spin(30);
        SCOPED_TRACE(name + "-" + lang + "-" + theme);
        expectLayoutSound(w);
        const char* scale = std::getenv("VELMARIX_SCREENSHOT_SCALE");
        saveScreenshot(w, std::string(VELMARIX_SCREENSHOT_DIR) + "/" + name + "-" + lang + "-" +
                              theme + "-" + (scale != nullptr ? scale : "100") + ".png");
        w->hide();
    }
};

TEST_F(Screenshots, EveryWindowInBothLanguagesLightAndDark) {
    const QPalette light = QApplication::style()->standardPalette();
    for (const char* lang : {"en", "de"}) {
        for (const char* theme : {"light", "dark"}) {
            QApplication::setPalette(std::string(theme) == "dark" ? dark_palette() : light);
            settings_reset();
            settings_show_welcome_hint = 0;
            settings_language =
                std::string(lang) == "de" ? SETTINGS_LANGUAGE_GERMAN : SETTINGS_LANGUAGE_ENGLISH;
            ASSERT_TRUE(settings_save());
            const AppWindows& win = app_start("");
            spin(30);
            // The language of the settings names the menus and windows.
            const bool de = std::string(lang) == "de";
            EXPECT_EQ(win.main->findChild<QMenuBar*>()->actions().front()->text(),
                      de ? "Applikation" : "Application");
            EXPECT_EQ(win.options->windowTitle(), de ? "Optionen" : "Options");
            EXPECT_EQ(win.main->windowTitle(), "Velmarix 3.5");
            shoot(win.main, "main", lang, theme);
            shoot(win.about, "about", lang, theme);
            shoot(win.options, "options", lang, theme);
            win.options->findChild<QTabWidget*>()->setCurrentIndex(1);
            shoot(win.options, "options_language", lang, theme);
            int checked = 0;  // the options show the stored language
            for (QRadioButton* r : win.options->findChildren<QRadioButton*>())
                checked += r->isChecked() && r->text() == (de ? "Deutsch" : "English");
            EXPECT_EQ(checked, 1);
            help_show("Overview");
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w != win.main) shoot(w, "help", lang, theme);
            tool_windows_forget();
            tool_windows_create(win.main);
            for (const ToolPage& page : tool_pages())
                if (Form* tool = tool_window(page)) shoot(tool, page.name, lang, theme);
            win.main->hide();
        }
    }
    QApplication::setPalette(light);
}

}  // namespace
