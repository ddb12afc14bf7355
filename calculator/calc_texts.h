// The calculator page's own words in English and German that the shared
// text slots do not hold: the names of the unlabelled fields, the history,
// the choices of number type and angle unit, and a tooltip for every key.
#pragma once

#include <string_view>

#include "numlib/mp_types.h"

enum class CalcText {
    Formula,        // accessible name of the formula field
    Result,         // accessible name of the result field
    History,        // accessible name and title of the history list
    ShowHistory,    // the check box that shows and hides the history
    CopyHistory,    // the button that copies the history as text
    Copy,           // the result field's context menu entry
    NumberType,     // label of the number-type choice
    Angle,          // label of the angle-unit choice
    Degrees,        // angle units, in the order of ANGLE_DEGREES .. ANGLE_GON
    Radians,
    Gon,
    Unsigned,       // the uint number type's name
    Inexact,        // tooltip of the "[ ]" indicator
    DigitCount,     // accessible name of the uint digit count
};

// The text in language (LANGUAGE_GERMAN: German, anything else: English).
std::u16string_view calcText(CalcText id, i32 language);

// What the key with code does, for its tooltip ("Square root"); empty for
// codes no key has.
std::u16string_view keyTooltip(u32 code, i32 language);
