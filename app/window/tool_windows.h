// The tool windows and how they plug into the program. Each tool's window
// lives in its own window/ folder and is named here once, with the menu
// item that shows it; a tool without a window yet has a null create and
// its menu item is disabled. See app/window/README.md for the checklist.
#pragma once

#include <span>

class Form;

struct ToolPage {
    const char* name;    // the name after --open, "calculator"
    int menu_slot;       // text slot of its menu item
    int menu_id;         // the menu item's identifier (201..206)
    Form* (*create)();   // builds the window once, hidden; null: not there yet
    void (*before_save)();  // optional: hand over what the settings file keeps
};

// The tools in menu order.
std::span<const ToolPage> tool_pages();

// Creates every tool window that exists, hidden, in the program's order
// (calculator, equations, primes, factors, polynomial, linear), and lets
// closing each bring main forward.
void tool_windows_create(Form* main);

// The window of a tool (null when it has none), and showing it again with
// its previous contents.
Form* tool_window(const ToolPage& page);
void tool_window_show(const ToolPage& page);

// A tool by its --open name; null when there is none.
const ToolPage* tool_page_named(const char* name);

// Runs every tool's before_save (at exit and before a restart).
void tool_windows_before_save();

// Forgets the windows (for tests that build the program more than once).
void tool_windows_forget();
