// The strong Lucas probable-prime test (Selfridge's parameters P = 1,
// Q = (1 - D)/4). Residues are kept at the significant length of n and
// reduced after every product by long division, so the context's word count
// never changes.
#include <bit>

#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "numlib/vec.h"
#include "primes/prime_test.h"

namespace {

// Arithmetic modulo the odd n of len significant words; every residue has
// len words and lies in [0, n).
class ModRing {
  public:
    ModRing(const u64* n, i64 len, ScratchMark& mark)
        : n_(n),
          len_(len),
          product_(mark.take(static_cast<std::size_t>(2 * len))),
          mul_scratch_(mark.take(static_cast<std::size_t>(vec_mul_scratch(len, len) + 1))),
          div_scratch_(mark.take(static_cast<std::size_t>(vec_divrem_scratch(2 * len, len) + 1))) {}

    bool ready() const { return div_scratch_ != nullptr; }
    i64 len() const { return len_; }

    void mul(u64* r, const u64* a, const u64* b) {
        if (a == b) {
            vec_sqr(product_, a, len_, mul_scratch_);
        } else {
            vec_mul(product_, a, len_, b, len_, mul_scratch_);
        }
        vec_divrem(nullptr, r, product_, 2 * len_, n_, len_, div_scratch_);
    }
    void add(u64* r, const u64* a, const u64* b) {
        const u64 carry = vec_add_n(r, a, b, len_);
        if (carry != 0 || vec_cmp(r, n_, len_) >= 0) vec_sub_n(r, r, n_, len_);
    }
    void sub(u64* r, const u64* a, const u64* b) {
        if (vec_sub_n(r, a, b, len_) != 0) vec_add_n(r, r, n_, len_);
    }
    // r = r / 2 mod n (n odd).
    void halve(u64* r) {
        u64 carry = 0;
        if ((r[0] & 1) != 0) carry = vec_add_n(r, r, n_, len_);
        vec_rshift(r, r, len_, 1);
        r[len_ - 1] |= carry << 63;
    }
    // r = v mod n for a small signed v (|v| < n).
    void set_small(u64* r, i64 v) {
        vec_zero(r, len_);
        if (v >= 0) {
            r[0] = static_cast<u64>(v);
        } else {
            r[0] = static_cast<u64>(-v);
            vec_sub_n(r, n_, r, len_);
        }
    }
    bool is_zero(const u64* a) const { return vec_is_zero(a, len_); }

  private:
    const u64* n_;
    i64 len_;
    u64* product_;
    u64* mul_scratch_;
    u64* div_scratch_;
};

// The first D of 5, -7, 9, -11, ... with (D/n) = -1; 0 when some D other
// than n itself shares a factor with n (n composite), or when an error arrives.
i64 selfridge_d(const u64* n) {
    ScratchMark mark;
    u64* d = mark.take(static_cast<std::size_t>(mp_int_words));
    if (d == nullptr) return 0;
    const bool n_is_1_mod_4 = (n[0] & 3) == 1;
    for (i64 abs_d = 5, sign = 1; mp_err() == 0; abs_d += 2, sign = -sign) {
        uint_set_u64(d, static_cast<u64>(abs_d));
        int j = jacobi_symbol(d, n);
        if (sign < 0 && !n_is_1_mod_4) j = -j;  // (-1/n) = -1 for n = 3 mod 4
        if (j == 0 && uint_cmp_u64(n, static_cast<u64>(abs_d)) != 0) return 0;
        if (j == -1) return sign * abs_d;
    }
    return 0;
}

// The Lucas sequences at index k: U_k, V_k and Q^k, all mod n.
struct LucasState {
    u64* u;
    u64* v;
    u64* qk;
};

}  // namespace

bool lucas_test_strong(const u64* n) {
    {
        ScratchMark mark;
        u64* root = mark.take(static_cast<std::size_t>(mp_int_words));
        if (root == nullptr || uint_sqrt(root, n)) return false;  // a square has no valid D
    }
    const i64 d_param = selfridge_d(n);
    if (d_param == 0) return false;
    const i64 len = vec_len(n, mp_int_words);
    ScratchMark mark;
    ModRing ring(n, len, mark);
    const std::size_t words = static_cast<std::size_t>(len);
    u64* k = mark.take(words + 1);  // n + 1 may need one more word
    u64* dm = mark.take(words);
    u64* qm = mark.take(words);
    u64* t = mark.take(words);
    LucasState s{mark.take(words), mark.take(words), mark.take(words)};
    if (!ring.ready() || s.qk == nullptr) return false;
    ring.set_small(dm, d_param);
    ring.set_small(qm, (1 - d_param) / 4);

    // n + 1 = k * 2^shift with k odd.
    k[len] = vec_add_1(k, n, len, 1);
    i64 shift = 0;
    while ((k[0] & 1) == 0) {
        const unsigned step = k[0] == 0 ? 63u : static_cast<unsigned>(std::countr_zero(k[0]));
        vec_rshift(k, k, len + 1, step);
        shift += step;
    }

    // Index 1: U = 1, V = P = 1, Q^1 = Q; then the bits of k below its top.
    ring.set_small(s.u, 1);
    ring.set_small(s.v, 1);
    vec_copy_fwd(s.qk, qm, len);
    for (i64 bit = vec_bit_length(k, len + 1) - 2; bit >= 0; --bit) {
        if (prime_stop_requested()) return false;
        ring.mul(s.u, s.u, s.v);  // U_2j = U_j V_j
        ring.mul(s.v, s.v, s.v);  // V_2j = V_j^2 - 2 Q^j
        ring.sub(s.v, s.v, s.qk);
        ring.sub(s.v, s.v, s.qk);
        ring.mul(s.qk, s.qk, s.qk);
        if ((k[bit / 64] >> (bit % 64) & 1) == 0) continue;
        // U_j+1 = (U_j + V_j)/2, V_j+1 = (D U_j + V_j)/2 for P = 1.
        ring.mul(t, dm, s.u);
        ring.add(s.u, s.u, s.v);
        ring.halve(s.u);
        ring.add(s.v, s.v, t);
        ring.halve(s.v);
        ring.mul(s.qk, s.qk, qm);
    }
    if (ring.is_zero(s.u) || ring.is_zero(s.v)) return true;
    for (i64 r = 1; r < shift; ++r) {
        ring.mul(s.v, s.v, s.v);  // V_2j = V_j^2 - 2 Q^j
        ring.sub(s.v, s.v, s.qk);
        ring.sub(s.v, s.v, s.qk);
        if (ring.is_zero(s.v)) return true;
        ring.mul(s.qk, s.qk, s.qk);
    }
    return false;
}
