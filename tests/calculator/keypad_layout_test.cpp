#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "calculator/keypad.h"

namespace {

constexpr i32 kTypes[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};

// The keypad of real, row by row; "" marks a place without a key.
const std::array<std::u16string, KEYPAD_KEYS> kRealLabels = {
    u"CA",    u"←",    u"7",     u"8",   u"9",   u"log₁₀", u"log₂",  u"ln",    u"logx",
    u"CF",    u"var",  u"4",     u"5",   u"6",   u"10^x",  u"2^x",   u"e^x",   u"",
    u"(",     u")",    u"1",     u"2",   u"3",   u"²√x",   u"³√x",   u"x√y",   u"",
    u"(..)",  u";",    u"0",     u"=",   u"ans", u"x^2",   u"x^3",   u"x^y",   u"",
    u"x!",    u".",    u"+",     u"–",   u"*",   u"sin",   u"cos",   u"tan",   u"",
    u"ncr",   u"npr",  u"/",     u"mod", u"1/x", u"asin",  u"acos",  u"atan",  u"",
    u"gcd",   u"lcm",  u"π",     u"e±",  u"|x|", u"sinh",  u"cosh",  u"tanh",  u"",
    u"trunc", u"frac", u"round", u"F↔E", u"",    u"asinh", u"acosh", u"atanh", u"",
};
const std::array<u32, KEYPAD_KEYS> kRealCodes = {
    1325, 1324, 1307, 1308, 1309, 1106, 1104, 1105, 1107,  //
    1332, 1404, 1304, 1305, 1306, 1017, 1016, 1108, 0,     //
    1326, 1327, 1301, 1302, 1303, 1100, 1101, 1137, 0,     //
    1331, 1328, 1300, 1400, 1329, 1014, 1015, 1004, 0,     //
    1122, 1318, 1000, 1001, 1002, 1110, 1111, 1112, 0,     //
    1135, 1136, 1003, 1008, 1018, 1113, 1114, 1115, 0,     //
    1141, 1142, 1320, 1319, 1127, 1116, 1117, 1118, 0,     //
    1125, 1126, 1129, 1402, 0,    1119, 1120, 1121, 0,
};

struct Variant {
    int index;
    std::u16string label;
    u32 code;
    u32 labelClass;
};

// How each other type differs from real.
const std::vector<Variant> kCplxVariants = {
    {17, u"i", 1323, 6},   {26, u"arg z", 1128, 6}, {35, u"²√z", 1138, 6},   {44, u"³√z", 1139, 6},
    {53, u"x√z", 1140, 6}, {62, u"realp", 1133, 6}, {71, u"imagp", 1134, 6},
};
const std::vector<Variant> kRatVariants = {
    {17, u"R↔F", 1401, 5},
    {26, u"R↔M", 1403, 5},
};
const std::vector<Variant> kUintVariants = {
    {5, u"[lg₁₀]", 1106, 4}, {6, u"[log₂]", 1104, 4}, {7, u"[logx]", 1107, 4},
    {8, u"", 0, 0},          {16, u"", 0, 0},         {23, u"[²√x]", 1100, 4},
    {24, u"[³√x]", 1101, 4}, {25, u"[x√y]", 1137, 4}, {37, u"minv", 1143, 4},
    {41, u"A", 1310, 2},     {42, u"B", 1311, 2},     {43, u"C", 1312, 2},
    {47, u"[/]", 1003, 2},   {49, u"^mod", 1144, 4},  {50, u"D", 1313, 2},
    {51, u"E", 1314, 2},     {52, u"F", 1315, 2},     {56, u"", 0, 0},
    {57, u"", 0, 0},         {58, u"", 0, 0},         {59, u"", 0, 0},
    {60, u"", 0, 0},         {61, u"", 0, 0},         {63, u"", 0, 0},
    {64, u"", 0, 0},         {65, u"", 0, 0},         {66, u"", 0, 0},
    {68, u"", 0, 0},         {69, u"", 0, 0},         {70, u"", 0, 0},
};

const std::vector<Variant>& variantsOf(i32 type) {
    static const std::vector<Variant> none;
    if (type == MP_TYPE_CPLX) return kCplxVariants;
    if (type == MP_TYPE_RAT) return kRatVariants;
    if (type == MP_TYPE_UINT) return kUintVariants;
    return none;
}

// The colour class real's keys have, by code.
u32 realClass(u32 code) {
    if (code == 0) return 0;
    if (code >= 1300 && code <= 1315) return 1;
    if (code == 1324 || code == 1325 || code == 1332) return 3;
    if (code == 1326 || code == 1327 || code == 1328 || code == 1331 || code == 1319 ||
        code >= 1401)
        return 5;
    if (code < 1004 || code == 1008 || code == 1018 || code == 1127 || code == 1318 ||
        code == 1329 || code == 1400)
        return 2;
    return 4;
}

TEST(KeypadLayout, EveryPlaceOfEveryType) {
    for (i32 type : kTypes) {
        std::array<Variant, KEYPAD_KEYS> expected;
        for (int i = 0; i < KEYPAD_KEYS; ++i) {
            expected[i] = {i, kRealLabels[i], kRealCodes[i], realClass(kRealCodes[i])};
        }
        for (const Variant& v : variantsOf(type)) expected[v.index] = v;
        for (int i = 0; i < KEYPAD_KEYS; ++i) {
            SCOPED_TRACE(testing::Message() << "type " << type << " index " << i);
            const CalcKey key = keyLayout(i, type);
            EXPECT_TRUE(key.label == expected[i].label);
            EXPECT_EQ(key.code, expected[i].code);
            EXPECT_EQ(key.labelClass, expected[i].labelClass);
            EXPECT_EQ(key.label.data()[key.label.size()], u'\0');  // pages may pass it on as is
        }
    }
}

TEST(KeypadLayout, CodesAreUniqueWithinEachType) {
    for (i32 type : kTypes) {
        std::set<u32> seen;
        for (int i = 0; i < KEYPAD_KEYS; ++i) {
            const u32 code = keyLayout(i, type).code;
            if (code != 0) {
                EXPECT_TRUE(seen.insert(code).second) << type << " " << code;
            }
        }
    }
}

TEST(KeypadLayout, OutsideTheKeypadThereIsNoKey) {
    for (int index : {-1, 72, 1000, -100000}) {
        const CalcKey key = keyLayout(index, MP_TYPE_REAL);
        EXPECT_EQ(key.code, 0u);
        EXPECT_TRUE(key.label.empty());
        EXPECT_EQ(keyRect(index).width, 0);
        EXPECT_FALSE(keyEnabled(index, KeypadState{}));
    }
    // An unknown type is laid out like real.
    for (int i = 0; i < KEYPAD_KEYS; ++i) EXPECT_EQ(keyLayout(i, 0).code, kRealCodes[i]);
}

TEST(KeypadLayout, FontsColoursAndGeometry) {
    for (i32 type : kTypes) {
        for (int i = 0; i < KEYPAD_KEYS; ++i) {
            const CalcKey key = keyLayout(i, type);
            std::u16string family = u"Verdana";
            i32 points = 8;
            if (key.label == u"←") family = u"Consolas", points = 14;
            if (key.label == u"π") family = u"Consolas";
            if (key.label == u"imagp") points = 7;
            EXPECT_TRUE(key.font.family == family) << i;
            EXPECT_EQ(key.font.points, points) << i;
        }
    }
    const u8 expected[7][3] = {{0, 0, 0},   {0, 100, 0}, {0, 100, 0}, {255, 0, 0},
                               {0, 0, 255}, {0, 0, 0},   {128, 0, 0}};
    for (u32 c = 0; c < 7; ++c) {
        const KeyColour colour = keyLabelColour(c);
        EXPECT_EQ(colour.red, expected[c][0]);
        EXPECT_EQ(colour.green, expected[c][1]);
        EXPECT_EQ(colour.blue, expected[c][2]);
    }
    const KeyRect last = keyRect(71);  // row 7, column 8
    EXPECT_EQ(last.x, 8 * 39);
    EXPECT_EQ(last.y, 7 * 26);
    EXPECT_EQ(last.width, 38);
    EXPECT_EQ(last.height, 25);
    EXPECT_EQ(keyControlId(0), 100000);
    EXPECT_EQ(keyControlId(71), 100071);
}

TEST(KeypadEnabled, ResultKeysFollowThePreviousResult) {
    const std::set<std::u16string> resultKeys = {u"ans", u"R↔F", u"R↔M", u"F↔E"};
    for (i32 type : kTypes) {
        for (bool hasResult : {false, true}) {
            for (int i = 0; i < KEYPAD_KEYS; ++i) {
                const CalcKey key = keyLayout(i, type);
                bool expected = key.code != 0;
                if (resultKeys.count(std::u16string(key.label)) != 0) expected = hasResult;
                EXPECT_EQ(keyEnabled(i, KeypadState{type, 16, hasResult}), expected)
                    << type << " " << i;
            }
        }
    }
}

TEST(KeypadEnabled, UintDigitsFollowTheInputBase) {
    const std::u16string digits = u"0123456789ABCDEF";
    for (u32 base : {2u, 8u, 10u, 16u, 0u, 17u}) {
        for (int i = 0; i < KEYPAD_KEYS; ++i) {
            const CalcKey key = keyLayout(i, MP_TYPE_UINT);
            if (key.code < 1300 || key.code > 1315) continue;
            const u32 value = key.code - 1300;
            ASSERT_TRUE(key.label == digits.substr(value, 1)) << i;
            EXPECT_EQ(keyEnabled(i, KeypadState{MP_TYPE_UINT, base, false}),
                      value < 2 || value < base)
                << "base " << base << " digit " << value;
        }
    }
    // The input base concerns uint only: "8" and "9" stay usable for real.
    EXPECT_TRUE(keyEnabled(3, KeypadState{MP_TYPE_REAL, 2, false}));
    EXPECT_TRUE(keyEnabled(4, KeypadState{MP_TYPE_RAT, 8, false}));
}

}  // namespace
