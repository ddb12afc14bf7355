// Ordering of the roots and merging of equal ones into multiplicities.
#include <utility>

#include "equations/roots.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/real.h"

namespace {

const u64* im(const u64* root) {
    return cplx_im_of(root, mp_real_words);
}

// Real roots first and ascending; complex ones by real part, then by
// |imaginary part|, and a - bi before a + bi.
bool before(const u64* a, const u64* b) {
    const bool real_a = real_is_zero(im(a));
    const bool real_b = real_is_zero(im(b));
    if (real_a != real_b) return real_a;
    const int re = real_cmp(a, b);
    if (real_a || re != 0) return re < 0;
    const int size = real_cmp_abs(im(a), im(b));
    if (size != 0) return size < 0;
    return real_sign(im(a)) == 1 && real_sign(im(b)) == 0;
}

bool same(const u64* a, const u64* b) {
    return real_cmp(a, b) == 0 && real_cmp(im(a), im(b)) == 0;
}

// Moves a root with its exact text and multiplicity.
void swap_roots(root_result& r, i64 i, i64 j) {
    std::swap(r.roots[i], r.roots[j]);
    std::swap(r.exact_text[i], r.exact_text[j]);
    std::swap(r.multiplicity[i], r.multiplicity[j]);
}

}  // namespace

void sort_merge_roots(root_result& result) {
    const i64 n = result.count;
    if (n < 1 || n > ROOT_MAX_DEGREE) return;
    for (i64 pass = n - 1; pass > 0; --pass) {
        for (i64 j = 0; j < pass; ++j) {
            if (before(result.roots[j + 1], result.roots[j])) swap_roots(result, j, j + 1);
        }
    }
    i64 kept = 1;
    for (i64 i = 1; i < n; ++i) {
        if (same(result.roots[i], result.roots[kept - 1])) {
            result.multiplicity[kept - 1] += result.multiplicity[i];
        } else {
            swap_roots(result, kept++, i);
        }
    }
    result.count = kept;
}
