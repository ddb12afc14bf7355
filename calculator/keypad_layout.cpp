// The keypad table: each place has the key of real (shared by rat and cplx),
// the key of uint, and the keys that only rat or only cplx put there.
#include <array>

#include "calculator/keypad.h"

namespace {

struct KeyDef {
    const char16_t* label = u"";
    u32 code = KEY_NONE;
    u32 labelClass = KEY_CLASS_NONE;
};

struct Place {
    KeyDef common;  // real, and rat and cplx unless they have their own
    KeyDef uintKey;
    KeyDef ratKey;
    KeyDef cplxKey;
};

constexpr KeyDef none{};

// A key the same for every type.
constexpr Place all(KeyDef k) {
    return Place{k, k, none, none};
}
// A key of every type but uint, which has another (or none).
constexpr Place notUint(KeyDef k, KeyDef u = none) {
    return Place{k, u, none, none};
}
constexpr Place ratCplx(KeyDef r, KeyDef c) {
    return Place{none, none, r, c};
}
constexpr Place cplxOnly(KeyDef c) {
    return Place{none, none, none, c};
}

constexpr std::array<Place, KEYPAD_KEYS> kPlaces = {{
    // row 0
    all({u"CA", 1325, 3}),
    all({u"\u2190", 1324, 3}),
    all({u"7", 1307, 1}),
    all({u"8", 1308, 1}),
    all({u"9", 1309, 1}),
    notUint({u"log\u2081\u2080", 1106, 4}, {u"[lg\u2081\u2080]", 1106, 4}),
    notUint({u"log\u2082", 1104, 4}, {u"[log\u2082]", 1104, 4}),
    notUint({u"ln", 1105, 4}, {u"[logx]", 1107, 4}),
    notUint({u"logx", 1107, 4}),
    // row 1
    all({u"CF", 1332, 3}),
    all({u"var", 1404, 5}),
    all({u"4", 1304, 1}),
    all({u"5", 1305, 1}),
    all({u"6", 1306, 1}),
    all({u"10^x", 1017, 4}),
    all({u"2^x", 1016, 4}),
    notUint({u"e^x", 1108, 4}),
    ratCplx({u"R\u2194F", 1401, 5}, {u"i", 1323, 6}),
    // row 2
    all({u"(", 1326, 5}),
    all({u")", 1327, 5}),
    all({u"1", 1301, 1}),
    all({u"2", 1302, 1}),
    all({u"3", 1303, 1}),
    notUint({u"\u00B2\u221Ax", 1100, 4}, {u"[\u00B2\u221Ax]", 1100, 4}),
    notUint({u"\u00B3\u221Ax", 1101, 4}, {u"[\u00B3\u221Ax]", 1101, 4}),
    notUint({u"x\u221Ay", 1137, 4}, {u"[x\u221Ay]", 1137, 4}),
    ratCplx({u"R\u2194M", 1403, 5}, {u"arg z", 1128, 6}),
    // row 3
    all({u"(..)", 1331, 5}),
    all({u";", 1328, 5}),
    all({u"0", 1300, 1}),
    all({u"=", 1400, 2}),
    all({u"ans", 1329, 2}),
    all({u"x^2", 1014, 4}),
    all({u"x^3", 1015, 4}),
    all({u"x^y", 1004, 4}),
    cplxOnly({u"\u00B2\u221Az", 1138, 6}),
    // row 4
    all({u"x!", 1122, 4}),
    notUint({u".", 1318, 2}, {u"minv", 1143, 4}),
    all({u"+", 1000, 2}),
    all({u"\u2013", 1001, 2}),
    all({u"*", 1002, 2}),
    notUint({u"sin", 1110, 4}, {u"A", 1310, 2}),
    notUint({u"cos", 1111, 4}, {u"B", 1311, 2}),
    notUint({u"tan", 1112, 4}, {u"C", 1312, 2}),
    cplxOnly({u"\u00B3\u221Az", 1139, 6}),
    // row 5
    all({u"ncr", 1135, 4}),
    all({u"npr", 1136, 4}),
    notUint({u"/", 1003, 2}, {u"[/]", 1003, 2}),
    all({u"mod", 1008, 2}),
    notUint({u"1/x", 1018, 2}, {u"^mod", 1144, 4}),
    notUint({u"asin", 1113, 4}, {u"D", 1313, 2}),
    notUint({u"acos", 1114, 4}, {u"E", 1314, 2}),
    notUint({u"atan", 1115, 4}, {u"F", 1315, 2}),
    cplxOnly({u"x\u221Az", 1140, 6}),
    // row 6
    all({u"gcd", 1141, 4}),
    all({u"lcm", 1142, 4}),
    notUint({u"\u03C0", 1320, 4}),
    notUint({u"e\u00B1", 1319, 5}),
    notUint({u"|x|", 1127, 2}),
    notUint({u"sinh", 1116, 4}),
    notUint({u"cosh", 1117, 4}),
    notUint({u"tanh", 1118, 4}),
    cplxOnly({u"realp", 1133, 6}),
    // row 7
    notUint({u"trunc", 1125, 4}),
    notUint({u"frac", 1126, 4}),
    notUint({u"round", 1129, 4}),
    notUint({u"F\u2194E", 1402, 5}),
    Place{},
    notUint({u"asinh", 1119, 4}),
    notUint({u"acosh", 1120, 4}),
    notUint({u"atanh", 1121, 4}),
    cplxOnly({u"imagp", 1134, 6}),
}};

const KeyDef& keyOfType(const Place& place, i32 numberType) {
    switch (numberType) {
        case MP_TYPE_UINT:
            return place.uintKey;
        case MP_TYPE_RAT:
            return place.ratKey.code != KEY_NONE ? place.ratKey : place.common;
        case MP_TYPE_CPLX:
            return place.cplxKey.code != KEY_NONE ? place.cplxKey : place.common;
        default:
            return place.common;
    }
}

KeyFont fontFor(u32 code) {
    if (code == KEY_BACKSPACE) return {u"Consolas", 14};
    if (code == KEY_PI) return {u"Consolas", 8};
    if (code == 1134) return {u"Verdana", 7};  // "imagp", the widest label
    return {u"Verdana", 8};
}

bool isDigitKey(u32 code) {
    return code >= KEY_DIGIT_0 && code <= KEY_DIGIT_F;
}

bool needsResult(u32 code) {
    return code == KEY_ANS || code == KEY_RAT_FLOAT || code == KEY_RAT_MIXED ||
           code == KEY_FIXED_EXP;
}

}  // namespace

CalcKey keyLayout(int index, i32 numberType) {
    if (index < 0 || index >= KEYPAD_KEYS)
        return CalcKey{u"", KEY_NONE, KEY_CLASS_NONE, fontFor(0)};
    const KeyDef& def = keyOfType(kPlaces[static_cast<std::size_t>(index)], numberType);
    return CalcKey{def.label, def.code, def.labelClass, fontFor(def.code)};
}

KeyColour keyLabelColour(u32 labelClass) {
    switch (labelClass) {
        case KEY_CLASS_DIGIT:
        case KEY_CLASS_OPERATOR:
            return {0, 100, 0};
        case KEY_CLASS_CLEAR:
            return {255, 0, 0};
        case KEY_CLASS_FUNCTION:
            return {0, 0, 255};
        case KEY_CLASS_COMPLEX:
            return {128, 0, 0};
        default:
            return {0, 0, 0};
    }
}

KeyRect keyRect(int index) {
    if (index < 0 || index >= KEYPAD_KEYS) return KeyRect{};
    const i32 row = index / KEYPAD_COLUMNS;
    const i32 column = index % KEYPAD_COLUMNS;
    return KeyRect{column * 39, row * 26, 38, 25};
}

bool keyEnabled(const CalcKey& key, const KeypadState& state) {
    if (key.code == KEY_NONE) return false;
    if (needsResult(key.code)) return state.hasResult;
    if (state.numberType == MP_TYPE_UINT && isDigitKey(key.code)) {
        const u32 digit = key.code - KEY_DIGIT_0;
        return digit < 2 || digit < state.inputBase;
    }
    return true;
}

bool keyEnabled(int index, const KeypadState& state) {
    return keyEnabled(keyLayout(index, state.numberType), state);
}
