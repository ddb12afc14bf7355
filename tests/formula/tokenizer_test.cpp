// The tokenizer: character classes, literal extents, identifiers against the
// keyword table and the variables, and the number-format characters taken
// from the context at the time of reading.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "formula/formula.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"

namespace {

struct Tok {
    u16 code;
    u64 pos;
    u64 len;
    bool operator==(const Tok&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Tok& t) {
    return os << t.code << "@" << t.pos << "+" << t.len;
}

// Reads tokens up to the end of text or an invalid character (both leave the
// read position where it is).
std::vector<Tok> tokens(const char16_t* text, u32 flags = FORMULA_GROUPS,
                        const VariableTable* vars = nullptr, u64* value = nullptr) {
    FormulaRequest req;
    req.text = text;
    req.flags = flags;
    req.variables = vars;
    std::vector<Tok> out;
    u64 pos = 0;
    for (int guard = 0; guard < 100; ++guard) {
        FormulaToken tok;
        tok.value = value;
        readToken(&tok, &pos, &req);
        out.push_back({tok.code, tok.position, tok.length});
        EXPECT_EQ(pos, tok.position + tok.length);
        if (tok.code == TOKEN_END || tok.code == TOKEN_INVALID) break;
    }
    return out;
}

struct Case {
    const char16_t* text;
    std::vector<Tok> want;
    u32 flags = FORMULA_GROUPS;
};

class Tokenizer : public ::testing::Test {
  protected:
    void SetUp() override { mp_context_reset(); }
    void TearDown() override { mp_context_reset(); }
};

TEST_F(Tokenizer, Table) {
    // clang-format off
    const Case cases[] = {
        {u"", {{1, 0, 0}}},
        {u"   ", {{1, 3, 0}}},
        {u"3i", {{100, 0, 1}, {112, 1, 1}, {1, 2, 0}}},
        {u"3 i", {{100, 0, 1}, {112, 2, 1}, {1, 3, 0}}},
        {u"3ij", {{100, 0, 1}, {3, 1, 2}, {1, 3, 0}}},  // "ij" is a name
        {u"i2+ix", {{3, 0, 2}, {600, 2, 1}, {3, 3, 2}, {1, 5, 0}}},
        {u"j(", {{112, 0, 1}, {110, 1, 1}, {1, 2, 0}}},
        {u"1'000", {{100, 0, 5}, {1, 5, 0}}},
        {u"1'000", {{100, 0, 1}, {2, 1, 0}}, 0},  // no groups: "'" starts nothing
        {u"1e-5", {{100, 0, 4}, {1, 4, 0}}},
        {u"1-5", {{100, 0, 1}, {601, 1, 1}, {100, 2, 1}, {1, 3, 0}}},
        {u"1e+5e-", {{100, 0, 6}, {1, 6, 0}}},  // well-formedness is the parser's
        {u"1e--5", {{100, 0, 3}, {601, 3, 1}, {100, 4, 1}, {1, 5, 0}}},
        {u"2e3", {{100, 0, 3}, {1, 3, 0}}},
        {u"2 e3", {{100, 0, 1}, {3, 2, 2}, {1, 4, 0}}},
        {u"1,5.5", {{100, 0, 5}, {1, 5, 0}}},
        {u"FF+ff", {{100, 0, 2}, {600, 2, 1}, {3, 3, 2}, {1, 5, 0}}},
        {u"aF", {{3, 0, 1}, {100, 1, 1}, {1, 2, 0}}},  // capitals never join a name
        {u"Sqrt(4)", {{2, 0, 0}}},
        {u".5", {{2, 0, 0}}},
        {u"1\t", {{100, 0, 1}, {2, 1, 0}}},
        {u"7 mod 3", {{100, 0, 1}, {605, 2, 3}, {100, 6, 1}, {1, 7, 0}}},
        {u"7mod3", {{100, 0, 1}, {3, 1, 4}, {1, 5, 0}}},
        {u"(7)mod(3)", {{110, 0, 1}, {100, 1, 1}, {111, 2, 1}, {605, 3, 3},
                        {110, 6, 1}, {100, 7, 1}, {111, 8, 1}, {1, 9, 0}}},
        {u"+-*/^();", {{600, 0, 1}, {601, 1, 1}, {602, 2, 1}, {603, 3, 1}, {604, 4, 1},
                       {110, 5, 1}, {111, 6, 1}, {800, 7, 1}, {1, 8, 0}}},
        {u"\u03c0 pi pi2", {{700, 0, 1}, {700, 2, 2}, {3, 5, 3}, {1, 8, 0}}},
        {u"_a1 \u03b1\u03c2\u03c9", {{3, 0, 3}, {3, 4, 3}, {1, 7, 0}}},
        {u"\u03aa", {{2, 0, 0}}},  // outside the Greek small letters
        {u"\u03ca", {{2, 0, 0}}},
        {u"sqrtc(", {{300, 0, 5}, {110, 5, 1}, {1, 6, 0}}},
    };
    // clang-format on
    for (const Case& c : cases) EXPECT_EQ(tokens(c.text, c.flags), c.want);
}

TEST_F(Tokenizer, EndAndInvalidKeepThePosition) {
    FormulaRequest req;
    req.text = u"1 #";
    u64 pos = 1;
    FormulaToken tok;
    for (int i = 0; i < 3; ++i) {
        readToken(&tok, &pos, &req);
        EXPECT_EQ(tok.code, TOKEN_INVALID);
        EXPECT_EQ(pos, 2u);
    }
    req.text = nullptr;  // reads as an empty text
    pos = 0;
    readToken(&tok, &pos, &req);
    EXPECT_EQ(tok.code, TOKEN_END);
}

// Every keyword reads as its own code; names are distinct and lower case (or
// Greek), so no literal or name can shadow another.
TEST_F(Tokenizer, KeywordTable) {
    std::set<std::u16string> names;
    int functions = 0;
    for (const FunctionEntry& entry : FunctionTable) {
        const std::u16string name = entry.name;
        EXPECT_TRUE(names.insert(name).second);
        const std::vector<Tok> got = tokens(entry.name);
        ASSERT_EQ(got.size(), 2u);
        EXPECT_EQ(got[0], (Tok{entry.code, 0, name.size()}));
        if (entry.code >= TOKEN_FN_FIRST && entry.code <= TOKEN_FN_LAST) {
            ++functions;
            EXPECT_GE(entry.params, 1);
            EXPECT_LE(entry.params, 3);
        }
        EXPECT_EQ(functionParamCount(entry.code), entry.params);
    }
    EXPECT_EQ(functions, 51);
    EXPECT_EQ(functionParamCount(599), -2);
}

// Keywords are looked up before the variables; a variable's value is copied
// into the token's buffer.
TEST_F(Tokenizer, Variables) {
    mp_num_type = MP_TYPE_REAL;
    std::vector<u64> x(2), pi(2), out(2, ~u64{0});
    num_from_i64(x.data(), 42);
    num_from_i64(pi.data(), 5);
    VariableTable vars;
    vars.count = 4;
    vars.entries[0] = {u"pi", pi.data()};
    vars.entries[1] = {nullptr, pi.data()};
    vars.entries[2] = {u"y", nullptr};
    vars.entries[3] = {u"x", x.data()};
    EXPECT_EQ(tokens(u"pi", FORMULA_GROUPS, &vars, out.data())[0].code, TOKEN_PI);
    EXPECT_EQ(tokens(u"y", FORMULA_GROUPS, &vars, out.data())[0].code, TOKEN_UNKNOWN);
    EXPECT_EQ(tokens(u"xx", FORMULA_GROUPS, &vars, out.data())[0].code, TOKEN_UNKNOWN);
    EXPECT_EQ(tokens(u"x", FORMULA_GROUPS, &vars, out.data())[0], (Tok{801, 0, 1}));
    EXPECT_EQ(out, x);
    vars.count = 3;  // entries beyond the count are not seen
    EXPECT_EQ(tokens(u"x", FORMULA_GROUPS, &vars, out.data())[0].code, TOKEN_UNKNOWN);
    vars.count = 1000;  // clamped to the table
    EXPECT_EQ(tokens(u"x", FORMULA_GROUPS, &vars, nullptr)[0].code, TOKEN_VARIABLE);
}

// The separators, exponent and imaginary-unit characters come from the
// context at the time of reading; empty slots never match.
TEST_F(Tokenizer, ContextCharacters) {
    mp_set_char_set(MP_CHARS_DECIMAL, u",", 1);
    EXPECT_EQ(tokens(u"1.5"), (std::vector<Tok>{{100, 0, 1}, {2, 1, 0}}));
    mp_set_char_set(MP_CHARS_EXP, u"E", 1);
    EXPECT_EQ(tokens(u"2e3"), (std::vector<Tok>{{100, 0, 1}, {3, 1, 2}, {1, 3, 0}}));
    EXPECT_EQ(tokens(u"2E-3"), (std::vector<Tok>{{100, 0, 4}, {1, 4, 0}}));
    mp_set_char_set(MP_CHARS_IMAG, u"k", 1);
    EXPECT_EQ(tokens(u"k i"), (std::vector<Tok>{{112, 0, 1}, {3, 2, 1}, {1, 3, 0}}));
    mp_set_char_set(MP_CHARS_GROUP, u" ", 1);  // a blank as group character
    EXPECT_EQ(tokens(u"1 000"), (std::vector<Tok>{{100, 0, 5}, {1, 5, 0}}));
}

}  // namespace
