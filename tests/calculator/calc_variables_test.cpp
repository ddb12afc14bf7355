// Variables: the name rules, new names, the list operations, and how the
// values a formula reads enter an evaluation (bases, the rat fallback, the
// errors 1203, 1204 and 1205).
#include <string>

#include "calc_test_util.h"

namespace {

TEST(CalcVariables, NameRules) {
    for (const char16_t* ok : {u"", u"x", u"_", u"a1", u"var00", u"\u03b1\u03c9", u"pie", u"answer",
                               u"j", u"abcdefghij"})
        EXPECT_TRUE(calcVariableNameValid(ok)) << ascii(ok);
    for (const char16_t* bad : {u"e", u"i", u"\u03c0", u"pi", u"ans", u"1x", u"X", u"a-b", u"a b",
                                u"\u03a9", u"abcdefghijk", u"\u00e4"})
        EXPECT_FALSE(calcVariableNameValid(bad)) << ascii(bad);
}

TEST(CalcVariables, ListFillsTheGapsEditsAndSelects) {
    CalcVariableList list;
    EXPECT_EQ(list.add(), 0);  // var00
    EXPECT_EQ(list.add(), 1);  // var01
    EXPECT_TRUE(list.setName(1, u"var02"));
    EXPECT_EQ(list.add(), 2);
    EXPECT_EQ(ascii(list.at(2).name), "var01");
    EXPECT_EQ(list.insert(1), 1);  // before the second
    EXPECT_EQ(ascii(list.at(1).name), "var03");
    EXPECT_TRUE(list.setName(0, u"var7"));  // not of the exact form
    EXPECT_EQ(ascii(list.newName()), "var00");
    EXPECT_FALSE(list.setName(0, u"Bad!"));  // refused by the rules, kept all the same
    EXPECT_EQ(ascii(list.at(0).name), "Bad!");
    list.setName(0, u"abcdefghijklmnop");
    EXPECT_EQ(ascii(list.at(0).name), "abcdefghij");
    EXPECT_FALSE(list.setBase(0, 3));
    EXPECT_TRUE(list.setBase(0, 16));
    list.setValue(0, u"12345", 5);  // an exact fit is kept whole
    EXPECT_EQ(ascii(list.at(0).valueText), "12345");
    list.setValue(0, u"123456789", 5);
    EXPECT_EQ(ascii(list.at(0).valueText), "1234\\u2026");
    EXPECT_EQ(list.remove(3), 2);  // the last one: the selection moves up
    EXPECT_EQ(list.remove(0), 0);
    EXPECT_EQ(list.remove(1), 0);
    EXPECT_EQ(list.remove(0), -1);
    EXPECT_EQ(list.remove(0), -1);
    EXPECT_FALSE(list.setName(0, u"x"));
    EXPECT_TRUE(list.changed());
    for (int k = 0; k < CALC_MAX_VARIABLES; ++k) ASSERT_GE(list.add(), 0);
    EXPECT_EQ(list.add(), -1);
    EXPECT_EQ(list.insert(0), -1);

    const std::vector<SavedVariable> saved = {{u"", 16, u"FF"}, {u"y", 7, u"2"}};
    list.load(saved);
    EXPECT_FALSE(list.changed());
    EXPECT_EQ(ascii(list.at(0).name), "var??");
    EXPECT_EQ(list.at(1).base, 10u);  // an impossible base reads as 10
    EXPECT_EQ(list.saved()[0].value, u"FF");
}

class CalcVariablesTest : public CalcTest {
  protected:
    void define(const char16_t* name, const char16_t* value, u32 base = 10) {
        const i64 i = s.variables.add();
        s.variables.setName(i, name);
        s.variables.setValue(i, value, calcMaxFormulaLength());
        s.variables.setBase(i, base);
    }
};

TEST_F(CalcVariablesTest, ValuesEnterTheFormulasThatReadThem) {
    define(u"h", u"FF", 16);
    define(u"b", u"101", 2);
    define(u"o", u"17", 8);
    define(u"d", u"1.5");
    define(u"x", u"3");
    define(u"x", u"100");  // the first entry with a name wins
    define(u"sqrt", u"9");
    define(u"y", u"x+1");  // values see no variables
    define(u"q", u"1/3");
    define(u"r", u"sqrt(2)");
    define(u"bad", u"1/0");
    define(u"hb", u"1-10", 2);  // base 2 texts are never read as decimals
    const struct {
        i32 type;
        const char* formula;
        const char* shown;  // or the error
        u32 error;
        i32 typeAfter;
    } rows[] = {
        {MP_TYPE_UINT, "h+b+o", "275", 0, MP_TYPE_UINT},  // 255 + 5 + 15 in every type
        {MP_TYPE_RAT, "h+b+o", "275", 0, MP_TYPE_RAT},
        {MP_TYPE_REAL, "h+b+o", "275", 0, MP_TYPE_REAL},
        {MP_TYPE_CPLX, "h+b+o", "275", 0, MP_TYPE_CPLX},
        {MP_TYPE_RAT, "d*2", "3", 0, MP_TYPE_REAL},                     // 1.5 read as real
        {MP_TYPE_UINT, "d", "d", APP_ERR_VARIABLE_TYPE, MP_TYPE_UINT},  // no fraction in uint
        {MP_TYPE_REAL, "x*x + sqrt(4)", "11", 0,
         MP_TYPE_REAL},  // a name before "(" is the function
        {MP_TYPE_REAL, "y", "y", APP_ERR_VARIABLE_TYPE, MP_TYPE_REAL},
        {MP_TYPE_REAL, "z+1", "?", APP_ERR_FORMULA, MP_TYPE_REAL},  // the evaluator's syntax error
        {MP_TYPE_RAT, "q", "1/3", 0, MP_TYPE_RAT},
        {MP_TYPE_RAT, "q*3+r*r", "3", 0, MP_TYPE_REAL},  // q converted when r switched to real
        {MP_TYPE_RAT, "bad", "bad", APP_ERR_VARIABLE_TYPE, MP_TYPE_RAT},  // fails in real too
        {MP_TYPE_RAT, "hb", "hb", APP_ERR_VARIABLE_TYPE, MP_TYPE_RAT},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.formula);
        clearErrors();
        use(row.type);
        EXPECT_EQ(eval(row.formula), row.error);
        EXPECT_EQ(row.error == 0 ? shown() : ascii(appErrorText1), row.shown);
        EXPECT_EQ(s.numberType, row.typeAfter);
    }
}

TEST_F(CalcVariablesTest, AnsAndTheTableLimit) {
    EXPECT_EQ(eval("ans+1"), APP_ERR_NO_RESULT);
    EXPECT_EQ(ascii(appErrorText1), "ans");
    ASSERT_EQ(eval("2"), 0u);
    ASSERT_EQ(eval("ans*ans+ans"), 0u);
    EXPECT_EQ(shown(), "6");
    std::string formula = "ans";
    for (int k = 0; k < 19; ++k) {
        const char16_t name[] = {u'v', static_cast<char16_t>(u'a' + k), 0};
        define(name, u"1");
        formula += "+v";
        formula.push_back(static_cast<char>('a' + k));
    }
    ASSERT_EQ(eval(formula), 0u);  // 20 entries with "ans"
    EXPECT_EQ(shown(), "25");
    define(u"w", u"1");
    EXPECT_EQ(eval(formula + "+w"), APP_ERR_TOO_MANY_VARIABLES);
    EXPECT_EQ(shown(), "25");  // the previous result stays
}

}  // namespace
