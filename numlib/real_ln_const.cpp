// ln 2 and ln 10 beyond the constant table: the argument reductions of the
// exponential and the logarithm cancel the digits of an exponent of up to 19
// digits, so at the largest precision they need a word or two more than the
// table holds. Those longer values are computed once, on first use, from the
// logarithm core (ln 2 = ln(1 + 1), ln 10 = 3 ln 2 + ln(1 + 1/4)), which
// needs no constants, and kept for the life of the process (unsynchronised,
// like the rest of the context).
#include "numlib/real_const.h"
#include "numlib/real_fn_impl.h"
#include "numlib/vec.h"

namespace {

u64 g_long[2][REAL_FN_LONG_WORDS + 1];
bool g_ready = false;

bool compute_long() {
    RealPrecision prec(REAL_FN_LONG_WORDS, 0);
    ScratchMark mark;
    u64* t = real_take(mark);
    u64* q = real_take(mark);
    if (!q) return false;
    real_one(t);
    real_ln1p_newton(g_long[1], t);  // ln 2
    real_from_u64(t, 25);
    real_add_exp(t, -2);  // 1/4
    real_ln1p_newton(q, t);
    real_mul_u64_r(t, g_long[1], 3);
    real_add_r(g_long[0], t, q);
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
