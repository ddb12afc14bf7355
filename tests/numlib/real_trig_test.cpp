// Sine, cosine and tangent against MPFR: beside multiples of pi/4 (where the
// reduction cancels up to all digits), over the range of word-sized octant
// counts, beyond it up to the table's limit, tiny arguments, and hard cases.
#include <mpfr.h>

#include <algorithm>
#include <string>
#include <utility>
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

// k pi/4 for k = a word times 10^(1 .. 60): beside it, with fewer integer
// digits than the precision has, the fraction cancels up to those digits.
void far_octant_point(mpfr_ptr v, TestRng& rng) {
    Mpfr k(mpfr_get_prec(v));
    mpfr_ui_pow_ui(k, 10, static_cast<unsigned long>(rng.range(1, 60)), MPFR_RNDN);
    mpfr_mul_ui(k, k, rng.word() | 1, MPFR_RNDN);
    mpfr_const_pi(v, MPFR_RNDN);
    mpfr_mul(v, v, k, MPFR_RNDN);
    mpfr_div_2ui(v, v, 2, MPFR_RNDN);
}

// f at the exact argument, however many integer digits it has.
RealFnReference exact_reference(MpfrUnaryFn f) {
    return [f](mpfr_ptr v, const u64* x, i64 m, i64* e10) {
        *e10 = 0;
        Mpfr a(oracle_bits(std::max(2 * 19 * m + 80, real_exp_of(x) + 19 * m + 2)));
        to_mpfr(a, x, m);
        f(v, a, MPFR_RNDN);
    };
}

TEST_F(RealTrigTest, MatchMpfrBeyondWordSizedOctantCounts) {
    const RealSampler x =
        sample_one_of({sample_real(19, 60), sample_real(19, REAL_TRIG_EXP_LIMIT - 1),
                       sample_signed(sample_beside(far_octant_point, 0))});
    check_fn(rng, {"real_sin far", real_sin, exact_reference(mpfr_sin), x, 40});
    check_fn(rng, {"real_cos far", real_cos, exact_reference(mpfr_cos), x, 40});
    check_fn(rng, {"real_tan far", real_tan, exact_reference(mpfr_tan), x, 40});
    // Integers of m words nearest to multiples of pi/2 (convergents of the
    // continued fraction of 10^s 2/pi): their fraction cancels about 19m digits.
    const std::pair<i64, const char*> closest[] = {
        {3, "5.55062716935687362313191648103117386932524696851314055078e96"},
        {4, "4.129368998934059543849530701008954017909802156521498782855944643222087613703e2075"},
        {6,
         "1.73092117957057233170032750217245134014474674763769229303521920284417383284919173"
         "260392929169767776267888509657687e99113"}};
    RealFnStats stats;
    for (const auto& [m, text] : closest) {
        const auto y = real_of_text(m, text);
        EXPECT_TRUE(check_unary_case(stats, m, y, real_sin, exact_reference(mpfr_sin)));
        EXPECT_TRUE(check_unary_case(stats, m, y, real_cos, exact_reference(mpfr_cos)));
        EXPECT_TRUE(check_unary_case(stats, m, y, real_tan, exact_reference(mpfr_tan)));
    }
}

TEST_F(RealTrigTest, MatchMpfrOverTheReducibleRange) {
    const RealSampler x =
        sample_one_of({sample_signed(sample_beside(octant_point, 0)), sample_real(-3000, -1),
                       sample_real(-1, 18), top_of_range});
    check_fn(rng, {"real_sin", real_sin, mpfr_reference(mpfr_sin, true), x, 150});
    check_fn(rng, {"real_cos", real_cos, mpfr_reference(mpfr_cos, true), x, 150});
    check_fn(rng, {"real_tan", real_tan, mpfr_reference(mpfr_tan, true), x, 150});
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

// The digits of a long table equal those of pi/4 (quarter) or 4/pi,
// truncated; the first digit of pi/4 is its first fraction digit.
void expect_table_digits(const u64* table, i32 words, bool quarter) {
    Mpfr pi(oracle_bits(19 * i64{words} + 20));
    mpfr_const_pi(pi, MPFR_RNDN);
    if (quarter)
        mpfr_div_2ui(pi, pi, 2, MPFR_RNDN);
    else
        mpfr_ui_div(pi, 4, pi, MPFR_RNDN);
    mpfr_exp_t e = 0;
    char* s = mpfr_get_str(nullptr, &e, 10, 19 * static_cast<std::size_t>(words), pi, MPFR_RNDZ);
    std::string digits;
    for (i32 i = 0; i < words; ++i) {
        const std::string t = std::to_string(table[i]);
        digits += std::string(19 - t.size(), '0') + t;
    }
    EXPECT_EQ(digits, std::string(s));
    EXPECT_EQ(e, quarter ? 0 : 1);
    mpfr_free_str(s);
}

TEST_F(RealTrigTest, LongTablesArePiOverFourAndFourOverPi) {
    expect_table_digits(REAL_PI4_LONG, REAL_PI4_LONG_WORDS, true);
    expect_table_digits(REAL_4_OVER_PI_LONG, REAL_4_OVER_PI_LONG_WORDS, false);
}

}  // namespace
