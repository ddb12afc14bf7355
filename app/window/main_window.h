// The main window: the program's name and version as its caption and a
// menu bar that shows every other window.
#pragma once

class Form;

// What the menu's items open besides the tool windows; set by the program.
struct MainMenuActions {
    void (*options)();
    void (*help)();
    void (*about)();
};

// Builds the main window with its menu ("Application", "Algebra", "Help").
// A tool without a window has its menu item disabled. Closing the main
// window (or "Exit") ends the program's event loop.
Form* main_window_create(const MainMenuActions& actions);

// "Velmarix 3.5".
class QString;
QString main_window_caption();
