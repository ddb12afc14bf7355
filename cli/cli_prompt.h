// The interactive prompt: one line at a time with line editing and a history
// of the lines entered.
#pragma once

#include <string>

// What a wait for a line ended with. TooLong: the line went past
// cliLineLimit() bytes, and what was cut off is lost.
enum class CliPromptResult { Line, TooLong, EndOfInput, Interrupted };

// Shows prompt on the terminal and waits for a line of standard input, which
// the user can edit (cursor keys, history). A Ctrl-C while waiting
// (cli_interrupts raised by the SIGINT handler) ends the wait with
// Interrupted and an empty *line; Ctrl-D on an empty line is EndOfInput.
// Lines that are not blank join the history. Only for a terminal on standard
// input, which stays in the prompt's mode until cliPromptEnd().
CliPromptResult cliPromptLine(const char* prompt, std::string* line);

// Restores the terminal's settings after the last prompt.
void cliPromptEnd();
