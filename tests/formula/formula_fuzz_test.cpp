// Random formulas, from a soup of formula pieces and from random code units:
// the evaluator never crashes, always gives either a value or a formula
// error whose position lies in the text, and leaves no library error, no
// scratch and no stray write behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "formula/golden.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"
#include "support/test_random.h"

namespace {

constexpr const char16_t* kPieces[] = {
    u"0",    u"1",     u"2",       u"7",      u"10",    u"FF",     u"1.5",     u"2e3",    u"1e-3",
    u"1'0",  u"3i",    u"i",       u"j",      u"pi",    u"\u03c0", u"x",       u"ans",    u"+",
    u"-",    u"*",     u"/",       u"^",      u" mod ", u"mod",    u"(",       u"(",      u"(",
    u")",    u")",     u")",       u";",      u" ",     u"sqrt(",  u"root(",   u"fact(",  u"ln(",
    u"sin(", u"tand(", u"powmod(", u"rootc(", u"ncr(",  u"gcd(",   u"mulinv(", u"realp(", u"round(",
    u"abs(", u"exp(",  u"logx(",   u"e",      u"E",     u".",      u",",       u"'",      u"$",
    u"\t",   u"Sqrt",  u"ij",      u"_",      u"sqrt",  u"\u03b1",
};

constexpr i32 kTypes[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};
constexpr u32 kBases[] = {2, 8, 10, 16};

std::u16string soup(TestRng& rng) {
    std::u16string s;
    const i64 n = rng.range(0, 30);
    for (i64 i = 0; i < n; ++i)
        s += kPieces[rng.range(0, static_cast<i64>(std::size(kPieces)) - 1)];
    return s;
}

// Code units of every kind the tokenizer sorts: ASCII, Greek, separators,
// surrogates, the top of the plane. No 0: that ends the text.
std::u16string randomUnits(TestRng& rng) {
    std::u16string s;
    const i64 n = rng.range(0, 40);
    for (i64 i = 0; i < n; ++i) {
        const i64 kind = rng.range(0, 9);
        char16_t c;
        if (kind < 6) {
            c = static_cast<char16_t>(rng.range(1, 127));
        } else if (kind == 6) {
            c = static_cast<char16_t>(rng.range(0x3A0, 0x3D0));
        } else if (kind == 7) {
            c = static_cast<char16_t>(rng.range(0xD800, 0xDFFF));
        } else {
            c = static_cast<char16_t>(rng.range(1, 0xFFFF));
        }
        s += c;
    }
    return s;
}

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

// Appends a formula that is mostly well formed: nested operations, signs,
// groups and calls, the argument count sometimes off by one.
void expression(std::u16string& out, TestRng& rng, int depth) {
    const i64 kind = depth <= 0 ? 0 : rng.range(0, 5);
    if (kind == 0) {
        out += kAtoms[rng.range(0, static_cast<i64>(std::size(kAtoms)) - 1)];
    } else if (kind <= 2) {
        expression(out, rng, depth - 1);
        out += kOps[rng.range(0, 5)];
        expression(out, rng, depth - 1);
    } else if (kind == 3) {
        out += rng.chance(50) ? u"-(" : u"(";
        expression(out, rng, depth - 1);
        out += u')';
    } else {
        const Fn& fn = kFns[rng.range(0, static_cast<i64>(std::size(kFns)) - 1)];
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

// expression() with a few code units deleted, doubled or replaced.
std::u16string mutated(TestRng& rng) {
    std::u16string s;
    expression(s, rng, static_cast<int>(rng.range(1, 4)));
    for (i64 k = rng.range(0, 2); k > 0 && !s.empty(); --k) {
        const std::size_t at =
            static_cast<std::size_t>(rng.range(0, static_cast<i64>(s.size()) - 1));
        const i64 how = rng.range(0, 2);
        if (how == 0) {
            s.erase(at, 1);
        } else if (how == 1) {
            s.insert(at, 1, s[at]);
        } else {
            s[at] = u"()+-;* i"[rng.range(0, 7)];
        }
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
        mp_num_type = kTypes[rng.range(0, 3)];
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
        req.uintBase = kBases[rng.range(0, 3)];
        req.flags = rng.chance(80) ? u32{FORMULA_GROUPS} : 0u;
        req.variables = rng.chance(80) ? &vars : nullptr;
        req.useOperandLimits = rng.chance(50);
        req.result = result.data();
        req.inexact = true;
        u8* const top = mp_scratch_top;
        const bool ok = evaluateFormula(&req);
        ++inputs;

        SCOPED_TRACE("type " + std::to_string(mp_num_type) + " \"" + golden_detail::utf8(text) +
                     "\"");
        EXPECT_EQ(mp_scratch_top, top);
        EXPECT_EQ(mp_error.load(), 0);
        EXPECT_EQ(result[words], kCanary);
        EXPECT_EQ(result[words + 1], kCanary);
        EXPECT_EQ(ok, formulaError == 0);
        if (ok) {
            ++values;
            return;
        }
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

    void report(const char* what) const {
        std::printf("%s: %lld inputs, %lld values\n", what, static_cast<long long>(inputs),
                    static_cast<long long>(values));
    }

    TestRng rng;
    i64 inputs = 0;
    i64 values = 0;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};

TEST_F(FormulaFuzz, TokenSoup) {
    const i64 n = test_iterations(4000);
    for (i64 i = 0; i < n && !HasFailure(); ++i) check(soup(rng));
    report("token soup");
}

TEST_F(FormulaFuzz, MutatedExpressions) {
    const i64 n = test_iterations(3000);
    for (i64 i = 0; i < n && !HasFailure(); ++i) check(mutated(rng));
    report("mutated expressions");
}

TEST_F(FormulaFuzz, RandomCodeUnits) {
    const i64 n = test_iterations(4000);
    for (i64 i = 0; i < n && !HasFailure(); ++i) check(randomUnits(rng));
    report("random code units");
}

}  // namespace
