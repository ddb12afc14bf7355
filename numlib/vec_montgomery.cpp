// Reductions modulo an odd number that work from the low end: Montgomery's
// REDC for modular powers, and Hensel division for the Chinese remainder
// step of an even modulus.
#include <algorithm>

#include "numlib/vec.h"
#include "numlib/vec_contract.h"

u64 vec_mont_inverse(u64 m0) {
    assert(m0 & 1);
    // m0 * m0 = 1 mod 8; each Newton step doubles the correct low bits.
    u64 x = m0;
    for (int i = 0; i < 5; ++i) x *= 2 - m0 * x;
    return 0 - x;
}

void vec_redc(u64* r, u64* t, const u64* m, i64 k, u64 minv) {
    assert(k >= 1 && (m[0] & 1) && vec_apart(t, 2 * k, m, k) && vec_apart(r, k, m, k));
    assert(r == t || r == t + k || vec_apart(r, k, t, 2 * k));
    // Row i clears t[i]; its carry belongs at i + k and waits in t[i], since
    // later rows read only words above i and no row's quotient depends on
    // words at k and above.
    for (i64 i = 0; i < k; ++i) t[i] = vec_addmul_word(t + i, m, k, t[i] * minv);
    // t / B^k < 2m: one subtraction at most.
    const u64 carry = vec_add_n(r, t + k, t, k);
    if (carry || vec_cmp(r, m, k) >= 0) vec_sub_n(r, r, m, k);
}

void vec_hensel_div(u64* q, u64* a, i64 k, const u64* m, i64 mk) {
    assert(k >= 1 && mk >= 1 && (m[0] & 1) && vec_same_or_apart(q, k, a, k));
    assert(vec_apart(q, k, m, mk) && vec_apart(a, k, m, mk));
    const u64 inv = 0 - vec_mont_inverse(m[0]);
    for (i64 i = 0; i < k; ++i) {
        const u64 qi = a[i] * inv;
        const i64 len = std::min(mk, k - i);
        const u64 borrow = vec_submul_word(a + i, m, len, qi);
        vec_sub_1(a + i + len, a + i + len, k - i - len, borrow);
        q[i] = qi;
    }
}
