// Every shown digit is the correctly rounded one: random functions of random
// decimal arguments, and products of two, at random digit counts (most with
// only two digits to spare in their words, where rounding twice goes wrong
// most often), real and cplx, against MPFR far beyond the digits. (Exact
// ties are rows of tests/golden/calc_display.txt.)
#include <mpfr.h>

#include <string>
#include <vector>

#include "calc_test_util.h"
#include "numlib/cplx.h"
#include "support/mpfr_oracle.h"

namespace {

struct Fn {
    const char* name;
    int (*f)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
};
const Fn kFns[] = {{"sqrt", mpfr_sqrt}, {"cbrt", mpfr_cbrt}, {"ln", mpfr_log},
                   {"exp", mpfr_exp},   {"sin", mpfr_sin},   {"atan", mpfr_atan}};

class CalcRoundingTest : public CalcTest {
  protected:
    // "f(a)" or "f(a)*g(b)" for positive decimals a, b of a few digits; v its
    // value.
    std::string formula(mpfr_ptr v) {
        std::string text;
        for (int factors = rng.chance(50) ? 2 : 1; factors > 0; --factors) {
            const Fn& fn = kFns[rng.range(0, 5)];
            const std::string arg =
                std::to_string(rng.range(1, 999999)) + "e" + std::to_string(rng.range(-7, 0));
            Mpfr a(mpfr_get_prec(v));
            mpfr_set_str(a, arg.c_str(), 10, MPFR_RNDN);
            fn.f(a, a, MPFR_RNDN);
            if (text.empty())
                mpfr_set(v, a, MPFR_RNDN);
            else
                mpfr_mul(v, v, a, MPFR_RNDN);
            if (!text.empty()) text += '*';
            text.append(fn.name).append("(").append(arg).append(")");
        }
        return text;
    }
    // The part (s.realWords words) is v rounded to digits digits; false for a case
    // too close to a tie for the reference to decide.
    bool expect_rounded(const u64* part, mpfr_srcptr v, i32 digits, const std::string& text) {
        if (near_tie(v, digits)) return false;
        std::vector<u64> want(static_cast<std::size_t>(s.realWords) + 1);
        real_from_digits(want.data(), s.realWords, correctly_rounded_half_up(v, digits));
        EXPECT_EQ(std::vector<u64>(part, part + s.realWords + 1), want)
            << text << " at " << digits << " digits: " << shown();
        return true;
    }

    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};

TEST_F(CalcRoundingTest, ShownDigitsMatchMpfrRealAndComplex) {
    i64 decided = 0;
    for (i64 round = test_iterations(1000); round > 0; --round) {
        const i32 digits =
            static_cast<i32>(rng.chance(90) ? 19 * rng.range(0, 4) + 17 : rng.range(1, 120));
        const bool complex = rng.chance(25);
        use(complex ? MP_TYPE_CPLX : MP_TYPE_REAL, digits);
        Mpfr re(oracle_bits(digits + 40)), im(oracle_bits(digits + 40));
        std::string text = formula(re);
        if (complex) text += "+i*(" + formula(im) + ")";
        ASSERT_EQ(eval(text), 0u) << text;
        decided += expect_rounded(s.previousResult.data(), re, digits, text);
        if (complex)
            decided +=
                expect_rounded(cplx_im_of(s.previousResult.data(), s.realWords), im, digits, text);
    }
    EXPECT_GT(decided, test_iterations(900));
}

}  // namespace
