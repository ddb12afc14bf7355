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

// Light text on dark ground, links lighter, as dark desktop themes set it.
QPalette dark_palette() {
    QPalette p;
    using R = QPalette;
    const std::pair<R::ColorRole, QRgb> roles[] = {
        {R::Window, 0x2d2d30},        {R::WindowText, 0xdcdcdc}, {R::Base, 0x1e1e20},
        {R::AlternateBase, 0x2d2d30}, {R::Text, 0xdcdcdc},       {R::Button, 0x3c3c40},
        {R::ButtonText, 0xdcdcdc},    {R::Highlight, 0x2a82da},  {R::HighlightedText, 0xffffff},
        {R::Link, 0x6eaaff},          {R::LinkVisited, 0xaa8cff}};
    for (const auto& [role, rgb] : roles) p.setColor(role, QColor(rgb));
    for (R::ColorRole role : {R::Text, R::WindowText, R::ButtonText})
        p.setColor(R::Disabled, role, QColor(0x787878));
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
            const bool de = std::string(lang) == "de";
            settings_reset();
            settings_show_welcome_hint = 0;
            settings_language = de ? SETTINGS_LANGUAGE_GERMAN : SETTINGS_LANGUAGE_ENGLISH;
            ASSERT_TRUE(settings_save());
            const AppWindows& win = app_start("");
            spin(30);
            // The language of the settings names the menus and windows.
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
