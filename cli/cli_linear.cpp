// velmarix-cli linear: solves the system of a coefficient CSV file as the
// linear-systems tool does, or writes an empty file of N equations.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "app/ui_texts.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "cli/cli_utf8.h"
#include "formula/app_error.h"
#include "formula/error_message.h"
#include "formula/error_texts.h"
#include "formula/formula_error.h"
#include "linear/linear_csv.h"
#include "linear/linear_page.h"

namespace {

constexpr CliArgSpec kArgs[] = {{"type", 't', true}, {"digits", 'd', true}, {"template", 0, true}};

constexpr const char* kHelp =
    "Usage: velmarix-cli linear [OPTIONS] FILE.csv\n"
    "       velmarix-cli linear --template N\n"
    "\n"
    "Solves the system of linear equations in FILE.csv and prints x1 = ... for\n"
    "every unknown; a singular system is answered in free parameters r, s, t,\n"
    "u, v1, ... The file holds a header line a1;...;aN;b and one line of N + 1\n"
    "fields per equation, separated by ';'; every field is a formula, an empty\n"
    "one is 0.\n"
    "\n"
    "Options:\n"
    "  -t, --type T       number type: rat (exact), real or cplx (default real)\n"
    "  -d, --digits D     significant digits of real and cplx, 5..1000 (default 10)\n"
    "      --template N   write an empty file of N equations (2..25) to standard\n"
    "                     output\n"
    "      --lang en|de   language of the texts\n"
    "      --no-settings  ignore the settings file\n"
    "  -h, --help         this text\n"
    "\n"
    "The settings file supplies the language, the decimal separator and the\n"
    "digit grouping of the equation tools. Exit status: 0 solved (also when\n"
    "the system is unsolvable), 1 the file or a coefficient could not be read\n"
    "or the solve failed, 2 a usage error.\n";

// A whole decimal number in lo..hi, else false.
bool parseCount(const std::string& text, long lo, long hi, i32* out) {
    if (text.empty() || text.size() > 6) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    const long v = std::strtol(text.c_str(), nullptr, 10);
    if (v < lo || v > hi) return false;
    *out = static_cast<i32>(v);
    return true;
}

bool parseType(const std::string& text, i32* out) {
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

// The output box's line ends become the terminal's.
std::u16string unixLines(const std::u16string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) out += text[i];
    return out;
}

// Prints the pending error as the page's message box shows it; returns 1.
int reportError() {
    const ErrorMessage m = takeErrorMessage();
    std::u16string text = m.shown ? std::u16string(m.text) : std::u16string();
    text += u'\n';
    cliWrite(stderr, text);
    return CLI_EXIT_FAILED;
}

int writeTemplate(i32 n) {
    LinearGridModel grid;
    grid.set_equation_count(n);
    const std::string text = linear_csv_text(grid);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}

struct SolveJob {
    std::u16string path;
    LinearSolveRequest request;
    std::u16string output;
    std::atomic<bool> done{false};
};

// Loads the file and solves; the errors stay pending.
void runJob(SolveJob& job) {
    LinearGridModel grid;
    if (linear_csv_read(job.path, grid)) {
        job.request.equations = grid.equation_count();
        job.output = linear_solve_cells(grid, job.request);
    }
    job.done.store(true);
}

// Loading and solving run on a worker so that Ctrl-C ends them even on an
// endless input such as a device file; they have no stop request of their
// own, so the process ends with the stop message.
int solveFile(const std::string& path, i32 type, i32 digits) {
    auto job = std::make_shared<SolveJob>();
    job->path = cliUtf16(path);
    job->request = LinearSolveRequest{2, type, digits};
    std::thread worker([job] { runJob(*job); });
    while (!job->done.load()) {
        if (cli_interrupts.exchange(0) > 0) {
            worker.detach();
            std::u16string text =
                errorTextIn(formulaErrorTemplate(FORMULA_ERR_STOPPED), ui_language);
            text += u'\n';
            cliWrite(stderr, text);
            std::_Exit(CLI_EXIT_FAILED);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
    if (appError.load() != 0) return reportError();
    cliWrite(stdout, unixLines(job->output));
    return CLI_EXIT_OK;
}

}  // namespace

int cliRunLinear(std::string_view command, const std::vector<std::string>& args) {
    CliCommandArgs a;
    std::string error;
    if (!cliReadCommandArgs(args, kArgs, &a, &error)) return cliUsageError(command, error);
    if (a.has("help")) {
        std::fputs(kHelp, stdout);
        return CLI_EXIT_OK;
    }
    i32 type = MP_TYPE_REAL, digits = 10, count = 0;
    if (a.has("type") && !parseType(a.value("type"), &type))
        return cliUsageError(command, "--type must be rat, real or cplx");
    if (a.has("digits") &&
        !parseCount(a.value("digits"), LINEAR_DIGITS_MIN, LINEAR_DIGITS_MAX, &digits))
        return cliUsageError(command, "--digits must be a whole number from 5 to 1000");
    if (a.has("template")) {
        if (!parseCount(a.value("template"), LINEAR_MIN_EQUATIONS, LINEAR_MAX_EQUATIONS, &count))
            return cliUsageError(command, "--template needs an equation count from 2 to 25");
        if (!a.positional.empty() || a.has("type") || a.has("digits"))
            return cliUsageError(command, "--template takes no file, --type or --digits");
    } else if (a.positional.size() != 1) {
        return cliUsageError(
            command, a.positional.empty() ? "no CSV file given" : "more than one file given");
    }
    if (!cliCommandSetUp(a, &error)) return cliUsageError(command, error);
    if (count > 0) return writeTemplate(count);
    return solveFile(a.positional[0], type, digits);
}
