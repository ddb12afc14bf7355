// The factorial: an overflow decision from log-gamma, then the product of the
// odd parts of 2..a by binary splitting, shifted by the factors 2 at the end.
#include <cmath>
#include <numbers>

#include "numlib/uint_product.h"

namespace {

// The lgamma estimate is good to far better than a bit for every a that
// reaches the product; the margin only keeps rounding from deciding.
constexpr double kMarginBits = 2.0;

// {dst, len} <<= shift into a buffer large enough; returns the new length.
i64 shift_up(u64* dst, i64 len, u64 shift) {
    const i64 words = static_cast<i64>(shift / 64);
    const unsigned bits = static_cast<unsigned>(shift % 64);
    vec_copy_bwd(dst + words, dst, len);
    vec_zero(dst, words);
    len += words;
    if (bits) {
        const u64 out = vec_lshift(dst + words, dst + words, len - words, bits);
        if (out) dst[len++] = out;
    }
    return len;
}

}  // namespace

// Not isolated: like the step-wise product it replaces, the run ends at the
// first error it sees, so an error already pending (a stop request among
// them) gives 0 for every a >= 2.
void uint_factorial(u64* dst, const u64* a) {
    u64 v;
    if (!uint_to_u64(&v, a, true)) return uint_fail(dst, MP_ERR_OVERFLOW);
    if (v <= 1) return uint_set_u64(dst, 1);
    const double limit = 64.0 * static_cast<double>(uint_words());
    if (std::lgamma(static_cast<double>(v) + 1.0) / std::numbers::ln2 > limit + kMarginBits)
        return uint_fail(dst, MP_ERR_OVERFLOW);
    // v < 2^14 here, so none of the sizes below is anywhere near a limit
    const u64 twos = v - static_cast<u64>(__builtin_popcountll(v));
    ScratchMark mark;
    const i64 cap = uint_range_product_words(0, v) + static_cast<i64>(twos / 64) + 1;
    u64* p = mark.take(static_cast<std::size_t>(cap));
    const i64 len = p ? uint_range_product(p, 0, v, true) : 0;
    if (len == 0) return uint_zero(dst);  // stopped, or out of scratch: raised already
    const i64 full = shift_up(p, len, twos);
    if (full > uint_words()) return uint_fail(dst, MP_ERR_OVERFLOW);
    uint_store(dst, p, full);
}
