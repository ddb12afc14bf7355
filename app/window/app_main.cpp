#include "app/window/app_main.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/help_files.h"
#include "app/settings_file.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "app/window/about_box.h"
#include "app/window/command_line.h"
#include "app/window/help_viewer.h"
#include "app/window/main_window.h"
#include "app/window/options_window.h"
#include "app/window/program_icon.h"
#include "app/window/tool_windows.h"
#include "numlib/mp_context.h"
#include "ui/error_box.h"
#include "ui/form.h"
#include "ui/job_runner.h"

namespace {

AppWindows windows{};
Form*& main_form = windows.main;
Form*& options_form = windows.options;
Form*& about_form = windows.about;
std::function<bool()> restart = options_restart_program;

void show_options() {
    options_form->show();
    options_form->raise();
    options_form->activateWindow();
}

void show_help() { help_show("Overview"); }

void run_about() { form_run_modal(about_form, main_form); }

// Steps 5 to 11 of the start-up, before any window exists.
void init_core() {
    mp_init();  // the number library and this thread's scratch area
    settings_load();
    if (settings_decimal_separator <= SETTINGS_SEPARATOR_COMMA) settings_apply_decimal_separator();
    ui_language_select(settings_language);
    help_path_build(QCoreApplication::applicationDirPath().toStdString(), ui_language);
}

void create_windows() {
    main_form = main_window_create({show_options, show_help, run_about});
    tool_windows_create(main_form);
    options_form = options_window_create({tool_windows_before_save, [] { return restart && restart(); },
                                          [] { main_form->close(); }});
    about_form = about_box_create(help_show);
    help_viewer_create();
}

// The welcome: the about box once, at the very first start.
void welcome() {
    if (settings_show_welcome_hint != 1) return;
    run_about();
    if (settings_show_welcome_hint == 1) {
        settings_show_welcome_hint = 0;
        settings_dirty = 1;
    }
}

void open_window(const std::string& name) {
    if (name.empty()) return;
    if (name == "options") return show_options();
    if (name == "about") return run_about();
    if (name == "help") return show_help();
    if (const ToolPage* page = tool_page_named(name.c_str())) tool_window_show(*page);
}

}  // namespace

const AppWindows& app_start(const std::string& open) {
    init_core();
    create_windows();
    main_form->show();
    // The welcome and --open run once the main window is on screen.
    QTimer::singleShot(0, main_form, [open] {
        const bool greeting = settings_show_welcome_hint == 1;
        welcome();
        if (!(greeting && open == "about")) open_window(open);  // the greeting was the about box
        showErrorMessage(main_form);  // e.g. a help path that had to be cut
    });
    return windows;
}

bool app_finish() {
    tool_windows_before_save();
    if (settings_dirty) settings_save();
    return job_abandon();
}

void app_set_restart(std::function<bool()> r) { restart = std::move(r); }

int app_main(int argc, char** argv) {
    const CommandLine cl = command_line_parse(argc, argv);
    if (cl.action == CommandLine::Help) return std::fputs(command_line_help().c_str(), stdout), 0;
    if (cl.action == CommandLine::Version) return std::puts("velmarix 3.5"), 0;
    if (cl.action == CommandLine::Usage) {
        std::fprintf(stderr, "velmarix: %s\nTry 'velmarix --help'.\n", cl.error.c_str());
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(program_icon());
    QApplication::setApplicationName(QStringLiteral("Velmarix"));
    QApplication::setDesktopFileName(QStringLiteral("velmarix"));
    app_start(cl.open);
    const int status = QApplication::exec();
    if (app_finish()) {
        // A worker still computes with the library and its page's data:
        // leave without destroying them under it.
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
