// The keypad of every number type against tests/golden/keypad.txt: each
// place's key, which keys are enabled, and what each key does to the formula
// by number type, base and angle unit (the rows by code and by place, the
// angle suffixes and number characters across every key).
#include "calculator/keypad_input.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "calc_test_util.h"
#include "calculator/keypad.h"
#include "support/golden_runner.h"

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
    // Outside the keypad there is no key; an unknown type is laid out like real.
    for (int index : {-1, 72, 1000, -100000}) {
        const CalcKey key = keyLayout(index, MP_TYPE_REAL);
        EXPECT_EQ(key.code, 0u);
        EXPECT_TRUE(key.label.empty());
        EXPECT_EQ(keyRect(index).width, 0);
        EXPECT_FALSE(keyEnabled(index, KeypadState{}));
    }
    for (int i = 0; i < KEYPAD_KEYS; ++i)
        EXPECT_EQ(keyLayout(i, 0).code, keyLayout(i, MP_TYPE_REAL).code);
}

// The places whose key is off, by type, input base and previous result.
TEST(KeypadEnabled, KeysAreOnAsTheTableSays) {
    golden_run(
        "keypad.txt",
        [](const GoldenLine& row) {
            const std::vector<std::string> w = row.words(0);
            const auto type = std::find(std::begin(kTypeNames), std::end(kTypeNames), w.at(0));
            const KeypadState state{kTypes[type - kTypeNames],
                                    static_cast<u32>(std::stoul(w.at(1))), w.at(2) == "1"};
            std::string off;
            for (int i = 0; i < KEYPAD_KEYS; ++i)
                if (!keyEnabled(i, state)) off += (off.empty() ? "" : " ") + std::to_string(i);
            return off == row.text(1) ? "" : "off: " + off;
        },
        "enabled");
}

// A fresh library context with no error pending.
class KeypadInput : public CalcTest {};

// "TYPE BASE [ANGLE]" of a golden row.
KeyContext contextOf(const std::vector<std::string>& words) {
    const auto type = std::find(std::begin(kTypeNames), std::end(kTypeNames), words.at(0));
    return KeyContext{
        kTypes[type - kTypeNames], static_cast<u32>(std::stoul(words.at(1))),
        words.size() > 2 ? static_cast<u32>(std::stoul(words[2])) : u32{ANGLE_RADIANS}};
}

std::string actionName(KeyAction a) {
    const char* const names[] = {"None",          "Edited",        "ClearAll", "Equals",
                                 "ToggleDisplay", "ShowVariables", "Invalid"};
    return names[static_cast<int>(a)];
}

// The action, the formula and the error after a key, against the row.
std::string compare(KeyAction action, const FormulaEdit& edit, const GoldenLine& row,
                    std::size_t actionCell) {
    std::string bad;
    if (actionName(action) != row.text(actionCell)) bad += " action " + actionName(action) + ";";
    if (text_to_utf8(edit.text) != row.text(actionCell + 1))
        bad += " formula " + text_to_utf8(edit.text) + ";";
    if (appError.load() != (action == KeyAction::Invalid ? u32{APP_ERR_INTERNAL} : 0u))
        bad += " error;";
    return bad;
}

TEST_F(KeypadInput, KeysByCodeAsTheTableSays) {
    golden_run(
        "keypad.txt",
        [](const GoldenLine& row) {
            clearErrors();
            const std::vector<std::string> selection = row.words(3);
            FormulaEdit edit{text_from_utf8(row.text(2)), std::stoul(selection.at(0)),
                             std::stoul(selection.at(1))};
            const KeyAction action = insertForKey(edit, static_cast<u32>(std::stoul(row.text(0))),
                                                  contextOf(row.words(1)));
            const std::string after =
                std::to_string(edit.anchor) + " " + std::to_string(edit.caret);
            const std::string want = row.has(6)                     ? row.text(6)
                                     : action == KeyAction::Invalid ? row.text(3)
                                                                    : after;
            return compare(action, edit, row, 4) + (after == want ? "" : " selection " + after);
        },
        "keys");
}

TEST_F(KeypadInput, PressesByPlaceAsTheTableSays) {
    FormulaEdit edit{u"1+2", 3, 3};
    bool touched = false;
    golden_run(
        "keypad.txt",
        [&](const GoldenLine& row) {
            clearErrors();
            const KeyAction action = keypadPress(edit, touched, std::stoi(row.text(0)),
                                                 contextOf(row.words(1)), row.text(2) == "1");
            return compare(action, edit, row, 3) + (touched ? "" : " not touched");
        },
        "presses");
}

// Degrees and gon add their letter to the angle functions only; the number
// characters follow the library.
TEST_F(KeypadInput, AngleUnitSuffixesAndNumberCharacters) {
    const std::map<u32, std::u16string> angleSuffix = {
        {ANGLE_DEGREES, u"d"}, {ANGLE_RADIANS, u""}, {ANGLE_GON, u"g"}, {0, u""}, {7, u""}};
    for (const auto& [angle, suffix] : angleSuffix) {
        for (i32 type : kTypes) {
            for (int i = 0; i < KEYPAD_KEYS; ++i) {
                const u32 code = keyLayout(i, type).code;
                const bool angular = (code >= 1110 && code <= 1115) || code == 1128;
                std::u16string expected, got;
                keyInsertText(code, KeyContext{type, 10, ANGLE_RADIANS}, expected);
                keyInsertText(code, KeyContext{type, 10, angle}, got);
                if (angular) expected.insert(expected.size() - 1, suffix);
                EXPECT_TRUE(got == expected) << code << " angle " << angle;
            }
        }
    }
    mp_set_char_set(MP_CHARS_DECIMAL, u",.", 2);
    mp_set_char_set(MP_CHARS_EXP, u"E", 1);
    mp_set_char_set(MP_CHARS_IMAG, u"j", 1);
    for (const auto& [code, text] : {std::pair{1318u, u","}, {1319u, u"E"}, {1323u, u"j"}}) {
        std::u16string out;
        keyInsertText(code, KeyContext{MP_TYPE_CPLX}, out);
        EXPECT_TRUE(out == text) << code;
    }
}

}  // namespace
