// Random formulas (mutated expressions, a soup of formula pieces, random code
// units): the evaluator never crashes, always gives either a value or a formula
// error whose position lies in the text, and leaves no library error, no
// scratch and no stray write behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/golden.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"
#include "support/test_random.h"

namespace {

constexpr const char16_t* kAtoms[] = {u"0",   u"1",    u"2", u"7",  u"10",  u"FF",
                                      u"1.5", u"2e3",  u"i", u"2i", u"pi",  u"x",
                                      u"ans", u"1e-3", u"3", u"12", u"1'5", u"0.25"};
constexpr const char16_t* kOps[] = {u"+", u"-", u"*", u"/", u"^", u" mod "};
struct Fn {
    const char16_t* name;
    int args;
};
constexpr Fn kFns[] = {{u"sqrt", 1},   {u"abs", 1},    {u"round", 1}, {u"trunc", 1}, {u"sin", 1},
                       {u"cosd", 1},   {u"ln", 1},     {u"fact", 1},  {u"arg", 1},   {u"imagp", 1},
                       {u"root", 2},   {u"gcd", 2},    {u"ncr", 2},   {u"logx", 2},  {u"sqrtc", 2},
                       {u"mulinv", 2}, {u"powmod", 3}, {u"rootc", 3}};
// Pieces that are not formulas on their own: odd characters, names that
// are not keywords, separators, Greek letters.
constexpr const char16_t* kOdd[] = {u"(", u")",    u";",   u" ",      u"e",     u"E",    u".",
                                    u",", u"'",    u"$",   u"\t",     u"j",     u"Sqrt", u"ij",
                                    u"_", u"sqrt", u"mod", u"\u03c0", u"\u03b1"};

constexpr i32 kTypes[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};
constexpr u32 kBases[] = {2, 8, 10, 16};

template <class T, std::size_t N>
const T& pick(TestRng& rng, const T (&table)[N]) {
    return table[rng.range(0, static_cast<i64>(N) - 1)];
}

// Appends a formula that is mostly well formed: nested operations, signs,
// groups and calls, the argument count sometimes off by one.
void expression(std::u16string& out, TestRng& rng, int depth) {
    const i64 kind = depth <= 0 ? 0 : rng.range(0, 5);
    if (kind == 0) {
        out += pick(rng, kAtoms);
    } else if (kind <= 2) {
        expression(out, rng, depth - 1);
        out += pick(rng, kOps);
        expression(out, rng, depth - 1);
    } else if (kind == 3) {
        out += rng.chance(50) ? u"-(" : u"(";
        expression(out, rng, depth - 1);
        out += u')';
    } else {
        const Fn& fn = pick(rng, kFns);
        const int args = fn.args + (rng.chance(10) ? static_cast<int>(rng.range(-1, 1)) : 0);
        out += fn.name;
        out += u'(';
        for (int a = 0; a < args; ++a) {
            if (a > 0) out += u';';
            expression(out, rng, depth - 1);
        }
        out += u')';
    }
}

// A code unit of a kind the tokenizer sorts: ASCII, Greek, a surrogate, any.
char16_t random_unit(TestRng& rng) {
    const i64 kind = rng.range(0, 9);
    if (kind < 6) return static_cast<char16_t>(rng.range(1, 127));
    if (kind == 6) return static_cast<char16_t>(rng.range(0x3A0, 0x3D0));
    if (kind == 7) return static_cast<char16_t>(rng.range(0xD800, 0xDFFF));
    return static_cast<char16_t>(rng.range(1, 0xFFFF));  // no 0: that ends the text
}

// A random formula: an expression with a few code units deleted, doubled or
// replaced; a soup of pieces; or random code units.
std::u16string random_formula(TestRng& rng) {
    std::u16string s;
    const i64 how = rng.range(0, 2);
    if (how == 0) {
        expression(s, rng, static_cast<int>(rng.range(1, 4)));
        for (i64 k = rng.range(0, 2); k > 0 && !s.empty(); --k) {
            const std::size_t at =
                static_cast<std::size_t>(rng.range(0, static_cast<i64>(s.size()) - 1));
            const i64 change = rng.range(0, 2);
            if (change == 0)
                s.erase(at, 1);
            else if (change == 1)
                s.insert(at, 1, s[at]);
            else
                s[at] = u"()+-;* i"[rng.range(0, 7)];
        }
    } else if (how == 1) {
        for (i64 n = rng.range(0, 30); n > 0; --n) {
            const i64 table = rng.range(0, 3);
            s += table == 0   ? pick(rng, kAtoms)
                 : table == 1 ? pick(rng, kOps)
                 : table == 2 ? pick(rng, kOdd)
                              : std::u16string(pick(rng, kFns).name) + u"(";
        }
    } else {
        for (i64 n = rng.range(0, 40); n > 0; --n) s += random_unit(rng);
    }
    return s;
}

bool hasPosition(u32 code) {
    return code != FORMULA_ERR_UNEXPECTED_END && code != FORMULA_ERR_TOO_DEEP &&
           code != FORMULA_ERR_INTERNAL && code != FORMULA_ERR_STOPPED;
}

class FormulaFuzz : public ::testing::Test {
  protected:
    void SetUp() override { mp_context_reset(); }
    void TearDown() override { mp_context_reset(); }

    // Evaluates text in a random type, precision and base, with two
    // variables, and checks everything that must hold for any input.
    void check(const std::u16string& text) {
        mp_num_type = pick(rng, kTypes);
        const bool realLike = mp_num_type == MP_TYPE_REAL || mp_num_type == MP_TYPE_CPLX;
        if (realLike)
            mp_set_real_words(static_cast<i32>(rng.range(1, 3)));
        else
            mp_set_int_words(static_cast<i32>(rng.range(1, 4)));
        const std::size_t words = static_cast<std::size_t>(num_size_bytes(0, 0)) / sizeof(u64);
        constexpr u64 kCanary = 0xC3A55A3CC3A55A3Cull;
        std::vector<u64> x(words), ans(words), result(words + 2, kCanary);
        num_from_i64(x.data(), 3);
        num_from_i64(ans.data(), 12);
        VariableTable vars;
        vars.count = 2;
        vars.entries[0] = {u"x", x.data()};
        vars.entries[1] = {u"ans", ans.data()};

        FormulaRequest req;
        req.text = text.c_str();
        req.uintBase = pick(rng, kBases);
        req.flags = rng.chance(80) ? u32{FORMULA_GROUPS} : 0u;
        req.variables = rng.chance(80) ? &vars : nullptr;
        req.useOperandLimits = rng.chance(50);
        req.result = result.data();
        req.inexact = true;
        u8* const top = mp_scratch_top;
        const bool ok = evaluateFormula(&req);

        SCOPED_TRACE("type " + std::to_string(mp_num_type) + " \"" + golden_detail::utf8(text) +
                     "\"");
        EXPECT_EQ(mp_scratch_top, top);
        EXPECT_EQ(mp_error.load(), 0);
        EXPECT_EQ(result[words], kCanary);
        EXPECT_EQ(result[words + 1], kCanary);
        EXPECT_EQ(ok, formulaError == 0);
        if (ok) return;
        EXPECT_GE(formulaError, FORMULA_ERR_SYNTAX);
        EXPECT_LE(formulaError, FORMULA_ERR_STOPPED);
        EXPECT_NE(formulaError, FORMULA_ERR_INTERNAL);
        if (hasPosition(formulaError)) {
            EXPECT_GE(formulaErrorPos, 1);
            EXPECT_LE(formulaErrorPos, static_cast<i32>(text.size()) + 1);
        } else {
            EXPECT_EQ(formulaErrorPos, 0);
        }
        EXPECT_EQ(golden_detail::valueText(result.data(), realLike ? mp_real_words : mp_int_words,
                                           mp_num_type),
                  u"0");
        EXPECT_FALSE(req.inexact);
        clearFormulaError();
    }

    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};

TEST_F(FormulaFuzz, RandomFormulas) {
    const i64 n = test_iterations(11000);
    for (i64 i = 0; i < n && !HasFailure(); ++i) check(random_formula(rng));
}

}  // namespace
