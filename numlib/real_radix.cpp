// Binary to base 10^19. Large values are split by the powers 10^(19 2^i),
// top half first, so that the words below the ones the caller needs are
// never converted; small ones are divided by 10^19 word by word with a
// precomputed reciprocal.
#include "numlib/real_radix.h"

#include "numlib/vec.h"

namespace {

// floor((2^128 - 1) / 10^19) - 2^64: 10^19 has its top bit set, so this is
// the reciprocal of a normalised divisor.
constexpr u64 kBaseInverse =
    static_cast<u64>(~static_cast<u128>(0) / REAL_BASE - (static_cast<u128>(1) << 64));
static_assert(kBaseInverse == 0xD83C94FB6D2AC34AULL);

// (hi:lo) / 10^19 for hi < 10^19, with the remainder in *rem (the two-by-one
// division of Moller and Granlund).
inline u64 div_by_base(u64 hi, u64 lo, u64* rem) {
    const u128 p = static_cast<u128>(kBaseInverse) * hi + ((static_cast<u128>(hi) << 64) | lo);
    u64 q = static_cast<u64>(p >> 64) + 1;
    u64 r = lo - q * REAL_BASE;
    if (r > static_cast<u64>(p)) {
        --q;
        r += REAL_BASE;
    }
    if (r >= REAL_BASE) {
        ++q;
        r -= REAL_BASE;
    }
    *rem = r;
    return q;
}

// {out, k} from {x, lx} by repeated division by 10^19, lowest word first.
bool convert_basecase(u64* out, i64 k, const u64* x, i64 lx) {
    ScratchMark mark;
    u64* t = mark.take(static_cast<std::size_t>(lx) + 1);
    if (!t) return false;
    vec_copy_fwd(t, x, lx);
    for (i64 j = k - 1; j >= 0; --j) {
        while (lx > 0 && t[lx - 1] == 0) --lx;
        if (lx == 0) {
            vec_zero(out, j + 1);
            return true;
        }
        u64 rem = 0;
        for (i64 i = lx - 1; i >= 0; --i) t[i] = div_by_base(rem, t[i], &rem);
        out[j] = rem;
    }
    return vec_is_zero(t, lx);
}

// Leading zero words of {out, k}.
i64 lead_zero_words(const u64* out, i64 k) {
    i64 i = 0;
    while (i < k && out[i] == 0) ++i;
    return i;
}

bool convert(u64* out, i64 k, const u64* x, i64 lx, i64 need, const RadixPowers& pw) {
    lx = vec_len(x, lx);
    if (need <= 0 || lx == 0) {
        vec_zero(out, k);
        return true;
    }
    if (k <= REAL_BIN_TO_DEC_DC_THRESHOLD) return convert_basecase(out, k, x, lx);
    if (pw.watch_errors && mp_err() != 0) return false;
    int i = 0;
    while ((i64{2} << i) < k) ++i;
    const i64 h = i64{1} << i;  // the low part's words, h < k <= 2h
    const u64* p = pw.p[i];
    const i64 lp = pw.len[i];
    if (lx < lp || (lx == lp && vec_cmp(x, p, lp) < 0)) {
        vec_zero(out, k - h);
        return convert(out + (k - h), h, x, lx, need, pw);
    }
    ScratchMark mark;
    u64* q = mark.take(static_cast<std::size_t>(lx - lp + 1));
    u64* r = mark.take(static_cast<std::size_t>(lp));
    {
        ScratchMark inner;
        u64* scratch = inner.take(static_cast<std::size_t>(vec_divrem_scratch(lx, lp)) + 1);
        if (!q || !r || !scratch) return false;
        vec_divrem(q, r, x, lx, p, lp, scratch);
    }
    if (!convert(out, k - h, q, lx - lp + 1, need, pw)) return false;
    const i64 top = (k - h) - lead_zero_words(out, k - h);
    return convert(out + (k - h), h, r, lp, top > 0 ? need - top : need, pw);
}

}  // namespace

bool radix_make_powers(RadixPowers* pw, i64 k, ScratchMark& mark) {
    u64* first = mark.take(1);
    if (!first) return false;
    first[0] = REAL_BASE;
    pw->p[0] = first;
    pw->len[0] = 1;
    pw->levels = 1;
    for (int i = 1; (i64{1} << i) < k; ++i) {
        const i64 n = pw->len[i - 1];
        u64* sq = mark.take(static_cast<std::size_t>(2 * n));
        ScratchMark inner;
        u64* scratch = inner.take(static_cast<std::size_t>(vec_sqr_scratch(n)) + 1);
        if (!sq || !scratch) return false;
        vec_sqr(sq, pw->p[i - 1], n, scratch);
        pw->p[i] = sq;
        pw->len[i] = vec_len(sq, 2 * n);
        pw->levels = i + 1;
    }
    return true;
}

bool real_bin_to_dec(u64* out, i64 k, const u64* a, i64 na, i64 need) {
    na = vec_len(a, na);
    if (na == 0) {
        vec_zero(out, k);
        return true;
    }
    if (k <= REAL_BIN_TO_DEC_DC_THRESHOLD) return convert_basecase(out, k, a, na);
    ScratchMark mark;
    RadixPowers pw;
    pw.watch_errors = mp_err() == 0;
    if (!radix_make_powers(&pw, k, mark)) return false;
    // The value must fit k words: below 10^(19 k).
    return convert(out, k, a, na, need, pw);
}
