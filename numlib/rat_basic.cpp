// Construction, conversion, special values and reduction to lowest terms.
#include <functional>

#include "numlib/rat_impl.h"

void rat_zero(u64* dst) {
    const i64 n = rat_words();
    vec_zero(dst, 2 * n + 1);
    rat_den(dst)[0] = 1;
}

void rat_copy(u64* dst, const u64* src) {
    if (dst != src) vec_copy_fwd(dst, src, 2 * rat_words() + 1);
}

void rat_from_u64(u64* dst, u64 v) {
    rat_zero(dst);
    rat_num(dst)[0] = v;
}

void rat_from_i64(u64* dst, i64 v) {
    rat_from_u64(dst, v < 0 ? 0 - static_cast<u64>(v) : static_cast<u64>(v));
    dst[0] = v < 0 ? 1 : 0;
}

namespace {

void zero_at(u64* dst, i64 n) {
    vec_zero(dst, 2 * n + 1);
    dst[n + 1] = 1;
}

bool overlaps(const u64* a, i64 an, const u64* b, i64 bn) {
    std::less<const u64*> lt;
    return lt(a, b + bn) && lt(b, a + an);
}

// Copies the part {src, sn} into {dst, dn}, which holds it.
void copy_part(u64* dst, i64 dn, const u64* src, i64 sn) {
    const i64 len = vec_len(src, sn);
    vec_copy_fwd(dst, src, len);
    vec_zero(dst + len, dn - len);
}

}  // namespace

void rat_resize(u64* dst, i32 dst_words, const u64* src, i32 src_words) {
    const i64 dn = dst_words, sn = src_words;
    if (dn < 1 || sn < 1 || overlaps(dst, 2 * dn + 1, src, 2 * sn + 1)) {
        mp_raise(MP_ERR_INTERNAL);
        if (dn >= 1) zero_at(dst, dn);
        return;
    }
    if (vec_len(src + 1, sn) > dn || vec_len(src + 1 + sn, sn) > dn) {
        mp_raise(MP_ERR_OVERFLOW);
        return zero_at(dst, dn);
    }
    dst[0] = src[0];
    copy_part(dst + 1, dn, src + 1, sn);
    copy_part(dst + 1 + dn, dn, src + 1 + sn, sn);
}

bool rat_to_u64(u64* out, const u64* x, u32 flags) {
    MpIsolate isolate;
    *out = 0;
    const bool integer = rat_is_int(x);
    bool ok = (integer || (flags & RAT_TO_U64_FLOOR)) && (!rat_neg(x) || (flags & RAT_TO_U64_ABS));
    if (ok) {
        ScratchMark mark;
        u64* q = integer ? nullptr : mark.take(static_cast<std::size_t>(rat_words()));
        if (!integer && q) uint_divmod(q, nullptr, rat_num(x), rat_den(x));
        const u64* mag = integer ? rat_num(x) : q;
        ok = mag && !isolate.inner() && uint_to_u64(out, mag, true);
    }
    if (!ok) {
        *out = 0;
        if (!(flags & RAT_TO_U64_QUIET)) mp_raise(MP_ERR_DOMAIN);
    }
    return ok;
}

void rat_special(u64* dst, i32 kind) {
    const i64 n = rat_words();
    rat_zero(dst);
    if (kind == 10 || kind == 11) {
        u64* ones = kind == 10 ? rat_den(dst) : rat_num(dst);
        u64* one = kind == 10 ? rat_num(dst) : rat_den(dst);
        for (i64 i = 0; i < n; ++i) ones[i] = ~u64{0};
        words_set_one(one, n);
    } else if (kind != 0) {
        mp_raise(MP_ERR_DOMAIN);
    }
}

void rat_store(u64* dst, int sign, const u64* num, const u64* den, i64 w) {
    const i64 n = rat_words();
    const i64 ln = vec_len(num, w), ld = vec_len(den, w);
    if (ln > n || ld > n) return rat_fail(dst, MP_ERR_OVERFLOW);
    dst[0] = ln ? static_cast<u64>(sign & 1) : 0;
    copy_part(rat_num(dst), n, num, ln);
    if (ln) {
        copy_part(rat_den(dst), n, den, ld);
    } else {
        words_set_one(rat_den(dst), n);
    }
}

void rat_reduce_at(u64* num, u64* den, i64 w) {
    if (words_is_one(den, w)) return;
    const i64 ln = vec_len(num, w), ld = vec_len(den, w);
    if (ln == 0 || ld == 0) {
        if (ln) mp_raise(MP_ERR_DIV_ZERO);
        vec_zero(num, w);
        return words_set_one(den, w);
    }
    IntWordsScope scope(ln > ld ? ln : ld);
    ScratchMark mark;
    u64* g = mark.take(static_cast<std::size_t>(mp_int_words));
    if (g) uint_gcd(g, num, den);
    if (!g || uint_is_zero(g)) {  // error raised: scratch or a stop request
        vec_zero(num, w);
        return words_set_one(den, w);
    }
    if (uint_is_one(g)) return;
    uint_divmod(num, nullptr, num, g);
    uint_divmod(den, nullptr, den, g);
}

void rat_reduce(u64* num, u64* den) {
    MpIsolate isolate;
    rat_reduce_at(num, den, rat_words());
    if (isolate.inner()) {
        vec_zero(num, rat_words());
        words_set_one(den, rat_words());
    }
}

bool rat_cancel(u64* g, u64* ra, u64* rb, const u64* a, const u64* b) {
    ScratchMark mark;
    u64* gt = mark.take(static_cast<std::size_t>(rat_words()));
    if (!gt) return false;
    uint_gcd(gt, a, b);
    if (uint_is_zero(gt)) return false;
    const bool one = uint_is_one(gt);
    if (ra) one ? uint_copy(ra, a) : uint_divmod(ra, nullptr, a, gt);
    if (rb) one ? uint_copy(rb, b) : uint_divmod(rb, nullptr, b, gt);
    if (g) uint_copy(g, gt);
    return mp_err() == 0;
}
