// Trigonometric functions in radians, degrees and gon. An angle that is a
// multiple of a quarter turn gets its exact value (sin 180° = 0, cos 90° = 0)
// and tan at an odd quarter turn is a pole, instead of the tiny or huge
// rounded values the series would give. Degree and gon angles are reduced
// exactly before only the small remainder is converted to radians, inside
// the guarded call, so the conversion's rounding stays in the guard word.
#include "formula/formula_error.h"
#include "formula/formula_ops.h"
#include "formula/formula_ops_impl.h"
#include "numlib/mp_scratch.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "numlib/words_scope.h"

namespace fops {
namespace {

using RealBinaryBody = void (*)(u64* dst, const u64* a, const u64* b);

constexpr int ANGLE_OTHER = 0;
constexpr int ANGLE_ODD_QUARTER = 1;  // an odd multiple of a quarter turn
constexpr int ANGLE_HALF = 2;         // a multiple of a half turn

// Radians: no real value is a multiple of the irrational pi, so the classes
// are those of the pi of the current precision, p: x is in a class when it
// equals k p / 2 rounded to the precision for an integer k, which is what
// pi, 2*pi, pi/2, 3*pi/2 and k*pi give when typed. h = p / 2 is exact at one
// word more, and k can only be the quotient |x| / h truncated or one more.
// Only an x whose last digit is below 10^-9 (so below 10^-9 h) is
// classified: with a coarser last digit the rounded multiples of h would
// catch ordinary arguments (at 19 digits, two of three integers near 10^18
// equal some rounded k h, and every number from 10^19 on).
int classifyRadians(const u64* x) {
    const i32 m = mp_real_words;
    if (real_exp_of(x) - 19 * i64{m} + 1 > -10) return ANGLE_OTHER;
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(m) + 2;
    u64* p = mark.take(w);
    u64* h = mark.take(w);
    u64* a = mark.take(w);
    u64* t = mark.take(w);
    u64* kH = mark.take(w);
    if (!kH) return ANGLE_OTHER;
    real_special(p, 100);
    real_resize(h, m + 1, p, m);
    real_resize(a, m + 1, x, m);
    a[0] &= ~u64{1};
    u64 q = 0;
    {
        RealWordsScope wide(m + 1);
        real_div_u64(h, h, 2);
        real_divmod(t, nullptr, a, h, 0);
        if (!real_to_u64(&q, t, REAL_CONV_QUIET) || q == ~u64{0}) return ANGLE_OTHER;
    }
    for (u64 k = q; k <= q + 1; ++k) {
        {
            RealWordsScope wide(m + 1);
            real_mul_u64(kH, h, k);
        }
        real_resize(t, m, kH, m + 1);
        if (real_cmp_abs(t, x) == 0) return (k % 2 == 0) ? ANGLE_HALF : ANGLE_ODD_QUARTER;
    }
    return ANGLE_OTHER;
}

int classify(const u64* x) {
    if (real_is_zero(x)) return ANGLE_HALF;
    MpIsolate isolate;  // a probe that fails only leaves the angle unclassified
    const int angle = classifyRadians(x);
    if (isolate.inner() != 0) {
        isolate.clear_inner();
        return ANGLE_OTHER;
    }
    return angle;
}

// Bodies of the guarded calls for an angle of at most half a right angle in
// degrees or gon, [gon][sin, cos, tan, cot].
constexpr RealUnaryFn UNIT_TRIG[2][4] = {
    {[](u64* d, const u64* a) {
         real_deg_to_rad(d, a);
         real_sin(d, d);
     },
     [](u64* d, const u64* a) {
         real_deg_to_rad(d, a);
         real_cos(d, d);
     },
     [](u64* d, const u64* a) {
         real_deg_to_rad(d, a);
         real_tan(d, d);
     },
     [](u64* d, const u64* a) {
         real_deg_to_rad(d, a);
         real_tan(d, d);
         real_recip(d, d);
     }},
    {[](u64* d, const u64* a) {
         real_grad_to_rad(d, a);
         real_sin(d, d);
     },
     [](u64* d, const u64* a) {
         real_grad_to_rad(d, a);
         real_cos(d, d);
     },
     [](u64* d, const u64* a) {
         real_grad_to_rad(d, a);
         real_tan(d, d);
     },
     [](u64* d, const u64* a) {
         real_grad_to_rad(d, a);
         real_tan(d, d);
         real_recip(d, d);
     }},
};

// The quadrant rules: with the angle k right angles plus s, [which][k] is
// the function of s (0 sin, 1 cos, 2 tan, 3 cot) and whether it is negated.
struct QuadrantRule {
    int fn;
    bool negate;
};
constexpr QuadrantRule QUADRANT[3][4] = {
    {{0, false}, {1, false}, {0, true}, {1, true}},  // sin
    {{1, false}, {0, true}, {1, true}, {0, false}},  // cos
    {{2, false}, {3, true}, {2, false}, {3, true}},  // tan
};

// Degrees and gon: the angle is reduced exactly, first by full turns, then
// to k right angles plus s with |s| at most half a right angle, and the
// function of s is taken from the quadrant rules. Only s is converted to
// radians, so an angle next to a multiple of a half turn keeps all its
// digits (sin of 180 - 10^-30 degrees is about 1.7 10^-32, to the last
// digit), and a multiple of a right angle gives s = 0: the exact values, and
// the pole of tan.
void trigUnits(u64* x, int which, AngleUnit unit, i32 fnPos) {
    const u64 right = unit == AngleUnit::Degrees ? 90 : 100;
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* d = mark.take(w);
    u64* q = mark.take(w);
    if (!q) return real_zero(x, 0);
    real_from_u64(d, 4 * right);
    real_divmod(nullptr, x, x, d, 0);
    const bool negative = real_sign(x) != 0 && !real_is_zero(x);
    x[0] &= ~u64{1};
    real_from_u64(d, right);
    real_divmod(q, x, x, d, 0);  // the angle is q right angles plus x
    u64 k = 0;
    real_to_u64(&k, q, REAL_CONV_QUIET);
    real_from_u64(q, right / 2);
    if (real_cmp(x, q) > 0) {
        realAddRounded(x, x, d, 1);  // exact: both below 100
        ++k;
    }
    if (mp_err() != 0) return real_zero(x, 0);
    const QuadrantRule rule = QUADRANT[which][k % 4];
    if (rule.fn == 3 && real_is_zero(x)) {
        raiseFormulaErrorCause(FORMULA_ERR_OVERFLOW, fnPos, MP_ERR_DOMAIN);  // a pole of tan
        return real_zero(x, 0);
    }
    real_guarded_unary(x, x, 2, UNIT_TRIG[unit == AngleUnit::Gon ? 1 : 0][rule.fn]);
    const bool odd = which != 1 && negative;  // sin and tan are odd functions
    if (rule.negate != odd && !real_is_zero(x)) real_negate(x);
}

constexpr RealUnaryFn RADIAN_TRIG[3] = {real_sin, real_cos, real_tan};

// Radians: the library's reduction, and the classes of the precision's pi.
void trigRadians(u64* x, int which, i32 fnPos) {
    const int angle = classify(x);
    const bool zero =
        (angle == ANGLE_HALF && which != 1) || (angle == ANGLE_ODD_QUARTER && which == 1);
    if (angle == ANGLE_ODD_QUARTER && which == 2) {
        raiseFormulaErrorCause(FORMULA_ERR_OVERFLOW, fnPos, MP_ERR_DOMAIN);  // a pole of tan
        real_zero(x, 0);
    } else if (zero) {
        real_zero(x, 0);
    } else {
        real_guarded_unary(x, x, 2, RADIAN_TRIG[which]);
    }
}

// [unit][asin, acos, atan]
constexpr RealUnaryFn INVERSE[3][3] = {
    {real_asin, real_acos, real_atan},
    {[](u64* d, const u64* a) {
         real_asin(d, a);
         real_rad_to_deg(d, d);
     },
     [](u64* d, const u64* a) {
         real_acos(d, a);
         real_rad_to_deg(d, d);
     },
     [](u64* d, const u64* a) {
         real_atan(d, a);
         real_rad_to_deg(d, d);
     }},
    {[](u64* d, const u64* a) {
         real_asin(d, a);
         real_rad_to_grad(d, d);
     },
     [](u64* d, const u64* a) {
         real_acos(d, a);
         real_rad_to_grad(d, d);
     },
     [](u64* d, const u64* a) {
         real_atan(d, a);
         real_rad_to_grad(d, d);
     }},
};

// [unit] the argument of the point (x, y), called as (dst, y, x).
constexpr RealBinaryBody ANGLE[3] = {
    real_atan2,
    [](u64* d, const u64* y, const u64* x) {
        real_atan2(d, y, x);
        real_rad_to_deg(d, d);
    },
    [](u64* d, const u64* y, const u64* x) {
        real_atan2(d, y, x);
        real_rad_to_grad(d, d);
    },
};

int indexOf(AngleUnit unit) {
    return static_cast<int>(unit);
}

}  // namespace

void trig(u64* x, int which, AngleUnit unit, i32 fnPos) {
    const bool complex = type() == MP_TYPE_CPLX;
    if (complex && !cplxRealOperands(x, x)) return;
    if (unit == AngleUnit::Radians)
        trigRadians(x, which, fnPos);
    else
        trigUnits(x, which, unit, fnPos);
    if (complex) real_zero(im(x), 0);
}

void inverseTrig(u64* x, int which, AngleUnit unit) {
    const bool complex = type() == MP_TYPE_CPLX;
    if (complex && !cplxRealOperands(x, x)) return;
    real_guarded_unary(x, x, 2, INVERSE[indexOf(unit)][which]);
    if (complex) real_zero(im(x), 0);
}

void cplxAngle(u64* z, AngleUnit unit) {
    // A negated real value carries an imaginary -0; its angle is still the
    // principal one, pi for a negative real, not -pi.
    if (real_is_zero(im(z))) real_zero(im(z), 0);
    real_guarded_binary(z, im(z), z, 2, ANGLE[indexOf(unit)]);
    real_zero(im(z), 0);
}

}  // namespace fops
