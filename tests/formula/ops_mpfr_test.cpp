// The transcendental functions and powers of the formula language against
// MPFR: random arguments at random precisions go in as variables, the
// evaluated result must lie within one unit of its last digit of the exact
// value. The degree and gon forms are checked against the radian function of
// the converted angle, so the conversion and the reduction by full turns are
// covered too.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "formula/formula.h"
#include "formula/formula_error.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"

namespace {

// v = f(a, b) at v's precision, from the arguments at that precision.
using Reference = std::function<void(mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr b)>;

struct Range {
    i64 exp_min, exp_max;
    bool negative = true;
};

struct FnCase {
    const char16_t* formula;  // in x (and y)
    Reference ref;
    Range x;
    Range y = {0, 0, false};
    i64 words = 0;  // 0: random
};

// Angle conversions of the references: x * pi / half_turn and back.
void to_radians(mpfr_ptr out, mpfr_srcptr x, long half_turn) {
    Mpfr pi(mpfr_get_prec(out));
    mpfr_const_pi(pi, MPFR_RNDN);
    mpfr_mul(out, x, pi, MPFR_RNDN);
    mpfr_div_ui(out, out, static_cast<unsigned long>(half_turn), MPFR_RNDN);
}
void from_radians(mpfr_ptr out, mpfr_srcptr x, long half_turn) {
    Mpfr pi(mpfr_get_prec(out));
    mpfr_const_pi(pi, MPFR_RNDN);
    mpfr_mul_ui(out, x, static_cast<unsigned long>(half_turn), MPFR_RNDN);
    mpfr_div(out, out, pi, MPFR_RNDN);
}

using MpfrFn = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

Reference plain(MpfrFn f) {
    return [f](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr) { f(v, a, MPFR_RNDN); };
}
Reference angle_in(MpfrFn f, long half_turn) {
    return [f, half_turn](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr) {
        to_radians(v, a, half_turn);
        f(v, v, MPFR_RNDN);
    };
}
Reference angle_out(MpfrFn f, long half_turn) {
    return [f, half_turn](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr) {
        f(v, a, MPFR_RNDN);
        from_radians(v, v, half_turn);
    };
}

const Range kAny = {-12, 3};
const Range kUnit = {-12, -1};  // |x| < 1
const Range kPositive = {-30, 30, false};
const Range kAtLeastOne = {0, 20, false};
const Range kDegrees = {-6, 7};
const Range kCoarse = {17, 40};

std::vector<FnCase> cases() {
    std::vector<FnCase> c = {
        {u"sqrt(x)", plain(mpfr_sqrt), kPositive},
        {u"cbrt(x)", plain(mpfr_cbrt), {-30, 30}},
        {u"ln(x)", plain(mpfr_log), kPositive},
        {u"log2(x)", plain(mpfr_log2), kPositive},
        {u"log10(x)", plain(mpfr_log10), kPositive},
        {u"exp(x)", plain(mpfr_exp), {-12, 2}},
        {u"sin(x)", plain(mpfr_sin), kAny},
        {u"cos(x)", plain(mpfr_cos), kAny},
        {u"tan(x)", plain(mpfr_tan), kAny},
        // 19-digit arguments whose last digit is as coarse as pi or coarser
        {u"sin(x)", plain(mpfr_sin), kCoarse, {0, 0, false}, 1},
        {u"cos(x)", plain(mpfr_cos), kCoarse, {0, 0, false}, 1},
        {u"tan(x)", plain(mpfr_tan), kCoarse, {0, 0, false}, 1},
        {u"asin(x)", plain(mpfr_asin), kUnit},
        {u"acos(x)", plain(mpfr_acos), kUnit},
        {u"atan(x)", plain(mpfr_atan), {-12, 12}},
        {u"sinh(x)", plain(mpfr_sinh), {-12, 2}},
        {u"cosh(x)", plain(mpfr_cosh), {-12, 2}},
        {u"tanh(x)", plain(mpfr_tanh), {-12, 2}},
        {u"asinh(x)", plain(mpfr_asinh), {-12, 12}},
        {u"acosh(x)", plain(mpfr_acosh), kAtLeastOne},
        {u"atanh(x)", plain(mpfr_atanh), kUnit},
        {u"sind(x)", angle_in(mpfr_sin, 180), kDegrees},
        {u"cosd(x)", angle_in(mpfr_cos, 180), kDegrees},
        {u"tand(x)", angle_in(mpfr_tan, 180), kDegrees},
        {u"sing(x)", angle_in(mpfr_sin, 200), kDegrees},
        {u"cosg(x)", angle_in(mpfr_cos, 200), kDegrees},
        {u"tang(x)", angle_in(mpfr_tan, 200), kDegrees},
        {u"asind(x)", angle_out(mpfr_asin, 180), kUnit},
        {u"acosd(x)", angle_out(mpfr_acos, 180), kUnit},
        {u"atand(x)", angle_out(mpfr_atan, 180), {-12, 12}},
        {u"asing(x)", angle_out(mpfr_asin, 200), kUnit},
        {u"acosg(x)", angle_out(mpfr_acos, 200), kUnit},
        {u"atang(x)", angle_out(mpfr_atan, 200), {-12, 12}},
    };
    // Powers, roots and logarithms to a base.
    c.push_back({u"x^y",
                 [](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr b) { mpfr_pow(v, a, b, MPFR_RNDN); },
                 {-6, 6, false},
                 {-3, 1}});
    c.push_back({u"10^x", plain(mpfr_exp10), {-12, 2}});
    c.push_back({u"2^x", plain(mpfr_exp2), {-12, 2}});
    c.push_back({u"root(y;x)",
                 [](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr b) {
                     Mpfr inv(mpfr_get_prec(v));
                     mpfr_ui_div(inv, 1, b, MPFR_RNDN);
                     mpfr_pow(v, a, inv, MPFR_RNDN);
                 },
                 kPositive,
                 {-2, 2, false}});
    c.push_back({u"logx(y;x)",
                 [](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr b) {
                     Mpfr lb(mpfr_get_prec(v));
                     mpfr_log(lb, b, MPFR_RNDN);
                     mpfr_log(v, a, MPFR_RNDN);
                     mpfr_div(v, v, lb, MPFR_RNDN);
                 },
                 kPositive,
                 {1, 5, false}});
    return c;
}

class OpsMpfr : public NumlibTest {
  protected:
    // A random m-word real with an exponent in r, never zero.
    std::vector<u64> argument(const Range& r, i64 m) {
        RandomRealOptions opt;
        opt.exp_min = r.exp_min;
        opt.exp_max = r.exp_max;
        opt.negative = r.negative;
        opt.zero_percent = 0;
        return random_real(rng, m, opt);
    }

    // Evaluates the case once at m words; false after a failure.
    bool run_once(const FnCase& c, i64 m) {
        mp_set_real_words(static_cast<i32>(m));
        const std::vector<u64> x = argument(c.x, m);
        const std::vector<u64> y = argument(c.y, m);
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
        // Arguments and reference at twice the digits: a decimal argument is
        // not exact in binary, and next to 1 (acos, atanh, logarithms) or
        // next to a multiple of a half turn the error of its binary form
        // grows by up to the digits of the precision.
        const mpfr_prec_t bits = oracle_bits(2 * 19 * m, 128);
        Mpfr a(bits), b(bits), v(bits);
        to_mpfr(a, x.data(), m);
        to_mpfr(b, y.data(), m);
        c.ref(v, a, b);
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
        const double ulps = ulps_from(result.data(), m, v);
        EXPECT_LE(std::abs(ulps), 1.0) << real_text(result.data(), m) << "; " << where;
        return std::abs(ulps) <= 1.0;
    }
};

TEST_F(OpsMpfr, WithinOneUnitOfTheLastDigit) {
    mp_num_type = MP_TYPE_REAL;
    const i64 rounds = test_iterations(24);
    for (const FnCase& c : cases()) {
        SCOPED_TRACE(
            std::string(c.formula, c.formula + std::char_traits<char16_t>::length(c.formula))
                .c_str());
        for (i64 i = 0; i < rounds; ++i) {
            // Mostly short numbers, now and then a long one.
            i64 m = rng.chance(8) ? rng.range(20, 60) : rng.range(1, 6);
            if (c.words != 0) m = c.words;
            if (!run_once(c, m)) break;
        }
    }
}

}  // namespace

namespace {

// Angles in degrees and gon next to the exact classes, where converting the
// whole angle to radians would cancel most digits.
struct HardAngle {
    const char16_t* formula;
    i32 words;
    const char* angle;  // the argument, exactly
    long half_turn;
    MpfrFn fn;
};

const HardAngle kHardAngles[] = {
    {u"sind(180-1e-50)", 3, "179.99999999999999999999999999999999999999999999999999", 180,
     mpfr_sin},
    {u"sind(-1e-50)", 3, "-1e-50", 180, mpfr_sin},
    {u"cosd(90+1e-40)", 3, "90.0000000000000000000000000000000000000001", 180, mpfr_cos},
    {u"tand(90-1e-40)", 3, "89.9999999999999999999999999999999999999999", 180, mpfr_tan},
    {u"tand(270+1e-40)", 3, "270.0000000000000000000000000000000000000001", 180, mpfr_tan},
    {u"cosg(300-1e-30)", 2, "299.999999999999999999999999999999", 200, mpfr_cos},
    {u"sing(1e30+100.5)", 2, "1000000000000000000000000000100.5", 200, mpfr_sin},
};

class OpsMpfrHard : public NumlibTest {};

TEST_F(OpsMpfrHard, AnglesNextToTheExactClasses) {
    mp_num_type = MP_TYPE_REAL;
    for (const HardAngle& h : kHardAngles) {
        mp_set_real_words(h.words);
        const i64 m = h.words;
        std::vector<u64> result(static_cast<std::size_t>(m) + 1);
        FormulaRequest req;
        req.text = h.formula;
        req.result = result.data();
        ASSERT_TRUE(evaluateFormula(&req)) << h.angle;
        Mpfr v(oracle_bits(4 * 19 * m, 256));
        mpfr_set_str(v, h.angle, 10, MPFR_RNDN);
        to_radians(v, v, h.half_turn);
        h.fn(v, v, MPFR_RNDN);
        EXPECT_LE(std::abs(ulps_from(result.data(), m, v)), 1.0)
            << h.angle << ": " << real_text(result.data(), m);
    }
}

}  // namespace
