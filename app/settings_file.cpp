// Settings file input and output with bounded reads and atomic replacement.
#include "app/settings_file.h"

#include <sys/stat.h>

#include "app/file_io.h"
#include "app/settings_io.h"
#include "app/settings_path.h"
#include "app/settings_values.h"

namespace {

bool has_mark(std::string_view bytes) {
    return bytes.size() >= 2 && static_cast<u8>(bytes[0]) == 0xFF &&
           static_cast<u8>(bytes[1]) == 0xFE;
}

}  // namespace

std::u16string settings_decode(std::string_view bytes) {
    if (!has_mark(bytes)) return {};
    std::u16string text((bytes.size() - 2) / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(static_cast<u8>(bytes[2 + 2 * i]) |
                                        static_cast<u8>(bytes[3 + 2 * i]) << 8);
    return text;
}

std::string settings_encode(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(2 + 2 * text.size());
    bytes += static_cast<char>(0xFF);
    bytes += static_cast<char>(0xFE);
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

bool settings_load() {
    settings_path_build();
    const std::string bytes =
        settings_path.empty() ? std::string() : file_read_bounded(settings_path, SETTINGS_FILE_MAX_BYTES);
    std::u16string text = settings_decode(bytes);
    const bool found = has_mark(bytes);
    settings_io(SETTINGS_IO_READ, text);
    settings_dirty = 0;
    return found;
}

bool settings_save() {
    settings_path_build();
    if (settings_path.empty()) return false;
    std::u16string text;
    settings_io(SETTINGS_IO_WRITE, text);
    ::mkdir(file_folder_of(settings_path).c_str(), 0700);  // in case it was removed meanwhile
    if (!file_write_replacing(settings_path, settings_encode(text))) return false;
    settings_dirty = 0;
    return true;
}
