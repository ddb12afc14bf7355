// Loading and saving the settings file: UTF-16 little-endian text after the
// byte-order mark FF FE, at settings_path.
#pragma once

#include <string>
#include <string_view>

#include "numlib/mp_types.h"

// A file larger than this is not a settings file and is ignored. The largest
// real one, 100 variables holding the longest texts the calculator keeps, is
// about 17 MB.
constexpr i64 SETTINGS_FILE_MAX_BYTES = i64{32} << 20;

// The characters of a file's bytes: empty unless they start with FF FE; a
// last odd byte is dropped.
std::u16string settings_decode(std::string_view bytes);

// The bytes of a file holding text: FF FE, then each character low byte first.
std::string settings_encode(std::u16string_view text);

// Builds the path, reads the file and sets every setting and the saved
// variables from it (settings_io); whatever cannot be read keeps its default.
// A missing, unreadable, mark-less, non-regular or oversized file gives all
// defaults. Clears settings_dirty. Returns whether a file with the mark was read.
bool settings_load();

// Builds the path and writes the current settings and saved variables. The
// text goes to a new file in the same folder, which is flushed to disk and
// then renamed over the old one, so a failure at any point leaves the old file
// as it was. Returns false on failure, keeping settings_dirty set; on success
// clears settings_dirty.
bool settings_save();
