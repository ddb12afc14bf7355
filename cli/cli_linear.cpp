// velmarix-cli linear: solves the system of a coefficient CSV file as the
// linear-systems tool does, or writes an empty file of N equations.
#include <cstdio>
#include <string>

#include "app/app_error.h"
#include "cli/cli_command.h"
#include "linear/linear_csv.h"
#include "linear/linear_page.h"
#include "textbuf/text_utf8.h"

namespace {

constexpr CliOptionDef kArgs[] = {
    {"type", 't', true}, {"digits", 'd', true}, {"template", 0, true}};

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

int writeTemplate(i32 n) {
    LinearGridModel grid;
    grid.set_equation_count(n);
    const std::string text = linear_csv_text(grid);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return std::fflush(stdout) == 0 ? CLI_EXIT_OK : CLI_EXIT_FAILED;
}

// Loading and solving run on a worker so that Ctrl-C ends them even on an
// endless input such as a device file.
int solveFile(const std::string& path, i32 type, i32 digits) {
    const std::u16string file = text_from_utf8(path);
    std::u16string output;
    cliRunUntilDone([&] {
        LinearGridModel grid;
        if (!linear_csv_read(file, grid)) return;
        output = linear_solve_cells(grid, LinearSolveRequest{grid.equation_count(), type, digits});
    });
    if (appError.load() != 0) return cliReportError();
    cliWrite(stdout, cliTerminalLines(output));
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
    if (a.has("type") && !cliParseType(a.value("type"), &type))
        return cliUsageError(command, "--type must be rat, real or cplx");
    if (a.has("digits") &&
        !cliParseWhole(a.value("digits"), LINEAR_DIGITS_MIN, LINEAR_DIGITS_MAX, &digits))
        return cliUsageError(command, "--digits must be a whole number from 5 to 1000");
    if (a.has("template")) {
        if (!cliParseWhole(a.value("template"), LINEAR_MIN_EQUATIONS, LINEAR_MAX_EQUATIONS, &count))
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
