// The prime commands of velmarix-cli: "primes", "next-prime", "is-prime"
// (the prime numbers page) and "factor", "divisors" (the prime factors and
// divisors page). Each reads its numbers as the page reads its edits, fills
// the worker's record as the page does and streams the worker's output.
#include "cli/cli_primes.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/app_error.h"
#include "app/settings_values.h"
#include "cli/cli_command.h"
#include "numlib/mp_context.h"
#include "numlib/num_text.h"
#include "primes/prime_factors_worker.h"
#include "primes/prime_numbers_worker.h"

namespace {

enum class Kind { Interval, Next, Test, Factor, Divisors };

struct PrimeCommand {
    const char* name;
    Kind kind;
    std::size_t maxPositional;
    const char* usage;
    const char* about;
};

constexpr PrimeCommand kPrimeCommands[] = {
    {"primes", Kind::Interval, 2, "FROM [COUNT]",
     "Lists and counts the primes among the COUNT numbers from FROM on (COUNT 1 to\n"
     "2147483647, 100 when left out).\n"},
    {"next-prime", Kind::Next, 1, "N",
     "Prints the first prime from N on (N itself when it is prime).\n"},
    {"is-prime", Kind::Test, 1, "N", "Tells whether N is a prime number.\n"},
    {"factor", Kind::Factor, 2, "N [COUNT]",
     "Prints the prime factorization of N and of the COUNT - 1 numbers after it\n"
     "(COUNT 1 to 1000000, 1 when left out); N below 2^128.\n"},
    {"divisors", Kind::Divisors, 2, "N [COUNT]",
     "Lists every divisor of N and of the COUNT - 1 numbers after it (COUNT 1 to\n"
     "1000000, 1 when left out); N below 2^128.\n"},
};

constexpr CliOptionDef kNumberArgs[] = {
    {"base", 0, true}, {"group", 0, false}, {"exact", 0, false}, {"probabilistic", 0, false}};
constexpr CliOptionDef kIntervalArgs[] = {{"base", 0, true},
                                          {"group", 0, false},
                                          {"exact", 0, false},
                                          {"probabilistic", 0, false},
                                          {"count", 0, false}};
constexpr CliOptionDef kFactorArgs[] = {{"base", 0, true}, {"group", 0, false}};
constexpr CliOptionDef kDivisorArgs[] = {
    {"base", 0, true}, {"group", 0, false}, {"count", 0, false}};

bool isNumberPage(Kind k) {
    return k == Kind::Interval || k == Kind::Next || k == Kind::Test;
}

std::span<const CliOptionDef> argSpec(Kind k) {
    if (k == Kind::Interval) return kIntervalArgs;
    if (isNumberPage(k)) return kNumberArgs;
    if (k == Kind::Factor) return kFactorArgs;
    return kDivisorArgs;
}

std::string helpText(const PrimeCommand& c) {
    std::string t = "Usage: velmarix-cli ";
    t += c.name;
    t += " [OPTIONS] ";
    t += c.usage;
    t += "\n\n";
    t += c.about;
    t += "Number arguments are read in the base of --base; digit groups with ' and\n"
         "lower-case hexadecimal digits are accepted.\n\nOptions:\n";
    if (isNumberPage(c.kind)) {
        t += "  --exact          proven verdicts, numbers below 2^128 (the default)\n"
             "  --probabilistic  Baillie-PSW test, numbers of up to 1253 digits\n";
    }
    if (c.kind == Kind::Interval)
        t += "  --count          only the closing count line, without the list\n";
    if (c.kind == Kind::Divisors)
        t += "  --count          the number of divisors after each list\n";
    t += "  --base B         number base 2, 8, 10 (default) or 16\n"
         "  --group          digit groups in the output (also when the settings say so)\n"
         "  --lang en|de     language of the texts and messages\n"
         "  --no-settings    ignore the settings file\n"
         "  -h, --help       this text\n\n"
         "The output is written as it is produced. Ctrl-C stops the run: the output so\n"
         "far stays, without the closing count.\n"
         "Exit status: 0 done, 1 invalid input, a failed run or a stop by Ctrl-C,\n"
         "2 usage error.\n";
    return t;
}

struct Common {
    u32 base = 10;
    u32 flags = 0;
};

bool readCommon(const CliCommandArgs& args, Common* c, std::string* error) {
    if (args.has("base")) {
        const std::string b = args.value("base");
        if (b != "2" && b != "8" && b != "10" && b != "16") {
            *error = "bad value '" + b + "' for option '--base' (2, 8, 10 or 16)";
            return false;
        }
        c->base = static_cast<u32>(std::stoi(b));
    }
    if (args.has("group") || settings_thousands_prime_nums != 0) c->flags = NUM_TEXT_GROUP;
    return true;
}

int runNumbers(const PrimeCommand& cmd, const CliCommandArgs& args, const Common& c) {
    const bool exact = !args.has("probabilistic");
    mp_set_int_words(exact ? PRIME_PAGE_WORDS_SHORT : PRIME_PAGE_WORDS_LONG);
    const i64 capacity = exact ? PRIME_PAGE_TEXT_SHORT : PRIME_PAGE_TEXT_LONG;
    const i32 base = static_cast<i32>(c.base);
    std::vector<u64> number(static_cast<std::size_t>(mp_int_words));
    i64 size = 2147483647;
    const CliPrimeUse use = exact ? CliPrimeUse::Exact : CliPrimeUse::Probabilistic;
    if (!cliReadPrimeNumber(args.positional[0], use, base, number.data())) return CLI_EXIT_FAILED;
    if (cmd.kind == Kind::Interval) {
        size = 100;
        if (args.positional.size() > 1 &&
            !cliReadPrimeCount(args.positional[1], capacity, base, 2147483647, 0, &size))
            return CLI_EXIT_FAILED;
    }
    const u32 op = cmd.kind == Kind::Interval
                       ? (args.has("count") ? PRIME_OP_COUNT : PRIME_OP_INTERVAL)
                   : cmd.kind == Kind::Next ? PRIME_OP_NEXT
                                            : PRIME_OP_TEST;
    const SPrimeNumberCalc calc{exact ? PRIME_METHOD_EXACT : PRIME_METHOD_PROBABILISTIC,
                                op,
                                number.data(),
                                size,
                                c.flags,
                                c.base};
    return cliRunPrimeWorker([&calc](PrimeOutputSink& s) { prime_numbers_start_thread(calc, s); },
                             APP_ERR_PRIME_OVERFLOW);
}

int runFactors(const PrimeCommand& cmd, const CliCommandArgs& args, const Common& c) {
    mp_set_int_words(PRIME_PAGE_WORDS_SHORT);
    const i32 base = static_cast<i32>(c.base);
    u64 number[PRIME_PAGE_WORDS_SHORT] = {0, 0};
    i64 size = 1;
    if (!cliReadPrimeNumber(args.positional[0], CliPrimeUse::Factors, base, number))
        return CLI_EXIT_FAILED;
    if (args.positional.size() > 1 &&
        !cliReadPrimeCount(args.positional[1], PRIME_PAGE_TEXT_SHORT, base, 1000000, 1, &size))
        return CLI_EXIT_FAILED;
    const SPrimeFactorCalc calc{static_cast<u8>(cmd.kind == Kind::Divisors ? 1 : 0),
                                static_cast<u8>(args.has("count") ? 1 : 0),
                                {number[0], number[1]},
                                static_cast<i32>(size),
                                c.flags,
                                c.base};
    return cliRunPrimeWorker([&calc](PrimeOutputSink& s) { prime_factors_start_thread(calc, s); },
                             APP_ERR_FACTOR_OVERFLOW);
}

const PrimeCommand* findPrimeCommand(std::string_view name) {
    for (const PrimeCommand& c : kPrimeCommands)
        if (name == c.name) return &c;
    return nullptr;
}

}  // namespace

int cliRunPrimes(std::string_view command, const std::vector<std::string>& argv) {
    const PrimeCommand* cmd = findPrimeCommand(command);
    if (cmd == nullptr) return cliUsageError(command, "unknown command");
    CliCommandArgs args;
    std::string error;
    if (!cliReadCommandArgs(argv, argSpec(cmd->kind), &args, &error))
        return cliUsageError(command, error);
    if (args.has("help")) {
        std::fputs(helpText(*cmd).c_str(), stdout);
        return CLI_EXIT_OK;
    }
    if (args.has("exact") && args.has("probabilistic"))
        return cliUsageError(command, "'--exact' and '--probabilistic' exclude each other");
    if (args.positional.empty()) return cliUsageError(command, "a number is missing");
    if (args.positional.size() > cmd->maxPositional)
        return cliUsageError(command, "too many arguments");
    Common common;
    if (!cliCommandSetUp(args, &error) || !readCommon(args, &common, &error))
        return cliUsageError(command, error);
    return isNumberPage(cmd->kind) ? runNumbers(*cmd, args, common)
                                   : runFactors(*cmd, args, common);
}
