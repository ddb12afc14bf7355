// The scientific calculator's windows: the page with formula, result,
// history, settings and keypad, and beside it the "Calculator variables"
// window that its "var" key shows.
#pragma once

class Form;

// Builds the calculator page (and its variables window) once, hidden.
Form* calculator_window_create();

// Hands the variable list over to the settings file when it changed (at
// exit and before a restart).
void calculator_before_save();
