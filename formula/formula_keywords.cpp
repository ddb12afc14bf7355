// The keyword table: every function name, the word operator "mod" and the
// constant pi, in the order in which identifiers are matched against them.
#include "formula/formula.h"

const FunctionEntry FunctionTable[FUNCTION_TABLE_SIZE] = {
    {u"sqrt", FN_SQRT, 1},     {u"cbrt", FN_CBRT, 1},     {u"ln", FN_LN, 1},
    {u"log2", FN_LOG2, 1},     {u"log10", FN_LOG10, 1},   {u"exp", FN_EXP, 1},
    {u"abs", FN_ABS, 1},       {u"sin", FN_SIN, 1},       {u"cos", FN_COS, 1},
    {u"tan", FN_TAN, 1},       {u"asin", FN_ASIN, 1},     {u"acos", FN_ACOS, 1},
    {u"atan", FN_ATAN, 1},     {u"sind", FN_SIND, 1},     {u"cosd", FN_COSD, 1},
    {u"tand", FN_TAND, 1},     {u"asind", FN_ASIND, 1},   {u"acosd", FN_ACOSD, 1},
    {u"atand", FN_ATAND, 1},   {u"sing", FN_SING, 1},     {u"cosg", FN_COSG, 1},
    {u"tang", FN_TANG, 1},     {u"asing", FN_ASING, 1},   {u"acosg", FN_ACOSG, 1},
    {u"atang", FN_ATANG, 1},   {u"sinh", FN_SINH, 1},     {u"cosh", FN_COSH, 1},
    {u"tanh", FN_TANH, 1},     {u"asinh", FN_ASINH, 1},   {u"acosh", FN_ACOSH, 1},
    {u"atanh", FN_ATANH, 1},   {u"fact", FN_FACT, 1},     {u"root", FN_ROOT, 2},
    {u"sqrtc", FN_SQRTC, 2},   {u"cbrtc", FN_CBRTC, 2},   {u"rootc", FN_ROOTC, 3},
    {u"arg", FN_ARG, 1},       {u"argd", FN_ARGD, 1},     {u"argg", FN_ARGG, 1},
    {u"realp", FN_REALP, 1},   {u"imagp", FN_IMAGP, 1},   {u"\u03c0", TOKEN_PI, 0},
    {u"pi", TOKEN_PI, 0},      {u"trunc", FN_TRUNC, 1},   {u"frac", FN_FRAC, 1},
    {u"ncr", FN_NCR, 2},       {u"npr", FN_NPR, 2},       {u"mod", TOKEN_MOD, -1},
    {u"logx", FN_LOGX, 2},     {u"gcd", FN_GCD, 2},       {u"lcm", FN_LCM, 2},
    {u"mulinv", FN_MULINV, 2}, {u"powmod", FN_POWMOD, 3}, {u"round", FN_ROUND, 1},
};

i32 functionParamCount(u16 code) {
    for (const FunctionEntry& entry : FunctionTable)
        if (entry.code == code) return entry.params;
    return -2;
}
