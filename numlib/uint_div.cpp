// Division with remainder.
#include "numlib/uint_impl.h"

namespace {

// Writes the results of a division whose quotient {qs, ql} and remainder
// {rs, rl} lie in scratch; q or r may be absent.
void store_qr(u64* q, u64* r, const u64* qs, i64 ql, const u64* rs, i64 rl) {
    if (q) uint_store(q, qs, ql);
    if (r) uint_store(r, rs, rl);
}

void zero_qr(u64* q, u64* r) {
    if (q) uint_zero(q);
    if (r) uint_zero(r);
}

// uint_divmod, telling whether it succeeded (false after error 13 or 30).
bool divmod_checked(u64* q, u64* r, const u64* a, const u64* b) {
    const i64 n = uint_words();
    const i64 la = vec_len(a, n), lb = vec_len(b, n);
    if (lb == 0) {
        mp_raise(MP_ERR_DIV_ZERO);
        zero_qr(q, r);
        return false;
    }
    if (la < lb || (la == lb && vec_cmp(a, b, la) < 0)) {  // q = 0, r = a
        if (r) uint_copy(r, a);
        if (q) uint_zero(q);  // after r: q may be a
        return true;
    }
    ScratchMark mark;
    u64* qs = mark.take(static_cast<std::size_t>(la - lb + 1 + lb));
    u64* work = mark.take(static_cast<std::size_t>(vec_divrem_scratch(la, lb)));
    if (!qs || !work) {
        zero_qr(q, r);
        return false;
    }
    u64* rs = qs + (la - lb + 1);
    vec_divrem(qs, rs, a, la, b, lb, work);
    store_qr(q, r, qs, la - lb + 1, rs, lb);
    return true;
}

}  // namespace

void uint_divmod(u64* q, u64* r, const u64* a, const u64* b) {
    divmod_checked(q, r, a, b);
}

void uint_divmod_u64(u64* q, u64* r, const u64* a, u64 v) {
    if (v == 0) {
        *r = 0;
        return uint_fail(q, MP_ERR_DIV_ZERO);
    }
    vec_divmod_word(q, r, a, uint_words(), v);
}

bool uint_div_exact(u64* q, const u64* a, const u64* b) {
    ScratchMark mark;
    u64* r = mark.take(static_cast<std::size_t>(uint_words()));
    // A failed division (zero divisor, scratch exhausted) is not an exact one.
    if (!r) {
        uint_zero(q);
        return false;
    }
    return divmod_checked(q, r, a, b) && uint_is_zero(r);
}
