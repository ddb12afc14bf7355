// Moving, resizing, predicates and comparisons of uint values against
// memmove and GMP (the routines with a destination are in uint_ops_test).
#include <algorithm>
#include <cstring>

#include "numlib/mp_error.h"
#include "numlib/uint.h"
#include "support/numlib_fixture.h"
#include "support/uint_harness.h"

namespace {

constexpr u64 kGuard = 0x3c6ef372fe94f82bULL;

using UintBasicTest = NumlibTest;

// memmove semantics, whichever way the two ranges overlap.
TEST_F(UintBasicTest, MoveOverlapsInBothDirections) {
    for (i64 it = 0; it < test_iterations(500); ++it) {
        const i64 size = rng.chance(50) ? rng.range(1, 40) : rng.word_count(4000);
        const i64 count = rng.chance(5) ? 0 : rng.range(1, size);
        const i64 from = rng.range(0, size - count), to = rng.range(0, size - count);
        std::vector<u64> area(static_cast<std::size_t>(size + 2));
        rng.fill(area.data(), size + 2, size + 2);
        area.front() = area.back() = kGuard;
        std::vector<u64> want = area;
        std::memmove(want.data() + 1 + to, want.data() + 1 + from,
                     static_cast<std::size_t>(count) * 8);
        uint_move(area.data() + 1 + to, area.data() + 1 + from, count);
        ASSERT_EQ(area, want) << "size " << size << " count " << count << " from " << from << " to "
                              << to;
    }
    EXPECT_EQ(mp_error, 0);
}

// Growing zero-fills, shrinking drops only zero words; dst may be src.
TEST_F(UintBasicTest, ResizeAgainstGmp) {
    for (i64 it = 0; it < test_iterations(500); ++it) {
        const i64 dw = rng.word_count(), sw = rng.word_count();
        // lengths of dst_words and dst_words + 1 are the boundary of a shrink
        const i64 len = rng.chance(40)   ? std::min(sw, dw + rng.range(0, 1))
                        : rng.chance(50) ? rng.range(0, std::min(dw, sw))
                                         : random_len(rng, sw);
        const std::vector<u64> src = random_operand(rng, sw, len);
        const bool same = rng.chance(40), pending = rng.chance(10);
        std::vector<u64> dbuf(static_cast<std::size_t>(std::max(dw, sw) + 2), kGuard);
        std::vector<u64> sbuf = dbuf;
        std::copy(src.begin(), src.end(), (same ? dbuf : sbuf).begin() + 1);
        const std::vector<u64> before = dbuf;
        const Mpz value(src.data(), sw);
        const bool fits = value.fits(dw);
        u64* dst = dbuf.data() + 1;
        mp_error = pending ? MP_ERR_DIV_ZERO : 0;
        u8* top = mp_scratch_top;
        uint_resize(dst, static_cast<i32>(dw), same ? dst : sbuf.data() + 1, static_cast<i32>(sw));
        SCOPED_TRACE("dst_words " + std::to_string(dw) + " src_words " + std::to_string(sw) +
                     (same ? " in place" : "") + " src " + value.hex());
        EXPECT_EQ(mp_error, pending ? MP_ERR_DIV_ZERO : fits ? 0 : MP_ERR_OVERFLOW);
        EXPECT_EQ(mp_scratch_top, top);
        EXPECT_EQ(dbuf[0], kGuard);
        // nothing past dst_words is written, not even the source's own high words
        EXPECT_TRUE(std::equal(dbuf.begin() + dw + 1, dbuf.end(), before.begin() + dw + 1));
        ASSERT_EQ(Mpz(dst, dw).hex(), fits ? value.hex() : "0x0");
    }
}

// A count below 1 is refused with error 30; a dst with words in it becomes 0.
TEST_F(UintBasicTest, ResizeRefusesEmptyCounts) {
    for (auto [dw, sw] : {std::pair{0, 3}, {3, 0}, {-1, 3}, {3, -2}, {0, 0}}) {
        std::vector<u64> dst{7, 7, 7, kGuard}, src{1, 2, 3};
        mp_error = 0;
        uint_resize(dst.data(), dw, src.data(), sw);
        const u64 left = dw > 0 ? 0 : 7;
        EXPECT_EQ(mp_error, MP_ERR_INTERNAL) << dw << " " << sw;
        EXPECT_EQ(dst, (std::vector<u64>{left, left, left, kGuard})) << dw << " " << sw;
    }
}

TEST_F(UintBasicTest, PredicatesAndComparisonsAgainstGmp) {
    for (i64 it = 0; it < test_iterations(600); ++it) {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        std::vector<u64> a = random_operand(rng, n);
        if (rng.chance(20)) a[0] = 1;  // 1, or 1 with higher words that make it not one
        const std::vector<u64> b = rng.chance(50) ? near_operand(rng, a) : random_operand(rng, n);
        const Mpz za(a.data(), n), zb(b.data(), n);
        const u64 v =
            rng.chance(50) ? a[0] + static_cast<u64>(rng.range(-1, 1)) : rng.structured_word();
        const i32 count = static_cast<i32>(rng.range(0, n));
        const i32 top_count = rng.chance(30) ? 0 : count;
        const i64 span = top_count == 0 ? n : top_count;
        const i64 want_top =
            std::max<i64>({Mpz(a.data(), span).bits(), Mpz(b.data(), span).bits(), 1});
        u8* top = mp_scratch_top;
        SCOPED_TRACE("n " + std::to_string(n) + " a " + za.hex() + " b " + zb.hex());
        EXPECT_EQ(uint_is_zero(a.data()), mpz_sgn(za.get()) == 0);
        EXPECT_EQ(uint_is_one(a.data()), mpz_cmp_ui(za.get(), 1) == 0);
        EXPECT_EQ(uint_cmp(a.data(), b.data()), std::clamp(mpz_cmp(za, zb), -1, 1));
        EXPECT_EQ(uint_cmp_u64(a.data(), v), std::clamp(mpz_cmp_ui(za.get(), v), -1, 1))
            << "v " << v;
        EXPECT_EQ(uint_bit_length(count, a.data()), Mpz(a.data(), count).bits())
            << "count " << count;
        EXPECT_EQ(uint_top_words(top_count, a.data(), b.data()), (want_top + 63) / 64)
            << "count " << top_count;
        EXPECT_EQ(mp_error, 0);
        ASSERT_EQ(mp_scratch_top, top);
    }
}

}  // namespace
