#include "calculator/keypad_input.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/app_error.h"
#include "numlib/mp_context.h"

namespace {

class KeypadInput : public testing::Test {
  protected:
    void SetUp() override {
        mp_context_reset();
        clearErrors();
    }
    void TearDown() override {
        mp_context_reset();
        clearErrors();
    }
};

constexpr i32 kTypes[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};

std::u16string textFor(u32 code, KeyContext context) {
    std::u16string out = u"<none>";
    keyInsertText(code, context, out);
    return out;
}

// Degrees and gon add their letter to the angle functions only (the text
// in radians is checked against tests/golden/keypad.txt).
TEST_F(KeypadInput, AngleUnitSuffixesOnlyTheAngleFunctions) {
    const std::map<u32, std::u16string> angleSuffix = {
        {ANGLE_DEGREES, u"d"}, {ANGLE_RADIANS, u""}, {ANGLE_GON, u"g"}, {0, u""}, {7, u""}};
    for (const auto& [angle, suffix] : angleSuffix) {
        for (i32 type : kTypes) {
            for (int i = 0; i < KEYPAD_KEYS; ++i) {
                const u32 code = keyLayout(i, type).code;
                const bool angular = (code >= 1110 && code <= 1115) || code == 1128;
                std::u16string expected = textFor(code, KeyContext{type, 10, ANGLE_RADIANS});
                if (angular) expected.insert(expected.size() - 1, suffix);
                EXPECT_TRUE(textFor(code, KeyContext{type, 10, angle}) == expected)
                    << code << " angle " << angle;
            }
        }
    }
    EXPECT_TRUE(textFor(1113, KeyContext{MP_TYPE_REAL, 10, ANGLE_DEGREES}) == u"asind(");
    EXPECT_TRUE(textFor(1128, KeyContext{MP_TYPE_CPLX, 10, ANGLE_GON}) == u"argg(");
}

TEST_F(KeypadInput, PowersAreWrittenInTheUintInputBase) {
    struct Row {
        u32 base;
        const char16_t* square;
        const char16_t* cube;
        const char16_t* pow2;
        const char16_t* pow10;
    };
    const Row rows[] = {
        {2, u"^10", u"^11", u"10^", u"1010^"}, {8, u"^2", u"^3", u"2^", u"12^"},
        {10, u"^2", u"^3", u"2^", u"10^"},     {16, u"^2", u"^3", u"2^", u"A^"},
        {3, u"^2", u"^10", u"2^", u"101^"},  // any base the literal reader knows
        {0, u"^2", u"^3", u"2^", u"10^"},    // a base no control offers reads as ten
        {99, u"^2", u"^3", u"2^", u"10^"},
    };
    for (const Row& r : rows) {
        const KeyContext uint{MP_TYPE_UINT, r.base, ANGLE_RADIANS};
        EXPECT_TRUE(textFor(1014, uint) == r.square) << r.base;
        EXPECT_TRUE(textFor(1015, uint) == r.cube) << r.base;
        EXPECT_TRUE(textFor(1016, uint) == r.pow2) << r.base;
        EXPECT_TRUE(textFor(1017, uint) == r.pow10) << r.base;
        // Other types read decimal literals whatever the base control says.
        for (i32 type : {MP_TYPE_REAL, MP_TYPE_RAT, MP_TYPE_CPLX}) {
            const KeyContext other{type, r.base, ANGLE_RADIANS};
            EXPECT_TRUE(textFor(1015, other) == u"^3");
            EXPECT_TRUE(textFor(1017, other) == u"10^");
        }
    }
}

TEST_F(KeypadInput, NumberCharactersFollowTheLibrary) {
    mp_set_char_set(MP_CHARS_DECIMAL, u",.", 2);
    mp_set_char_set(MP_CHARS_EXP, u"E", 1);
    mp_set_char_set(MP_CHARS_IMAG, u"j", 1);
    EXPECT_TRUE(textFor(1318, KeyContext{}) == u",");
    EXPECT_TRUE(textFor(1319, KeyContext{}) == u"E");
    EXPECT_TRUE(textFor(1323, KeyContext{MP_TYPE_CPLX}) == u"j");
}

TEST_F(KeypadInput, UnknownCodesRaiseInternalErrorAndKeepTheFormula) {
    for (u32 code : {0u, 999u, 1005u, 1102u, 1109u, 1123u, 1130u, 1145u, 1316u, 1321u, 1399u, 1400u,
                     1404u, 0xFFFFFFFFu}) {
        clearErrors();
        FormulaEdit edit{u"1+2", 1, 2};
        EXPECT_EQ(insertForKey(edit, code, KeyContext{}), KeyAction::Invalid) << code;
        EXPECT_EQ(appError.load(), u32{APP_ERR_INTERNAL}) << code;
        EXPECT_TRUE(edit.text == u"1+2");
        EXPECT_EQ(edit.anchor, 1u);
        EXPECT_EQ(edit.caret, 2u);
    }
}

TEST_F(KeypadInput, EditingKeys) {
    const KeyContext real{};
    FormulaEdit edit{u"1+2", 1, 1};
    EXPECT_EQ(insertForKey(edit, 1331, real), KeyAction::Edited);  // "(..)"
    EXPECT_TRUE(edit.text == u"(1+2)");
    edit = FormulaEdit{u"12+3", 0, 0};
    insertForKey(edit, 1324, real);  // "←" cuts the end, not at the caret
    EXPECT_TRUE(edit.text == u"12+");
    edit = FormulaEdit{u"sin(cos(1", 2, 2};
    insertForKey(edit, 1330, real);
    EXPECT_TRUE(edit.text == u"sin(cos(1))");
    insertForKey(edit, 1332, real);  // "CF"
    EXPECT_TRUE(edit.text.empty());
    edit = FormulaEdit{u"1+2", 0, 3};
    EXPECT_EQ(insertForKey(edit, 1325, real), KeyAction::ClearAll);  // left to the page
    EXPECT_TRUE(edit.text == u"1+2");
    edit = FormulaEdit{u"1+2", 0, 3};
    insertForKey(edit, 1110, KeyContext{MP_TYPE_REAL, 10, ANGLE_DEGREES});
    EXPECT_TRUE(edit.text == u"sind(");
    EXPECT_EQ(edit.caret, 5u);
}

TEST_F(KeypadInput, PressStartsANewFormulaAfterAResult) {
    const KeyContext real{};
    FormulaEdit edit{u"1+2", 3, 3};
    bool touched = false;
    EXPECT_EQ(keypadPress(edit, touched, 2, real, true), KeyAction::Edited);  // "7"
    EXPECT_TRUE(edit.text == u"7");
    EXPECT_TRUE(touched);
    keypadPress(edit, touched, 38, real, true);  // "+"
    keypadPress(edit, touched, 31, real, true);  // "ans"
    EXPECT_TRUE(edit.text == u"7+ans");
    // Display and evaluation keys leave the formula to the page.
    touched = false;
    EXPECT_EQ(keypadPress(edit, touched, 30, real, true), KeyAction::Equals);
    EXPECT_EQ(keypadPress(edit, touched, 66, real, true), KeyAction::ToggleDisplay);
    EXPECT_EQ(keypadPress(edit, touched, 10, real, true), KeyAction::ShowVariables);
    EXPECT_TRUE(edit.text == u"7+ans");
    EXPECT_FALSE(touched);
    EXPECT_EQ(keypadPress(edit, touched, 17, KeyContext{MP_TYPE_RAT}, true),
              KeyAction::ToggleDisplay);
    EXPECT_EQ(keypadPress(edit, touched, 26, KeyContext{MP_TYPE_RAT}, true),
              KeyAction::ToggleDisplay);
    EXPECT_EQ(appError.load(), 0u);
}

TEST_F(KeypadInput, PressIgnoresKeysThatAreNotThere) {
    FormulaEdit edit{u"1+2", 3, 3};
    bool touched = true;
    // "ans" and "F↔E" without a result; "9" with uint in base 8; places without keys.
    EXPECT_EQ(keypadPress(edit, touched, 31, KeyContext{}, false), KeyAction::None);
    EXPECT_EQ(keypadPress(edit, touched, 66, KeyContext{}, false), KeyAction::None);
    EXPECT_EQ(keypadPress(edit, touched, 4, KeyContext{MP_TYPE_UINT, 8}, false), KeyAction::None);
    EXPECT_EQ(keypadPress(edit, touched, 67, KeyContext{}, true), KeyAction::None);
    EXPECT_EQ(keypadPress(edit, touched, 17, KeyContext{MP_TYPE_REAL}, true), KeyAction::None);
    EXPECT_EQ(appError.load(), 0u);
    EXPECT_EQ(keypadPress(edit, touched, 72, KeyContext{}, true), KeyAction::Invalid);
    EXPECT_EQ(appError.load(), u32{APP_ERR_INTERNAL});
    clearErrors();
    EXPECT_EQ(keypadPress(edit, touched, -1, KeyContext{}, true), KeyAction::Invalid);
    EXPECT_EQ(appError.load(), u32{APP_ERR_INTERNAL});
    EXPECT_TRUE(edit.text == u"1+2");
    // uint in base 16: "A" to "F" work.
    keypadPress(edit, touched, 52, KeyContext{MP_TYPE_UINT, 16}, false);
    EXPECT_TRUE(edit.text == u"1+2F");
}

}  // namespace
