// velmarix-cli poly: sum, difference, product, quotient with remainder and
// power of polynomials given as coefficient lists, computed and written as
// the polynomial tool does.
#include <cstdio>
#include <memory>
#include <string>

#include "app/app_error.h"
#include "cli/cli_command.h"
#include "polynomial/poly_page.h"
#include "textbuf/text_utf8.h"

namespace {

constexpr CliOptionDef kArgs[] = {{"type", 't', true}, {"digits", 'd', true}};

constexpr const char* kHelp =
    "Usage: velmarix-cli poly add|sub|mul [OPTIONS] P0 P1 [P2 ... P11]\n"
    "       velmarix-cli poly div [OPTIONS] P0 P1\n"
    "       velmarix-cli poly pow [OPTIONS] P0 E\n"
    "\n"
    "add, sub and mul compute P0 + P1 + ..., P0 - P1 - ... and P0 * P1 * ...\n"
    "of 2 to 12 polynomials; div divides P0 by P1 and prints the quotient and\n"
    "the remainder; pow raises P0 to the power E.\n"
    "\n"
    "A polynomial is its coefficients from the highest degree down, separated\n"
    "by ';': \"1;0;-2\" is x^2 - 2, \"3\" the constant 3. Each coefficient is a\n"
    "formula (\"1/3\", \"sqrt(2)\", \"2+3i\"); an empty one is 0; a ';' inside\n"
    "parentheses separates function arguments, as in \"root(3;8);1\". At most\n"
    "21 coefficients (degree 20), and no result may exceed degree 20.\n"
    "The exponent E of pow is itself a polynomial whose coefficients are 0\n"
    "except the constant one, which must be a whole number from 0 to 20:\n"
    "\"3\" (or \"0;3\").\n"
    "\n"
    "Options:\n"
    "  -t, --type T       number type: rat (exact), real or cplx (default real)\n"
    "  -d, --digits D     significant digits of real and cplx, 5..1000 (default 10)\n"
    "      --lang en|de   language of the texts\n"
    "      --no-settings  ignore the settings file\n"
    "  -h, --help         this text\n"
    "\n"
    "The output is a header line naming the result's coefficients b20 .. b0\n"
    "(and the remainder's r.. for div), an empty line and one line per\n"
    "coefficient. The settings file supplies the language, the decimal\n"
    "separator and the digit grouping of the equation tools. Exit status:\n"
    "0 computed, 1 a coefficient could not be read or the operation failed\n"
    "(the message on standard error), 2 a usage error.\n";

struct OpName {
    const char* name;
    PolyOp op;
};

constexpr OpName kOps[] = {{"add", PolyOp::add},
                           {"sub", PolyOp::subtract},
                           {"mul", PolyOp::multiply},
                           {"div", PolyOp::divide},
                           {"pow", PolyOp::power}};

// The coefficient texts of one polynomial, highest degree first: the text
// cut at every ';' outside parentheses.
std::vector<std::u16string> splitCoefficients(const std::u16string& text) {
    std::vector<std::u16string> parts(1);
    i64 depth = 0;
    for (char16_t c : text) {
        if (c == u'(') ++depth;
        if (c == u')' && depth > 0) --depth;
        if (c == u';' && depth == 0) {
            parts.emplace_back();
            continue;
        }
        parts.back() += c;
    }
    return parts;
}

// The operation runs on a worker so that Ctrl-C ends a long formula.
int runOperation(PolyPage& page, PolyOp op) {
    std::u16string output;
    cliRunUntilDone([&] { output = page.run(op); });
    cliWrite(stdout, cliTerminalLines(output));
    if (appError.load() != 0) return cliReportError();
    return CLI_EXIT_OK;
}

// Fills the page's rows from the polynomial arguments; false with a reason.
bool fillPage(PolyPage& page, const std::vector<std::string>& polys, std::string* error) {
    page.set_count(static_cast<i32>(polys.size()));
    i32 top = POLY_PAGE_MIN_DEGREE;
    for (std::size_t i = 0; i < polys.size(); ++i) {
        const std::vector<std::u16string> coefs = splitCoefficients(text_from_utf8(polys[i]));
        const i32 degree = static_cast<i32>(coefs.size()) - 1;
        if (degree > POLY_MAX_DEGREE) {
            *error = "polynomial ";
            *error += std::to_string(i + 1);
            *error += " has more than 21 coefficients";
            return false;
        }
        if (degree > top) top = degree;
        for (i32 k = 0; k <= degree; ++k)
            page.set_cell(static_cast<i32>(i), k, coefs[static_cast<std::size_t>(degree - k)]);
    }
    page.set_max_degree(top);
    return true;
}

}  // namespace

int cliRunPoly(std::string_view command, const std::vector<std::string>& args) {
    CliCommandArgs a;
    std::string error;
    if (!cliReadCommandArgs(args, kArgs, &a, &error)) return cliUsageError(command, error);
    if (a.has("help")) {
        std::fputs(kHelp, stdout);
        return CLI_EXIT_OK;
    }
    if (a.positional.empty()) return cliUsageError(command, "no operation given");
    auto page = std::make_unique<PolyPage>();
    const OpName* op = nullptr;
    for (const OpName& o : kOps)
        if (a.positional[0] == o.name) op = &o;
    if (op == nullptr)
        return cliUsageError(command, "the operation must be add, sub, mul, div or pow");
    const std::vector<std::string> polys(a.positional.begin() + 1, a.positional.end());
    const bool two = op->op == PolyOp::divide || op->op == PolyOp::power;
    if (two && polys.size() != 2) return cliUsageError(command, "div and pow take two polynomials");
    if (polys.size() < 2 || polys.size() > POLY_PAGE_MAX_COUNT)
        return cliUsageError(command, "give 2 to 12 polynomials");
    i32 type = MP_TYPE_REAL, digits = 10;
    if (a.has("type") && !cliParseType(a.value("type"), &type))
        return cliUsageError(command, "--type must be rat, real or cplx");
    if (a.has("digits") &&
        !cliParseWhole(a.value("digits"), POLY_PAGE_DIGITS_MIN, POLY_PAGE_DIGITS_MAX, &digits))
        return cliUsageError(command, "--digits must be a whole number from 5 to 1000");
    if (!fillPage(*page, polys, &error)) return cliUsageError(command, error);
    page->set_type(type);
    page->set_digits(digits);
    if (!cliCommandSetUp(a, &error)) return cliUsageError(command, error);
    return runOperation(*page, op->op);
}
