// The settings file's location on Linux, after the XDG base directory rules.
#include "app/settings_path.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

std::string settings_path;

namespace {

std::string home_folder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    const passwd* user = getpwuid(getuid());
    if (user != nullptr && user->pw_dir != nullptr && user->pw_dir[0] == '/') return user->pw_dir;
    return {};
}

// XDG asks for an absolute path; a relative one is ignored like an unset one.
std::string config_folder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') return xdg;
    const std::string home = home_folder();
    return home.empty() ? std::string() : home + "/.config";
}

// An existing folder is fine; other failures show up when the file is written.
void make_folder(const std::string& folder) {
    mkdir(folder.c_str(), 0700);
}

}  // namespace

std::string app_data_folder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string data = xdg != nullptr && xdg[0] == '/' ? std::string(xdg) : std::string();
    if (data.empty()) {
        const std::string home = home_folder();
        if (home.empty()) return {};
        make_folder(home + "/.local");
        data = home + "/.local/share";
    }
    make_folder(data);
    make_folder(data + "/Velmarix");
    return data + "/Velmarix";
}

void settings_path_build() {
    if (!settings_path.empty()) return;
    const std::string config = config_folder();
    if (config.empty()) return;
    const std::string folder = config + "/Velmarix";
    make_folder(config);
    make_folder(folder);
    settings_path = folder + "/" + std::string(SETTINGS_FILE_NAME);
}

void settings_path_set_folder(std::string_view folder) {
    settings_path = std::string(folder) + "/" + std::string(SETTINGS_FILE_NAME);
}

void settings_path_forget() {
    settings_path.clear();
}
