// The calculator's keypad: 72 keys in 8 rows of 9 whose labels, codes and
// colour classes follow the number type, and the rules that enable them.
// Pure data; the page draws the keys and routes clicks to keypad_input.h.
#pragma once

#include <string_view>

#include "numlib/mp_types.h"

constexpr int KEYPAD_ROWS = 8;
constexpr int KEYPAD_COLUMNS = 9;
constexpr int KEYPAD_KEYS = KEYPAD_ROWS * KEYPAD_COLUMNS;

// Key codes. Codes 1000 to 1399 edit the formula (keypad_input.h); the
// digit keys are KEY_DIGIT_0 + digit value; functions lie in 1100 to 1144.
enum : u32 {
    KEY_NONE = 0,
    KEY_PLUS = 1000,
    KEY_MINUS = 1001,
    KEY_TIMES = 1002,
    KEY_DIVIDE = 1003,
    KEY_POWER = 1004,
    KEY_MOD = 1008,
    KEY_SQUARE = 1014,
    KEY_CUBE = 1015,
    KEY_POW2 = 1016,
    KEY_POW10 = 1017,
    KEY_RECIPROCAL = 1018,
    KEY_FUNCTION_FIRST = 1100,
    KEY_FUNCTION_LAST = 1144,
    KEY_DIGIT_0 = 1300,
    KEY_DIGIT_F = 1315,
    KEY_DECIMAL = 1318,
    KEY_EXPONENT = 1319,
    KEY_PI = 1320,
    KEY_IMAG_UNIT = 1323,
    KEY_BACKSPACE = 1324,
    KEY_CLEAR_ALL = 1325,
    KEY_OPEN = 1326,
    KEY_CLOSE = 1327,
    KEY_SEPARATOR = 1328,
    KEY_ANS = 1329,
    KEY_CLOSE_ALL = 1330,
    KEY_WRAP = 1331,
    KEY_CLEAR_FORMULA = 1332,
    KEY_EQUALS = 1400,
    KEY_RAT_FLOAT = 1401,
    KEY_FIXED_EXP = 1402,
    KEY_RAT_MIXED = 1403,
    KEY_VARIABLES = 1404,
};

// Colour classes of the key labels.
enum : u32 {
    KEY_CLASS_NONE = 0,
    KEY_CLASS_DIGIT = 1,
    KEY_CLASS_OPERATOR = 2,
    KEY_CLASS_CLEAR = 3,
    KEY_CLASS_FUNCTION = 4,
    KEY_CLASS_STRUCTURE = 5,  // structure and display keys
    KEY_CLASS_COMPLEX = 6,    // keys that exist only for cplx
};

struct KeyFont {
    std::u16string_view family;
    i32 points = 0;
};

struct KeyColour {
    u8 red = 0;
    u8 green = 0;
    u8 blue = 0;
};

// One key of the layout. An empty label with code KEY_NONE is a place
// without a key, shown disabled.
struct CalcKey {
    std::u16string_view label;  // static text, zero-terminated
    u32 code = KEY_NONE;
    u32 labelClass = KEY_CLASS_NONE;
    KeyFont font;
};

// The key at index (row * 9 + column) for a number type code (MP_TYPE_*).
// An index outside 0..71 gives a place without a key; an unknown type is laid
// out like real (no uint variants, no rat or cplx keys).
CalcKey keyLayout(int index, i32 numberType);

// The label colour of a class (black for classes without a colour of their own).
KeyColour keyLabelColour(u32 labelClass);

// Key geometry in pixels: keys of 38 x 25, columns 39 and rows 26 apart,
// measured from the keypad's top left corner. An index outside 0..71 gives
// an empty rectangle.
struct KeyRect {
    i32 x = 0;
    i32 y = 0;
    i32 width = 0;
    i32 height = 0;
};
KeyRect keyRect(int index);

// Control identifier of the key at index: 100000 + index.
constexpr i32 keyControlId(int index) {
    return 100000 + index;
}

// What the enabled state of a key depends on.
struct KeypadState {
    i32 numberType = MP_TYPE_REAL;
    u32 inputBase = 10;      // read only for uint
    bool hasResult = false;  // a previous result exists
};

// A key is enabled when it exists; "ans", "R↔F", "R↔M" and "F↔E" only while a
// previous result exists; with uint the digit keys only for digits below the
// input base ("0" and "1" always).
bool keyEnabled(const CalcKey& key, const KeypadState& state);
bool keyEnabled(int index, const KeypadState& state);
