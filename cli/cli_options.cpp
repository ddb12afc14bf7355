// Command-line parsing: a small table of options, each with its handler.
#include "cli/cli_options.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "app/settings_values.h"
#include "calculator/calc_state.h"
#include "cli/cli_command.h"
#include "cli/cli_primes.h"

namespace {

struct Choice {
    const char* name;
    u32 value;
};

constexpr Choice kTypes[] = {
    {"uint", MP_TYPE_UINT}, {"rat", MP_TYPE_RAT}, {"real", MP_TYPE_REAL}, {"cplx", MP_TYPE_CPLX}};
constexpr Choice kBases[] = {{"2", 2}, {"8", 8}, {"10", 10}, {"16", 16}};
constexpr Choice kModes[] = {{"auto", CALC_DISPLAY_AUTO},
                             {"fixed", CALC_DISPLAY_FIXED},
                             {"exp", CALC_DISPLAY_EXPONENT},
                             {"decimal", CALC_DISPLAY_RAT_DECIMAL},
                             {"mixed", CALC_DISPLAY_RAT_MIXED}};
constexpr Choice kSeparators[] = {{"point", SETTINGS_SEPARATOR_POINT},
                                  {"comma", SETTINGS_SEPARATOR_COMMA}};
constexpr Choice kLanguages[] = {{"en", SETTINGS_LANGUAGE_ENGLISH},
                                 {"de", SETTINGS_LANGUAGE_GERMAN}};

template <std::size_t N>
std::optional<u32> choose(const Choice (&choices)[N], std::string_view value) {
    for (const Choice& c : choices)
        if (value == c.name) return c.value;
    return std::nullopt;
}

bool parseDigits(std::string_view value, CliOptions* o) {
    i32 d = 0;
    const char* end = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data(), end, d);
    if (ec != std::errc() || ptr != end || d < 1 || d > CALC_MAX_DIGITS) return false;
    o->digits = d;
    return true;
}

bool parseVariable(std::string_view value, CliOptions* o) {
    const std::size_t eq = value.find('=');
    if (eq == std::string_view::npos) return false;
    o->variables.push_back({std::string(value.substr(0, eq)), std::string(value.substr(eq + 1))});
    return true;
}

// Applies the option that takes a value; false when the value is bad.
bool applyValue(std::string_view name, std::string_view value, CliOptions* o) {
    if (name == "type") {
        const auto t = choose(kTypes, value);
        if (t) o->numberType = static_cast<i32>(*t);
        return t.has_value();
    }
    if (name == "digits") return parseDigits(value, o);
    if (name == "in-base") return (o->inputBase = choose(kBases, value)).has_value();
    if (name == "out-base") return (o->outputBase = choose(kBases, value)).has_value();
    if (name == "mode") return (o->displayMode = choose(kModes, value)).has_value();
    if (name == "decimal") return (o->separator = choose(kSeparators, value)).has_value();
    if (name == "lang") return (o->language = choose(kLanguages, value)).has_value();
    return parseVariable(value, o);  // "var"
}

// The calculator's options; -h/--help, --lang and --no-settings are among
// them, as for every subcommand.
constexpr CliOptionDef kOptions[] = {
    {"type", 't', true}, {"digits", 'd', true},     {"in-base", 0, true}, {"out-base", 0, true},
    {"mode", 'm', true}, {"group", 'g', false},     {"decimal", 0, true}, {"lang", 0, true},
    {"var", 0, true},    {"no-settings", 0, false}, {"help", 'h', false}, {"version", 0, false},
};

// "2^128 (up to 39 digits)": the bound of numbers of the given words.
std::string powerOfTwo(i32 words) {
    const i32 bits = 64 * words;
    const auto digits = static_cast<i32>(bits * std::log10(2.0)) + 1;
    return "2^" + std::to_string(bits) + " (up to " + std::to_string(digits) + " digits)";
}

bool applyFlag(std::string_view name, CliOptions* o) {
    if (name == "group") o->group = true;
    if (name == "help") o->help = true;
    if (name == "version") o->version = true;
    if (name == "no-settings") o->noSettings = true;
    return true;
}

}  // namespace

bool cliParseOptions(int argc, const char* const* argv, CliOptions* o, std::string* error) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    CliCommandArgs read;
    if (!cliReadCommandArgs(args, kOptions, &read, error, CliUnknownShort::Error)) return false;
    for (const auto& [name, value] : read.given) {
        if (!cliFindOption(kOptions, "--" + name)->takesValue) {
            applyFlag(name, o);
        } else if (!applyValue(name, value, o)) {
            *error = "bad value '" + value + "' for option '--" + name + "'";
            return false;
        }
    }
    o->formulas = std::move(read.positional);
    return true;
}

int cliOptionArity(std::string_view arg) {
    if (arg.size() < 2 || arg[0] != '-' || arg == "--") return -1;
    const CliOptionDef* s = cliFindOption(kOptions, arg);
    if (s == nullptr) return -1;
    return s->takesValue && arg.find('=') == std::string_view::npos ? 1 : 0;
}

std::string cliLongOption(std::string_view arg) {
    const CliOptionDef* s = cliFindOption(kOptions, arg);
    if (arg.substr(0, 2) == "--" || s == nullptr) return std::string(arg);
    return "--" + std::string(s->longName);
}

std::string cliHelpText() {
    return "Usage: velmarix-cli [options] [--] [FORMULA...]\n"
           "       velmarix-cli COMMAND [options] [ARGUMENTS...]\n"
           "Evaluates each FORMULA in order and prints its result; \"ans\" is the previous\n"
           "result. Without formulas, reads one formula per line from standard input\n"
           "(an interactive prompt on a terminal; Ctrl-C stops a calculation, twice at\n"
           "the prompt ends the program).\n"
           "\n"
           "Options:\n"
           "  -t, --type uint|rat|real|cplx  number type\n"
           "  -d, --digits N                 decimal digits of real and cplx results (1 to " +
           std::to_string(CALC_MAX_DIGITS) +
           ")\n"
           "      --in-base 2|8|10|16        base of integer literals (uint only)\n"
           "      --out-base 2|8|10|16       base of uint results\n"
           "  -m, --mode auto|fixed|exp|decimal|mixed\n"
           "                                 result display: automatic, fixed or exponent\n"
           "                                 notation; rat as a decimal or a mixed number\n"
           "  -g, --group                    group the digits of results\n"
           "      --decimal point|comma      decimal separator\n"
           "      --lang en|de               language of the messages\n"
           "      --var NAME=VALUE           define a variable (repeatable); VALUE is a formula\n"
           "      --no-settings              ignore the settings file and its saved variables\n"
           "      --version                  print the version\n"
           "  -h, --help                     print this help\n"
           "  --                             end of options: the rest are formulas\n"
           "\n"
           "Limits: uint integers of up to " +
           std::to_string(64 * CALC_UINT_WORDS) +
           " bits; rat numerators and denominators\n"
           "of up to " +
           std::to_string(64 * CALC_RAT_WORDS) + " bits each; real and cplx numbers of up to " +
           std::to_string(CALC_MAX_DIGITS) +
           " digits;\n"
           "formulas of up to " +
           std::to_string(calcMaxFormulaLength()) +
           " characters. The prime commands take numbers below\n" +
           powerOfTwo(PRIME_PAGE_WORDS_SHORT) +
           ", and primes, next-prime and is-prime\n"
           "with --probabilistic numbers below " +
           powerOfTwo(PRIME_PAGE_WORDS_LONG) +
           ".\n"
           "\n"
           "The settings file of the application supplies the defaults; it is never written.\n"
           "Exit status: 0 when every formula was evaluated, 1 when one failed, 2 for a\n"
           "usage error.\n";
}
