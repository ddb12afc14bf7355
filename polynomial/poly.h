// Polynomials of degree at most 20 in one variable x whose coefficients are
// numbers of the current number type (rat, real or cplx) at the current word
// counts, and the arithmetic on them.
//
// A Poly owns 21 coefficient slots of the type and size that were current
// when it was made; slot k holds the coefficient of x^k. There is no stored
// degree. Every operation checks that its vectors still match the current
// type and size: a type other than rat, real and cplx raises library error 3,
// a vector made under other word counts application error 9000, and nothing
// is written.
//
// Sums, products and quotients of real and cplx coefficients are rounded to
// `digits` significant decimal digits at the end of each operation (rat
// values stay exact). Errors follow the application's discipline: the first
// error wins, and a failed operation leaves its outputs in an unspecified but
// well-formed state. Operations that compute fold a pending library error
// into the application error with raiseFromLibraryError(1001).
#pragma once

#include <initializer_list>
#include <vector>

#include "numlib/mp_types.h"
#include "textbuf/textbuf.h"

constexpr i32 POLY_MAX_DEGREE = 20;
constexpr i32 POLY_SLOTS = POLY_MAX_DEGREE + 1;

class Poly {
  public:
    // 21 zero slots of the current number type and word counts. With an
    // unknown current type the vector has no storage (and error 3 is raised).
    Poly();

    u64* slot(i32 k) {
        return data_.data() + static_cast<std::size_t>(k) * static_cast<std::size_t>(words_);
    }
    const u64* slot(i32 k) const {
        return data_.data() + static_cast<std::size_t>(k) * static_cast<std::size_t>(words_);
    }
    i32 type() const { return type_; }
    i32 slot_words() const { return words_; }

  private:
    i32 type_ = 0;
    i32 words_ = 0;
    std::vector<u64> data_;
};

// True when every vector matches the current type and size. Raises library
// error 3 for an unsupported current type, application error 9000 for a
// vector of another type or size.
bool poly_usable(std::initializer_list<const Poly*> polys);

// Zero test of one coefficient of the current type: real and cplx by their
// leading mantissa words, rat by its numerator. Other types: error 3, false.
bool poly_coef_is_zero(const u64* c);

// Every slot set to 0.
void poly_zero(Poly& p);
// dst = src, slot by slot. dst may be src.
void poly_copy(Poly& dst, const Poly& src);
// The highest k with a non-zero coefficient; -1 for the zero polynomial (and
// for an unusable vector).
i32 poly_degree(const Poly& p);

// Rounds every real or cplx coefficient half up to digits significant digits
// (digits < 0: library error 14); rat coefficients are left alone.
void poly_round(Poly& p, i32 digits);

// out = a + b, or a - b when subtract; out may be a or b.
void poly_add_sub(Poly& out, const Poly& a, const Poly& b, bool subtract, i32 digits);

// out = a * b. out must be neither a nor b (error 9000, nothing done). A term
// of degree above 20 raises 3302 with the insert "20" and leaves a partial
// product; a zero factor gives 0 whatever the other's degree.
void poly_mul(Poly& out, const Poly& a, const Poly& b, i32 digits);

// Long division: a = quot * b + rem with deg rem < deg b. quot must differ
// from a, b and rem, and rem from b (error 9000); rem may be a. b = 0 raises
// 1002 (quot 0, rem a).
void poly_divmod(Poly& quot, Poly& rem, const Poly& a, const Poly& b, i32 digits);

// out = a^e for e in 0..20 by repeated products: a^0 = 1 (also for a = 0),
// a^1 = a unchanged and unrounded. out may be a. An exponent outside 0..20
// raises 3303 with the inserts "P1(x)" and "20"; a product past degree 20
// raises 3302.
void poly_pow(Poly& out, const Poly& a, i64 e, i32 digits);

// The exponent held by the polynomial e: accepted when its coefficients of
// x^20 .. x^1 are zero and its constant is an integer 0..20 (then *out is it
// and the result true). Otherwise error 3303 with the inserts name and "20",
// *out = 0, false.
bool poly_exponent(i64* out, const Poly& e, const char16_t* name = u"P1(x)");

// Appends "a2*x^2 + a1*x + a0" (with `letter` for "a") for degree n 0..100;
// from degree 5 on, the terms of x^(n-2) .. x^2 are shown as "... + ". Any
// other n appends nothing. The caller closes the text with textbuf_finish().
void poly_term_list(TextBuf& buf, i32 n, char16_t letter);
