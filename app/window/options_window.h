// The options window: the number representation (decimal separator, digit
// grouping per tool) and the language, on two tabs. OK applies what
// changed; Cancel and closing apply nothing. A new language takes effect
// through a restart of the program.
#pragma once

#include <functional>

class Form;

// What applying the options needs from the program; the tests hand in
// their own so that nothing is started or quit.
struct OptionsHooks {
    std::function<void()> before_save;  // hand the tools' data to the settings
    std::function<bool()> restart;      // start a new process of the program
    std::function<void()> quit;         // end this one (close the main window)
};

// Builds the options window, hidden. Each showing sets the controls from
// the settings.
Form* options_window_create(OptionsHooks hooks);

// The default restart: this program's executable started anew without
// arguments.
bool options_restart_program();
