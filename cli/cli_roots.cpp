// velmarix-cli roots: the roots of a polynomial equation, listed as the
// equations window lists them; errors as its message box shows them.
#include <atomic>
#include <charconv>
#include <string>
#include <thread>

#include "app/app_error.h"
#include "cli/cli_command.h"
#include "cli/cli_session.h"
#include "equations/equations_page.h"
#include "textbuf/text_utf8.h"

namespace {

constexpr CliOptionDef kRootsArgs[] = {{"exact", 0, false},
                                       {"complex", 0, false},
                                       {"digits", 'd', true},
                                       {"no-multiplicity", 0, false}};

constexpr const char* kRootsHelp =
    "Usage: velmarix-cli roots [options] A_N ... A_1 A_0\n"
    "\n"
    "Solves A_N*x^N + ... + A_1*x + A_0 = 0 for N = 1 to 10 and lists each distinct\n"
    "root once, as \"x1 = -1.414213562   [1]\" with its multiplicity in brackets.\n"
    "Each coefficient is a formula (\"-2\", \"-1/3\", \"sqrt(2)\", \"2+3i\"); an empty\n"
    "argument is 0. The highest coefficient A_N must not be 0.\n"
    "\n"
    "Options:\n"
    "  --exact             rational coefficients; every rational root, and the roots\n"
    "                      of a remaining linear or quadratic factor, are also shown\n"
    "                      exactly (\"x1 = -sqrt(2) ≈ -1.414213562\")\n"
    "  --complex           list the complex roots too, and accept complex\n"
    "                      coefficients; without it only the real roots are listed\n"
    "                      (\"The equation has no real solutions.\" when there are\n"
    "                      none) and every coefficient must be real\n"
    "  -d, --digits D      significant digits of the roots: 5 to 2000 for degree 1\n"
    "                      to 4, to 1000 for 5 to 7, to 750 for 8 to 10 (default 10)\n"
    "  --no-multiplicity   leave out the bracketed multiplicities\n"
    "  --lang en|de        language of the texts and messages\n"
    "  --no-settings       ignore the settings file (decimal separator, language)\n"
    "  -h, --help          this text\n"
    "\n"
    "Ctrl-C stops a long computation. Exit status: 0 solved, 1 an error (the\n"
    "message on standard error) or stopped, 2 a usage error.\n";

class DoneSink : public EqPageJobSink {
  public:
    void done() override { done_.store(true); }
    bool finished() const { return done_.load(); }

  private:
    std::atomic<bool> done_{false};
};

// The digits option as a number in range for the degree; false with the
// reason in *error.
bool readDigits(const CliCommandArgs& args, i32 degree, i32* digits, std::string* error) {
    const i32 max = eq_page_digits_max(degree);
    *digits = EQ_PAGE_DIGITS_START;
    if (!args.has("digits")) return true;
    const std::string text = args.value("digits");
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, *digits);
    if (ec == std::errc() && ptr == end && *digits >= EQ_PAGE_DIGITS_MIN && *digits <= max)
        return true;
    *error = "--digits takes a whole number from 5 to " + std::to_string(max);
    *error += " for degree " + std::to_string(degree);
    return false;
}

bool buildRequest(const CliCommandArgs& args, EqPageRequest* request, std::string* error) {
    const i64 count = static_cast<i64>(args.positional.size());
    if (count < EQ_PAGE_DEGREE_MIN + 1 || count > EQ_PAGE_DEGREE_MAX + 1) {
        *error = "give 2 to 11 coefficients, the highest first";
        return false;
    }
    const i32 degree = static_cast<i32>(count - 1);
    if (!readDigits(args, degree, &request->digits, error)) return false;
    for (const std::string& c : args.positional) request->coefficients.push_back(text_from_utf8(c));
    request->exact = args.has("exact");
    request->real_only = !args.has("complex");
    request->show_multiplicity = !args.has("no-multiplicity");
    return true;
}

// The solve on the worker; a Ctrl-C meanwhile asks it to stop.
std::u16string runSolve(EqPageRun& run) {
    DoneSink sink;
    eq_page_start_job(run, sink);
    while (!sink.finished()) {
        if (cli_interrupts.exchange(0) > 0) eq_page_request_stop(run);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    eq_page_wait(run, std::chrono::hours(1));
    return eq_page_finish(run);
}

// Prints the pending error, if any; the exit status. A stop announces
// itself here, unlike on the page, so that a script sees why nothing came.
int reportErrors() {
    if (appError.load() != APP_ERR_STOPPED) return cliReportError();
    clearErrors();
    cliReportStop();
    return CLI_EXIT_FAILED;
}

}  // namespace

int cliRunRoots(std::string_view command, const std::vector<std::string>& args) {
    CliCommandArgs parsed;
    std::string error;
    if (!cliReadCommandArgs(args, kRootsArgs, &parsed, &error))
        return cliUsageError(command, error);
    if (parsed.has("help")) {
        std::fputs(kRootsHelp, stdout);
        return CLI_EXIT_OK;
    }
    EqPageRequest request;
    if (!cliCommandSetUp(parsed, &error) || !buildRequest(parsed, &request, &error))
        return cliUsageError(command, error);
    EqPageRun run;
    std::u16string lines;
    if (eq_page_begin(run, request)) lines = runSolve(run);
    const int status = reportErrors();
    if (status == CLI_EXIT_OK) {
        std::u16string text = cliTerminalLines(lines);
        if (!text.empty() && text.back() != u'\n') text += u'\n';
        cliWrite(stdout, text);
    }
    return status;
}
