// One calculator for the command line: set up from the settings file and the
// options, then fed one formula at a time.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

#include "calculator/calc.h"
#include "cli/cli_options.h"

// Set from the SIGINT handler: the number of Ctrl-C presses not yet handled.
// Only atomic stores and exchanges touch it, so the handler stays
// async-signal-safe.
extern std::atomic<int> cli_interrupts;

// Bytes of an input line worth keeping: a line with more holds more UTF-16
// code units than the calculator takes (a character of at most 3 bytes is one
// unit, of 4 bytes two), so what lies beyond can only be reported as too long.
std::size_t cliLineLimit();

enum class CliOutcome { Ok, Failed, Stopped };

struct CliResult {
    CliOutcome outcome = CliOutcome::Ok;
    std::u16string text;          // the result field, or the error message
    bool switchedToReal = false;  // a rat formula fell back to real, the first time
};

class CliSession {
  public:
    // Reads the settings file unless options.noSettings (never writing it),
    // lets the options override its values, selects the language and the
    // decimal separator, and loads the saved and the --var variables. False
    // with the message in *error when a --var name breaks the naming rules or
    // the list is full.
    bool setUp(const CliOptions& options, std::u16string* error);

    // Evaluates formula on the calculator's worker thread, with "ans" the
    // previous result. A Ctrl-C (cli_interrupts) while it runs stops it:
    // Stopped with the stop message. Failed carries the message the message
    // box would show.
    CliResult evaluate(std::u16string_view formula);

    // The failure of a line that was cut at cliLineLimit(): the calculator's
    // message for a text that is too long.
    CliResult tooLong();

    i32 language() const;

  private:
    bool addVariable(const CliVariable& v, std::u16string* error);

    CalcState state_;
    u32 displayMode_ = CALC_DISPLAY_AUTO;
    bool switchNoted_ = false;
};
