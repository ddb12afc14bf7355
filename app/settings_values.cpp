// The one home of the settings values and their defaults.
#include "app/settings_values.h"

#include <algorithm>

#include "numlib/mp_context.h"

u32 settings_language = SETTINGS_LANGUAGE_AUTO;
u32 settings_decimal_separator = SETTINGS_SEPARATOR_POINT;
u8 settings_thousands_sci_calc = 0;
u8 settings_thousands_equations = 0;
u8 settings_thousands_prime_nums = 0;
u32 settings_angle_type = SETTINGS_ANGLE_DEG;
u32 settings_number_type = MP_TYPE_REAL;
i32 settings_decimal_precision = 0;
i32 settings_input_base = 10;
i32 settings_output_base = 10;
u8 settings_show_welcome_hint = 1;
u8 settings_dirty = 0;
std::vector<SavedVariable> settings_variables;

void settings_reset() {
    settings_language = SETTINGS_LANGUAGE_AUTO;
    settings_decimal_separator = SETTINGS_SEPARATOR_POINT;
    settings_thousands_sci_calc = 0;
    settings_thousands_equations = 0;
    settings_thousands_prime_nums = 0;
    settings_angle_type = SETTINGS_ANGLE_DEG;
    settings_number_type = MP_TYPE_REAL;
    settings_decimal_precision = 0;
    settings_input_base = 10;
    settings_output_base = 10;
    settings_show_welcome_hint = 1;
    settings_dirty = 0;
    settings_variables.clear();
}

bool settings_base_valid(i64 base) {
    return base == 2 || base == 8 || base == 10 || base == 16;
}

void settings_take_variables(std::span<const SavedVariable> variables) {
    const size_t count = std::min(variables.size(), size_t{SETTINGS_MAX_VARIABLES});
    settings_variables.assign(variables.begin(), variables.begin() + count);
    for (SavedVariable& v : settings_variables)
        if (!settings_base_valid(v.base)) v.base = 10;
    settings_dirty = 1;
}

void settings_apply_decimal_separator() {
    if (settings_decimal_separator == SETTINGS_SEPARATOR_POINT)
        mp_set_char_set(MP_CHARS_DECIMAL, u".,", 2);
    else if (settings_decimal_separator == SETTINGS_SEPARATOR_COMMA)
        mp_set_char_set(MP_CHARS_DECIMAL, u",.", 2);
}
