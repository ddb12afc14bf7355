// settings_io: one walk over the sections and keys of the settings file,
// carried out by a reader or a writer that share the per-key vocabulary.
#include "app/settings_io.h"

#include <string_view>

#include "app/settings_text.h"
#include "app/settings_values.h"

namespace {

constexpr SettingsName kLanguageNames[] = {
    {SETTINGS_LANGUAGE_AUTO, u"(automatic)"},
    {SETTINGS_LANGUAGE_ENGLISH, u"English"},
    {SETTINGS_LANGUAGE_GERMAN, u"German"},
};
constexpr SettingsName kSeparatorNames[] = {
    {SETTINGS_SEPARATOR_POINT, u"point"},
    {SETTINGS_SEPARATOR_COMMA, u"comma"},
};
constexpr SettingsName kAngleNames[] = {
    {SETTINGS_ANGLE_DEG, u"deg"},
    {SETTINGS_ANGLE_RAD, u"rad"},
    {SETTINGS_ANGLE_GON, u"gon"},
};
constexpr SettingsName kNumberTypeNames[] = {
    {MP_TYPE_RAT, u"rat"},
    {MP_TYPE_REAL, u"real"},
    {MP_TYPE_CPLX, u"cplx"},
    {MP_TYPE_UINT, u"uint"},
};

// A precision beyond what the library can hold, or one that overflowed while
// it was read (-1), is not the user's: the default stands.
i32 precision_from_file(i64 value) {
    return value >= 0 && value <= SETTINGS_MAX_PRECISION ? static_cast<i32>(value) : 0;
}

// A base other than 2, 8, 10 or 16 (0 included) reads as 10.
i32 base_from_file(i64 value) {
    return settings_base_valid(value) ? static_cast<i32>(value) : 10;
}

// The fixed sequence of the file. Io is SettingsReader or SettingsWriter.
template <class Io>
void settings_walk(Io& io) {
    io.section(u"options");
    io.choice(u"language", settings_language, kLanguageNames, SETTINGS_LANGUAGE_AUTO);
    io.choice(u"decimal_separator", settings_decimal_separator, kSeparatorNames,
              SETTINGS_SEPARATOR_POINT);
    io.flag(u"thousands_sep_sci_calc", settings_thousands_sci_calc, 0);
    io.flag(u"thousands_sep_equations", settings_thousands_equations, 0);
    io.flag(u"thousands_sep_prime_nums", settings_thousands_prime_nums, 0);
    io.section(u"scientific_calculator");
    io.choice(u"angle_type", settings_angle_type, kAngleNames, SETTINGS_ANGLE_DEG);
    io.choice(u"number_type", settings_number_type, kNumberTypeNames, MP_TYPE_REAL);
    io.number(u"decimal_precision", settings_decimal_precision, precision_from_file);
    io.number(u"input_number_base", settings_input_base, base_from_file);
    io.number(u"output_number_base", settings_output_base, base_from_file);
    io.variables(settings_variables);
    io.section(u"hints");
    io.flag(u"show_welcome_hint", settings_show_welcome_hint, 1);
}

}  // namespace

void settings_io(i32 mode, std::u16string& text) {
    if (mode == SETTINGS_IO_READ) {
        SettingsReader reader(text);
        settings_walk(reader);
    } else if (mode == SETTINGS_IO_WRITE) {
        SettingsWriter writer(text);
        settings_walk(writer);
    }
}
