// The formula engine's public face: a request names a formula text and where
// its value goes; evaluateFormula reads it token by token and computes it in
// the current number type (mp_num_type) at the current word counts.
//
// Errors are reported through formulaError and formulaErrorPos
// (formula_error.h), never by exceptions.
#pragma once

#include <cstdint>

#include "numlib/mp_types.h"

using u16 = std::uint16_t;  // token codes

// ---- variables ------------------------------------------------------------------

constexpr i32 FORMULA_MAX_VARIABLES = 20;

struct FormulaVariable {
    const char16_t* name;  // 0-terminated; null entries never match
    const u64* value;      // a number of the current type; null entries never match
};

// The variables a formula may name, searched in order after the keywords.
// count outside 0..FORMULA_MAX_VARIABLES is clamped.
struct VariableTable {
    i64 count = 0;
    FormulaVariable entries[FORMULA_MAX_VARIABLES] = {};
};

// ---- request ----------------------------------------------------------------------

enum : u32 {
    FORMULA_GROUPS = 0x1u,  // digit-group characters may stand inside literals
};

struct FormulaRequest {
    const char16_t* text = nullptr;  // 0-terminated formula; null reads as ""
    // Bit 0 (FORMULA_GROUPS): group characters inside literals. Handed on
    // unchanged to the number-text parsers as their input flags.
    u32 flags = FORMULA_GROUPS;
    u32 uintBase = 10;                         // input base of uint literals (2, 8, 10, 16)
    const VariableTable* variables = nullptr;  // may be null
    bool useOperandLimits = false;             // caps on ncr/npr, mod/gcd/lcm, powmod work
    u64* result = nullptr;                     // receives the value (a number of the current type)
    bool inexact = false;                      // out: the value was rounded to an integer
};

// ---- tokens -----------------------------------------------------------------------

enum : u16 {
    TOKEN_END = 1,         // end of text
    TOKEN_INVALID = 2,     // a character that starts no token
    TOKEN_UNKNOWN = 3,     // identifier that is neither keyword nor variable
    TOKEN_NUMBER = 100,    // literal; also every operand on the evaluator's stack
    TOKEN_OPEN = 110,      // "("
    TOKEN_CLOSE = 111,     // ")"
    TOKEN_IMAG = 112,      // imaginary unit
    TOKEN_FN_FIRST = 200,  // functions: 200..232 and 300..317
    TOKEN_FN_LAST = 499,   //
    TOKEN_ADD = 600,       // "+"
    TOKEN_SUB = 601,       // "-"
    TOKEN_MUL = 602,       // "*"
    TOKEN_DIV = 603,       // "/"
    TOKEN_POW = 604,       // "^"
    TOKEN_MOD = 605,       // "mod"
    TOKEN_OP_FIRST = 600,  //
    TOKEN_OP_LAST = 699,   //
    TOKEN_PI = 700,        // "pi" and "π"
    TOKEN_CONST_FIRST = 700,
    TOKEN_CONST_LAST = 799,
    TOKEN_SEPARATOR = 800,  // ";" between function arguments
    TOKEN_VARIABLE = 801,   // a variable; its value is in the token's buffer
};

// Function codes, one per keyword of the function table (TOKEN_FN_FIRST ..
// TOKEN_FN_LAST). Each group of three trigonometric codes runs sin, cos, tan
// (or asin, acos, atan) in one angle unit, and the hyperbolic six follow
// sinh, cosh, tanh, asinh, acosh, atanh: the operations count on it.
enum : u16 {
    FN_SQRT = 200,
    FN_CBRT = 201,
    FN_LN = 202,
    FN_LOG2 = 203,
    FN_LOG10 = 204,
    FN_EXP = 205,
    FN_ABS = 206,
    FN_SIN = 207,
    FN_COS = 208,
    FN_TAN = 209,
    FN_ASIN = 210,
    FN_ACOS = 211,
    FN_ATAN = 212,
    FN_SIND = 213,
    FN_COSD = 214,
    FN_TAND = 215,
    FN_ASIND = 216,
    FN_ACOSD = 217,
    FN_ATAND = 218,
    FN_SING = 219,
    FN_COSG = 220,
    FN_TANG = 221,
    FN_ASING = 222,
    FN_ACOSG = 223,
    FN_ATANG = 224,
    FN_SINH = 225,
    FN_COSH = 226,
    FN_TANH = 227,
    FN_ASINH = 228,
    FN_ACOSH = 229,
    FN_ATANH = 230,
    FN_FACT = 231,
    FN_ROOT = 232,
    FN_SQRTC = 300,
    FN_CBRTC = 301,
    FN_ROOTC = 302,
    FN_ARG = 303,
    FN_ARGD = 304,
    FN_ARGG = 305,
    FN_REALP = 306,
    FN_IMAGP = 307,
    FN_TRUNC = 308,
    FN_FRAC = 309,
    FN_NCR = 310,
    FN_NPR = 311,
    FN_LOGX = 312,
    FN_GCD = 313,
    FN_LCM = 314,
    FN_MULINV = 315,
    FN_POWMOD = 316,
    FN_ROUND = 317,
};

// One slot of the evaluator's stack.
struct FormulaToken {
    u16 code = 0;
    u64 position = 0;      // first code unit of the token, from 0
    u64 length = 0;        // code units covered
    u64* value = nullptr;  // the slot's number buffer (owned by the evaluator)
};

// ---- keyword table -------------------------------------------------------------------

struct FunctionEntry {
    const char16_t* name;
    u16 code;
    i32 params;  // -1 for the word operator "mod", 0 for constants
};

constexpr int FUNCTION_TABLE_SIZE = 54;
// Keywords in lookup order; names are matched exactly and case-sensitively.
extern const FunctionEntry FunctionTable[FUNCTION_TABLE_SIZE];

// The parameter count of a function code, or -2 when no entry has it.
i32 functionParamCount(u16 code);

// ---- reading and evaluating ---------------------------------------------------------

// Skips blanks (U+0020) from *position in request->text, fills token's code,
// position and length and moves *position past the token. A variable's value
// is copied into token->value (when that is not null). At the end of text and
// at an invalid character the position stays where it is. Never fails: every
// judgement of the token is the evaluator's.
void readToken(FormulaToken* token, u64* position, const FormulaRequest* request);

// Evaluates request->text in the current number type. Success: result holds
// the value, inexact the accumulated rounding mark, formulaError is 0, and
// the return is true. Failure: formulaError and formulaErrorPos name the first
// error, result is 0 of the type and inexact false. mp_error is 0 on return
// either way, and the library scratch top is where it was. A stop request
// (mp_error = 35 stored by another thread) ends it with 10210. One
// evaluation at a time per process: the context and error states are shared.
bool evaluateFormula(FormulaRequest* request);
