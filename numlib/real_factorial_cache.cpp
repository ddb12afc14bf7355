// The boustrophedon (Seidel) triangle behind the factorial's series
// coefficients. Its current line is held in place, one real per row; each
// step appends a row by running sums, forward on odd steps (the new last row
// is then the zigzag number of the step) and backward on even ones. The
// tangent number T_k ends step 2k - 1 and is turned into its coefficient at
// once, since later steps overwrite it.
#include "numlib/real_factorial_impl.h"
#include "numlib/real_impl.h"

namespace {

constexpr i32 kCoefs = REAL_FACTORIAL_ROWS / 2;

// Process-wide and unsynchronised, like the rest of the library context. As
// static storage it is zero-filled and its pages are only touched when the
// triangle grows that far.
struct Cache {
    i32 row_words = 0;                 // words of each row; 0 = nothing built
    i32 rows = 0;                      // rows of the current line (the last step is rows - 1)
    i32 coefs = 0;                     // coefficients ready
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
    real_one(row(0));
    real_one(cache.p4);
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
    if (s % 2 == 1) {
        ScratchMark mark;
        u64* run = mark.take(static_cast<std::size_t>(row_words));
        u64* old = mark.take(static_cast<std::size_t>(row_words));
        if (!old) return false;
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
    if (!d) return;
    cache.row_words = 0;
    const i32 m = mp_real_words;
    real_round_guard(cache.p4, real_mul_u64(cache.p4, cache.p4, 4), m);
    real_one(d);
    real_round_guard(d, real_add_sub(d, cache.p4, d, 1), m);
    real_round_guard(d, real_mul(d, d, cache.p4), m);
    real_round_guard(d, real_mul_u64(d, d, static_cast<u64>(2 * k - 1)), m);
    real_round_guard(coef(k), real_div(coef(k), row(2 * k - 1), d), m);
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
