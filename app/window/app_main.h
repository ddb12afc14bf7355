// The program's entry: start-up, the event loop and the way out.
#pragma once

// Runs the program: the command line, then the start-up steps in order
// (the number library and the main thread's scratch area, the settings,
// the decimal separator, the language, the help path), every window built
// hidden, the main window shown (and the about box at the first start), the
// event loop; at the end the tools' data is handed over and the settings
// are saved when something changed. Returns the exit status.
int app_main(int argc, char** argv);

// The steps of app_main between the QApplication and the event loop, for
// the tests: start-up and windows (app_start, which shows the main window
// and queues the welcome and the window to open), and the way out
// (app_finish: the tools' data handed over, the settings saved when dirty;
// true when a worker was still running).
#include <functional>
#include <string>
class Form;
struct AppWindows {
    Form* main;
    Form* options;
    Form* about;
};
const AppWindows& app_start(const std::string& open);
bool app_finish();

// What restarts the program after a language change (by default a new
// process of this executable); the tests count calls instead.
void app_set_restart(std::function<bool()> restart);
