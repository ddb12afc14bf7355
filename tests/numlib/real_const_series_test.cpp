// The stored constants recomputed by the library's own sums, products and
// quotients at the table's 528 words, from series of rational terms only (no
// logarithm or arctangent, which read the table themselves):
//   ln x from atanh(1/k) = sum 1 / ((2j + 1) k^(2j + 1)), with
//     ln 2 = 2 atanh(1/3), ln 1.25 = 2 atanh(1/9), ln 1.2 = 2 atanh(1/11),
//     ln 1.01 = 2 atanh(1/201) and ln 10 = 3 ln 2 + ln 1.25;
//   atan(p/q) from Euler's series, whose terms are all positive:
//     atan(p/q) = pq / (p^2 + q^2) sum_j prod_{i <= j} 2i p^2 / ((2i + 1)(p^2 + q^2)),
//     with pi/4 = atan(1/2) + atan(1/3).
// Every sum is of positive terms, t_j = t_{j-1} a_j / b_j. The digits every
// rounding would lose are kept: each spill word of the running sum, and the
// spill of each leading term's quotient, go into a second sum at their own
// weight. So the series value is good to far below a unit of the 528th word,
// and the table entry must lie within half a unit of it: the test checks that
// every stored entry is the constant correctly rounded.
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_const.h"
#include "support/numlib_fixture.h"

namespace {

constexpr i32 W = MP_CONST_WORDS;
using Real = std::vector<u64>;

Real real_of(u64 v) {
    Real x(W + 1);
    real_from_u64(x.data(), v);
    return x;
}

// The decimal exponent of the lowest digit of the spill word of a value with
// exponent e: word k of the mantissa weighs 10^(e - 18 - 19(k - 1)).
i64 spill_exp(i64 e) {
    return e - 18 - 19 * static_cast<i64>(W);
}

// A sum of positive terms held as hi + lo, lo collecting the spill words.
class SpillSum {
  public:
    void add(const u64* t) {
        const u64 spill = real_add_sub(hi_.data(), hi_.data(), t, 0);
        add_low(spill, spill_exp(real_exp_of(hi_.data())));
    }
    // Adds spill * 10^e10 (a spill word placed at its weight).
    void add_low(u64 spill, i64 e10) {
        if (spill == 0) return;
        Real w = real_of(spill);
        real_add_exp(w.data(), e10);
        real_round_guard(lo_.data(), real_add_sub(lo_.data(), lo_.data(), w.data(), 0), W);
    }
    const u64* hi() const { return hi_.data(); }
    const u64* lo() const { return lo_.data(); }

  private:
    Real hi_ = Real(W + 1);
    Real lo_ = Real(W + 1);
};

// t_0 = num0 / den0, t_j = t_{j-1} a_j / b_j with a_j = (2j + a0) ak and
// b_j = (2j + 1) bk.
struct Series {
    u64 num0, den0;
    i64 a0;
    u64 ak, bk;
};

// c atanh(1/k) with c = num / den.
Series atanh_inv(u64 num, u64 den, u64 k) {
    return {num, den * k, -1, 1, k * k};
}
// atan(p/q) by Euler's series.
Series atan_euler(u64 p, u64 q) {
    return {p * q, p * p + q * q, 0, p * p, p * p + q * q};
}

// Adds the series to sum. While a term still reaches into the sum's top
// words it is the exact quotient num_j / den_j of two integers, its spill
// kept; below that the recurrence's roundings no longer matter.
void sum_series(SpillSum& sum, const Series& s) {
    Real num = real_of(s.num0), den = real_of(s.den0), t(W + 1);
    u64 j = 0;
    const auto a = [&](u64 i) { return (2 * i + static_cast<u64>(s.a0)) * s.ak; };
    const auto b = [&](u64 i) { return (2 * i + 1) * s.bk; };
    for (;; ++j) {
        if (j > 0) {
            ASSERT_EQ(real_mul_u64(num.data(), num.data(), a(j)), 0u);
            ASSERT_EQ(real_mul_u64(den.data(), den.data(), b(j)), 0u);
        }
        const u64 spill = real_div(t.data(), num.data(), den.data());
        sum.add(t.data());
        sum.add_low(spill, spill_exp(real_exp_of(t.data())));
        if (real_exp_of(t.data()) < real_exp_of(sum.hi()) - 38) break;
    }
    // The tail: stop once a term lies wholly below the sum's spill word.
    const i64 stop = spill_exp(real_exp_of(sum.hi())) - 19;
    while (true) {
        ++j;
        real_round_guard(t.data(), real_mul_u64(t.data(), t.data(), a(j)), W);
        real_round_guard(t.data(), real_div_u64(t.data(), t.data(), b(j)), W);
        if (real_is_zero(t.data()) || real_exp_of(t.data()) < stop) break;
        sum.add(t.data());
    }
}

struct Constant {
    const char* name;
    i32 idx;
    std::vector<Series> series;
};

const std::vector<Constant>& constants() {
    static const std::vector<Constant> list = {
        {"ln 10", REAL_CONST_LN10, {atanh_inv(6, 1, 3), atanh_inv(2, 1, 9)}},
        {"ln 2", REAL_CONST_LN2, {atanh_inv(2, 1, 3)}},
        {"ln 1.2", REAL_CONST_LN1_2, {atanh_inv(2, 1, 11)}},
        {"ln 1.01", REAL_CONST_LN1_01, {atanh_inv(2, 1, 201)}},
        {"(ln 10)/3", REAL_CONST_LN10_DIV3, {atanh_inv(2, 1, 3), atanh_inv(2, 3, 9)}},
        {"(ln 10)/9", REAL_CONST_LN10_DIV9, {atanh_inv(2, 3, 3), atanh_inv(2, 9, 9)}},
        {"pi/4", REAL_CONST_PI_4, {atan_euler(1, 2), atan_euler(1, 3)}},
        {"atan 0.2", REAL_CONST_ATAN0_2, {atan_euler(1, 5)}},
        {"atan 0.42", REAL_CONST_ATAN0_42, {atan_euler(21, 50)}},
        {"atan 0.67", REAL_CONST_ATAN0_67, {atan_euler(67, 100)}},
    };
    return list;
}

class RealConstSeriesTest : public NumlibTest {
  protected:
    void SetUp() override {
        NumlibTest::SetUp();
        mp_real_words = W;  // the table's precision, past mp_set_real_words
    }
};

TEST_F(RealConstSeriesTest, StoredEntriesAreTheSeriesValuesCorrectlyRounded) {
    for (const Constant& c : constants()) {
        SCOPED_TRACE(c.name);
        SpillSum sum;
        for (const Series& s : c.series) sum_series(sum, s);
        Real stored(W + 1), d(W + 1);
        real_const(stored.data(), c.idx);
        // d = (hi - stored) + lo in units of the stored value's last word;
        // hi and stored agree to within a few units, so hi - stored is exact.
        ASSERT_EQ(real_add_sub(d.data(), sum.hi(), stored.data(), 1), 0u);
        real_round_guard(d.data(), real_add_sub(d.data(), d.data(), sum.lo(), 0), W);
        real_add_exp(d.data(), 18 + 19 * static_cast<i64>(W - 1) - real_exp_of(stored.data()));
        // Half a unit, and 10^-9 of one for the series' own error (below
        // 10^-12: a carried spill or a quotient's spill off by a few units of
        // the 19th digit below the last word, over some 20,000 terms).
        Real bound = real_of(5000000001ULL);
        real_add_exp(bound.data(), -10);
        EXPECT_LT(real_cmp_abs(d.data(), bound.data()), 0)
            << "series - table, in units of the last word: " << (real_sign(d.data()) ? "-" : "")
            << d[1] << "e" << real_exp_of(d.data()) - 18;
    }
    EXPECT_EQ(mp_err(), 0);
}

}  // namespace
