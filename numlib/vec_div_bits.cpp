// Restoring shift-subtract division, one quotient bit per step. Far slower
// than vec_divrem; kept as a simple reference that tests compare it with.
#include <algorithm>

#include "numlib/vec.h"
#include "numlib/vec_contract.h"

namespace {

// {r, count} = {a, count} >> shift, shift < 64 * count.
void load_shifted(u64* r, const u64* a, i64 count, i64 shift) {
    const i64 words = shift / 64;
    const unsigned bits = static_cast<unsigned>(shift % 64);
    if (bits)
        vec_rshift(r, a + words, count - words, bits);
    else
        vec_copy_fwd(r, a + words, count - words);
    vec_zero(r + count - words, words);
}

}  // namespace

void vec_divmod_bits(u64* q, u64* r, const u64* a, const u64* b, i64 count, i64 abits, i64 bbits) {
    assert(count >= 1 && abits >= bbits && bbits >= 1 && abits <= 64 * count);
    assert(vec_apart(q, count, r, count) && vec_apart(q, count, a, count) &&
           vec_apart(q, count, b, count) && vec_apart(r, count, a, count) &&
           vec_apart(r, count, b, count));
    vec_zero(q, count);
    load_shifted(r, a, count, abits - bbits);
    // The running remainder stays below 2b, so within bbits + 1 bits; that is
    // all count words when b fills them (then a and b have equal lengths and
    // r never shifts).
    const i64 rw = std::min(count, bbits / 64 + 1);
    for (i64 p = abits - bbits; p >= 0; --p) {
        if (vec_cmp(r, b, rw) >= 0) {
            vec_sub_n(r, r, b, rw);
            q[p / 64] |= u64{1} << (p % 64);
        }
        if (p > 0) {
            vec_lshift(r, r, rw, 1);
            r[0] |= (a[(p - 1) / 64] >> ((p - 1) % 64)) & 1;
        }
    }
}
