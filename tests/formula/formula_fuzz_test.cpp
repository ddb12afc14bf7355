// Random formulas (mutated expressions, random code units): the evaluator
// never crashes, always gives either a value or a formula error whose
// position lies in the text, and leaves no library error, no scratch and no
// stray write behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/golden.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"
#include "support/numlib_fixture.h"

namespace {

constexpr const char16_t* kAtoms[] = {u"0",   u"1",    u"2", u"7",  u"10",  u"FF",
                                      u"1.5", u"2e3",  u"i", u"2i", u"pi",  u"x",
                                      u"ans", u"1e-3", u"3", u"12", u"1'5", u"0.25"};
constexpr const char16_t* kOps[] = {u"+", u"-", u"*", u"/", u"^", u" mod "};
// Pieces that are not formulas on their own: odd characters, names that
// are not keywords, separators, Greek letters.
constexpr const char16_t* kOdd[] = {u"(", u")",    u";",   u" ",      u"e",     u"E",    u".",
                                    u",", u"'",    u"$",   u"\t",     u"j",     u"Sqrt", u"ij",
                                    u"_", u"sqrt", u"mod", u"\u03c0", u"\u03b1"};

constexpr u32 kBases[] = {2, 8, 10, 16};

template <class T, std::size_t N>
const T& pick(TestRng& rng, const T (&table)[N]) {
    return table[rng.range(0, static_cast<i64>(N) - 1)];
}

// Appends a formula that is mostly well formed: nested operations, signs,
// groups and calls of every keyword, the argument count sometimes off by one.
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
        const FunctionEntry& fn = pick(rng, FunctionTable);  // "pi()" and "mod()" too
        const int args = fn.params + (rng.chance(10) ? static_cast<int>(rng.range(-1, 1)) : 0);
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

// A random formula: an expression with a few code units deleted or doubled
// and odd pieces put in, or random code units.
std::u16string random_formula(TestRng& rng) {
    std::u16string s;
    if (rng.chance(30)) {
        for (i64 n = rng.range(0, 40); n > 0; --n) s += random_unit(rng);
        return s;
    }
    expression(s, rng, static_cast<int>(rng.range(1, 4)));
    for (i64 k = rng.range(0, 3); k > 0; --k) {
        const std::size_t at = static_cast<std::size_t>(rng.range(0, static_cast<i64>(s.size())));
        const i64 change = rng.range(0, 2);
        if (change == 0)
            s.erase(at, 1);
        else if (change == 1)
            s.insert(at, s.substr(at, 1));
        else
            s.insert(at, pick(rng, kOdd));
    }
    return s;
}

class FormulaFuzz : public NumlibTest {
  protected:
    // Evaluates text in a random type, precision and base, with two
    // variables, and checks what must hold for any input (evaluateChecked).
    void check(const std::u16string& text) {
        mp_num_type = pick(rng, golden_detail::kTypes);
        const bool real = mp_num_type == MP_TYPE_REAL || mp_num_type == MP_TYPE_CPLX;
        (real ? mp_set_real_words : mp_set_int_words)(static_cast<i32>(rng.range(1, real ? 3 : 4)));
        const std::size_t words = static_cast<std::size_t>(num_size_bytes(0, 0)) / sizeof(u64);
        golden_detail::Variables vars;
        ASSERT_EQ(vars.build(u"x=3, ans=12", words), "");

        FormulaRequest req;
        req.text = text.c_str();
        req.uintBase = pick(rng, kBases);
        req.flags = rng.chance(80) ? u32{FORMULA_GROUPS} : 0u;
        req.variables = rng.chance(80) ? &vars.table : nullptr;
        req.useOperandLimits = rng.chance(50);
        std::u16string value;
        EXPECT_EQ(evaluateChecked(&req, &value), "")
            << "type " << mp_num_type << " \"" << text_to_utf8(text) << "\"";
        clearFormulaError();
    }
};

TEST_F(FormulaFuzz, RandomFormulas) {
    const i64 n = test_iterations(11000);
    for (i64 i = 0; i < n && !HasFailure(); ++i) check(random_formula(rng));
}

}  // namespace
