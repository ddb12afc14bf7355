// The type dispatch: each operation reaches the routine of the current type,
// with the type-specific refusals; an unknown type touches nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"
#include "support/numlib_fixture.h"

namespace {

class NumOpsTest : public NumlibTest {
  protected:
    void SetUp() override {
        NumlibTest::SetUp();
        mp_real_words = 2;
        mp_int_words = 2;
    }
    std::vector<u64> integer(i32 type, i64 v) {
        mp_num_type = type;
        auto x = words(8);
        num_from_i64(x.data(), v);
        return x;
    }
    std::vector<u64> fraction(i64 num, i64 den) {
        auto x = integer(MP_TYPE_RAT, num);
        rat_div_u64(x.data(), x.data(), static_cast<u64>(den));
        return x;
    }
    i64 as_i64(const std::vector<u64>& x) {
        i64 out = -1;
        EXPECT_TRUE(num_to_i64(&out, x.data()));
        return out;
    }
};

// Integer results agree in every type; signed types keep signs; an i64
// holds -2^63 but not 2^63; uint has no negatives.
TEST_F(NumOpsTest, IntegerOperationsAgreeAcrossTypes) {
    for (i32 type : {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT}) {
        SCOPED_TRACE(type);
        auto x = integer(type, 3), y = integer(type, 4), r = words(8);
        num_pow(r.data(), x.data(), y.data());
        EXPECT_EQ(as_i64(r), 81);
        num_pow_int(r.data(), x.data(), 5);
        EXPECT_EQ(as_i64(r), 243);
        num_pow10(r.data(), 7);
        EXPECT_EQ(as_i64(r), 10000000);
        auto base = integer(type, 10), big = integer(type, 100000);
        num_logx(r.data(), base.data(), big.data());
        EXPECT_EQ(as_i64(r), 5);
        num_copy(r.data(), y.data());
        EXPECT_EQ(as_i64(r), 4);
        EXPECT_EQ(mp_err(), 0);
        if (type == MP_TYPE_UINT) continue;
        x = integer(type, -12);
        num_abs(r.data(), x.data());
        EXPECT_EQ(as_i64(r), 12);
        num_pow_int(r.data(), x.data(), 3);
        EXPECT_EQ(as_i64(r), -1728);
    }
    auto min = integer(MP_TYPE_RAT, INT64_MIN);
    EXPECT_EQ(as_i64(min), INT64_MIN);
    i64 out = 1;
    rat_from_u64(min.data(), u64{1} << 63);
    EXPECT_FALSE(num_to_i64(&out, min.data()));
    EXPECT_EQ(out, 0);
    integer(MP_TYPE_UINT, -1);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
}

// log_b(x) of rationals is exact only: an integer base, an integer or unit
// fraction x, an integer logarithm; otherwise an error and 0.
TEST_F(NumOpsTest, ExactLogarithmsOfRationals) {
    const struct {
        i64 base_num, base_den, x_num, x_den, log;
        i32 err;
    } cases[] = {
        {10, 1, 1, 100, -2, 0},          {10, 1, 2, 1, 0, MP_ERR_NOT_RATIONAL},
        {3, 2, 9, 4, 0, MP_ERR_DOMAIN},  {1, 1, 1, 1, 0, MP_ERR_DOMAIN},
        {10, 1, 2, 3, 0, MP_ERR_DOMAIN}, {10, 1, -100, 1, 0, MP_ERR_DOMAIN},
    };
    for (const auto& c : cases) {
        auto b = fraction(c.base_num, c.base_den), x = fraction(c.x_num, c.x_den), r = words(8);
        mp_error = 0;
        num_logx(r.data(), b.data(), x.data());
        EXPECT_EQ(mp_err(), c.err) << c.base_num << " " << c.x_num << "/" << c.x_den;
        EXPECT_EQ(r, fraction(c.log, 1));
    }
}

// i^2 = -1 and |i| = 1; each refusal gives its error and, where the type
// says so, zero; an unknown type touches nothing.
TEST_F(NumOpsTest, RefusalsOfTheTypes) {
    auto i = integer(MP_TYPE_CPLX, 0), two = integer(MP_TYPE_CPLX, 2), half = two, r = words(8);
    real_one(cplx_im_of(i.data(), mp_real_words));
    num_div_u64(half.data(), two.data(), 4);
    num_pow(r.data(), i.data(), two.data());
    EXPECT_EQ(as_i64(r), -1);
    num_abs(r.data(), i.data());
    EXPECT_EQ(as_i64(r), 1);
    // r before each call, and r with its first n words zero.
    const std::vector<u64> untouched(8, 0xABCD);
    const auto zero = [&](std::size_t n) {
        auto v = untouched;
        std::fill_n(v.begin(), n, 0);
        return v;
    };
    const struct {
        i32 type;
        std::function<void()> call;
        i32 err;
        std::vector<u64> result;  // empty: not checked
    } cases[] = {
        {MP_TYPE_CPLX, [&] { num_pow(r.data(), i.data(), half.data()); }, MP_ERR_DOMAIN, {}},
        {MP_TYPE_CPLX, [&] { num_pow(r.data(), i.data(), i.data()); }, MP_ERR_NOT_REAL, zero(6)},
        {MP_TYPE_CPLX, [&] { num_logx(r.data(), two.data(), i.data()); }, MP_ERR_NOT_REAL, zero(6)},
        {MP_TYPE_REAL, [&] { num_round_digits(r.data(), two.data(), -1); }, MP_ERR_DOMAIN, zero(3)},
        {MP_TYPE_UINT, [&] { num_div_u64(r.data(), two.data(), 2); }, MP_ERR_TYPE, {}},
        {MP_TYPE_UINT, [&] { num_round_digits(r.data(), two.data(), 3); }, MP_ERR_TYPE, {}},
        {5, [&] { num_copy(r.data(), two.data()); }, MP_ERR_TYPE, untouched},
        {5, [&] { num_pow10(r.data(), 3); }, MP_ERR_TYPE, untouched},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        r = untouched;
        mp_num_type = cases[k].type;
        mp_error = 0;
        cases[k].call();
        EXPECT_EQ(mp_err(), cases[k].err) << "case " << k;
        EXPECT_TRUE(cases[k].result.empty() || r == cases[k].result) << "case " << k;
    }
}

}  // namespace
