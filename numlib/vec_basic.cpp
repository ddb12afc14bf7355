// Moves, fills, scans, additions, subtractions and shifts of word vectors.
#include <cstring>

#include "numlib/vec.h"
#include "numlib/vec_contract.h"

void vec_copy_fwd(u64* dst, const u64* src, i64 count) {
    assert(count >= 0 && vec_at_or_below(dst, src, count));
    if (count > 0 && dst != src) std::memmove(dst, src, static_cast<std::size_t>(count) * 8);
}

void vec_copy_bwd(u64* dst, const u64* src, i64 count) {
    assert(count >= 0 && vec_at_or_above(dst, src, count));
    if (count > 0 && dst != src) std::memmove(dst, src, static_cast<std::size_t>(count) * 8);
}

void vec_zero(u64* dst, i64 count) {
    if (count > 0) std::memset(dst, 0, static_cast<std::size_t>(count) * 8);
}

i64 vec_find_nonzero(const u64* a, i64 count) {
    for (i64 i = 0; i < count; ++i)
        if (a[i] != 0) return i;
    return static_cast<i64>(u64{1} << 63);
}

// Four words at a time first: the fixed-size numbers of the rational and
// integer types are mostly zero above their top word, and these scans showed
// as a sixth of an exact linear solve.
i64 vec_top_nonzero(const u64* a, i64 count) {
    i64 i = count - 1;
    while (i >= 3 && (a[i] | a[i - 1] | a[i - 2] | a[i - 3]) == 0) i -= 4;
    while (i >= 0 && a[i] == 0) --i;
    return i;
}

i64 vec_bit_length(const u64* a, i64 count) {
    i64 top = vec_top_nonzero(a, count);
    if (top < 0) return 0;
    return top * 64 + 64 - __builtin_clzll(a[top]);
}

int vec_cmp(const u64* a, const u64* b, i64 n) {
    for (i64 i = n - 1; i >= 0; --i)
        if (a[i] != b[i]) return a[i] > b[i] ? 1 : -1;
    return 0;
}

u64 vec_add_n(u64* r, const u64* a, const u64* b, i64 n) {
    assert(n >= 0 && vec_same_or_apart(r, n, a, n) && vec_same_or_apart(r, n, b, n));
    unsigned char c = 0;
    for (i64 i = 0; i < n; ++i) {
        unsigned long long s;
        c = __builtin_ia32_addcarryx_u64(c, a[i], b[i], &s);
        r[i] = s;
    }
    return c;
}

u64 vec_sub_n(u64* r, const u64* a, const u64* b, i64 n) {
    assert(n >= 0 && vec_same_or_apart(r, n, a, n) && vec_same_or_apart(r, n, b, n));
    unsigned char c = 0;
    for (i64 i = 0; i < n; ++i) {
        unsigned long long s;
        c = __builtin_ia32_sbb_u64(c, a[i], b[i], &s);
        r[i] = s;
    }
    return c;
}

u64 vec_add_1(u64* r, const u64* a, i64 n, u64 v) {
    assert(n >= 0 && vec_same_or_apart(r, n, a, n));
    for (i64 i = 0; i < n; ++i) {
        u64 s = a[i] + v;
        v = s < v;
        r[i] = s;
        if (v == 0) {
            vec_copy_fwd(r + i + 1, a + i + 1, n - i - 1);
            return 0;
        }
    }
    return v;
}

u64 vec_sub_1(u64* r, const u64* a, i64 n, u64 v) {
    assert(n >= 0 && vec_same_or_apart(r, n, a, n));
    for (i64 i = 0; i < n; ++i) {
        u64 x = a[i];
        r[i] = x - v;
        v = x < v;
        if (v == 0) {
            vec_copy_fwd(r + i + 1, a + i + 1, n - i - 1);
            return 0;
        }
    }
    return v;
}

u64 vec_add(u64* r, const u64* a, i64 an, const u64* b, i64 bn) {
    assert(an >= bn && bn >= 0 && vec_same_or_apart(r, an, a, an) && vec_apart(r, an, b, bn));
    u64 c = vec_add_n(r, a, b, bn);
    return vec_add_1(r + bn, a + bn, an - bn, c);
}

u64 vec_sub(u64* r, const u64* a, i64 an, const u64* b, i64 bn) {
    assert(an >= bn && bn >= 0 && vec_same_or_apart(r, an, a, an) && vec_apart(r, an, b, bn));
    u64 c = vec_sub_n(r, a, b, bn);
    return vec_sub_1(r + bn, a + bn, an - bn, c);
}

u64 vec_lshift(u64* r, const u64* a, i64 n, unsigned cnt) {
    assert(n >= 1 && cnt >= 1 && cnt <= 63 && vec_at_or_above(r, a, n));
    u64 out = a[n - 1] >> (64 - cnt);
    for (i64 i = n - 1; i > 0; --i) r[i] = (a[i] << cnt) | (a[i - 1] >> (64 - cnt));
    r[0] = a[0] << cnt;
    return out;
}

u64 vec_rshift(u64* r, const u64* a, i64 n, unsigned cnt) {
    assert(n >= 1 && cnt >= 1 && cnt <= 63 && vec_at_or_below(r, a, n));
    u64 out = a[0] << (64 - cnt);
    for (i64 i = 0; i < n - 1; ++i) r[i] = (a[i] >> cnt) | (a[i + 1] << (64 - cnt));
    r[n - 1] = a[n - 1] >> cnt;
    return out;
}
