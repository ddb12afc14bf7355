#include "calculator/keypad_input.h"

#include "app/app_error.h"
#include "numlib/mp_context.h"

namespace {

struct FunctionName {
    u32 code;
    const char16_t* name;
    bool angle;  // takes the angle unit's suffix
};

constexpr FunctionName kFunctions[] = {
    {1100, u"sqrt", false},   {1101, u"cbrt", false},  {1104, u"log2", false},
    {1105, u"ln", false},     {1106, u"log10", false}, {1107, u"logx", false},
    {1108, u"exp", false},    {1110, u"sin", true},    {1111, u"cos", true},
    {1112, u"tan", true},     {1113, u"asin", true},   {1114, u"acos", true},
    {1115, u"atan", true},    {1116, u"sinh", false},  {1117, u"cosh", false},
    {1118, u"tanh", false},   {1119, u"asinh", false}, {1120, u"acosh", false},
    {1121, u"atanh", false},  {1122, u"fact", false},  {1125, u"trunc", false},
    {1126, u"frac", false},   {1127, u"abs", false},   {1128, u"arg", true},
    {1129, u"round", false},  {1133, u"realp", false}, {1134, u"imagp", false},
    {1135, u"ncr", false},    {1136, u"npr", false},   {1137, u"root", false},
    {1138, u"sqrtc", false},  {1139, u"cbrtc", false}, {1140, u"rootc", false},
    {1141, u"gcd", false},    {1142, u"lcm", false},   {1143, u"mulinv", false},
    {1144, u"powmod", false},
};

const FunctionName* findFunction(u32 code) {
    for (const FunctionName& f : kFunctions) {
        if (f.code == code) return &f;
    }
    return nullptr;
}

const char16_t* angleSuffix(u32 angleType) {
    if (angleType == ANGLE_DEGREES) return u"d";
    if (angleType == ANGLE_GON) return u"g";
    return u"";
}

// The base uint literals are read in; the decimal keys of the other types
// always mean base 10.
u32 literalBase(const KeyContext& context) {
    if (context.numberType != MP_TYPE_UINT) return 10;
    return context.inputBase >= 2 && context.inputBase <= 16 ? context.inputBase : 10;
}

// value (small, positive) in base 2..16 with upper-case digits.
std::u16string inBase(u32 value, u32 base) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), u"0123456789ABCDEF"[value % base]);
        value /= base;
    } while (value != 0);
    return digits;
}

char16_t firstOf(const char16_t* chars, char16_t fallback) {
    return chars[0] != 0 ? chars[0] : fallback;
}

bool operatorText(u32 code, const KeyContext& context, std::u16string& out) {
    const u32 base = literalBase(context);
    switch (code) {
        case KEY_PLUS:
            out = u"+";
            return true;
        case KEY_MINUS:
            out = u"-";
            return true;
        case KEY_TIMES:
            out = u"*";
            return true;
        case KEY_DIVIDE:
            out = u"/";
            return true;
        case KEY_POWER:
            out = u"^";
            return true;
        case KEY_MOD:
            out = u" mod ";
            return true;
        case KEY_SQUARE:
            out = u"^" + inBase(2, base);
            return true;
        case KEY_CUBE:
            out = u"^" + inBase(3, base);
            return true;
        case KEY_POW2:
            out = inBase(2, base) + u"^";
            return true;
        case KEY_POW10:
            out = inBase(10, base) + u"^";
            return true;
        case KEY_RECIPROCAL:
            out = u"1/";
            return true;
        default:
            return false;
    }
}

bool symbolText(u32 code, std::u16string& out) {
    switch (code) {
        case KEY_DECIMAL:
            out = firstOf(mp_decimal_chars, u'.');
            return true;
        case KEY_EXPONENT:
            out = firstOf(mp_exp_chars, u'e');
            return true;
        case KEY_PI:
            out = u"\u03C0";
            return true;
        case KEY_IMAG_UNIT:
            out = firstOf(mp_imag_chars, u'i');
            return true;
        case KEY_OPEN:
            out = u"(";
            return true;
        case KEY_CLOSE:
            out = u")";
            return true;
        case KEY_SEPARATOR:
            out = u"; ";
            return true;
        case KEY_ANS:
            out = u"ans";
            return true;
        default:
            return false;
    }
}

bool isFormulaKey(u32 code) {
    return code >= 1000 && code <= 1399;
}

}  // namespace

bool keyInsertText(u32 code, const KeyContext& context, std::u16string& out) {
    if (code >= KEY_DIGIT_0 && code <= KEY_DIGIT_F) {
        out = u"0123456789ABCDEF"[code - KEY_DIGIT_0];
        return true;
    }
    if (const FunctionName* f = findFunction(code)) {
        out = f->name;
        if (f->angle) out += angleSuffix(context.angleType);
        out += u'(';
        return true;
    }
    return operatorText(code, context, out) || symbolText(code, out);
}

KeyAction insertForKey(FormulaEdit& edit, u32 code, const KeyContext& context) {
    std::u16string text;
    if (keyInsertText(code, context, text)) {
        replaceSelection(edit, text);
        return KeyAction::Edited;
    }
    switch (code) {
        case KEY_BACKSPACE:
            deleteLastCharacter(edit);
            return KeyAction::Edited;
        case KEY_CLEAR_ALL:
            return KeyAction::ClearAll;
        case KEY_CLOSE_ALL:
            closeParentheses(edit);
            return KeyAction::Edited;
        case KEY_WRAP:
            wrapInParentheses(edit);
            return KeyAction::Edited;
        case KEY_CLEAR_FORMULA:
            clearFormula(edit);
            return KeyAction::Edited;
        default:
            raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
            return KeyAction::Invalid;
    }
}

KeyAction keypadPress(FormulaEdit& edit, bool& formulaTouched, int index, const KeyContext& context,
                      bool hasResult) {
    if (index < 0 || index >= KEYPAD_KEYS) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return KeyAction::Invalid;
    }
    const CalcKey key = keyLayout(index, context.numberType);
    if (!keyEnabled(key, KeypadState{context.numberType, context.inputBase, hasResult})) {
        return KeyAction::None;
    }
    if (isFormulaKey(key.code)) {
        if (!formulaTouched) clearFormula(edit);
        formulaTouched = true;
        return insertForKey(edit, key.code, context);
    }
    switch (key.code) {
        case KEY_EQUALS:
            return KeyAction::Equals;
        case KEY_RAT_FLOAT:
        case KEY_FIXED_EXP:
        case KEY_RAT_MIXED:
            return KeyAction::ToggleDisplay;
        case KEY_VARIABLES:
            return KeyAction::ShowVariables;
        default:
            raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
            return KeyAction::Invalid;
    }
}
