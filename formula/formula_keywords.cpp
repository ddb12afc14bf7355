// The keyword table: every function name, the word operator "mod" and the
// constant pi, in the order in which identifiers are matched against them.
#include "formula/formula.h"

const FunctionEntry FunctionTable[FUNCTION_TABLE_SIZE] = {
    {u"sqrt", 200, 1},   {u"cbrt", 201, 1},   {u"ln", 202, 1},    {u"log2", 203, 1},
    {u"log10", 204, 1},  {u"exp", 205, 1},    {u"abs", 206, 1},   {u"sin", 207, 1},
    {u"cos", 208, 1},    {u"tan", 209, 1},    {u"asin", 210, 1},  {u"acos", 211, 1},
    {u"atan", 212, 1},   {u"sind", 213, 1},   {u"cosd", 214, 1},  {u"tand", 215, 1},
    {u"asind", 216, 1},  {u"acosd", 217, 1},  {u"atand", 218, 1}, {u"sing", 219, 1},
    {u"cosg", 220, 1},   {u"tang", 221, 1},   {u"asing", 222, 1}, {u"acosg", 223, 1},
    {u"atang", 224, 1},  {u"sinh", 225, 1},   {u"cosh", 226, 1},  {u"tanh", 227, 1},
    {u"asinh", 228, 1},  {u"acosh", 229, 1},  {u"atanh", 230, 1}, {u"fact", 231, 1},
    {u"root", 232, 2},   {u"sqrtc", 300, 2},  {u"cbrtc", 301, 2}, {u"rootc", 302, 3},
    {u"arg", 303, 1},    {u"argd", 304, 1},   {u"argg", 305, 1},  {u"realp", 306, 1},
    {u"imagp", 307, 1},  {u"\u03c0", 700, 0}, {u"pi", 700, 0},    {u"trunc", 308, 1},
    {u"frac", 309, 1},   {u"ncr", 310, 2},    {u"npr", 311, 2},   {u"mod", 605, -1},
    {u"logx", 312, 2},   {u"gcd", 313, 2},    {u"lcm", 314, 2},   {u"mulinv", 315, 2},
    {u"powmod", 316, 3}, {u"round", 317, 1},
};

i32 functionParamCount(u16 code) {
    for (const FunctionEntry& entry : FunctionTable)
        if (entry.code == code) return entry.params;
    return -2;
}
