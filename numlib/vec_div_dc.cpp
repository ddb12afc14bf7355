// Divide-and-conquer division (Burnikel and Ziegler): a 2n-by-n division is
// two divisions of half size, each followed by a product of half size that
// corrects the partial remainder. With a sub-quadratic product it costs a
// small multiple of one n-word product.
#include <algorithm>

#include "numlib/vec.h"
#include "numlib/vec_contract.h"

namespace {

bool use_schoolbook(i64 nv) {
    return nv < VEC_DIV_DC_THRESHOLD;
}

i64 mul_scratch_any(i64 la, i64 lb) {
    return vec_mul_scratch(std::max(la, lb), std::min(la, lb));
}

void mul_any(u64* dst, const u64* a, i64 la, const u64* b, i64 lb, u64* scratch) {
    if (la >= lb)
        vec_mul(dst, a, la, b, lb, scratch);
    else
        vec_mul(dst, b, lb, a, la, scratch);
}

i64 block_scratch(i64 n, i64 k);

i64 square_scratch(i64 n) {
    if (use_schoolbook(n)) return 0;
    return std::max(block_scratch(n, n - n / 2), block_scratch(n, n / 2));
}

// Scratch of one block: the recursive division finishes before the
// correcting product starts, so both share the same words.
i64 block_scratch(i64 n, i64 k) {
    if (k == n) return square_scratch(n);
    return std::max(square_scratch(k), n + mul_scratch_any(k, n - k));
}

void divide_block(u64* q, u64* u, const u64* v, i64 n, i64 k, u64* scratch);

// {u, 2n} / {v, n}: n quotient words to q plus the returned top word, the
// remainder to {u, n}.
u64 divide_square(u64* q, u64* u, const u64* v, i64 n, u64* scratch) {
    if (use_schoolbook(n)) return vec_div_schoolbook(q, u, 2 * n, v, n);
    u64 qh = 0;
    if (vec_cmp(u + n, v, n) >= 0) {
        vec_sub_n(u + n, u + n, v, n);
        qh = 1;
    }
    const i64 lo = n / 2, hi = n - lo;
    divide_block(q + lo, u + lo, v, n, hi, scratch);
    divide_block(q, u, v, n, lo, scratch);
    return qh;
}

// k <= n quotient words of {u, n + k} / {v, n}, where {u + k, n} < v; the
// remainder goes to {u, n}. The quotient of the top 2k words by the top k
// divisor words is at most two above the true one (v is normalised), so the
// partial remainder needs at most two add-backs.
void divide_block(u64* q, u64* u, const u64* v, i64 n, i64 k, u64* scratch) {
    if (k == n) {
        divide_square(q, u, v, n, scratch);
        return;
    }
    u64 qh = divide_square(q, u + n - k, v + n - k, k, scratch);
    u64* prod = scratch;
    mul_any(prod, q, k, v, n - k, scratch + n);
    u64 borrow = vec_sub_n(u, u, prod, n);
    if (qh) borrow += vec_sub_n(u + k, u + k, v, n - k);
    while (borrow) {
        qh -= vec_sub_1(q, q, k, 1);
        borrow -= vec_add_n(u, u, v, n);
    }
    assert(qh == 0);
}

}  // namespace

i64 vec_div_norm_scratch(i64 nu, i64 nv) {
    if (use_schoolbook(nv)) return 0;
    const i64 qn = nu - nv, first = qn % nv;
    i64 words = first ? block_scratch(nv, first) : 0;
    if (qn >= nv) words = std::max(words, block_scratch(nv, nv));
    return words;
}

u64 vec_div_norm(u64* q, u64* u, i64 nu, const u64* v, i64 nv, u64* scratch) {
    assert(nu >= nv && nv >= 1 && (v[nv - 1] >> 63) == 1);
    assert(vec_apart(q, nu - nv, u, nu) && vec_apart(q, nu - nv, v, nv) && vec_apart(u, nu, v, nv));
    if (use_schoolbook(nv)) return vec_div_schoolbook(q, u, nu, v, nv);
    u64 qh = 0;
    u64* top = u + nu - nv;
    if (vec_cmp(top, v, nv) >= 0) {
        vec_sub_n(top, top, v, nv);
        qh = 1;
    }
    // Quotient blocks of nv words from the top, the odd-sized one first.
    i64 j = nu - nv;
    if (const i64 first = j % nv) {
        j -= first;
        divide_block(q + j, u + j, v, nv, first, scratch);
    }
    while (j > 0) {
        j -= nv;
        divide_block(q + j, u + j, v, nv, nv, scratch);
    }
    return qh;
}
