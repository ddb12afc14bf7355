// Helpers shared by the elementary functions (not part of the public interface).
//
// The functions run at the current word count w = mp_real_words and aim at
// real_work_digits() correct digits. Newton iterations and reduced series run
// parts of their work at fewer words: RealPrecision switches the word count
// for a scope, and a value computed at w1 words is read at w2 > w1 words only
// after real_extend has cleared the words in between.
#pragma once

#include "numlib/real_impl.h"

// Digits the current computation must make correct.
inline i32 real_work_digits() {
    return 19 * mp_real_words - mp_guard_digits;
}

// The largest word count the constant table serves.
constexpr i32 REAL_FN_MAX_WORDS = MP_CONST_WORDS;
// The largest word count of the reductions that cancel an exponent's digits
// (real_ln_const serves ln 2 and ln 10 up to it).
constexpr i32 REAL_FN_LONG_WORDS = MP_CONST_WORDS + 2;

// Sets mp_real_words and mp_guard_digits for a scope and puts both back.
class RealPrecision {
  public:
    RealPrecision(i32 words, i32 guard_digits) : words_(mp_real_words), guard_(mp_guard_digits) {
        mp_real_words = words;
        mp_guard_digits = guard_digits;
    }
    ~RealPrecision() {
        mp_real_words = words_;
        mp_guard_digits = guard_;
    }
    RealPrecision(const RealPrecision&) = delete;
    RealPrecision& operator=(const RealPrecision&) = delete;

  private:
    i32 words_, guard_;
};

// Word count that holds digits correct digits with one word to spare, at most
// cap.
inline i32 real_words_for(i32 digits, i32 cap) {
    const i32 w = (digits + 18) / 19 + 1;
    return w < cap ? w : cap;
}

// Clears mantissa words from + 1 .. to, so that a value computed at from
// words reads correctly at to words.
void real_extend(u64* x, i32 from, i32 to);

// Temporaries of mp_real_words + 1 words; nullptr when the scratch area is
// exhausted (error 30 raised).
inline u64* real_take(ScratchMark& mark) {
    return mark.take(static_cast<std::size_t>(mp_real_words) + 1);
}

// Series stopping rule: another term is due while no error is pending, the
// term is non-zero and it still reaches the working precision of the sum.
inline bool real_series_more(const u64* sum, const u64* term) {
    return mp_err() == 0 && !real_is_zero(term) &&
           real_exp_of(sum) - real_exp_of(term) < real_work_digits() - 1;
}

// ---- rounded arithmetic at the current precision -------------------------------
// Each rounds half up with the spill of the underlying operation.

void real_add_r(u64* dst, const u64* a, const u64* b);
void real_sub_r(u64* dst, const u64* a, const u64* b);
void real_mul_r(u64* dst, const u64* a, const u64* b);
void real_mul_u64_r(u64* dst, const u64* a, u64 v);
void real_div_r(u64* dst, const u64* a, const u64* b);
void real_div_u64_r(u64* dst, const u64* a, u64 v);

// ---- hardware approximations ------------------------------------------------------

// x ~ mant * 10^exp with 1 <= |mant| < 10 (signed), from the top two words;
// zero gives {0, 0}.
struct RealApprox {
    double mant;
    i64 exp;
};
RealApprox real_approx(const u64* x);
// log10 |x| from the approximation (x != 0).
double real_approx_log10(const u64* x);
// x as a double when |x| is within the double range, else +-inf or +-0.
double real_approx_double(const u64* x);
// dst = v (finite, non-zero) to about 16 significant digits.
void real_from_double(u64* dst, double v);

// Digit targets of a Newton iteration that starts from start correct digits
// and reaches target: ascending in out[0 .. count - 1] with out[count - 1] =
// target, each at most twice its predecessor less a few digits. out holds 40.
i32 real_newton_levels(i32 target, i32 start, i32* out);

// ---- cores shared with the other elementary functions ---------------------------

// e^r - 1 for |r| below about 1.2, with relative accuracy at the current
// precision (also for tiny r). dst may equal r.
void real_expm1_core(u64* dst, const u64* r);
// ln(1 + t) for 1 + t within [0.3, 3.2], by the arithmetic-geometric mean
// at high precision, else by Newton's iteration on e^y - 1 at doubling
// precision; relative accuracy also for tiny t. dst may equal t.
void real_ln1p_core(u64* dst, const u64* t);
// The Newton iteration alone.
void real_ln1p_newton(u64* dst, const u64* t);
// ln 10 and ln 2 at the current words by the mean alone (ln(10^p) / p and
// ln(2^q) / q, no constant but pi/2), for the long values the mean needs.
void real_ln10_ln2_by_agm(u64* ln10, u64* ln2);
// The mean's part: false, leaving dst alone, where it does not apply (few
// words, or |t| below 10^-20 where the Newton iteration is the better way).
bool real_ln1p_agm(u64* dst, const u64* t);

// y^(1/k) for k = 2 or 3, where y is the mantissa of y (its header is not
// read) with exponent e, 0 <= e < k, through the binary integer root, rounded
// at the current words from exact digits; for short mantissas. dst may equal
// y. False after an error (scratch exhausted, a stop request).
bool real_root_binary(u64* dst, const u64* y, int k, int e);

// dst = (the top la words of a) * (the top lb words of b), rounded at the
// current words from the product's words down to two below them (short by
// at most lb units there); trailing zero words are skipped.
// For operands known to be short (Newton iterates of lower precision), where
// the full-length product would multiply zeros. dst may equal a or b.
void real_mul_short(u64* dst, const u64* a, i32 la, const u64* b, i32 lb);

// ln 10 (REAL_CONST_LN10) or ln 2 (REAL_CONST_LN2) at the current words, up to
// REAL_FN_LONG_WORDS: from the constant table within it, beyond it from
// values computed once on first use.
void real_ln_const(u64* dst, i32 idx);
