// Trigonometric functions in radians, degrees and gon. An angle that is a
// multiple of a quarter turn gets its exact value (sin 180° = 0, cos 90° = 0)
// and tan at an odd quarter turn is a pole, instead of the tiny or huge
// rounded values the series would give. Degree and gon angles are converted
// to radians inside the guarded call, so the conversion's rounding stays in
// the guard word.
#include "formula/formula_error.h"
#include "formula/formula_ops.h"
#include "formula/formula_ops_impl.h"
#include "numlib/mp_scratch.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"

namespace fops {
namespace {

using RealBinaryBody = void (*)(u64* dst, const u64* a, const u64* b);

constexpr int ANGLE_OTHER = 0;
constexpr int ANGLE_ODD_QUARTER = 1;  // an odd multiple of a quarter turn
constexpr int ANGLE_HALF = 2;         // a multiple of a half turn

// Sets mp_real_words for the lifetime of the object.
class RealWords {
  public:
    explicit RealWords(i32 m) : saved_(mp_real_words) { mp_real_words = m; }
    ~RealWords() { mp_real_words = saved_; }
    RealWords(const RealWords&) = delete;
    RealWords& operator=(const RealWords&) = delete;

  private:
    i32 saved_;
};

// Degrees and gon: x is an exact multiple of 180 (200) or of 90 (100). The
// remainders of real_divmod are exact at any exponent.
int classify_units(const u64* x, u64 right_angle) {
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(mp_real_words) + 1;
    u64* d = mark.take(w);
    u64* r = mark.take(w);
    if (!r) return ANGLE_OTHER;
    real_from_u64(d, 2 * right_angle);
    real_divmod(nullptr, r, x, d, 0);
    if (real_is_zero(r)) return ANGLE_HALF;
    real_from_u64(d, right_angle);
    real_divmod(nullptr, r, x, d, 0);
    return real_is_zero(r) ? ANGLE_ODD_QUARTER : ANGLE_OTHER;
}

// Radians: no real value is a multiple of the irrational pi, so the classes
// are those of the pi of the current precision, p: x is in a class when it
// equals k p / 2 rounded to the precision for an integer k, which is what
// pi, 2*pi, pi/2, 3*pi/2 and k*pi give when typed. h = p / 2 is exact at one
// word more, and k can only be the quotient |x| / h truncated or one more.
int classify_radians(const u64* x) {
    const i32 m = mp_real_words;
    ScratchMark mark;
    const std::size_t w = static_cast<std::size_t>(m) + 2;
    u64* p = mark.take(w);
    u64* h = mark.take(w);
    u64* a = mark.take(w);
    u64* t = mark.take(w);
    u64* k_h = mark.take(w);
    if (!k_h) return ANGLE_OTHER;
    real_special(p, 100);
    real_resize(h, m + 1, p, m);
    real_resize(a, m + 1, x, m);
    a[0] &= ~u64{1};
    u64 q = 0;
    {
        RealWords wide(m + 1);
        real_div_u64(h, h, 2);
        real_divmod(t, nullptr, a, h, 0);
        if (!real_to_u64(&q, t, REAL_CONV_QUIET) || q == ~u64{0}) return ANGLE_OTHER;
    }
    for (u64 k = q; k <= q + 1; ++k) {
        {
            RealWords wide(m + 1);
            real_mul_u64(k_h, h, k);
        }
        real_resize(t, m, k_h, m + 1);
        if (real_cmp_abs(t, x) == 0) return (k % 2 == 0) ? ANGLE_HALF : ANGLE_ODD_QUARTER;
    }
    return ANGLE_OTHER;
}

// Degrees and gon: x becomes x mod a full turn, exactly. The conversion to
// radians then starts from an angle below 400, so a large angle loses
// nothing to it and is not refused by the radian reduction.
void reduce_full_turn(u64* x, AngleUnit unit) {
    if (unit == AngleUnit::Radians) return;
    ScratchMark mark;
    u64* turn = mark.take(static_cast<std::size_t>(mp_real_words) + 1);
    if (!turn) return;
    real_from_u64(turn, unit == AngleUnit::Degrees ? 360 : 400);
    real_divmod(nullptr, x, x, turn, 0);
}

int classify(const u64* x, AngleUnit unit) {
    if (real_is_zero(x)) return ANGLE_HALF;
    MpIsolate isolate;  // a probe that fails only leaves the angle unclassified
    int angle = ANGLE_OTHER;
    switch (unit) {
        case AngleUnit::Radians:
            angle = classify_radians(x);
            break;
        case AngleUnit::Degrees:
            angle = classify_units(x, 90);
            break;
        case AngleUnit::Gon:
            angle = classify_units(x, 100);
            break;
    }
    if (isolate.inner() != 0) {
        isolate.clear_inner();
        return ANGLE_OTHER;
    }
    return angle;
}

// Bodies of the guarded calls, [unit][sin, cos, tan].
constexpr RealUnaryFn TRIG[3][3] = {
    {real_sin, real_cos, real_tan},
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
     }},
};

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

int index_of(AngleUnit unit) {
    return static_cast<int>(unit);
}

}  // namespace

void trig(u64* x, int which, AngleUnit unit, i32 fn_pos) {
    const bool complex = type() == MP_TYPE_CPLX;
    if (complex && !cplx_real_operands(x, x)) return;
    reduce_full_turn(x, unit);
    const int angle = classify(x, unit);
    const bool zero =
        (angle == ANGLE_HALF && which != 1) || (angle == ANGLE_ODD_QUARTER && which == 1);
    if (angle == ANGLE_ODD_QUARTER && which == 2) {
        raiseFormulaError(FORMULA_ERR_OVERFLOW, fn_pos);
        real_zero(x, 0);
    } else if (zero) {
        real_zero(x, 0);
    } else {
        real_guarded_unary(x, x, 2, TRIG[index_of(unit)][which]);
    }
    if (complex) real_zero(im(x), 0);
}

void inverse_trig(u64* x, int which, AngleUnit unit) {
    const bool complex = type() == MP_TYPE_CPLX;
    if (complex && !cplx_real_operands(x, x)) return;
    real_guarded_unary(x, x, 2, INVERSE[index_of(unit)][which]);
    if (complex) real_zero(im(x), 0);
}

void cplx_angle(u64* z, AngleUnit unit) {
    // A negated real value carries an imaginary -0; its angle is still the
    // principal one, pi for a negative real, not -pi.
    if (real_is_zero(im(z))) real_zero(im(z), 0);
    real_guarded_binary(z, im(z), z, 2, ANGLE[index_of(unit)]);
    real_zero(im(z), 0);
}

}  // namespace fops
