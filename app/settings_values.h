// The process-wide settings that survive a restart: the options, the
// calculator's choices, the welcome-hint flag and the calculator's saved
// variables. The shell owns them; pages read and change them and set
// settings_dirty so that the next save writes the file.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "numlib/mp_types.h"

// Codes of settings_language.
enum : u32 {
    SETTINGS_LANGUAGE_AUTO = 1,
    SETTINGS_LANGUAGE_ENGLISH = 2,
    SETTINGS_LANGUAGE_GERMAN = 3
};
// Codes of settings_decimal_separator.
enum : u32 { SETTINGS_SEPARATOR_POINT = 0, SETTINGS_SEPARATOR_COMMA = 1 };
// Codes of settings_angle_type.
enum : u32 { SETTINGS_ANGLE_DEG = 1, SETTINGS_ANGLE_RAD = 2, SETTINGS_ANGLE_GON = 3 };

// At most this many calculator variables are kept in the settings.
constexpr i64 SETTINGS_MAX_VARIABLES = 100;
// Largest decimal precision a settings file may carry (527 words of 19 digits).
constexpr i32 SETTINGS_MAX_PRECISION = MP_REAL_WORDS_MAX * 19;

extern u32 settings_language;           // SETTINGS_LANGUAGE_*
extern u32 settings_decimal_separator;  // SETTINGS_SEPARATOR_*
extern u8 settings_thousands_sci_calc;
extern u8 settings_thousands_equations;
extern u8 settings_thousands_prime_nums;
extern u32 settings_angle_type;         // SETTINGS_ANGLE_*
extern u32 settings_number_type;        // MP_TYPE_*
extern i32 settings_decimal_precision;  // 0: the calculator's default of 10
extern i32 settings_input_base;         // 2, 8, 10 or 16
extern i32 settings_output_base;        // 2, 8, 10 or 16
extern u8 settings_show_welcome_hint;
extern u8 settings_dirty;  // something changed since the last load or save

// One calculator variable as the settings file keeps it: the texts as the
// user typed them and the base its integer literals are written in.
struct SavedVariable {
    std::u16string name;
    u8 base = 10;
    std::u16string value;

    bool operator==(const SavedVariable&) const = default;
};

// The saved variables in list order; never more than SETTINGS_MAX_VARIABLES.
extern std::vector<SavedVariable> settings_variables;

// Puts every value above back to its default (as when no file exists), with
// no saved variables and settings_dirty clear.
void settings_reset();

// True for the number bases a variable or the calculator may use: 2, 8, 10, 16.
bool settings_base_valid(i64 base);

// Takes over the calculator's variable list before a save: keeps its first
// SETTINGS_MAX_VARIABLES entries (a base other than 2, 8, 10 or 16 becomes 10)
// and sets settings_dirty. The caller calls it when its list has changed.
void settings_take_variables(std::span<const SavedVariable> variables);

// Makes the decimal separator setting take effect in the number library:
// point reads and writes ".", also accepting ","; comma the other way round.
// Any other code leaves the library's characters as they are.
void settings_apply_decimal_separator();
