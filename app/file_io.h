// Reading a small file whole, and replacing a file atomically: the two
// file operations of the settings file and the calculator's history.
#pragma once

#include <string>
#include <string_view>

#include "numlib/mp_types.h"

// The whole file at path, or nothing when it cannot be opened, is not a
// regular file or is larger than max_bytes. Never blocks on a FIFO.
std::string file_read_bounded(const std::string& path, i64 max_bytes);

// Writes bytes to a new file in path's folder, flushes it to disk and
// renames it over path, so a failure at any point leaves the old file as it
// was. False on failure.
bool file_write_replacing(const std::string& path, std::string_view bytes);

// The folder of path: what comes before its last "/" ("." for none, "/" for
// a file at the root).
std::string file_folder_of(const std::string& path);
