// The tokenizer: character classes, literal extents and the number-format
// characters taken from the context at the time of reading
// (tests/golden/tokens.txt); identifiers against the keyword table and the
// variables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/formula.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"
#include "support/golden_runner.h"
#include "support/numlib_fixture.h"
#include "textbuf/text_utf8.h"

namespace {

// The tokens read up to the end of text or an invalid character (both leave
// the read position where it is), as "CODE@POSITION+LENGTH ...".
std::string tokens(const char16_t* text, u32 flags = FORMULA_GROUPS,
                   const VariableTable* vars = nullptr, u64* value = nullptr) {
    FormulaRequest req;
    req.text = text;
    req.flags = flags;
    req.variables = vars;
    std::string out;
    u64 pos = 0;
    for (int guard = 0; guard < 100; ++guard) {
        FormulaToken tok;
        tok.value = value;
        readToken(&tok, &pos, &req);
        out += (out.empty() ? "" : " ") + std::to_string(tok.code) + "@" +
               std::to_string(tok.position) + "+" + std::to_string(tok.length);
        EXPECT_EQ(pos, tok.position + tok.length);
        if (tok.code == TOKEN_END || tok.code == TOKEN_INVALID) break;
    }
    return out;
}

// A fresh library context per test.
class Tokenizer : public NumlibTest {};

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
        const std::string got = tokens(text_from_utf8(row.text(0)).c_str(), flags);
        return got == row.text(1) ? std::string() : "got " + got;
    });
    EXPECT_EQ(tokens(nullptr), "1@0+0");  // a null text reads as ""
}

// Every keyword reads as its own code over its whole name: no name is taken
// for a longer one or a prefix of it.
TEST_F(Tokenizer, KeywordTable) {
    for (const FunctionEntry& entry : FunctionTable) {
        const std::string len = std::to_string(std::u16string_view(entry.name).size());
        EXPECT_EQ(tokens(entry.name),
                  std::to_string(entry.code) + "@0+" + len + " 1@" + len + "+0");
    }
}

// Keywords are looked up before the variables; a variable's value is copied
// into the token's buffer; null entries and entries beyond the count are
// never seen, and a count beyond the table is clamped.
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
    EXPECT_EQ(tokens(u"pi y xx x", FORMULA_GROUPS, &vars, out.data()),
              "700@0+2 3@3+1 3@5+2 801@8+1 1@9+0");
    EXPECT_EQ(out, x);
    vars.count = 3;
    EXPECT_EQ(tokens(u"x", FORMULA_GROUPS, &vars), "3@0+1 1@1+0");
    vars.count = 1000;
    EXPECT_EQ(tokens(u"x", FORMULA_GROUPS, &vars), "801@0+1 1@1+0");
}

}  // namespace
