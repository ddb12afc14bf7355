// What a keypad key does to the formula: the text it inserts for the number
// type, input base and angle unit, the edit of the formula field, and the
// dispatch of a key press into the actions the page performs itself
// (evaluation, display toggles, the variables window, clearing everything).
#pragma once

#include <string>

#include "calculator/formula_edit.h"
#include "calculator/keypad.h"

// Angle units of the calculator's angle setting.
enum : u32 {
    ANGLE_DEGREES = 1,
    ANGLE_RADIANS = 2,
    ANGLE_GON = 3,
};

// The settings an inserted text depends on.
struct KeyContext {
    i32 numberType = MP_TYPE_REAL;
    u32 inputBase = 10;  // read only for uint; 2 to 16, anything else counts as 10
    u32 angleType = ANGLE_RADIANS;
};

// The text a formula-editing key inserts: operators, digits, constants and
// function names with their "(" (trigonometric names carry "d" for degrees,
// "g" for gon). Powers of two and ten are written in the uint input base.
// The decimal, exponent and imaginary-unit keys insert the first character of
// the number library's character sets. Returns false, leaving out untouched,
// for codes that insert nothing (the editing keys "←", "CA", "(..)", "CF",
// closing parentheses) and for codes no key has.
bool keyInsertText(u32 code, const KeyContext& context, std::u16string& out);

// What the page has to do after a key.
enum class KeyAction {
    None,           // nothing (no key at that place, or a disabled key)
    Edited,         // the formula was edited (or was left as it was by "←" on empty text)
    ClearAll,       // "CA": the page clears result, errors and formula
    Equals,         // "=": the page evaluates
    ToggleDisplay,  // "R↔F", "F↔E", "R↔M": the page toggles the display mode
    ShowVariables,  // "var": the page shows the variables window
    Invalid,        // an unknown key code or index; application error 9000 is raised
};

// The formula-editing part of a key: inserts the key's text in place of the
// selection (or at the caret), or performs "←", "(..)", "CF" and closing the
// open parentheses. "CA" returns ClearAll and leaves the edit to the page's
// clearAll. Any code outside these raises application error 9000 and returns
// Invalid with the edit unchanged.
KeyAction insertForKey(FormulaEdit& edit, u32 code, const KeyContext& context);

// A click on the key at index (0..71) while the page is idle. Formula-editing
// keys (codes 1000 to 1399) first empty the formula when formulaTouched is
// false, so a new formula starts after a result, then edit it and set
// formulaTouched. The other keys only report their action. A place without a
// key or a key keyEnabled() refuses gives None; an index outside 0..71 raises
// application error 9000 and gives Invalid.
KeyAction keypadPress(FormulaEdit& edit, bool& formulaTouched, int index, const KeyContext& context,
                      bool hasResult);
