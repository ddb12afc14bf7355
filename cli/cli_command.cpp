// The subcommand table, the shared argument reader and the common set-up.
#include "cli/cli_command.h"

#include "app/app_error.h"
#include "app/settings_file.h"
#include "app/settings_path.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "numlib/mp_context.h"
#include "textbuf/text_utf8.h"

namespace {

constexpr CliOptionDef kCommonArgs[] = {
    {"lang", 0, true}, {"no-settings", 0, false}, {"help", 'h', false}};

constexpr CliCommand kCommands[] = {
    {"roots", cliRunRoots, "roots of a polynomial equation"},
    {"poly", cliRunPoly, "polynomial arithmetic"},
    {"linear", cliRunLinear, "a linear system from a CSV file"},
    {"primes", cliRunPrimes, "prime numbers from a start value"},
    {"next-prime", cliRunPrimes, "the next prime after a number"},
    {"is-prime", cliRunPrimes, "whether a number is prime"},
    {"factor", cliRunPrimes, "prime factors"},
    {"divisors", cliRunPrimes, "divisors"},
};

}  // namespace

const CliOptionDef* cliFindOption(std::span<const CliOptionDef> known, std::string_view arg) {
    if (arg.size() > 2 && arg.substr(0, 2) == "--") arg = arg.substr(0, arg.find('='));
    for (std::span<const CliOptionDef> table :
         {known, std::span<const CliOptionDef>(kCommonArgs)}) {
        for (const CliOptionDef& s : table) {
            if (arg.size() == 2 && arg[0] == '-' && s.shortName != 0 && arg[1] == s.shortName)
                return &s;
            if (arg.size() > 2 && arg.substr(0, 2) == "--" && arg.substr(2) == s.longName)
                return &s;
        }
    }
    return nullptr;
}

std::string CliCommandArgs::value(std::string_view name, std::string_view fallback) const {
    const auto it = options.find(std::string(name));
    return it == options.end() ? std::string(fallback) : it->second;
}

bool cliReadCommandArgs(const std::vector<std::string>& args, std::span<const CliOptionDef> known,
                        CliCommandArgs* out, std::string* error, CliUnknownShort unknown) {
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options || arg.size() < 2 || arg[0] != '-') {
            out->positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            options = false;
            continue;
        }
        const std::size_t eq = arg.find('=');
        const bool isLong = arg[1] == '-';
        const std::string name = isLong && eq != std::string::npos ? arg.substr(0, eq) : arg;
        const CliOptionDef* s = cliFindOption(known, name);
        if (s == nullptr) {
            const bool number = arg[1] == '.' || arg[1] == '(' || (arg[1] >= '0' && arg[1] <= '9');
            if (isLong || (unknown == CliUnknownShort::Error && !number)) {
                *error = "unknown option '" + name + "'";
                return false;
            }
            out->positional.push_back(arg);  // a negative number or formula
            continue;
        }
        if (!s->takesValue) {
            if (isLong && eq != std::string::npos) {
                *error = "option '" + name + "' takes no value";
                return false;
            }
            out->options[s->longName] = "";
            out->given.emplace_back(s->longName, "");
            continue;
        }
        if (isLong && eq != std::string::npos) {
            out->options[s->longName] = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            out->options[s->longName] = args[++i];
        } else {
            *error = "option '" + arg + "' needs a value";
            return false;
        }
        out->given.emplace_back(s->longName, out->options[s->longName]);
    }
    return true;
}

void cliSettingsLoad(bool noSettings) {
    settings_reset();
    if (noSettings) return;
    settings_path_build();
    settings_load();
}

void cliSettingsApply() {
    ui_language_select(settings_language);
    mp_context_reset();
    settings_apply_decimal_separator();
    clearErrors();
}

bool cliCommandSetUp(const CliCommandArgs& args, std::string* error) {
    cliSettingsLoad(args.has("no-settings"));
    if (args.has("lang")) {
        const std::string lang = args.value("lang");
        if (lang != "en" && lang != "de") {
            *error = "bad value '" + lang + "' for option '--lang'";
            return false;
        }
        settings_language = lang == "en" ? SETTINGS_LANGUAGE_ENGLISH : SETTINGS_LANGUAGE_GERMAN;
    }
    cliSettingsApply();
    return true;
}

int cliUsageError(std::string_view command, std::string_view reason) {
    std::fprintf(stderr, "velmarix-cli %.*s: %.*s\nTry 'velmarix-cli %.*s --help'.\n",
                 static_cast<int>(command.size()), command.data(), static_cast<int>(reason.size()),
                 reason.data(), static_cast<int>(command.size()), command.data());
    return CLI_EXIT_USAGE;
}

void cliWrite(std::FILE* out, std::u16string_view text, bool flush) {
    const std::string bytes = text_to_utf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    if (flush) std::fflush(out);
}

const CliCommand* cliFindCommand(std::string_view name) {
    for (const CliCommand& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

std::string cliCommandsHelp() {
    std::string text =
        "Commands (velmarix-cli COMMAND [OPTIONS] [ARGUMENTS...]; options written before\n"
        "the command's name are handed to it; velmarix-cli COMMAND --help describes each):\n";
    for (const CliCommand& c : kCommands) {
        std::string line = "  ";
        line += c.name;
        line.resize(16, ' ');
        text += line;
        text += c.summary;
        text += '\n';
    }
    return text;
}
