// Sine, cosine and tangent against MPFR: beside multiples of pi/4 (where the
// reduction cancels up to all digits), over the reducible range up to its
// u64 octant limit, tiny arguments, and hard cases.
#include <mpfr.h>

#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real_fn.h"
#include "numlib/real_trig_impl.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

using RealTrigTest = NumlibTest;

// k pi/4 for a small k or one up to 2^60.
void octant_point(mpfr_ptr v, TestRng& rng) {
    u64 k = static_cast<u64>(rng.range(1, 16));
    if (rng.chance(40)) k = (rng.word() >> rng.range(4, 63)) | 1;
    mpfr_const_pi(v, MPFR_RNDN);
    mpfr_mul_ui(v, v, k, MPFR_RNDN);
    mpfr_div_2ui(v, v, 2, MPFR_RNDN);
}

// Arguments up to 1.4488e19 (octant counts near 2^64) and tiny ones.
std::vector<u64> top_of_range(TestRng& rng, i64 m) {
    auto x = sample_real(19, 19, true, 0)(rng, m);
    x[1] = REAL_TOP + x[1] % (REAL_TOP / 1000 * 448);
    return x;
}

TEST_F(RealTrigTest, MatchMpfrOverTheReducibleRange) {
    const RealSampler x =
        sample_one_of({sample_signed(sample_beside(octant_point, 0)), sample_real(-3000, -1),
                       sample_real(-1, 18), top_of_range});
    check_fn(rng, {"real_sin", real_sin, mpfr_reference(mpfr_sin, true), x, 150});
    check_fn(rng, {"real_cos", real_cos, mpfr_reference(mpfr_cos, true), x, 150});
    check_fn(rng, {"real_tan", real_tan, mpfr_reference(mpfr_tan, true), x, 150});
}

TEST_F(RealTrigTest, HardCases) {
    for (RealUnaryFn fn : {real_sin, real_cos, real_tan}) {
        // 2^64 pi/4 = 1.44880389e19: beyond it the octant count leaves a u64
        EXPECT_TRUE(fn_case(fn, 2, "1.4489e19", nullptr, MP_ERR_DOMAIN));
        EXPECT_TRUE(fn_case(fn, 2, "-3e25", nullptr, MP_ERR_DOMAIN));
    }
    EXPECT_TRUE(fn_case(real_sin, 2, "-0", "-0", 0)) << "a negative zero keeps its sign";
    EXPECT_TRUE(fn_case(real_tan, 2, "-0", "-0", 0));
    EXPECT_TRUE(fn_case(real_cos, 2, "-0", "1", 0));
}

TEST_F(RealTrigTest, APendingErrorStopsTheWorkAndGivesZero) {
    const auto x = sample_real(-1, 5)(rng, 527);
    for (RealUnaryFn fn : {real_sin, real_cos, real_tan}) {
        mp_set_real_words(527);
        mp_raise(MP_ERR_STOPPED);
        std::vector<u64> out(528, 7);
        real_guarded_unary(out.data(), x.data(), 2, fn);
        EXPECT_EQ(mp_err(), MP_ERR_STOPPED);
        EXPECT_EQ(out, std::vector<u64>(528, 0));
        mp_error.store(0);
    }
}

TEST_F(RealTrigTest, LongPiTableIsPiOverFour) {
    Mpfr pi(oracle_bits(19 * REAL_PI4_LONG_WORDS + 20));
    mpfr_const_pi(pi, MPFR_RNDN);
    mpfr_div_2ui(pi, pi, 2, MPFR_RNDN);
    mpfr_exp_t e = 0;
    char* s = mpfr_get_str(nullptr, &e, 10, 19 * REAL_PI4_LONG_WORDS, pi, MPFR_RNDZ);
    std::string table;
    for (u64 w : REAL_PI4_LONG) {
        const std::string t = std::to_string(w);
        table += std::string(19 - t.size(), '0') + t;
    }
    EXPECT_EQ(table, std::string(s));
    EXPECT_EQ(e, 0);
    mpfr_free_str(s);
}

}  // namespace
