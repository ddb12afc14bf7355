// Fraction-free elimination of exact systems.
#include "linear/linear_exact.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/rat.h"
#include "numlib/uint.h"
#include "numlib/words_scope.h"

namespace {

// A signed integer of W = mp_int_words words: word 0 holds the sign (1 =
// negative, never for zero), words 1..W the magnitude.
u64* mag(u64* e) {
    return e + 1;
}
const u64* mag(const u64* e) {
    return e + 1;
}
bool negative(const u64* e) {
    return e[0] != 0;
}
void set_sign(u64* e, bool neg) {
    e[0] = neg && !uint_is_zero(mag(e)) ? 1 : 0;
}

// dst = a * b; dst may be an operand.
void mul(u64* dst, const u64* a, const u64* b) {
    const bool neg = negative(a) != negative(b);
    uint_mul(mag(dst), mag(a), mag(b));
    set_sign(dst, neg);
}

// dst = a - b; dst may be an operand.
void sub(u64* dst, const u64* a, const u64* b) {
    const bool na = negative(a), nb = !negative(b);
    if (na == nb) {
        uint_add(mag(dst), mag(a), mag(b));
        set_sign(dst, na);
    } else if (uint_cmp(mag(a), mag(b)) >= 0) {
        uint_sub(mag(dst), mag(a), mag(b));
        set_sign(dst, na);
    } else {
        uint_sub(mag(dst), mag(b), mag(a));
        set_sign(dst, nb);
    }
}

// dst = a / b, which must be exact: a remainder means the elimination went
// wrong, which is an internal error rather than a wrong result.
void div_exact(u64* dst, const u64* a, const u64* b) {
    const bool neg = negative(a) != negative(b);
    if (!uint_div_exact(mag(dst), mag(a), mag(b))) mp_raise(MP_ERR_INTERNAL);
    set_sign(dst, neg);
}

bool failed() {
    return mp_err() != 0;
}

i32 bits_of(const u64* a, i32 words) {
    return uint_bit_length(words, a);
}

class FractionFree {
  public:
    FractionFree(linear_system& sys, linear_solution& sol) : sys_(sys), sol_(sol), n_(sys.n) {}

    // The word count the integers need, or 0 when they would be too long.
    i32 words_needed();
    void solve(i32 words);

  private:
    u64* at(i64 r, i64 c) { return m_ + (r * (n_ + 1) + c) * stride_; }
    u64* x_at(i64 i, i64 s) { return x_ + (i * (n_ + 1) + s) * stride_; }
    const u64* rat_at(i64 r, i64 c) const { return sys_.rows[r] + c * sys_.value_bytes / 8; }
    // The denominator of a rat value at the caller's words, which rat_den
    // cannot find while the integers run at their own word count.
    const u64* den_of(const u64* v) const { return rat_num(v) + n0_; }
    u64* den_of(u64* v) const { return rat_num(v) + n0_; }

    i32 product_words(i64 t) const;
    void scale_rows();
    bool choose_pivot(i64 k);
    void eliminate_below(i64 k);
    void eliminate();
    bool take_storage(ScratchMark& mark);
    bool consistent();
    void substitute(i64 q, i64 s);
    void write_result(i64 i, i64 s);
    void back_substitute();

    linear_system& sys_;
    linear_solution& sol_;
    const i64 n_;
    const i32 n0_ = mp_int_words;  // words of each part of the rat values
    i64 stride_ = 0;               // words of one signed integer
    u64* m_ = nullptr;             // the scaled matrix
    u64* x_ = nullptr;             // the unknowns times the last pivot
    u64 *t1_ = nullptr, *t2_ = nullptr, *t3_ = nullptr, *prev_ = nullptr;
    std::vector<u64> heap_;               // the storage when the scratch area is too small
    i64 row_[LINEAR_MAX_EQUATIONS] = {};  // row order: m_ row of position r
    i64 rank_ = 0;
    i64 minor_bits_[LINEAR_MAX_EQUATIONS + 1] = {};
    i64 pivot_col_[LINEAR_MAX_EQUATIONS] = {};
    bool free_col_[LINEAR_MAX_EQUATIONS] = {};
};

// Row i scaled to integers has entries below 2^(max numerator bits + sum of
// denominator bits); with sqrt(26) < 2^3 a minor of order t of the augmented
// matrix has fewer bits than the sum of the t largest of (that + 3), which
// is minor_bits_[t]. A product of two minors, and a sum of 25 such products
// in the back substitution, needs twice that and 5 bits more.
i32 FractionFree::words_needed() {
    i64 row_bits[LINEAR_MAX_EQUATIONS] = {};
    for (i64 r = 0; r < n_; ++r) {
        i64 num_bits = 0, den_bits = 0;
        for (i64 c = 0; c <= n_; ++c) {
            const u64* v = rat_at(r, c);
            num_bits = std::max<i64>(num_bits, bits_of(rat_num(v), n0_));
            den_bits += bits_of(den_of(v), n0_);
        }
        row_bits[r] = num_bits + den_bits + 3;
    }
    std::sort(row_bits, row_bits + n_, std::greater<>());
    for (i64 t = 0; t < n_; ++t) minor_bits_[t + 1] = minor_bits_[t] + row_bits[t];
    const i64 words = product_words(n_);
    return words > MP_INT_WORDS_MAX ? 0 : static_cast<i32>(words);
}

// Words for the products of two minors of order t and a sum of 25 of them.
i32 FractionFree::product_words(i64 t) const {
    return static_cast<i32>((2 * minor_bits_[t] + 5) / 64 + 2);
}

// Row r times the lcm of its denominators, as integers.
void FractionFree::scale_rows() {
    // Entries and lcms are below 2^(largest row bound): short words suffice.
    IntWordsScope scope(product_words(1));
    const i32 w = mp_int_words;
    u64* lcm = mag(t1_);
    u64* part = mag(t2_);
    for (i64 r = 0; r < n_ && !failed(); ++r) {
        uint_set_u64(lcm, 1);
        for (i64 c = 0; c <= n_; ++c) {
            uint_resize(part, w, den_of(rat_at(r, c)), n0_);
            if (!uint_is_one(part)) uint_lcm(lcm, lcm, part);
        }
        const bool integers = uint_is_one(lcm);
        for (i64 c = 0; c <= n_; ++c) {
            const u64* v = rat_at(r, c);
            u64* e = at(r, c);
            uint_resize(mag(e), w, rat_num(v), n0_);
            if (!integers) {
                uint_resize(part, w, den_of(v), n0_);
                uint_divmod(mag(t3_), nullptr, lcm, part);
                uint_mul(mag(e), mag(e), mag(t3_));
            }
            set_sign(e, rat_sign(v) != 0);
        }
        row_[r] = r;
    }
}

// The row with the shortest non-zero entry in column k among positions
// rank.. moves to position rank; any choice gives the same solution, and a
// short pivot keeps the next step's products short.
bool FractionFree::choose_pivot(i64 k) {
    i64 best = -1;
    i32 best_bits = 0;
    for (i64 r = rank_; r < n_; ++r) {
        const i32 bits = bits_of(mag(at(row_[r], k)), mp_int_words);
        if (bits > 0 && (best < 0 || bits < best_bits)) {
            best = r;
            best_bits = bits;
        }
    }
    if (best < 0) return false;
    std::swap(row_[rank_], row_[best]);
    return true;
}

// Every row below the pivot: e = (pivot e - e_k p) / previous pivot, exact
// by Sylvester's identity, so the entries stay minors of the scaled matrix.
void FractionFree::eliminate_below(i64 k) {
    const i64 p = row_[rank_];
    const u64* pivot = at(p, k);
    for (i64 pos = rank_ + 1; pos < n_ && !failed(); ++pos) {
        const i64 r = row_[pos];
        u64* lead = at(r, k);
        const bool lead_zero = uint_is_zero(mag(lead));
        for (i64 c = k + 1; c <= n_; ++c) {
            u64* e = at(r, c);
            if (lead_zero && uint_is_zero(mag(e))) continue;
            mul(t1_, pivot, e);
            if (!lead_zero) {
                mul(t2_, lead, at(p, c));
                sub(t1_, t1_, t2_);
            }
            div_exact(e, t1_, prev_);
        }
        uint_zero(mag(lead));
        set_sign(lead, false);
    }
    std::copy(pivot, pivot + stride_, prev_);
}

void FractionFree::eliminate() {
    uint_set_u64(mag(prev_), 1);
    set_sign(prev_, false);
    for (i64 k = 0; k < n_ && !failed(); ++k) {
        // The minors grow step by step; shorter words keep the early steps
        // cheap, and the words above stay zero.
        IntWordsScope step(product_words(std::min(rank_ + 1, n_)));
        if (rank_ == n_ || !choose_pivot(k)) {
            free_col_[k] = true;
            continue;
        }
        eliminate_below(k);
        pivot_col_[rank_] = k;
        rank_ += 1;
    }
}

bool FractionFree::consistent() {
    for (i64 pos = rank_; pos < n_; ++pos) {
        if (!uint_is_zero(mag(at(row_[pos], n_)))) return false;
    }
    return true;
}

// With D the last pivot (the determinant of the pivot rows and columns), the
// unknowns times D are integers (Cramer's rule): X_p = (D b - sum over later
// columns of e X) / e_p for the pivot column p of position q, in slot s.
void FractionFree::substitute(i64 q, i64 s) {
    const i64 r = row_[q];
    const i64 p = pivot_col_[q];
    u64* acc = t1_;
    if (s == 0) {
        mul(acc, prev_, at(r, n_));
    } else {
        uint_zero(mag(acc));
        set_sign(acc, false);
    }
    for (i64 j = p + 1; j < n_; ++j) {
        if (uint_is_zero(mag(at(r, j))) || uint_is_zero(mag(x_at(j, s)))) continue;
        mul(t2_, at(r, j), x_at(j, s));
        sub(acc, acc, t2_);
    }
    div_exact(x_at(p, s), acc, at(r, p));
}

// Unknown i, slot s: X / D in lowest terms, into the caller's rat slot.
void FractionFree::write_result(i64 i, i64 s) {
    u64* out = sol_.x[i] + s * sys_.value_bytes / 8;
    const u64* xv = x_at(i, s);
    const i32 w = mp_int_words;
    u64* num = mag(t1_);
    u64* den = mag(t2_);
    u64* gcd = mag(t3_);
    if (uint_is_zero(mag(xv))) {
        uint_zero(num);
        uint_set_u64(den, 1);
    } else {
        uint_gcd(gcd, mag(xv), mag(prev_));
        uint_divmod(num, nullptr, mag(xv), gcd);
        uint_divmod(den, nullptr, mag(prev_), gcd);
    }
    // A part longer than the caller's words is error 12 (result too long).
    uint_resize(rat_num(out), n0_, num, w);
    uint_resize(den_of(out), n0_, den, w);
    out[0] = negative(xv) != negative(prev_) && !uint_is_zero(num) ? 1 : 0;
}

// The free columns, last first, are the parameters 1, 2, ...; X of a free
// column is D in its own slot and 0 elsewhere.
void FractionFree::back_substitute() {
    const i64 params = n_ - rank_;
    const i64 slots = params + 1;
    i64 assigned = 0;
    for (i64 i = n_ - 1; i >= 0; --i) {
        if (!free_col_[i]) continue;
        assigned += 1;
        std::copy(prev_, prev_ + stride_, x_at(i, assigned));
    }
    for (i64 q = rank_ - 1; q >= 0 && !failed(); --q) {
        for (i64 s = 0; s < slots; ++s) substitute(q, s);
    }
    for (i64 i = 0; i < n_ && !failed(); ++i) {
        for (i64 s = 0; s < slots && !failed(); ++s) write_result(i, s);
    }
}

// The matrices, the unknowns and four temporaries, zeroed. Most systems
// fit the thread's scratch area, which leaves room for the temporaries of
// the integer routines; larger ones go to the heap.
bool FractionFree::take_storage(ScratchMark& mark) {
    const i64 entries = n_ * (n_ + 1) * stride_;
    const i64 total = 2 * entries + 4 * stride_;
    const i64 room = (mp_scratch_end - mp_scratch_top) / static_cast<i64>(sizeof(u64));
    u64* block = nullptr;
    if (total + 16 * stride_ + 4096 <= room) {
        block = mark.take(static_cast<std::size_t>(total));
        if (block == nullptr) return false;
        std::fill(block, block + total, 0);
    } else {
        heap_.assign(static_cast<std::size_t>(total), 0);
        block = heap_.data();
    }
    m_ = block;
    x_ = m_ + entries;
    t1_ = x_ + entries;
    t2_ = t1_ + stride_;
    t3_ = t2_ + stride_;
    prev_ = t3_ + stride_;
    return true;
}

void FractionFree::solve(i32 words) {
    IntWordsScope scope(words);
    stride_ = words + 1;
    ScratchMark mark;
    if (!take_storage(mark)) return;
    scale_rows();
    eliminate();
    if (failed()) return;
    sol_.count = n_;
    sol_.param_count = n_ - rank_;
    sol_.form_settled = sol_.settled = true;
    if (!consistent()) {
        sol_.count = -1;
        return;
    }
    back_substitute();
}

}  // namespace

bool solve_exact_fraction_free(linear_system& sys, linear_solution& sol) {
    FractionFree solver(sys, sol);
    const i32 words = solver.words_needed();
    if (words == 0) return false;
    solver.solve(words);
    return true;
}
