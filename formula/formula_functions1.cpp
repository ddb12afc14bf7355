// Functions of one argument. The real elementary functions run as guarded
// calls (one extra word, rounded once); their cplx forms accept only values
// with a zero imaginary part. Integer roots and logarithms of uint round down
// and set the inexact mark.
#include "formula/formula_error.h"
#include "formula/formula_ops.h"
#include "formula/formula_ops_impl.h"
#include "numlib/mp_scratch.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "numlib/uint.h"

using namespace fops;

namespace {

// fn on the value for real, on the real part for a real cplx value, error 3
// for uint and rat. g: exact digits the guard word must give.
void realOnly(u64* x, RealUnaryFn fn, i32 g = 2) {
    switch (type()) {
        case MP_TYPE_REAL:
            return real_guarded_unary(x, x, g, fn);
        case MP_TYPE_CPLX:
            if (!cplxRealOperands(x, x)) return;
            real_guarded_unary(x, x, g, fn);
            return real_zero(im(x), 0);
        default:
            return fail(x, MP_ERR_TYPE);
    }
}

void markInexact(bool exact) {
    if (!exact && mp_err() == 0) inexactFlag = true;
}

// The exact k-th root of a rat (k = 2 or 3), error 18 when there is none.
void ratRootSmall(u64* x, i64 k) {
    ScratchMark mark;
    u64* index = mark.take(2 * static_cast<std::size_t>(mp_int_words) + 1);
    if (!index) return rat_zero(x);
    rat_from_i64(index, k);
    rat_root(x, index, x);
}

void rootFn(u64* x, i64 k) {
    switch (type()) {
        case MP_TYPE_UINT:
            return markInexact(uint_root(x, k, x));
        case MP_TYPE_RAT:
            return ratRootSmall(x, k);
        default:
            return realOnly(x, k == 2 ? real_sqrt : real_cbrt);
    }
}

void logFn(u64* x, bool ten) {
    const RatLogFn floor_fn = ten ? uint_log10_floor : uint_log2_floor;
    switch (type()) {
        case MP_TYPE_UINT:
            return markInexact(floor_fn(x, x));
        case MP_TYPE_RAT:
            return rat_log_exact(x, x, floor_fn);
        default:
            return realOnly(x, ten ? real_log10 : real_log2);
    }
}

void factorial(u64* x) {
    switch (type()) {
        case MP_TYPE_UINT:
            return uint_factorial(x, x);
        case MP_TYPE_RAT:
            if (rat_sign(x) != 0 || !uint_is_one(rat_den(x))) return fail(x, MP_ERR_DOMAIN);
            uint_factorial(rat_num(x), rat_num(x));
            return;
        default:
            return realOnly(x, real_factorial, 19);
    }
}

// trunc (frac false) or frac of a rat: |num| div or mod den, sign kept.
void ratTruncFrac(u64* x, bool frac) {
    const int sign = rat_sign(x);
    if (frac) {
        uint_divmod(nullptr, rat_num(x), rat_num(x), rat_den(x));
    } else {
        uint_divmod(rat_num(x), nullptr, rat_num(x), rat_den(x));
        uint_set_u64(rat_den(x), 1);
    }
    x[0] = uint_is_zero(rat_num(x)) ? 0 : static_cast<u64>(sign);
    if (uint_is_zero(rat_num(x))) uint_set_u64(rat_den(x), 1);
}

// trunc, then one unit away from zero when |frac| >= 1/2.
void ratRound(u64* x) {
    ScratchMark mark;
    const std::size_t n = static_cast<std::size_t>(mp_int_words);
    u64* rem = mark.take(n);
    u64* half = mark.take(n);
    if (!half) return rat_zero(x);
    const int sign = rat_sign(x);
    uint_divmod(rat_num(x), rem, rat_num(x), rat_den(x));
    // rem >= den - rem  <=>  2 rem >= den, without doubling past n words.
    uint_sub(half, rat_den(x), rem);
    const bool up = uint_cmp(rem, half) >= 0 && !uint_is_zero(rem);
    uint_set_u64(rat_den(x), 1);
    if (up) uint_add_u64(rat_num(x), rat_num(x), 1);
    x[0] = uint_is_zero(rat_num(x)) ? 0 : static_cast<u64>(sign);
    if (mp_err() != 0) rat_zero(x);
}

// Rounds to as many significant digits as the value has integer digits;
// below 0.1 the result is 0 with the sign kept.
void realRoundInteger(u64* x) {
    if (real_is_zero(x)) return;
    const i64 e = real_exp_of(x);
    if (e < -1) return real_zero(x, real_sign(x));
    const i64 digits = 19 * static_cast<i64>(mp_real_words);
    real_round_digits(x, x, static_cast<i32>(e + 1 < digits ? e + 1 : digits));
}

// trunc (0), frac (1) or round (2).
void integerPart(u64* x, int which) {
    using RealPartFn = void (*)(u64*);
    static constexpr RealPartFn real_fns[] = {
        [](u64* v) { real_trunc(v, v); },
        [](u64* v) { real_frac(v, v); },
        realRoundInteger,
    };
    switch (type()) {
        case MP_TYPE_REAL:
            return real_fns[which](x);
        case MP_TYPE_CPLX:
            real_fns[which](x);
            return real_fns[which](im(x));
        case MP_TYPE_UINT:
            if (which == 1) uint_zero(x);
            return;
        case MP_TYPE_RAT:
            return which == 2 ? ratRound(x) : ratTruncFrac(x, which == 1);
    }
}

// arg, argd, argg, realp, imagp: cplx only.
void complexPart(u16 code, u64* x, i32 fnPos) {
    if (type() != MP_TYPE_CPLX) {
        raiseFormulaError(FORMULA_ERR_NEEDS_COMPLEX, fnPos);
        return setZero(x);
    }
    switch (code) {
        case FN_ARG:
            return cplxAngle(x, AngleUnit::Radians);
        case FN_ARGD:
            return cplxAngle(x, AngleUnit::Degrees);
        case FN_ARGG:
            return cplxAngle(x, AngleUnit::Gon);
        case FN_IMAGP:
            real_copy(x, im(x));
            break;
    }
    real_zero(im(x), 0);
}

constexpr RealUnaryFn HYPERBOLIC[] = {real_sinh,  real_cosh,  real_tanh,
                                      real_asinh, real_acosh, real_atanh};

AngleUnit unitOf(u16 firstOfUnit) {
    if (firstOfUnit == FN_SIND || firstOfUnit == FN_ASIND) return AngleUnit::Degrees;
    if (firstOfUnit == FN_SING || firstOfUnit == FN_ASING) return AngleUnit::Gon;
    return AngleUnit::Radians;
}

// The trigonometric codes come in groups of three: 207 sin cos tan, 210 asin
// acos atan, then the same for degrees (213, 216) and gon (219, 222).
void trigonometric(u16 code, u64* x, i32 fnPos) {
    const int group = (code - FN_SIN) / 3;
    const int which = (code - FN_SIN) % 3;
    const u16 first = static_cast<u16>(FN_SIN + 3 * group);
    if (type() == MP_TYPE_UINT || type() == MP_TYPE_RAT) return fail(x, MP_ERR_TYPE);
    if (group % 2 == 0) return trig(x, which, unitOf(first), fnPos);
    inverseTrig(x, which, unitOf(first));
}

}  // namespace

void applyFunction1(u16 code, u64* arg, i32 fnPos) {
    if (!knownType()) return;
    switch (code) {
        case FN_SQRT:
            return rootFn(arg, 2);
        case FN_CBRT:
            return rootFn(arg, 3);
        case FN_LN:
            return realOnly(arg, real_ln);
        case FN_EXP:
            return realOnly(arg, real_exp);
        case FN_LOG2:
            return logFn(arg, false);
        case FN_LOG10:
            return logFn(arg, true);
        case FN_ABS:
            return num_abs(arg, arg);
        case FN_FACT:
            return factorial(arg);
        case FN_TRUNC:
            return integerPart(arg, 0);
        case FN_FRAC:
            return integerPart(arg, 1);
        case FN_ROUND:
            return integerPart(arg, 2);
        case FN_ARG:
        case FN_ARGD:
        case FN_ARGG:
        case FN_REALP:
        case FN_IMAGP:
            return complexPart(code, arg, fnPos);
    }
    if (code >= FN_SIN && code < FN_SINH) return trigonometric(code, arg, fnPos);
    if (code >= FN_SINH && code <= FN_ATANH) return realOnly(arg, HYPERBOLIC[code - FN_SINH]);
    raiseFormulaError(FORMULA_ERR_INTERNAL, 0);
}
