#include "app/window/command_line.h"

#include <cstring>
#include <string_view>

namespace {

bool known_window(std::string_view name) {
    for (const char* n : OPEN_NAMES)
        if (name == n) return true;
    return false;
}

// Qt's options that take a value, which must not be read as ours.
bool qt_option_with_value(std::string_view arg) {
    for (std::string_view o : {"-platform", "-style", "-stylesheet", "-display", "-qwindowgeometry",
                               "-qwindowtitle", "-qwindowicon", "-platformpluginpath", "-platformtheme",
                               "-session", "-reverse"})
        if (arg == o) return o != "-reverse";
    return false;
}

}  // namespace

CommandLine command_line_parse(int argc, char** argv) {
    CommandLine cl;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") return {CommandLine::Help, {}, {}};
        if (arg == "--version") return {CommandLine::Version, {}, {}};
        if (arg == "--open" || arg.starts_with("--open=")) {
            std::string_view name = arg == "--open" ? (i + 1 < argc ? argv[++i] : "") : arg.substr(7);
            if (!known_window(name))
                return {CommandLine::Usage, {}, "--open needs one of the window names, not '" + std::string(name) + "'"};
            cl.open = name;
        } else if (qt_option_with_value(arg)) {
            ++i;
        } else if (!arg.starts_with("-") || arg.starts_with("--")) {
            return {CommandLine::Usage, {}, "unknown argument '" + std::string(arg) + "'"};
        }
    }
    return cl;
}

std::string command_line_help() {
    std::string text =
        "Usage: velmarix [--open WINDOW]\n"
        "Velmarix, exact and high-precision mathematics on the desktop.\n\n"
        "  --open WINDOW  show a window right after start-up; WINDOW is one of\n"
        "                 ";
    for (const char* n : OPEN_NAMES) text += std::string(n) + (n == OPEN_NAMES[8] ? "\n" : ", ");
    text +=
        "  --help         print this text and exit\n"
        "  --version      print the version and exit\n\n"
        "The settings are kept in $XDG_CONFIG_HOME/Velmarix (or ~/.config/Velmarix).\n"
        "velmarix-cli is the same mathematics on the command line.\n";
    return text;
}
