// The boustrophedon (Seidel) triangle behind the factorial's series
// coefficients. Its current line is held in place, one value per row; each
// step appends a row by running sums, forward on odd steps (the new last row
// is then the zigzag number of the step) and backward on even ones. The
// tangent number T_k ends step 2k - 1 and is turned into its coefficient at
// once, since later steps overwrite it.
//
// The entries are integers. While every entry of the next line surely has
// at most the 19m digits of a real, the line is held as binary integers:
// their sums are exact, as the real sums would be, at a fraction of the cost
// (no decimal alignment, and only the words the entries need, which at the
// largest precision stay below two thirds of a row). From the first line
// that might not fit, the entries become reals and the sums round at the
// working precision; the values are the same either way.
#include <algorithm>

#include "numlib/real_factorial_impl.h"
#include "numlib/real_impl.h"
#include "numlib/vec.h"

namespace {

constexpr i32 kCoefs = REAL_FACTORIAL_ROWS / 2;

// Process-wide and unsynchronised, like the rest of the library context. As
// static storage it is zero-filled and its pages are only touched when the
// triangle grows that far.
struct Cache {
    i32 row_words = 0;                 // words of each row; 0 = nothing built
    i32 rows = 0;                      // rows of the current line (the last step is rows - 1)
    i32 coefs = 0;                     // coefficients ready
    i32 limbs = 0;                     // > 0: the line as binary integers of this many words
    u64 p4[REAL_FACTORIAL_ROW_WORDS];  // 4^coefs
    u64 tri[static_cast<std::size_t>(REAL_FACTORIAL_ROWS) * REAL_FACTORIAL_ROW_WORDS];
    u64 coef[static_cast<std::size_t>(kCoefs) * REAL_FACTORIAL_ROW_WORDS];
};

Cache cache;

u64* row(i32 i) {
    return cache.tri + static_cast<std::size_t>(i) * REAL_FACTORIAL_ROW_WORDS;
}
u64* coef(i32 k) {
    return cache.coef + static_cast<std::size_t>(k - 1) * REAL_FACTORIAL_ROW_WORDS;
}

void add_to(u64* dst, const u64* a) {
    real_round_guard(dst, real_add_sub(dst, dst, a, 0), mp_real_words);
}

void reset(i32 row_words) {
    cache.row_words = row_words;
    cache.rows = 1;
    cache.coefs = 0;
    cache.limbs = 1;
    row(0)[0] = 1;
    real_one(cache.p4);
}

// ---- the line as binary integers ----------------------------------------

// Bits that bound every entry of the line after step s: the largest entry
// of the line before it (at an end: forward sums grow towards the last row,
// backward ones towards the first) times the s entries summed.
i64 next_bits(i32 s) {
    const i64 l = cache.limbs;
    const i64 top = std::max(vec_bit_length(row(0), l), vec_bit_length(row(s - 1), l));
    return top + (64 - __builtin_clzll(static_cast<u64>(s))) + 1;
}

// Whether integers below 2^bits have at most the 19m digits of a real
// (log10 2 < 0.30103).
bool fits_real(i64 bits) {
    return bits * 30103 / 100000 + 1 <= 19 * static_cast<i64>(mp_real_words);
}

// Appends row s to the binary line, every row widened to words limbs first.
bool binary_step(i32 s, i32 words) {
    for (i32 i = 0; i < s; ++i) vec_zero(row(i) + cache.limbs, words - cache.limbs);
    cache.limbs = words;
    if (s % 2 == 1) {
        ScratchMark mark;
        u64* run = mark.take(static_cast<std::size_t>(words));
        if (!run) return false;
        vec_zero(run, words);
        for (i32 i = 0; i < s; ++i) {
            // row i takes the running sum, which then takes row i's old value.
            u64* r = row(i);
            u64 carry = 0;
            for (i32 j = 0; j < words; ++j) {
                const u64 old = r[j];
                r[j] = run[j];
                const u64 t = run[j] + carry;
                carry = (t < carry) + __builtin_add_overflow(t, old, &run[j]);
            }
        }
        vec_copy_fwd(row(s), run, words);
    } else {
        vec_zero(row(s), words);
        for (i32 i = s - 1; i >= 0; --i) vec_add_n(row(i), row(i), row(i + 1), words);
    }
    return true;
}

// Turns the binary line into reals, each exact.
bool binary_to_reals(i32 rows, i32 row_words) {
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(row_words));
    if (!t) return false;
    for (i32 i = 0; i < rows && mp_err() == 0; ++i) {
        real_from_uint(t, cache.limbs, row(i));
        real_copy(row(i), t);
    }
    cache.limbs = 0;
    return mp_err() == 0;
}

// ---- the line as reals ---------------------------------------------------

void real_step(i32 s, i32 row_words) {
    if (s % 2 == 1) {
        ScratchMark mark;
        u64* run = mark.take(static_cast<std::size_t>(row_words));
        u64* old = mark.take(static_cast<std::size_t>(row_words));
        if (!old) return;
        real_zero(run, 0);
        for (i32 i = 0; i < s; ++i) {
            real_copy(old, row(i));
            real_copy(row(i), run);
            add_to(run, old);
        }
        real_copy(row(s), run);
    } else {
        real_zero(row(s), 0);
        for (i32 i = s - 1; i >= 0; --i) add_to(row(i), row(i + 1));
    }
}

// Appends row s = rows: forward, row i becomes the sum of rows 0 .. i - 1;
// backward, the sum of rows i .. s - 1.
bool step() {
    const i32 s = cache.rows;
    if (s >= REAL_FACTORIAL_ROWS) {
        mp_raise(MP_ERR_CACHE_FULL);
        return false;
    }
    // Marked unbuilt while the line is half updated, in case of an error.
    const i32 row_words = cache.row_words;
    cache.row_words = 0;
    if (cache.limbs > 0) {
        const i64 bits = next_bits(s);
        if (fits_real(bits)) {
            if (!binary_step(s, static_cast<i32>((bits + 63) / 64))) return false;
        } else {
            if (!binary_to_reals(s, row_words)) return false;
            real_step(s, row_words);
        }
    } else {
        real_step(s, row_words);
    }
    cache.rows = s + 1;
    if (mp_err() != 0) return false;
    cache.row_words = row_words;
    return true;
}

// Coefficient k = coefs + 1 from T_k in the row of step 2k - 1.
void make_coef(i32 k) {
    ScratchMark mark;
    const i32 row_words = cache.row_words;
    u64* d = mark.take(static_cast<std::size_t>(row_words));
    u64* exact = mark.take(static_cast<std::size_t>(row_words));
    if (!exact) return;
    cache.row_words = 0;
    const i32 m = mp_real_words;
    real_round_guard(cache.p4, real_mul_u64(cache.p4, cache.p4, 4), m);
    real_one(d);
    real_round_guard(d, real_add_sub(d, cache.p4, d, 1), m);
    real_round_guard(d, real_mul(d, d, cache.p4), m);
    real_round_guard(d, real_mul_u64(d, d, static_cast<u64>(2 * k - 1)), m);
    const u64* t = row(2 * k - 1);
    if (cache.limbs > 0) {
        real_from_uint(exact, cache.limbs, t);
        t = exact;
    }
    real_round_guard(coef(k), real_div(coef(k), t, d), m);
    if (k % 2 == 0) real_negate(coef(k));
    if (mp_err() != 0) return;
    cache.coefs = k;
    cache.row_words = row_words;
}

}  // namespace

const u64* real_factorial_coef(i32 k) {
    const i32 row_words = mp_real_words + 1;
    if (k < 1 || row_words > REAL_FACTORIAL_ROW_WORDS) {
        mp_raise(MP_ERR_INTERNAL);
        return nullptr;
    }
    if (cache.row_words != row_words) reset(row_words);
    while (cache.coefs < k && cache.row_words == row_words && mp_err() == 0) {
        const i32 next = cache.coefs + 1;
        while (cache.rows < 2 * next && step()) {
        }
        if (cache.rows == 2 * next && cache.row_words == row_words && mp_err() == 0)
            make_coef(next);
    }
    return cache.coefs >= k && mp_err() == 0 ? coef(k) : nullptr;
}

void real_factorial_cache_clear() {
    cache.row_words = 0;
}
