// The operators and functions of the formula language against MPFR, one table
// row per formula: random arguments at random precisions go in as the
// variables x and y, and the result must lie within one unit of its last
// digit of the exact value (rows marked rounded: be the exact value rounded
// once). The degree and gon forms are checked against the radian function
// of the converted angle, so the conversion and the reduction by full turns
// are covered too. Products and quotients by an integer that fits a word
// take a word routine, here of either sign and on either side; the other
// types' word routines are the library's, their signs golden rows.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <string>
#include <vector>

#include "formula/formula.h"
#include "formula/formula_error.h"
#include "numlib/mp_context.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "textbuf/text_utf8.h"

namespace {

using MpfrFn = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using MpfrFn2 = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

struct Arg {
    i64 exp_min = 0, exp_max = 0;
    bool negative = true;
    bool word = false;            // an integer of one word (never 0)
    const char* fixed = nullptr;  // this value, exactly
};

struct FnRow {
    const char16_t* formula;  // in x (and y)
    MpfrFn f;                 // the reference: f(x), or
    MpfrFn2 f2;               // f2(x, y)
    unsigned long in;         // x is an angle in this many parts of a half turn (0: radians)
    unsigned long out;        // the result is such an angle
    Arg x;
    Arg y = {};
    i64 words = 0;         // 0: random
    bool rounded = false;  // rounded once, not only within one unit
};

// root(y;x) and logx(y;x) of the formula language.
int root_of(mpfr_ptr v, mpfr_srcptr x, mpfr_srcptr y, mpfr_rnd_t rnd) {
    Mpfr inv(mpfr_get_prec(v));
    mpfr_ui_div(inv, 1, y, rnd);
    return mpfr_pow(v, x, inv, rnd);
}
int log_base(mpfr_ptr v, mpfr_srcptr x, mpfr_srcptr y, mpfr_rnd_t rnd) {
    Mpfr ln_y(mpfr_get_prec(v));
    mpfr_log(ln_y, y, rnd);
    mpfr_log(v, x, rnd);
    return mpfr_div(v, v, ln_y, rnd);
}

// v = the row's function of x and y at v's precision, angles converted by
// x * pi / half turn and back.
void reference(const FnRow& c, mpfr_ptr v, mpfr_srcptr x, mpfr_srcptr y) {
    Mpfr pi(mpfr_get_prec(v));
    mpfr_const_pi(pi, MPFR_RNDN);
    mpfr_set(v, x, MPFR_RNDN);
    if (c.in != 0) mpfr_mul(v, v, pi, MPFR_RNDN), mpfr_div_ui(v, v, c.in, MPFR_RNDN);
    c.f ? c.f(v, v, MPFR_RNDN) : c.f2(v, v, y, MPFR_RNDN);
    if (c.out != 0) mpfr_mul_ui(v, v, c.out, MPFR_RNDN), mpfr_div(v, v, pi, MPFR_RNDN);
}

const Arg kAny = {-12, 3};
const Arg kUnit = {-12, -1};  // |x| < 1
const Arg kPositive = {-30, 30, false};
const Arg kAtLeastOne = {0, 20, false};
const Arg kDegrees = {-6, 7};
const Arg kCoarse = {17, 40};  // 19 digits whose last is as coarse as pi or coarser
const Arg kWord = {0, 0, true, true};
const Arg kReal = {-40, 40};

// An angle at its words of the degree or gon form of f.
FnRow fixed(const char16_t* formula, MpfrFn f, unsigned long in, const char* x, i64 words) {
    return {formula, f, nullptr, in, 0, {.fixed = x}, {}, words};
}

std::vector<FnRow> rows() {
    return {
        {u"sqrt(x)", mpfr_sqrt, nullptr, 0, 0, kPositive},
        {u"cbrt(x)", mpfr_cbrt, nullptr, 0, 0, {-30, 30}},
        {u"ln(x)", mpfr_log, nullptr, 0, 0, kPositive},
        {u"log2(x)", mpfr_log2, nullptr, 0, 0, kPositive},
        {u"log10(x)", mpfr_log10, nullptr, 0, 0, kPositive},
        {u"exp(x)", mpfr_exp, nullptr, 0, 0, {-12, 2}},
        {u"sin(x)", mpfr_sin, nullptr, 0, 0, kAny},
        {u"cos(x)", mpfr_cos, nullptr, 0, 0, kAny},
        {u"tan(x)", mpfr_tan, nullptr, 0, 0, kAny},
        {u"sin(x)", mpfr_sin, nullptr, 0, 0, kCoarse, {}, 1},
        {u"cos(x)", mpfr_cos, nullptr, 0, 0, kCoarse, {}, 1},
        {u"tan(x)", mpfr_tan, nullptr, 0, 0, kCoarse, {}, 1},
        {u"asin(x)", mpfr_asin, nullptr, 0, 0, kUnit},
        {u"acos(x)", mpfr_acos, nullptr, 0, 0, kUnit},
        {u"atan(x)", mpfr_atan, nullptr, 0, 0, {-12, 12}},
        {u"sinh(x)", mpfr_sinh, nullptr, 0, 0, {-12, 2}},
        {u"cosh(x)", mpfr_cosh, nullptr, 0, 0, {-12, 2}},
        {u"tanh(x)", mpfr_tanh, nullptr, 0, 0, {-12, 2}},
        {u"asinh(x)", mpfr_asinh, nullptr, 0, 0, {-12, 12}},
        {u"acosh(x)", mpfr_acosh, nullptr, 0, 0, kAtLeastOne},
        {u"atanh(x)", mpfr_atanh, nullptr, 0, 0, kUnit},
        {u"sind(x)", mpfr_sin, nullptr, 180, 0, kDegrees},
        {u"cosd(x)", mpfr_cos, nullptr, 180, 0, kDegrees},
        {u"tand(x)", mpfr_tan, nullptr, 180, 0, kDegrees},
        {u"sing(x)", mpfr_sin, nullptr, 200, 0, kDegrees},
        {u"cosg(x)", mpfr_cos, nullptr, 200, 0, kDegrees},
        {u"tang(x)", mpfr_tan, nullptr, 200, 0, kDegrees},
        {u"asind(x)", mpfr_asin, nullptr, 0, 180, kUnit},
        {u"acosd(x)", mpfr_acos, nullptr, 0, 180, kUnit},
        {u"atand(x)", mpfr_atan, nullptr, 0, 180, {-12, 12}},
        {u"asing(x)", mpfr_asin, nullptr, 0, 200, kUnit},
        {u"acosg(x)", mpfr_acos, nullptr, 0, 200, kUnit},
        {u"atang(x)", mpfr_atan, nullptr, 0, 200, {-12, 12}},
        {u"x^y", nullptr, mpfr_pow, 0, 0, {-6, 6, false}, {-3, 1}},
        {u"10^x", mpfr_exp10, nullptr, 0, 0, {-12, 2}},
        {u"2^x", mpfr_exp2, nullptr, 0, 0, {-12, 2}},
        {u"root(y;x)", nullptr, root_of, 0, 0, kPositive, {-2, 2, false}},
        {u"logx(y;x)", nullptr, log_base, 0, 0, kPositive, {1, 5, false}},
        {u"x*y", nullptr, mpfr_mul, 0, 0, kReal, kReal, 0, true},
        {u"x/y", nullptr, mpfr_div, 0, 0, kReal, kReal, 0, true},
        {u"x*y", nullptr, mpfr_mul, 0, 0, kReal, kWord, 0, true},
        {u"y*x", nullptr, mpfr_mul, 0, 0, kReal, kWord, 0, true},
        {u"x/y", nullptr, mpfr_div, 0, 0, kReal, kWord, 0, true},
        // Angles in degrees and gon next to the exact classes, where converting the
        // whole angle to radians would cancel most digits.
        fixed(u"sind(x)", mpfr_sin, 180, "179.99999999999999999999999999999999999999999999999999",
              3),
        fixed(u"sind(x)", mpfr_sin, 180, "-1e-50", 3),
        fixed(u"cosd(x)", mpfr_cos, 180, "90.0000000000000000000000000000000000000001", 3),
        fixed(u"tand(x)", mpfr_tan, 180, "89.9999999999999999999999999999999999999999", 3),
        fixed(u"tand(x)", mpfr_tan, 180, "270.0000000000000000000000000000000000000001", 3),
        fixed(u"cosg(x)", mpfr_cos, 200, "299.999999999999999999999999999999", 2),
        fixed(u"sing(x)", mpfr_sin, 200, "1000000000000000000000000000100.5", 2),
    };
}

class OpsMpfr : public NumlibTest {
  protected:
    // A word of varied size: small, near 10^19 (two decimal words), near 2^64.
    u64 random_word() {
        const i64 kind = rng.range(0, 3);
        if (kind == 0) return static_cast<u64>(rng.range(1, 12));
        if (kind == 1) return REAL_BASE - 1 + static_cast<u64>(rng.range(0, 2));
        if (kind == 2) return ~u64{0} - static_cast<u64>(rng.range(0, 3));
        return (rng.word() >> rng.range(0, 63)) | 1;
    }

    // A random m-word real argument, never zero.
    std::vector<u64> argument(const Arg& r, i64 m) {
        std::vector<u64> x(static_cast<std::size_t>(m + 1));
        if (r.fixed) {
            Mpfr v(oracle_bits(4 * 19 * m));
            mpfr_set_str(v, r.fixed, 10, MPFR_RNDN);
            from_mpfr(x.data(), m, v);
        } else if (r.word) {
            u64 v = random_word();
            if (m == 1 && v >= REAL_BASE) v -= v % 10;  // 19 digits
            real_from_u64(x.data(), v);
            if (rng.chance(50)) real_negate(x.data());
        } else {
            random_real(rng, x.data(), m, {r.exp_min, r.exp_max, r.negative, 0});
        }
        return x;
    }

    // Evaluates the row once at m words; false after a failure.
    bool run_once(const FnRow& c, i64 m) {
        mp_set_real_words(static_cast<i32>(m));
        const std::vector<u64> x = argument(c.x, m), y = argument(c.y, m);
        VariableTable vars;
        vars.count = 2;
        vars.entries[0] = {u"x", x.data()};
        vars.entries[1] = {u"y", y.data()};
        std::vector<u64> result(static_cast<std::size_t>(m) + 1);
        FormulaRequest req;
        req.text = c.formula;
        req.variables = &vars;
        req.result = result.data();
        const bool ok = evaluateFormula(&req);
        const std::string where =
            "x = " + real_text(x.data(), m) + ", y = " + real_text(y.data(), m);
        // Arguments and reference at four times the digits: a decimal
        // argument is not exact in binary, and next to 1 (acos, atanh,
        // logarithms) or next to a multiple of a half turn the error of its
        // binary form grows by up to the digits of the precision.
        const mpfr_prec_t bits = oracle_bits(4 * 19 * m, 256);
        Mpfr a(bits), b(bits), v(bits);
        to_mpfr(a, x.data(), m);
        to_mpfr(b, y.data(), m);
        reference(c, v, a, b);
        // Exact multiples of a right angle in degrees or gon give exact
        // results, which the reference misses by the error of its binary pi:
        // 0, or the pole of tan (error 10203).
        const bool ref_zero = mpfr_zero_p(v) || mpfr_get_exp(v) < -(bits / 2);
        const bool ref_pole = mpfr_number_p(v) && mpfr_get_exp(v) > bits / 2;
        if (!ok) {
            const bool pole = ref_pole && formulaError == FORMULA_ERR_OVERFLOW;
            if (!pole)
                ADD_FAILURE() << "error " << formulaError << " at " << formulaErrorPos << "; "
                              << where;
            clearFormulaError();
            return pole;
        }
        if (!mpfr_number_p(v)) return true;  // outside the domain
        if (ref_zero && real_is_zero(result.data())) return true;
        if (c.rounded && near_tie(v, 19 * m)) return true;
        EXPECT_TRUE(c.rounded ? real_is_rounded(result.data(), m, v)
                              : real_near(result.data(), m, v, 1.0))
            << where;
        return !HasFailure();
    }
};

TEST_F(OpsMpfr, WithinOneUnitOfTheLastDigit) {
    mp_num_type = MP_TYPE_REAL;
    for (const FnRow& c : rows()) {
        SCOPED_TRACE(text_to_utf8(c.formula));
        const i64 rounds = c.x.fixed ? 1 : test_iterations(c.rounded ? 150 : 24);
        for (i64 i = 0; i < rounds; ++i) {
            // Mostly short numbers, now and then a long one.
            i64 m = rng.chance(8) ? rng.range(20, 60) : rng.range(1, 6);
            if (c.words != 0) m = c.words;
            if (!run_once(c, m)) break;
        }
    }
}

}  // namespace
