// Variables: the name rules, new names and the list operations. How values,
// "ans" and the limit of names in one formula (errors 1204 and 1205) enter
// an evaluation are rows of tests/golden/calc_display.txt.
#include <string>

#include "calc_test_util.h"

namespace {

TEST(CalcVariables, NameRules) {
    for (const char16_t* ok : {u"", u"x", u"_", u"a1", u"var00", u"\u03b1\u03c9", u"pie", u"answer",
                               u"j", u"abcdefghij"})
        EXPECT_TRUE(calcVariableNameValid(ok)) << text_to_utf8(ok);
    for (const char16_t* bad : {u"e", u"i", u"\u03c0", u"pi", u"ans", u"1x", u"X", u"a-b", u"a b",
                                u"\u03a9", u"abcdefghijk", u"\u00e4"})
        EXPECT_FALSE(calcVariableNameValid(bad)) << text_to_utf8(bad);
}

TEST(CalcVariables, ListFillsTheGapsEditsAndSelects) {
    CalcVariableList list;
    EXPECT_EQ(list.add(), 0);  // var00
    EXPECT_EQ(list.add(), 1);  // var01
    EXPECT_TRUE(list.setName(1, u"var02"));
    EXPECT_EQ(list.add(), 2);
    EXPECT_EQ(text_to_utf8(list.at(2).name), "var01");
    EXPECT_EQ(list.insert(1), 1);  // before the second
    EXPECT_EQ(text_to_utf8(list.at(1).name), "var03");
    EXPECT_TRUE(list.setName(0, u"var7"));  // not of the exact form
    EXPECT_EQ(text_to_utf8(list.newName()), "var00");
    EXPECT_FALSE(list.setName(0, u"Bad!"));  // refused by the rules, kept all the same
    EXPECT_EQ(text_to_utf8(list.at(0).name), "Bad!");
    list.setName(0, u"abcdefghijklmnop");
    EXPECT_EQ(text_to_utf8(list.at(0).name), "abcdefghij");
    EXPECT_FALSE(list.setBase(0, 3));
    EXPECT_TRUE(list.setBase(0, 16));
    list.setValue(0, u"12345", 5);  // an exact fit is kept whole
    EXPECT_EQ(text_to_utf8(list.at(0).valueText), "12345");
    list.setValue(0, u"123456789", 5);
    EXPECT_EQ(text_to_utf8(list.at(0).valueText), "1234…");
    EXPECT_EQ(list.remove(3), 2);  // the last one: the selection moves up
    EXPECT_EQ(list.remove(0), 0);
    EXPECT_EQ(list.remove(1), 0);
    EXPECT_EQ(list.remove(0), -1);
    EXPECT_FALSE(list.setName(0, u"x"));
    EXPECT_TRUE(list.changed());
    for (int k = 0; k < CALC_MAX_VARIABLES; ++k) ASSERT_GE(list.add(), 0);
    EXPECT_EQ(list.add(), -1);
    EXPECT_EQ(list.insert(0), -1);

    const std::vector<SavedVariable> saved = {{u"", 16, u"FF"}, {u"y", 7, u"2"}};
    list.load(saved);
    EXPECT_FALSE(list.changed());
    EXPECT_EQ(text_to_utf8(list.at(0).name), "var??");
    EXPECT_EQ(list.at(1).base, 10u);  // an impossible base reads as 10
    EXPECT_EQ(list.saved()[0].value, u"FF");
}

}  // namespace
