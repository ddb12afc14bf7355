// The operators and functions of the formula language against MPFR, one table
// row per formula: random arguments at random precisions go in as the
// variables x and y, and the result must lie within one unit of its last
// digit of the exact value (rows marked rounded: be the exact value rounded
// once). The degree and gon forms are checked against the radian function
// of the converted angle, so the conversion and the reduction by full turns
// are covered too. Products and quotients by an integer that fits a word
// take a word routine: in real against MPFR, in the other types against the
// type's general routine (or MPC).
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "formula/formula.h"
#include "formula/formula_error.h"
#include "formula/formula_ops.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"
#include "support/mpc_oracle.h"
#include "support/numlib_fixture.h"
#include "support/rat_harness.h"

namespace {

// v = f(a, b) at v's precision, from the arguments at that precision.
using Reference = std::function<void(mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr b)>;

struct Arg {
    i64 exp_min, exp_max;
    bool negative = true;
    bool word = false;            // an integer of one word (never 0)
    const char* fixed = nullptr;  // this value, exactly
};

struct FnRow {
    const char16_t* formula;  // in x (and y)
    Reference ref;
    Arg x;
    Arg y = {0, 0, false};
    i64 words = 0;         // 0: random
    bool rounded = false;  // rounded once, not only within one unit
};

// Angle conversions of the references: x * pi / half_turn and back.
void to_radians(mpfr_ptr out, mpfr_srcptr x, long half_turn) {
    Mpfr pi(mpfr_get_prec(out));
    mpfr_const_pi(pi, MPFR_RNDN);
    mpfr_mul(out, x, pi, MPFR_RNDN);
    mpfr_div_ui(out, out, static_cast<unsigned long>(half_turn), MPFR_RNDN);
}

using MpfrFn = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using MpfrFn2 = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

Reference plain(MpfrFn f) {
    return [f](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr) { f(v, a, MPFR_RNDN); };
}
Reference binary(MpfrFn2 f) {
    return [f](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr b) { f(v, a, b, MPFR_RNDN); };
}
Reference angle_in(MpfrFn f, long half_turn) {
    return [f, half_turn](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr) {
        to_radians(v, a, half_turn);
        f(v, v, MPFR_RNDN);
    };
}
Reference angle_out(MpfrFn f, long half_turn) {
    return [f, half_turn](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr) {
        Mpfr pi(mpfr_get_prec(v));
        mpfr_const_pi(pi, MPFR_RNDN);
        f(v, a, MPFR_RNDN);
        mpfr_mul_ui(v, v, static_cast<unsigned long>(half_turn), MPFR_RNDN);
        mpfr_div(v, v, pi, MPFR_RNDN);
    };
}

const Arg kAny = {-12, 3};
const Arg kUnit = {-12, -1};  // |x| < 1
const Arg kPositive = {-30, 30, false};
const Arg kAtLeastOne = {0, 20, false};
const Arg kDegrees = {-6, 7};
const Arg kCoarse = {17, 40};  // 19 digits whose last is as coarse as pi or coarser
const Arg kWord = {0, 0, true, true};
const Arg kReal = {-40, 40};

// Angles in degrees and gon next to the exact classes, where converting the
// whole angle to radians would cancel most digits.
Arg exactly(const char* value) {
    return {0, 0, true, false, value};
}

std::vector<FnRow> rows() {
    return {
        {u"sqrt(x)", plain(mpfr_sqrt), kPositive},
        {u"cbrt(x)", plain(mpfr_cbrt), {-30, 30}},
        {u"ln(x)", plain(mpfr_log), kPositive},
        {u"log2(x)", plain(mpfr_log2), kPositive},
        {u"log10(x)", plain(mpfr_log10), kPositive},
        {u"exp(x)", plain(mpfr_exp), {-12, 2}},
        {u"sin(x)", plain(mpfr_sin), kAny},
        {u"cos(x)", plain(mpfr_cos), kAny},
        {u"tan(x)", plain(mpfr_tan), kAny},
        {u"sin(x)", plain(mpfr_sin), kCoarse, {}, 1},
        {u"cos(x)", plain(mpfr_cos), kCoarse, {}, 1},
        {u"tan(x)", plain(mpfr_tan), kCoarse, {}, 1},
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
        {u"sind(x)",
         angle_in(mpfr_sin, 180),
         exactly("179.99999999999999999999999999999999999999999999999999"),
         {},
         3},
        {u"sind(x)", angle_in(mpfr_sin, 180), exactly("-1e-50"), {}, 3},
        {u"cosd(x)",
         angle_in(mpfr_cos, 180),
         exactly("90.0000000000000000000000000000000000000001"),
         {},
         3},
        {u"tand(x)",
         angle_in(mpfr_tan, 180),
         exactly("89.9999999999999999999999999999999999999999"),
         {},
         3},
        {u"tand(x)",
         angle_in(mpfr_tan, 180),
         exactly("270.0000000000000000000000000000000000000001"),
         {},
         3},
        {u"cosg(x)", angle_in(mpfr_cos, 200), exactly("299.999999999999999999999999999999"), {}, 2},
        {u"sing(x)", angle_in(mpfr_sin, 200), exactly("1000000000000000000000000000100.5"), {}, 2},
        {u"x^y", binary(mpfr_pow), {-6, 6, false}, {-3, 1}},
        {u"10^x", plain(mpfr_exp10), {-12, 2}},
        {u"2^x", plain(mpfr_exp2), {-12, 2}},
        {u"root(y;x)",
         [](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr b) {
             Mpfr inv(mpfr_get_prec(v));
             mpfr_ui_div(inv, 1, b, MPFR_RNDN);
             mpfr_pow(v, a, inv, MPFR_RNDN);
         },
         kPositive,
         {-2, 2, false}},
        {u"logx(y;x)",
         [](mpfr_ptr v, mpfr_srcptr a, mpfr_srcptr b) {
             Mpfr lb(mpfr_get_prec(v));
             mpfr_log(lb, b, MPFR_RNDN);
             mpfr_log(v, a, MPFR_RNDN);
             mpfr_div(v, v, lb, MPFR_RNDN);
         },
         kPositive,
         {1, 5, false}},
        {u"x*y", binary(mpfr_mul), kReal, kReal, 0, true},
        {u"x/y", binary(mpfr_div), kReal, kReal, 0, true},
        {u"x*y", binary(mpfr_mul), kReal, kWord, 0, true},
        {u"y*x", binary(mpfr_mul), kReal, kWord, 0, true},
        {u"x/y", binary(mpfr_div), kReal, kWord, 0, true},
    };
}

class OpsMpfr : public NumlibTest {
  protected:
    // A word of varied size: small, near 10^19 (two decimal words), near 2^64.
    u64 random_word() {
        switch (rng.range(0, 3)) {
            case 0:
                return static_cast<u64>(rng.range(1, 12));
            case 1:
                return REAL_BASE - 1 + static_cast<u64>(rng.range(0, 2));
            case 2:
                return ~u64{0} - static_cast<u64>(rng.range(0, 3));
            default:
                return (rng.word() >> rng.range(0, 63)) | 1;
        }
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
            RandomRealOptions opt;
            opt.exp_min = r.exp_min;
            opt.exp_max = r.exp_max;
            opt.negative = r.negative;
            opt.zero_percent = 0;
            random_real(rng, x.data(), m, opt);
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
        if (c.rounded) {
            if (near_tie(v, 19 * m)) return true;
            EXPECT_TRUE(real_is_rounded(result.data(), m, v)) << where;
            return !HasFailure();
        }
        const double ulps = ulps_from(result.data(), m, v);
        EXPECT_LE(std::abs(ulps), 1.0) << real_text(result.data(), m) << "; " << where;
        return std::abs(ulps) <= 1.0;
    }
};

TEST_F(OpsMpfr, WithinOneUnitOfTheLastDigit) {
    mp_num_type = MP_TYPE_REAL;
    for (const FnRow& c : rows()) {
        SCOPED_TRACE(
            std::string(c.formula, c.formula + std::char_traits<char16_t>::length(c.formula))
                .c_str());
        const i64 rounds = c.x.fixed ? 1 : test_iterations(c.rounded ? 150 : 24);
        for (i64 i = 0; i < rounds; ++i) {
            // Mostly short numbers, now and then a long one.
            i64 m = rng.chance(8) ? rng.range(20, 60) : rng.range(1, 6);
            if (c.words != 0) m = c.words;
            if (!run_once(c, m)) break;
        }
    }
}

// x * w, w * x and x / w for a word w of either sign in cplx, uint and rat:
// the general routine's result and error (cplx: within one unit of MPC, as
// the word routines round each part once).
TEST_F(OpsMpfr, WordOperandsGiveTheGeneralResult) {
    constexpr u16 MUL = 602, DIV = 603;
    for (const i32 type : {MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT}) {
        mp_num_type = type;
        for (i64 i = 0; i < test_iterations(600); ++i) {
            const i64 m = rng.range(1, 12), n = rng.range(1, 6);
            mp_set_real_words(static_cast<i32>(m));
            mp_set_int_words(static_cast<i32>(n));
            u64 v = rng.chance(5) ? 0 : random_word();
            if (m == 1 && v >= REAL_BASE) v -= v % 10;
            std::vector<u64> a, w;
            if (type == MP_TYPE_CPLX) {
                a = random_cplx(rng, m);
                if (rng.chance(50)) real_zero(cplx_im_of(a.data(), static_cast<i32>(m)), 0);
                w.assign(a.size(), 0);
                real_from_u64(w.data(), v);
                if (rng.chance(50)) real_negate(w.data());
            } else if (type == MP_TYPE_UINT) {
                a.resize(static_cast<std::size_t>(n));
                w = a;
                rng.fill(a.data(), n, rng.range(1, n));
                uint_set_u64(w.data(), v);
            } else {
                a = random_rat(rng, n);
                w.assign(a.size(), 0);
                rat_from_u64(w.data(), v);
                if (v != 0 && rng.chance(50)) w[0] = 1;
            }
            for (int form = 0; form < (type == MP_TYPE_UINT ? 2 : 3); ++form) {
                const u16 op = form == 2 ? DIV : MUL;
                std::vector<u64> fast = form == 1 ? w : a, slow(a.size());
                applyOperator(op, fast.data(), form == 1 ? a.data() : w.data());
                const i32 fast_error = mp_error.exchange(0);
                if (type == MP_TYPE_CPLX)
                    (op == MUL ? cplx_mul : cplx_div)(slow.data(), a.data(), w.data());
                else if (type == MP_TYPE_UINT)
                    uint_mul(slow.data(), a.data(), w.data());
                else
                    rat_mul_div(slow.data(), a.data(), w.data(), op == DIV);
                const i32 slow_error = mp_error.exchange(0);
                SCOPED_TRACE(testing::Message() << "type " << type << " form " << form << " v " << v
                                                << " m " << m << " n " << n);
                ASSERT_EQ(fast_error, slow_error);
                if (fast_error != 0) continue;  // the evaluator drops the value
                if (type != MP_TYPE_CPLX) {
                    ASSERT_EQ(fast, slow);
                    continue;
                }
                Mpc va(cplx_ref_bits(m)), vw(cplx_ref_bits(m)), want(cplx_ref_bits(m));
                to_mpc(va, a.data(), m);
                to_mpc(vw, w.data(), m);
                (op == MUL ? mpc_mul : mpc_div)(want, va, vw, MPC_RNDNN);
                ASSERT_TRUE(check_cplx_result(fast.data(), m, want));
            }
        }
    }
}

}  // namespace
