#include "app/help_files.h"

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

#include "app/app_error.h"

std::string help_folder_path;

namespace {

std::string help_suffix = "_??";

std::u16string utf16_of(std::string_view s) {
    // Paths are shown in messages; their bytes are taken as UTF-8.
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp = c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        if (extra > 0) cp = c & (0x3F >> extra);
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

void raise_with_path(u32 code, const std::string& path) {
    const std::u16string text = utf16_of(path);
    raiseAppError(code, text.c_str(), nullptr);
}

bool is_directory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string_view help_language_suffix(int language) {
    return language == 2 ? "_en" : language == 3 ? "_de" : "_??";
}

void help_path_build(std::string_view exe_dir, int language) {
    const char* dir = std::getenv("VELMARIX_HELP_DIR");
    std::string path = dir != nullptr && *dir != 0 ? std::string(dir)
                                                   : std::string(exe_dir) + "/../share/velmarix/help";
    path += "/Velmarix";
    help_suffix = help_language_suffix(language);
    path += help_suffix;
    if (path.size() > HELP_PATH_MAX) {
        path.resize(HELP_PATH_MAX - 3);
        path += "\xE2\x80\xA6";  // "…"
        raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
    }
    help_folder_path = path;
}

std::string help_page_for(std::string_view topic) {
    if (!is_directory(help_folder_path)) {
        raise_with_path(APP_ERR_FILE_NOT_FOUND, help_folder_path);
        return {};
    }
    const std::string page = help_folder_path + "/" + std::string(topic) + help_suffix + ".html";
    if (!std::ifstream(page).good()) {
        raise_with_path(APP_ERR_FILE_ACCESS, page);
        return {};
    }
    return page;
}
