// ln 2 and ln 10 beyond the constant table: the argument reductions of the
// exponential and the logarithm cancel the digits of an exponent of up to 19
// digits, so at the largest precision they need a word or two more than the
// table holds. Those longer values are computed once, on first use, by the
// arithmetic-geometric mean as ln(10^p) / p and ln(2^q) / q, which needs no
// logarithm constant, and kept for the life of the process (unsynchronised,
// like the rest of the context).
#include "numlib/real_const.h"
#include "numlib/real_fn_impl.h"
#include "numlib/vec.h"

namespace {

u64 g_long[2][REAL_FN_LONG_WORDS + 1];
bool g_ready = false;

bool compute_long() {
    RealPrecision prec(REAL_FN_LONG_WORDS, 0);
    real_ln10_ln2_by_agm(g_long[0], g_long[1]);
    return mp_err() == 0;
}

}  // namespace

void real_ln_const(u64* dst, i32 idx) {
    const i32 w = mp_real_words;
    if (w <= REAL_FN_MAX_WORDS) return real_const(dst, idx);
    if (!g_ready) {
        MpIsolate iso;  // a pending error must not spoil the cached values
        g_ready = compute_long();
    }
    if (!g_ready) return real_const(dst, idx);  // the table's digits, zero-filled
    vec_copy_fwd(dst, g_long[idx == REAL_CONST_LN2 ? 1 : 0], w + 1);
}
