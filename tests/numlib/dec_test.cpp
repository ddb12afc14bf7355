// Decimal (base 10^19) kernels against GMP: the column schoolbook and the
// Karatsuba products and squares on both sides of their thresholds (their sums carry
// through runs of nines), the high product's error bound, the Newton
// reciprocal's error bound at every step pattern, and the division with it.
// One-word products and quotients are checked exactly through
// real_mul_u64 and real_div_u64.
#include "numlib/dec.h"

#include <gmp.h>

#include <algorithm>
#include <vector>

#include "numlib/dec_impl.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using Words = std::vector<u64>;
constexpr u64 CANARY = 0xC0FFEE0DDBA11ULL;
constexpr i64 GUARD = 3;

void to_mpz(Mpz& z, const u64* a, i64 n) {
    mpz_set_ui(z, 0);
    for (i64 i = n - 1; i >= 0; --i) {
        mpz_mul_ui(z, z, DEC_BASE);
        mpz_add_ui(z, z, a[i]);
    }
}

// The n decimal words of z >= 0, which must fit.
Words from_mpz(const Mpz& z, i64 n) {
    Words w(static_cast<std::size_t>(n));
    Mpz t;
    mpz_set(t, z);
    for (auto& x : w) x = mpz_tdiv_q_ui(t, t, DEC_BASE);
    EXPECT_EQ(mpz_sgn(t.get()), 0) << "value does not fit " << n << " decimal words";
    return w;
}

// n decimal words of a chosen shape: random, runs of nines, runs of zeros,
// or mixed; the top word non-zero, at least 10^18 when normalised.
Words dec_words(TestRng& rng, i64 n, bool normalised = false) {
    Words w(static_cast<std::size_t>(n));
    const i64 style = rng.range(0, 3);
    for (auto& x : w) {
        x = static_cast<u64>(rng.range(0, static_cast<i64>(DEC_BASE - 1)));
        if (style == 0 || !rng.chance(style == 3 ? 30 : 80)) continue;
        x = style == 2 ? 0 : DEC_BASE - 1 - static_cast<u64>(style == 3 ? rng.range(0, 2) : 0);
    }
    u64& top = w.back();
    if (normalised && top < DEC_BASE / 10) top += DEC_BASE / 10;
    if (top == 0) top = 1;
    return w;
}

// A buffer of count words with canary words after it, and whether they are intact.
Words guarded(i64 count) {
    return Words(static_cast<std::size_t>(count + GUARD), CANARY);
}
bool intact(const Words& w) {
    return std::all_of(w.end() - GUARD, w.end(), [](u64 x) { return x == CANARY; });
}

// Small, at a threshold give or take three, or across the Karatsuba range.
i64 size_near_threshold(TestRng& rng) {
    const i64 at[] = {DEC_KARATSUBA_MIN, DEC_SQR_COLUMNS_MIN, DEC_SQR_KARATSUBA_MIN};
    const i64 pick = rng.range(0, 3), t = at[rng.range(0, 2)];
    if (pick == 0) return rng.range(1, 6);
    if (pick == 1) return rng.range(t - 3, t + 3);
    return pick == 2 ? rng.range(DEC_KARATSUBA_MIN, 6 * DEC_KARATSUBA_MIN)
                     : rng.range(1, 2 * DEC_KARATSUBA_MIN);
}

using DecTest = NumlibTest;

// The full product exactly, with guard words after it and the scratch; the
// high product from a random word k: floor(a b / B^k) for k <= 1, short by
// at most min(la, lb) units otherwise.
TEST_F(DecTest, ProductsMatchGmpAroundThreshold) {
    for (i64 iter = 0; iter < test_iterations(300); ++iter) {
        i64 la = size_near_threshold(rng), lb = size_near_threshold(rng);
        if (la < lb) std::swap(la, lb);
        if (rng.chance(10)) la = lb + rng.range(0, 3) * lb;  // sliced products
        if (rng.chance(20)) la = lb;                         // squares among them
        const Words a = dec_words(rng, la), b = rng.chance(30) && la == lb ? a : dec_words(rng, lb);
        Mpz ma, mb, want, got, pk;
        to_mpz(ma, a.data(), la);
        to_mpz(mb, b.data(), lb);
        mpz_mul(want, ma, mb);
        SCOPED_TRACE(testing::Message() << "la=" << la << " lb=" << lb);
        Words dst = guarded(la + lb), scratch = guarded(dec_mul_scratch(la, lb));
        dec_mul(dst.data(), a.data(), la, b.data(), lb, scratch.data());
        EXPECT_TRUE(from_mpz(want, la + lb) == Words(dst.begin(), dst.end() - GUARD) &&
                    intact(dst) && intact(scratch));
        const i64 k = rng.range(0, la + lb - 1);
        Words high = guarded(la + lb - k);
        dec_mul_high(high.data(), a.data(), la, b.data(), lb, k);
        to_mpz(got, high.data(), la + lb - k);
        mpz_ui_pow_ui(pk, DEC_BASE, static_cast<unsigned long>(k));
        mpz_fdiv_q(want, want, pk);
        mpz_sub(want, want, got);
        const i64 slack = k <= 1 ? 0 : std::min(la, lb);
        EXPECT_TRUE(mpz_sgn(want.get()) >= 0 && mpz_cmp_si(want.get(), slack) <= 0 && intact(high))
            << "k=" << k;
        if (HasFailure()) return;
    }
}

// A divisor of nd words: random, or 10^18 B^(nd - 1) and its neighbour
// (quotients at 10 B^n, the top of the range).
Words divisor(TestRng& rng, i64 nd) {
    Words d = dec_words(rng, nd, true);
    if (rng.chance(10)) {
        std::fill(d.begin(), d.end(), 0);
        d.back() = DEC_BASE / 10;
        if (rng.chance(50)) d[0] += 1;
    }
    return d;
}

// |x d - B^(n + nd)| < tol d when digits = 0 (x within tol units), else
// |x d - B^(n + nd)| 10^digits < B^(n + nd) (relative error below 10^-digits).
::testing::AssertionResult recip_within(const Words& x, const Words& d, i64 n, i64 digits,
                                        unsigned long tol) {
    const i64 nd = static_cast<i64>(d.size());
    Mpz md, mx, num, diff, bound;
    to_mpz(md, d.data(), nd);
    to_mpz(mx, x.data(), n + 1);
    mpz_ui_pow_ui(num, DEC_BASE, static_cast<unsigned long>(n + nd));
    mpz_mul(diff, mx, md);
    mpz_sub(diff, diff, num);
    mpz_abs(diff, diff);
    if (digits == 0) {
        mpz_mul_ui(bound, md, tol);
    } else {
        mpz_ui_pow_ui(bound, 10, static_cast<unsigned long>(digits));
        mpz_mul(diff, diff, bound);
        mpz_set(bound, num);
    }
    if (mpz_cmp(diff, bound) < 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "n=" << n << " nd=" << nd << " digits=" << digits;
}

// Every precision from 1 to 300 words (each has its own step sizes), and
// some up to past 1000: within 2 units for nd <= n, and to the relative
// error asked for by dec_recip_digits at the sizes real_div asks for.
TEST_F(DecTest, ReciprocalWithinItsBound) {
    for (i64 n = 1; n <= 300 + test_iterations(8); ++n) {
        const i64 size = n <= 300 ? n : rng.range(300, 1100);
        const Words d = divisor(rng, rng.range(1, std::min<i64>(size, 40)));
        const i64 nd = static_cast<i64>(d.size());
        Words x = guarded(size + 1), scratch = guarded(dec_recip_scratch(size));
        dec_recip(x.data(), d.data(), nd, size, scratch.data());
        EXPECT_TRUE(recip_within(x, d, size, 0, 2) && intact(x) && intact(scratch));
        // real_div's request: n / 2 + 1 words for a quotient of n words.
        const i64 h = size / 2 + 1, digits = (19 * size + 3) / 2;
        const Words dl = divisor(rng, rng.range(1, size + 1));
        Words y = guarded(h + 1), scratch2 = guarded(dec_recip_scratch(h));
        dec_recip_digits(y.data(), dl.data(), static_cast<i64>(dl.size()), h, digits,
                         scratch2.data());
        EXPECT_TRUE(recip_within(y, dl, h, digits, 0) && intact(y) && intact(scratch2));
        if (HasFailure()) return;
    }
}

TEST_F(DecTest, DivisionWithReciprocalMatchesGmp) {
    for (i64 iter = 0; iter < test_iterations(200); ++iter) {
        const i64 nb = rng.chance(80) ? rng.range(1, 60) : rng.range(60, 300);
        const i64 na = rng.range(nb, 2 * nb);
        const Words d = dec_words(rng, nb, true);
        Mpz md, ma, mq, mr;
        to_mpz(md, d.data(), nb);
        Words a = dec_words(rng, na);
        if (rng.chance(30)) {  // a = q d + (d - 1): the largest remainder
            mpz_ui_pow_ui(mq, DEC_BASE, static_cast<unsigned long>(na - nb));
            mpz_mul(ma, mq, md);
            mpz_sub_ui(ma, ma, 1);
            a = from_mpz(ma, na);
        }
        to_mpz(ma, a.data(), na);
        mpz_tdiv_qr(mq, mr, ma, md);
        Words x(static_cast<std::size_t>(nb + 1)),
            rs(static_cast<std::size_t>(dec_recip_scratch(nb)));
        dec_recip(x.data(), d.data(), nb, nb, rs.data());
        Words q = guarded(na - nb + 1), r = guarded(nb),
              scratch = guarded(dec_divrem_recip_scratch(na, nb));
        dec_divrem_recip(q.data(), r.data(), a.data(), na, d.data(), nb, x.data(), scratch.data());
        EXPECT_TRUE(from_mpz(mq, na - nb + 1) == Words(q.begin(), q.end() - GUARD) &&
                    from_mpz(mr, nb) == Words(r.begin(), r.end() - GUARD) && intact(q) &&
                    intact(r) && intact(scratch))
            << "na=" << na << " nb=" << nb;
        if (HasFailure()) return;
    }
}

}  // namespace
