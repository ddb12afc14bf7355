// Packed constants (the conversions to and from machine and binary integers
// are rows of real_arith_test.cpp).
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "support/numlib_fixture.h"

namespace {

using RealConvertTest = NumlibTest;
using Words = std::vector<u64>;

TEST_F(RealConvertTest, PackedConstants) {
    mp_set_real_words(3);
    Words x(4, 9);
    const u64 two_words[] = {3, 4, REAL_TOP + 5, 6};  // t = 3: header and two words
    real_from_packed(x.data(), two_words);
    EXPECT_EQ(x, (Words{4, REAL_TOP + 5, 6, 0}));
    const u64 long_one[] = {
        u64{6} | (u64{0xABCD} << 32), 0, REAL_TOP, 1, 2, 3, 4};  // high half ignored
    real_from_packed(x.data(), long_one);
    EXPECT_EQ(x, (Words{0, REAL_TOP, 1, 2}));
    EXPECT_EQ(mp_err(), 0);
    const u64 empty[] = {1, 4};
    real_from_packed(x.data(), empty);
    EXPECT_EQ(mp_err(), MP_ERR_DOMAIN);
    EXPECT_EQ(x, Words(4, 0));
}

}  // namespace
