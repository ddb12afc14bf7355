// Long division kernels: vec_divrem against GMP on both sides of the
// divide-and-conquer threshold, and the bit-serial reference against
// vec_divrem.
#include <gmp.h>

#include <algorithm>
#include <string>
#include <vector>

#include "numlib/vec.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"

namespace {

constexpr u64 CANARY = 0xC0FFEE0DDBA11ULL;
constexpr i64 GUARD = 3;

// Words with guard words after them, checked by intact().
struct Guarded {
    explicit Guarded(i64 count) : n(count), w(static_cast<std::size_t>(count + GUARD), CANARY) {}
    u64* data() { return w.data(); }
    bool intact() const {
        return std::all_of(w.begin() + n, w.end(), [](u64 x) { return x == CANARY; });
    }
    i64 n;
    std::vector<u64> w;
};

// Divisor shapes that stress carries and the quotient-word estimate.
std::vector<u64> divisor(TestRng& rng, i64 nb) {
    std::vector<u64> b(static_cast<std::size_t>(nb));
    switch (rng.range(0, 5)) {
        case 0:  // 100..0
            b[static_cast<std::size_t>(nb - 1)] = u64{1} << rng.range(0, 63);
            break;
        case 1:  // FFF..F
            std::fill(b.begin(), b.end(), ~u64{0});
            break;
        case 2:  // 100..01
            b[0] = 1;
            b[static_cast<std::size_t>(nb - 1)] |= u64{1} << rng.range(0, 63);
            break;
        default:
            rng.fill(b.data(), nb, nb);
    }
    return b;
}

// A dividend of na words built as q * b + r with r < b, so that the
// quotient and remainder words have chosen shapes (r = b - 1 and quotient
// words of all ones need the most corrections). Falls back to random words
// when the product does not fit na words.
std::vector<u64> dividend(TestRng& rng, const std::vector<u64>& b, i64 na) {
    std::vector<u64> a(static_cast<std::size_t>(na));
    const i64 nb = static_cast<i64>(b.size());
    Mpz mb(b.data(), nb), q, r;
    if (rng.chance(40)) {
        rng.fill(a.data(), na, na);
        return a;
    }
    std::vector<u64> qw(static_cast<std::size_t>(na - nb + 1));
    rng.fill(qw.data(), na - nb + 1, na - nb + 1);
    q.set(qw.data(), na - nb + 1);
    std::vector<u64> rw(static_cast<std::size_t>(nb));
    rng.fill(rw.data(), nb, rng.range(0, nb));
    r.set(rw.data(), nb);
    mpz_mod(r, r, mb);
    if (rng.chance(30)) mpz_sub_ui(r, mb, 1);
    mpz_mul(q, q, mb);
    mpz_add(q, q, r);
    if (!q.fits(na)) mpz_tdiv_r_2exp(q, q, static_cast<mp_bitcnt_t>(64 * na));
    q.store(a.data(), na);
    return a;
}

// Whether the words of g hold v and its guard words are intact.
bool holds(const Guarded& g, const Mpz& v) {
    const std::vector<u64> want = v.words(g.n);
    return std::equal(want.begin(), want.end(), g.w.begin()) && g.intact();
}

// Runs vec_divrem on {a, na} / {b, nb} (b's top word non-zero), q or r left
// out as asked, and checks them and the guard words. False after a failure.
bool check_divrem(const std::vector<u64>& a, const std::vector<u64>& b, bool want_q, bool want_r) {
    const i64 na = static_cast<i64>(a.size()), nb = static_cast<i64>(b.size());
    Guarded q(na - nb + 1), r(nb), scratch(vec_divrem_scratch(na, nb));
    vec_divrem(want_q ? q.data() : nullptr, want_r ? r.data() : nullptr, a.data(), na, b.data(), nb,
               scratch.data());
    Mpz ma(a.data(), na), mb(b.data(), nb), mq, mr;
    mpz_tdiv_qr(mq, mr, ma, mb);
    const std::string trace = "a=" + ma.hex() + " b=" + mb.hex();
    EXPECT_TRUE(!want_q || holds(q, mq))
        << "quotient " << words_hex(q.data(), q.n) << " of " << trace;
    EXPECT_TRUE(!want_r || holds(r, mr))
        << "remainder " << words_hex(r.data(), r.n) << " of " << trace;
    EXPECT_TRUE(scratch.intact()) << "scratch overrun, " << trace;
    return !::testing::Test::HasFailure();
}

using VecDivTest = NumlibTest;

TEST_F(VecDivTest, DivremMatchesGmpAroundThreshold) {
    const i64 t = VEC_DIV_DC_THRESHOLD;
    for (i64 iter = 0; iter < test_iterations(1500); ++iter) {
        i64 nb;
        switch (rng.range(0, 3)) {
            case 0:
                nb = rng.range(1, 4);
                break;
            case 1:
                nb = rng.range(t - 3, t + 3);
                break;
            case 2:
                nb = rng.range(t, 4 * t);
                break;
            default:
                nb = rng.range(1, 2 * t);
        }
        const i64 na = nb + (rng.chance(20) ? rng.range(0, 2) : rng.range(0, 3 * nb + 5));
        const std::vector<u64> b = divisor(rng, nb);
        const std::vector<u64> a = dividend(rng, b, na);
        const bool want_q = !rng.chance(15), want_r = !want_q || !rng.chance(15);
        if (!check_divrem(a, b, want_q, want_r)) return;
    }
}

TEST_F(VecDivTest, DivremMatchesGmpForLargeOperands) {
    for (i64 iter = 0; iter < test_iterations(30); ++iter) {
        const i64 nb = rng.chance(50) ? rng.range(300, 1100) : rng.word_count(1100);
        const i64 na = std::min<i64>(nb + rng.range(0, 2 * nb), 2200);
        const std::vector<u64> b = divisor(rng, nb);
        if (!check_divrem(dividend(rng, b, na), b, true, true)) return;
    }
}

// Operands known to need rare corrections, each with its reason.
TEST_F(VecDivTest, DivremHardCases) {
    constexpr u64 H = u64{1} << 63, F = ~u64{0};
    const struct {
        std::vector<u64> a, b;
    } cases[] = {
        // 2^192 / (2^191 + 1): the estimate 2 passes the two-word test, the add-back makes it 1
        {{0, 0, 0, 1}, {1, 0, H}},
        // the two-word test lowers the first estimate twice
        {{0, 0, F >> 1}, {F - 1, H}},
        // an add-back, then a remainder whose top word equals the divisor's: the estimate saturates
        {{0, 0, H}, {1, H}},
        // a = b: quotient 1, remainder 0
        {{5, 7, 9}, {5, 7, 9}},
        // a = b - 1: quotient 0
        {{4, 7, 9}, {5, 7, 9}},
    };
    for (const auto& c : cases) ASSERT_TRUE(check_divrem(c.a, c.b, true, true));
}

// vec_divmod_bits, the bit-serial reference, against vec_divrem.
TEST_F(VecDivTest, DivmodBitsAgreesWithDivrem) {
    for (i64 iter = 0; iter < test_iterations(600); ++iter) {
        const i64 count = rng.chance(90) ? rng.range(1, 40) : rng.range(41, 200);
        Guarded a(count), b(count), q(count), r(count);
        const i64 lb = rng.range(1, count);
        rng.fill(b.data(), count, lb);
        // b filling all count words: the remainder, a bit longer than b, must
        // still be worked on within them (one word more hits the guard words)
        if (lb == count && rng.chance(30)) b.w[static_cast<std::size_t>(lb - 1)] |= u64{1} << 63;
        switch (rng.range(0, 4)) {
            case 0:  // a = b
                std::copy(b.w.begin(), b.w.begin() + count, a.w.begin());
                break;
            case 1: {  // equal bit lengths
                rng.fill(a.data(), count, lb);
                const u64 top = b.w[static_cast<std::size_t>(lb - 1)];
                const u64 mask = ~u64{0} >> __builtin_clzll(top);
                a.w[static_cast<std::size_t>(lb - 1)] = (rng.word() & mask) | (top & ~(mask >> 1));
                break;
            }
            default:
                rng.fill(a.data(), count, rng.range(1, count));
        }
        const i64 abits = vec_bit_length(a.data(), count), bbits = vec_bit_length(b.data(), count);
        if (abits < bbits) continue;  // outside the kernel's contract
        vec_divmod_bits(q.data(), r.data(), a.data(), b.data(), count, abits, bbits);
        const i64 na = vec_len(a.data(), count), nb = vec_len(b.data(), count);
        std::vector<u64> wq(static_cast<std::size_t>(count)), wr(static_cast<std::size_t>(count));
        std::vector<u64> scratch(static_cast<std::size_t>(vec_divrem_scratch(na, nb)));
        vec_divrem(wq.data(), wr.data(), a.data(), na, b.data(), nb, scratch.data());
        const auto trace = [&] {
            return "a=" + words_hex(a.data(), count) + " b=" + words_hex(b.data(), count);
        };
        ASSERT_TRUE(std::equal(wq.begin(), wq.end(), q.w.begin())) << "quotient of " << trace();
        ASSERT_TRUE(std::equal(wr.begin(), wr.end(), r.w.begin())) << "remainder of " << trace();
        ASSERT_TRUE(q.intact() && r.intact()) << "overrun, " << trace();
    }
}

}  // namespace
