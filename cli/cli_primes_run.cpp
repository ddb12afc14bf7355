// Reading the prime commands' numbers and running their workers.
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <vector>

#include "app/app_error.h"
#include "app/error_message.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "cli/cli_command.h"
#include "cli/cli_primes.h"
#include "cli/cli_session.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/uint.h"
#include "textbuf/text_utf8.h"

namespace {

// Writes each piece through to standard output and wakes the waiting thread
// at done(). On a terminal every piece shows at once; into a pipe or a file
// stdio's buffer collects them, since one write per prime costs more than
// finding it.
class StreamSink : public PrimeOutputSink {
  public:
    void append(const char16_t* text) override {
        const std::u16string_view piece(text);
        if (piece.empty()) return;
        cliWrite(stdout, piece, terminal_);
        endsLine_ = piece.back() == u'\n';
    }
    void done() override {
        std::fflush(stdout);
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
        cv_.notify_one();
    }
    bool waitFor(std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, timeout, [this] { return finished_; });
    }
    // Only after done(): the worker writes nothing more.
    bool needsLineEnd() const { return !endsLine_; }

  private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool finished_ = false;
    const bool terminal_ = isatty(STDOUT_FILENO) != 0;
    bool endsLine_ = true;  // nothing written yet needs no line end
};

// The text of an edit of capacity characters holding arg.
std::u16string editText(const std::string& arg, i64 capacity) {
    std::u16string text = text_from_utf8(arg);
    if (static_cast<i64>(text.size()) > capacity) {
        text.resize(static_cast<std::size_t>(capacity));
        text.back() = u'\u2026';
    }
    return text;
}

constexpr u32 kInputFlags = NUM_IN_GROUPS | NUM_IN_LOWER_HEX;

bool german() {
    return ui_language == SETTINGS_LANGUAGE_GERMAN;
}

// Prints "Invalid input" for text and the reason on the line below it.
bool refuse(const std::u16string& text, const std::string& reason) {
    mp_error.store(0, std::memory_order_relaxed);
    raiseAppError(APP_ERR_INVALID_INPUT, text.c_str(), nullptr);
    cliReportError();
    std::fprintf(stderr, "%s\n", reason.c_str());
    return false;
}

i32 wordsFor(CliPrimeUse use) {
    return use == CliPrimeUse::Probabilistic ? PRIME_PAGE_WORDS_LONG : PRIME_PAGE_WORDS_SHORT;
}

// Reads text into dst (words(use) words); false when it is no number the use
// takes. Leaves mp_error clear.
bool parse(const std::u16string& text, CliPrimeUse use, i32 base, u64* dst) {
    const i32 saved = mp_int_words;
    mp_set_int_words(wordsFor(use));
    uint_from_text(dst, text.c_str(), static_cast<i32>(text.size()), kInputFlags, base);
    const bool ok = mp_err() == 0 && !uint_is_zero(dst);
    mp_error.store(0, std::memory_order_relaxed);
    mp_set_int_words(saved);
    return ok;
}

// The range of numbers use takes, for the line under "Invalid input".
std::string numberRange(CliPrimeUse use, i32 base) {
    const std::string numbers = "1 " + std::string(german() ? "bis" : "to") + " 2^" +
                                std::to_string(64 * wordsFor(use)) + " - 1";
    const std::string inBase = (german() ? " zur Basis " : " in base ") + std::to_string(base);
    switch (use) {
        case CliPrimeUse::Exact:
            return (german() ? "Die exakte Methode nimmt ganze Zahlen von "
                             : "The exact method takes whole numbers from ") +
                   numbers + inBase + ".";
        case CliPrimeUse::Probabilistic:
            return (german() ? "Die probabilistische Methode nimmt ganze Zahlen von "
                             : "The probabilistic method takes whole numbers from ") +
                   numbers + inBase + ".";
        default:
            return (german() ? "Faktoren und Teiler gibt es f\u00fcr ganze Zahlen von "
                             : "Factors and divisors are found for whole numbers from ") +
                   numbers + inBase + ".";
    }
}

}  // namespace

bool cliReadPrimeNumber(const std::string& arg, CliPrimeUse use, i32 base, u64* dst) {
    const i64 capacity =
        use == CliPrimeUse::Probabilistic ? PRIME_PAGE_TEXT_LONG : PRIME_PAGE_TEXT_SHORT;
    const std::u16string text = editText(arg, capacity);
    if (parse(text, use, base, dst)) return true;
    std::string reason = numberRange(use, base);
    std::vector<u64> wide(static_cast<std::size_t>(PRIME_PAGE_WORDS_LONG));
    if (use == CliPrimeUse::Exact &&
        parse(editText(arg, PRIME_PAGE_TEXT_LONG), CliPrimeUse::Probabilistic, base, wide.data()))
        reason += german() ? " --probabilistic nimmt diese Zahl." : " --probabilistic takes it.";
    uint_zero(dst);
    return refuse(text, reason);
}

bool cliReadPrimeCount(const std::string& arg, i64 capacity, i32 base, i64 max, i64 blankValue,
                       i64* out) {
    const std::u16string text = editText(arg, capacity);
    if (blankValue > 0 && text.find_first_not_of(u" \t") == std::u16string::npos) {
        *out = blankValue;
        return true;
    }
    std::vector<u64> value(static_cast<std::size_t>(mp_int_words));
    uint_from_text(value.data(), text.c_str(), static_cast<i32>(text.size()), kInputFlags, base);
    u64 small = 0;
    if (mp_err() == 0) uint_to_u64(&small, value.data(), false);
    if (mp_err() != 0 || small < 1 || small > static_cast<u64>(max))
        return refuse(text, (german() ? "COUNT ist eine ganze Zahl von 1 bis "
                                      : "COUNT is a whole number from 1 to ") +
                                std::to_string(max) + ".");
    *out = static_cast<i64>(small);
    return true;
}

int cliRunPrimeWorker(const std::function<void(PrimeOutputSink&)>& start, u32 overflowCode) {
    StreamSink sink;
    start(sink);
    while (!sink.waitFor(std::chrono::milliseconds(20)))
        if (cli_interrupts.exchange(0) > 0) raiseAppError(APP_ERR_STOPPED, u"?", u"?");
    if (sink.needsLineEnd()) cliWrite(stdout, u"\r\n");
    raiseFromLibraryError(overflowCode);
    return cliReportError();
}
