// What the subcommands share beyond their arguments: number options, the
// terminal's line ends, error reporting and the run on a worker thread.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "app/app_error.h"
#include "app/error_message.h"
#include "app/error_texts.h"
#include "app/ui_texts.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "formula/formula_error.h"
#include "numlib/mp_thread.h"

bool cliParseWhole(const std::string& text, long lo, long hi, i32* out) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    const long v = std::strtol(text.c_str(), nullptr, 10);
    if (v < lo || v > hi) return false;
    *out = static_cast<i32>(v);
    return true;
}

bool cliParseType(const std::string& text, i32* out) {
    if (text == "rat")
        *out = MP_TYPE_RAT;
    else if (text == "real")
        *out = MP_TYPE_REAL;
    else if (text == "cplx")
        *out = MP_TYPE_CPLX;
    else
        return false;
    return true;
}

std::u16string cliTerminalLines(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) out += text[i];
    return out;
}

void cliReportStop() {
    std::u16string text = errorTextIn(formulaErrorTemplate(FORMULA_ERR_STOPPED), ui_language);
    text += u'\n';
    cliWrite(stderr, text);
}

int cliReportError() {
    const ErrorMessage m = takeErrorMessage();
    if (m.shown) {
        std::u16string text(m.text);
        text += u'\n';
        cliWrite(stderr, text);
    }
    return m.code == APP_ERR_NONE ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}

void cliRunUntilDone(std::function<void()> body) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::thread worker([body = std::move(body), done] {
        MpThreadScratch scratch;
        body();
        done->store(true);
    });
    while (!done->load()) {
        if (cli_interrupts.exchange(0) > 0) {
            worker.detach();
            cliReportStop();
            std::_Exit(CLI_EXIT_FAILED);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
}
