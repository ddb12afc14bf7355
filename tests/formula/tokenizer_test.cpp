// The tokenizer: character classes, literal extents and the number-format
// characters taken from the context at the time of reading
// (tests/golden/tokens.txt); identifiers against the keyword table and the
// variables.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "formula/formula.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"
#include "support/golden_runner.h"
#include "textbuf/text_utf8.h"

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

class Tokenizer : public ::testing::Test {
  protected:
    void SetUp() override { mp_context_reset(); }
    void TearDown() override { mp_context_reset(); }
};

// The third cell: "nogroups", or number-format characters of the context
// ("decimal=,", "exp=E", "imag=k", "group=\" \"") set before reading.
TEST_F(Tokenizer, TokensOfTheGoldenTexts) {
    golden_run("tokens.txt", [](const GoldenLine& row) {
        mp_context_reset();
        u32 flags = FORMULA_GROUPS;
        for (const std::string& word : row.words(2)) {
            const std::size_t eq = word.find('=');
            const std::u16string chars = text_from_utf8(word.substr(eq + 1));
            const std::string kind = word.substr(0, eq);
            const MpCharSet set = kind == "decimal" ? MP_CHARS_DECIMAL
                                  : kind == "exp"   ? MP_CHARS_EXP
                                  : kind == "imag"  ? MP_CHARS_IMAG
                                                    : MP_CHARS_GROUP;
            if (word == "nogroups")
                flags = 0;
            else
                mp_set_char_set(set, chars.data(), static_cast<i32>(chars.size()));
        }
        const std::u16string text = text_from_utf8(row.text(0));
        std::string got;
        for (const Tok& t : tokens(text.c_str(), flags))
            got += (got.empty() ? "" : " ") + std::to_string(t.code) + "@" + std::to_string(t.pos) +
                   "+" + std::to_string(t.len);
        return got == row.text(1) ? std::string() : "got " + got;
    });
    FormulaRequest req;
    req.text = nullptr;  // reads as an empty text
    u64 pos = 0;
    FormulaToken tok;
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

}  // namespace
