// Reading the constant table at the current precision, and computing its
// derived entries at start-up.
#include "numlib/real_const.h"

#include "numlib/real_const_impl.h"
#include "numlib/real_impl.h"
#include "numlib/vec.h"

namespace {

constexpr i32 DERIVED_FIRST = REAL_CONST_INV_LN10;
constexpr i32 DERIVED_COUNT = REAL_CONST_UNSET - DERIVED_FIRST;

// Entries 10-14; +0 until real_const_compute_derived() has run.
u64 derived[DERIVED_COUNT][MP_CONST_WORDS + 1];
// Set once they hold their values: they follow from the stored entries
// alone, so a later start-up (each context reset) keeps them instead of
// spending three 528-word reciprocals again.
bool derived_ready = false;

const u64* stored(i32 idx) {
    return REAL_CONST_STORED[idx];
}
u64* derived_entry(i32 idx) {
    return derived[idx - DERIVED_FIRST];
}

// Sets the precision to the table's and clears the guard digits and any
// pending error for the computation, restoring all of them afterwards.
class TablePrecision {
  public:
    TablePrecision() : words_(mp_real_words), guard_digits_(mp_guard_digits) {
        mp_real_words = MP_CONST_WORDS;
        mp_guard_digits = 0;
    }
    ~TablePrecision() {
        mp_real_words = words_;
        mp_guard_digits = guard_digits_;
    }
    TablePrecision(const TablePrecision&) = delete;
    TablePrecision& operator=(const TablePrecision&) = delete;

  private:
    i32 words_;
    i32 guard_digits_;
    MpIsolate isolate_;
};

}  // namespace

void real_const(u64* dst, i32 idx) {
    if (idx < 0 || idx >= REAL_CONST_COUNT) return real_fail(dst, MP_ERR_CONST_INDEX);
    if (idx == REAL_CONST_UNSET) return real_zero(dst, 0);
    const u64* c = idx < REAL_CONST_STORED_COUNT ? stored(idx) : derived_entry(idx);
    const i64 m = real_words();
    const i64 n = m < MP_CONST_WORDS ? m : MP_CONST_WORDS;
    vec_copy_fwd(dst, c, n + 1);
    if (n < m) vec_zero(dst + n + 1, m - n);
}

void real_const_compute_derived() {
    if (derived_ready) return;
    TablePrecision precision;
    u64* inv_ln10 = derived_entry(REAL_CONST_INV_LN10);
    u64* log10_2 = derived_entry(REAL_CONST_LOG10_2);
    u64* pi_2 = derived_entry(REAL_CONST_PI_2);
    real_recip(inv_ln10, stored(REAL_CONST_LN10));
    real_round_guard(log10_2, real_mul(log10_2, stored(REAL_CONST_LN2), inv_ln10), MP_CONST_WORDS);
    real_recip(derived_entry(REAL_CONST_INV_LN2), stored(REAL_CONST_LN2));
    real_recip(derived_entry(REAL_CONST_4_OVER_PI), stored(REAL_CONST_PI_4));
    const u64* pi_4 = stored(REAL_CONST_PI_4);
    real_round_guard(pi_2, real_add_sub(pi_2, pi_4, pi_4, 0), MP_CONST_WORDS);
    // An error inside (no scratch, a stop request) leaves them to the next
    // start-up.
    derived_ready = mp_err() == 0;
}
