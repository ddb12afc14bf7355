// Reading the prime commands' numbers and running their workers.
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "cli/cli_command.h"
#include "cli/cli_primes.h"
#include "cli/cli_session.h"
#include "cli/cli_utf8.h"
#include "formula/app_error.h"
#include "formula/error_message.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/uint.h"

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
    std::u16string text = cliUtf16(arg);
    if (static_cast<i64>(text.size()) > capacity) {
        text.resize(static_cast<std::size_t>(capacity));
        text.back() = u'\u2026';
    }
    return text;
}

bool invalid(const std::u16string& text) {
    mp_error.store(0, std::memory_order_relaxed);
    raiseAppError(APP_ERR_INVALID_INPUT, text.c_str(), nullptr);
    return false;
}

constexpr u32 kInputFlags = NUM_IN_GROUPS | NUM_IN_LOWER_HEX;

}  // namespace

bool cliReadPrimeNumber(const std::string& arg, i64 capacity, i32 base, u64* dst) {
    const std::u16string text = editText(arg, capacity);
    uint_from_text(dst, text.c_str(), static_cast<i32>(text.size()), kInputFlags, base);
    if (mp_err() != 0 || uint_is_zero(dst)) return invalid(text);
    return true;
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
    if (mp_err() != 0 || small < 1 || small > static_cast<u64>(max)) return invalid(text);
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
