// Where the help pages are and which page shows a topic. The pages ship
// with the program: one folder per language, "Velmarix_en" and
// "Velmarix_de", in share/velmarix/help beside the program's bin folder
// (in the build tree and in an installed tree alike); the topic "Overview"
// in English is the page Overview_en.html of the English folder.
#pragma once

#include <string>
#include <string_view>

// Longest help path kept; a longer one is cut, ends in "…" and raises
// application error 9002 (like every bounded text).
constexpr std::size_t HELP_PATH_MAX = 4095;

// The help folder of the active language, set by help_path_build().
extern std::string help_folder_path;

// Builds help_folder_path for language (2 English, 3 German, else "_??")
// from the folder that holds the program: <exe_dir>/../share/velmarix/help/
// Velmarix_en. With the environment variable VELMARIX_HELP_DIR set, that
// folder replaces <exe_dir>/../share/velmarix/help (for tests and for
// running from unusual places).
void help_path_build(std::string_view exe_dir, int language);

// The page of topic in the active language's folder. When the folder does
// not exist, raises 1005 with the folder's full path; when the page cannot
// be read, 1006 with the page's path. Returns the page's path, or an empty
// string with the error pending.
std::string help_page_for(std::string_view topic);

// The language suffix of the help files: "_en", "_de" or "_??".
std::string_view help_language_suffix(int language);
