// Where the settings file lives: $XDG_CONFIG_HOME (or ~/.config) / Velmarix /
// UserSettings_3.4.ini. The path is worked out once and kept.
#pragma once

#include <string>
#include <string_view>

// File name of the settings file inside its folder.
inline constexpr std::string_view SETTINGS_FILE_NAME = "UserSettings_3.4.ini";

// The settings file's path; empty until settings_path_build() or
// settings_path_set_folder() ran, and empty when no home folder is known.
extern std::string settings_path;

// Fills settings_path on first use and leaves it alone afterwards: the folder
// "Velmarix" in $XDG_CONFIG_HOME when that is an absolute path, else in
// $HOME/.config (the home folder from the user database when HOME is unset).
// Creates the configuration folder and "Velmarix" when they are missing. With
// no home folder at all the path stays empty, so nothing is read or written.
void settings_path_build();

// Puts the settings file into folder, which a save creates when it is missing
// (its parent must exist). For tests and for callers that keep their settings
// elsewhere.
void settings_path_set_folder(std::string_view folder);

// Forgets the path, so the next settings_path_build() works it out again.
void settings_path_forget();

// The program's data folder, "Velmarix" in $XDG_DATA_HOME when that is an
// absolute path, else in $HOME/.local/share; created with its parents when
// missing. Empty when no home folder is known.
std::string app_data_folder();
