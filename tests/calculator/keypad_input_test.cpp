// What each key does to the formula by number type, base and angle unit:
// the rows of tests/golden/keypad.txt by code and by place, and the angle
// suffixes and number characters across every key.
#include "calculator/keypad_input.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/app_error.h"
#include "numlib/mp_context.h"
#include "support/golden_runner.h"
#include "textbuf/text_utf8.h"

namespace {

class KeypadInput : public testing::Test {
  protected:
    void SetUp() override {
        mp_context_reset();
        clearErrors();
    }
    void TearDown() override { SetUp(); }
};

constexpr i32 kTypes[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};

// "TYPE BASE [ANGLE]" of a golden row.
KeyContext contextOf(const std::vector<std::string>& words) {
    const std::map<std::string, i32> types = {{"real", MP_TYPE_REAL},
                                              {"cplx", MP_TYPE_CPLX},
                                              {"uint", MP_TYPE_UINT},
                                              {"rat", MP_TYPE_RAT}};
    return KeyContext{
        types.at(words.at(0)), static_cast<u32>(std::stoul(words.at(1))),
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
            std::string bad = compare(action, edit, row, 4);
            if (action == KeyAction::Invalid && (edit.anchor != 1 || edit.caret != 2))
                bad += " selection moved";
            return bad;
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

// Degrees and gon add their letter to the angle functions only.
TEST_F(KeypadInput, AngleUnitSuffixesOnlyTheAngleFunctions) {
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
}

TEST_F(KeypadInput, NumberCharactersFollowTheLibrary) {
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
