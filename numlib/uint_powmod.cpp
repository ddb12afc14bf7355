// Modular powers. An odd modulus uses Montgomery multiplication with a
// sliding window over the exponent; an even modulus 2^s m' splits into a
// power modulo the odd m' and one modulo 2^s, joined by the Chinese
// remainder theorem. Everything works at the modulus' own length in
// scratch; the word count of the context is never changed.
#include <algorithm>

#include "numlib/uint_impl.h"

namespace {

// Largest table of odd powers kept, in words.
constexpr i64 TABLE_WORDS = i64{1} << 15;

// The window width that minimises the products for an ebits-bit exponent:
// about ebits / (w + 1) multiplications plus 2^(w-1) to fill the table.
int window_bits(i64 ebits, i64 words) {
    int best = 1;
    double best_cost = static_cast<double>(ebits) / 2.0;
    for (int w = 2; w <= 10 && (i64{1} << (w - 1)) * words <= TABLE_WORDS; ++w) {
        double cost =
            static_cast<double>(ebits) / (w + 1.0) + static_cast<double>(i64{1} << (w - 1));
        if (cost < best_cost) {
            best = w;
            best_cost = cost;
        }
    }
    return best;
}

int bit(const u64* e, i64 i) {
    return static_cast<int>(e[i / 64] >> (i % 64) & 1);
}

// Bits lo .. lo + count - 1 of e (count <= 63).
u64 bit_field(const u64* e, i64 lo, int count) {
    u64 v = 0;
    for (int i = count - 1; i >= 0; --i) v = v << 1 | static_cast<u64>(bit(e, lo + i));
    return v;
}

// Residues modulo an odd m in Montgomery form x B^k mod m.
class MontRing {
  public:
    // False when the scratch area is exhausted.
    bool init(const u64* m, i64 k, ScratchMark& mark) {
        m_ = m;
        k_ = k;
        minv_ = vec_mont_inverse(m[0]);
        prod_ = mark.take(static_cast<std::size_t>(2 * k));
        work_ = mark.take(
            static_cast<std::size_t>(std::max(vec_mul_scratch(k, k), vec_sqr_scratch(k))));
        return prod_ && work_;
    }
    i64 words() const { return k_; }
    // r = a b / B^k mod m; r may equal a or b.
    void mul(u64* r, const u64* a, const u64* b) {
        vec_mul(prod_, a, k_, b, k_, work_);
        vec_redc(r, prod_, m_, k_, minv_);
    }
    void sqr(u64* r, const u64* a) {
        vec_sqr(prod_, a, k_, work_);
        vec_redc(r, prod_, m_, k_, minv_);
    }
    // {r, k} = {x, lx} B^k mod m; false when the scratch area is exhausted.
    bool to_residue(u64* r, const u64* x, i64 lx) {
        if (lx == 0) {
            vec_zero(r, k_);
            return true;
        }
        ScratchMark mark;
        u64* t = mark.take(static_cast<std::size_t>(lx + k_));
        u64* work = mark.take(static_cast<std::size_t>(vec_divrem_scratch(lx + k_, k_)));
        if (!t || !work) return false;
        vec_zero(t, k_);
        vec_copy_fwd(t + k_, x, lx);
        vec_divrem(nullptr, r, t, lx + k_, m_, k_, work);
        return true;
    }
    void from_residue(u64* r, const u64* a) {
        vec_copy_fwd(prod_, a, k_);
        vec_zero(prod_ + k_, k_);
        vec_redc(r, prod_, m_, k_, minv_);
    }

  private:
    const u64* m_ = nullptr;
    i64 k_ = 0;
    u64 minv_ = 0;
    u64* prod_ = nullptr;
    u64* work_ = nullptr;
};

// Residues modulo 2^s, in sw = ceil(s / 64) words.
class Pow2Ring {
  public:
    bool init(i64 s, ScratchMark& mark) {
        k_ = (s + 63) / 64;
        mask_ = s % 64 ? (u64{1} << (s % 64)) - 1 : ~u64{0};
        prod_ = mark.take(static_cast<std::size_t>(2 * k_));
        work_ = mark.take(
            static_cast<std::size_t>(std::max(vec_mul_scratch(k_, k_), vec_sqr_scratch(k_))));
        return prod_ && work_;
    }
    i64 words() const { return k_; }
    void mul(u64* r, const u64* a, const u64* b) {
        vec_mul(prod_, a, k_, b, k_, work_);
        truncate(r);
    }
    void sqr(u64* r, const u64* a) {
        vec_sqr(prod_, a, k_, work_);
        truncate(r);
    }
    // {r, k} = {x, lx} mod 2^s.
    void reduce(u64* r, const u64* x, i64 lx) const {
        const i64 len = std::min(lx, k_);
        vec_copy_fwd(r, x, len);
        vec_zero(r + len, k_ - len);
        r[k_ - 1] &= mask_;
    }

  private:
    void truncate(u64* r) {
        vec_copy_fwd(r, prod_, k_);
        r[k_ - 1] &= mask_;
    }
    i64 k_ = 0;
    u64 mask_ = 0;
    u64* prod_ = nullptr;
    u64* work_ = nullptr;
};

// res = x^e in the ring for e >= 1 of ebits bits, scanning windows of odd
// powers from the top. False when stopped by an error (a stop request,
// exhausted scratch).
template <class Ring>
bool window_power(Ring& ring, u64* res, const u64* x, const u64* e, i64 ebits) {
    const i64 k = ring.words();
    const int w = window_bits(ebits, k);
    ScratchMark mark;
    u64* table = mark.take(static_cast<std::size_t>((i64{1} << (w - 1)) * k));
    u64* x2 = mark.take(static_cast<std::size_t>(k));
    if (!table || !x2) return false;
    vec_copy_fwd(table, x, k);
    if (w > 1) ring.sqr(x2, x);
    for (i64 i = 1; i < (i64{1} << (w - 1)); ++i) {
        if (mp_err()) return false;
        ring.mul(table + i * k, table + (i - 1) * k, x2);
    }
    // The top bit is set, so the first window starts the result.
    bool started = false;
    for (i64 i = ebits - 1; i >= 0;) {
        if (mp_err()) return false;
        if (!bit(e, i)) {
            ring.sqr(res, res);
            --i;
            continue;
        }
        i64 j = std::max<i64>(i - w + 1, 0);
        while (!bit(e, j)) ++j;
        const u64* power =
            table + static_cast<i64>(bit_field(e, j, static_cast<int>(i - j + 1)) >> 1) * k;
        if (started) {
            for (i64 s = i; s >= j; --s) {
                if (mp_err()) return false;
                ring.sqr(res, res);
            }
            ring.mul(res, res, power);
        } else {
            vec_copy_fwd(res, power, k);
            started = true;
        }
        i = j - 1;
    }
    return true;
}

// {r, k} = {base, lb}^e mod the odd {m, k} (k = significant length).
bool powmod_odd(u64* r, const u64* base, i64 lb, const u64* e, i64 ebits, const u64* m, i64 k) {
    ScratchMark mark;
    MontRing ring;
    u64* x = mark.take(static_cast<std::size_t>(k));
    u64* acc = mark.take(static_cast<std::size_t>(k));
    if (!x || !acc || !ring.init(m, k, mark) || !ring.to_residue(x, base, lb)) return false;
    if (vec_is_zero(x, k)) {
        vec_zero(r, k);
        return true;
    }
    if (!window_power(ring, acc, x, e, ebits)) return false;
    ring.from_residue(r, acc);
    return true;
}

// {r, ceil(s / 64)} = {base, lb}^e mod 2^s. An even base to a power >= s
// vanishes; an odd one is a unit, whose order divides 2^s, so the exponent
// is taken mod 2^s.
bool powmod_pow2(u64* r, const u64* base, i64 lb, const u64* e, i64 ebits, i64 s) {
    ScratchMark mark;
    Pow2Ring ring;
    const i64 k = (s + 63) / 64;
    u64* x = mark.take(static_cast<std::size_t>(k));
    u64* es = mark.take(static_cast<std::size_t>(k));
    if (!x || !es || !ring.init(s, mark)) return false;
    ring.reduce(x, base, lb);
    vec_zero(r, k);
    if (x[0] % 2 == 0) {
        if (ebits > 63 || e[0] >= static_cast<u64>(s)) return true;
        return window_power(ring, r, x, e, ebits);
    }
    ring.reduce(es, e, (ebits + 63) / 64);
    const i64 esbits = vec_bit_length(es, k);
    if (esbits == 0) {
        r[0] = 1;
        return true;
    }
    return window_power(ring, r, x, es, esbits);
}

// {out, lm} = the x < m = mo 2^s with x = x1 mod mo and x = x2 mod 2^s, for
// x1 < mo of lmo words and x2 < 2^s: x = x1 + mo ((x2 - x1) / mo mod 2^s).
bool crt_join(u64* out, i64 lm, const u64* x1, const u64* mo, i64 lmo, const u64* x2, i64 s) {
    ScratchMark mark;
    const i64 k = (s + 63) / 64;
    u64* d = mark.take(static_cast<std::size_t>(k));
    u64* prod = mark.take(static_cast<std::size_t>(lmo + k + 1));
    if (!d || !prod) return false;
    const i64 low = std::min(lmo, k);
    vec_copy_fwd(d, x1, low);
    vec_zero(d + low, k - low);
    vec_sub_n(d, x2, d, k);
    vec_hensel_div(d, d, k, mo, lmo);
    if (s % 64) d[k - 1] &= (u64{1} << (s % 64)) - 1;
    const i64 ld = vec_len(d, k);
    vec_zero(prod, lmo + k + 1);
    if (ld > 0 && !uint_mul_into(prod, mo, lmo, d, ld, mark)) return false;
    vec_add(prod, prod, lmo + k + 1, x1, lmo);
    if (vec_len(prod, lmo + k + 1) > lm) return false;  // x < m: never
    vec_copy_fwd(out, prod, lm);
    return true;
}

// {out, lm} = base^e mod the non-zero {m, lm}, where base and e have n words.
bool powmod_words(u64* out, const u64* base, const u64* e, i64 ebits, const u64* m, i64 lm, i64 n) {
    const i64 lb = vec_len(base, n);
    const i64 zero_words = vec_find_nonzero(m, lm);
    const i64 s = zero_words * 64 + __builtin_ctzll(m[zero_words]);
    if (s == 0) return powmod_odd(out, base, lb, e, ebits, m, lm);
    ScratchMark mark;
    const i64 k2 = (s + 63) / 64;
    u64* mo = mark.take(static_cast<std::size_t>(lm));
    u64* x1 = mark.take(static_cast<std::size_t>(lm));
    u64* x2 = mark.take(static_cast<std::size_t>(k2));
    if (!mo || !x1 || !x2 || !powmod_pow2(x2, base, lb, e, ebits, s)) return false;
    vec_copy_fwd(mo, m + zero_words, lm - zero_words);
    if (s % 64) vec_rshift(mo, mo, lm - zero_words, static_cast<unsigned>(s % 64));
    const i64 lmo = vec_len(mo, lm - zero_words);
    if (lmo == 1 && mo[0] == 1) {
        vec_zero(out, lm);
        vec_copy_fwd(out, x2, k2);
        return true;
    }
    return powmod_odd(x1, base, lb, e, ebits, mo, lmo) && crt_join(out, lm, x1, mo, lmo, x2, s);
}

}  // namespace

void uint_powmod(u64* dst, const u64* base, const u64* e, const u64* m, i64 limit) {
    if (mp_err()) return uint_zero(dst);
    const i64 n = uint_words();
    const i64 lm = vec_len(m, n);
    if (lm == 0) return uint_fail(dst, MP_ERR_DIV_ZERO);
    const bool m_is_one = lm == 1 && m[0] == 1;
    const i64 ebits = vec_bit_length(e, n);
    if (ebits == 0) return uint_set_u64(dst, m_is_one ? 0 : 1);
    if (limit != 0 && ebits > limit) return uint_fail(dst, MP_ERR_DOMAIN);
    if (m_is_one) return uint_zero(dst);
    ScratchMark mark;
    u64* out = mark.take(static_cast<std::size_t>(lm));
    if (!out || !powmod_words(out, base, e, ebits, m, lm, n))
        return uint_fail(dst, MP_ERR_INTERNAL);
    uint_store(dst, out, lm);
}
