// The keypad of every number type against tests/golden/keypad.txt, and which
// keys are enabled.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "calculator/keypad.h"
#include "calculator/keypad_input.h"
#include "support/golden_runner.h"
#include "textbuf/text_utf8.h"

namespace {

constexpr i32 kTypes[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};
const char* const kTypeNames[] = {"real", "cplx", "uint", "rat"};

// One place of tests/golden/keypad.txt: "label | code", and for a key also
// "| class | inserted text | font".
std::string placeText(int index, i32 type, bool key) {
    const CalcKey k = keyLayout(index, type);
    std::string text = text_to_utf8(k.label) + " | " + std::to_string(k.code);
    if (!key) return text;
    std::u16string inserted;
    if (!keyInsertText(k.code, KeyContext{type, 10, ANGLE_RADIANS}, inserted)) inserted.clear();
    if (!inserted.empty()) {  // typed into an empty formula, the key gives the same
        FormulaEdit edit{u"", 0, 0};
        if (insertForKey(edit, k.code, KeyContext{type, 10, ANGLE_RADIANS}) != KeyAction::Edited ||
            edit.text != inserted)
            return "insertForKey differs from keyInsertText";
    }
    return text + " | " + std::to_string(k.labelClass) + " | " + text_to_utf8(inserted) + " | " +
           text_to_utf8(k.font.family) + " " + std::to_string(k.font.points);
}

TEST(KeypadLayout, EveryPlaceOfEveryTypeAsTheTableSays) {
    for (int t = 0; t < 4; ++t) {
        std::set<u32> codes;
        const int places = golden_run(
            "keypad.txt",
            [&](const GoldenLine& row) -> std::string {
                const int index = std::atoi(row.text(0).c_str());
                const bool key = row.text(2) != "0";
                std::string want = row.text(1) + " | " + row.text(2);
                if (key)
                    want += " | " + row.text(3) + " | " + row.text(4) + " | " +
                            (row.has(5) ? row.text(5) : "Verdana 8");
                const std::string got = placeText(index, kTypes[t], key);
                const CalcKey k = keyLayout(index, kTypes[t]);
                if (k.label.data()[k.label.size()] != u'\0') return "label not terminated";
                if (k.code != 0 && !codes.insert(k.code).second) return "code repeated";
                return got == want ? "" : "got " + got;
            },
            kTypeNames[t]);
        EXPECT_EQ(places, KEYPAD_KEYS) << kTypeNames[t];
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
    for (int i = 0; i < KEYPAD_KEYS; ++i)
        EXPECT_EQ(keyLayout(i, 0).code, keyLayout(i, MP_TYPE_REAL).code);
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
