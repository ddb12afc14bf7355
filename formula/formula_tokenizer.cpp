// Reading one token of a formula. Literals are only delimited here; the
// evaluator converts them. The number-format characters are read from the
// library context on every call, so a change of the decimal separator takes
// effect at the next formula.
#include "formula/formula.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"

namespace {

bool isDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F');
}

bool isIdentStart(char16_t c) {
    return (c >= u'a' && c <= u'z') || c == u'_' || (c >= u'\u03b1' && c <= u'\u03c9');
}

bool isIdentChar(char16_t c) {
    return isIdentStart(c) || (c >= u'0' && c <= u'9');
}

// Empty slots hold 0, which must never match (the text's terminator is 0).
bool inSet(char16_t c, const char16_t (&set)[3]) {
    return c != 0 && (c == set[0] || c == set[1] || c == set[2]);
}

// Code units of the literal that starts at text[0] (a digit). A uint literal
// has no exponent, and "E" is a hexadecimal digit: a sign after it is an
// operator, so "1E+1" is 1E plus 1 in base 16.
u64 literalLength(const char16_t* text, u32 flags) {
    const bool exponent = mp_num_type != MP_TYPE_UINT;
    u64 n = 1;
    for (;; ++n) {
        const char16_t c = text[n];
        const bool afterExp = exponent && inSet(text[n - 1], mp_exp_chars);
        if (isDigit(c) || inSet(c, mp_decimal_chars) || inSet(c, mp_exp_chars)) continue;
        if ((flags & FORMULA_GROUPS) && inSet(c, mp_group_chars)) continue;
        if (afterExp && (c == u'+' || c == u'-')) continue;
        return n;
    }
}

bool sameName(const char16_t* text, u64 length, const char16_t* name) {
    u64 i = 0;
    for (; i < length; ++i)
        if (name[i] != text[i]) return false;  // also stops at the end of name
    return name[i] == 0;
}

u16 operatorCode(char16_t c) {
    switch (c) {
        case u'+':
            return TOKEN_ADD;
        case u'-':
            return TOKEN_SUB;
        case u'*':
            return TOKEN_MUL;
        case u'/':
            return TOKEN_DIV;
        case u'^':
            return TOKEN_POW;
        case u'(':
            return TOKEN_OPEN;
        case u')':
            return TOKEN_CLOSE;
        case u';':
            return TOKEN_SEPARATOR;
        default:
            return 0;
    }
}

// Keywords first, then the caller's variables; a variable's value is copied
// into the token's buffer.
u16 identifierCode(FormulaToken* token, const char16_t* text, u64 length,
                   const VariableTable* vars) {
    for (const FunctionEntry& entry : FunctionTable)
        if (sameName(text, length, entry.name)) return entry.code;
    if (vars == nullptr) return TOKEN_UNKNOWN;
    const i64 count = vars->count < 0                       ? 0
                      : vars->count > FORMULA_MAX_VARIABLES ? FORMULA_MAX_VARIABLES
                                                            : vars->count;
    for (i64 i = 0; i < count; ++i) {
        const FormulaVariable& var = vars->entries[i];
        if (var.name == nullptr || var.value == nullptr || !sameName(text, length, var.name))
            continue;
        if (token->value != nullptr) num_copy(token->value, var.value);
        return TOKEN_VARIABLE;
    }
    return TOKEN_UNKNOWN;
}

}  // namespace

void readToken(FormulaToken* token, u64* position, const FormulaRequest* request) {
    const char16_t* text = request->text != nullptr ? request->text : u"";
    u64 pos = *position;
    while (text[pos] == u' ') ++pos;
    const char16_t c = text[pos];
    token->position = pos;
    token->length = 0;
    if (c == 0) {
        token->code = TOKEN_END;
    } else if (isDigit(c)) {
        token->code = TOKEN_NUMBER;
        token->length = literalLength(text + pos, request->flags);
    } else if (inSet(c, mp_imag_chars) && !isIdentChar(text[pos + 1])) {
        token->code = TOKEN_IMAG;
        token->length = 1;
    } else if (const u16 op = operatorCode(c); op != 0) {
        token->code = op;
        token->length = 1;
    } else if (isIdentStart(c)) {
        u64 n = 1;
        while (isIdentChar(text[pos + n])) ++n;
        token->length = n;
        token->code = identifierCode(token, text + pos, n, request->variables);
    } else {
        token->code = TOKEN_INVALID;
    }
    *position = pos + token->length;
}
