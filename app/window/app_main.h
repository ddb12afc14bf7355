// The program's entry: start-up, the event loop and the way out.
#pragma once

// Runs the program: the command line, then the start-up steps in order
// (the number library and the main thread's scratch area, the settings,
// the decimal separator, the language, the help path), every window built
// hidden, the main window shown (and the about box at the first start), the
// event loop; at the end the tools' data is handed over and the settings
// are saved when something changed. Returns the exit status.
int app_main(int argc, char** argv);
