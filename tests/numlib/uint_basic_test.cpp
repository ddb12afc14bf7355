// Setting, copying, resizing, comparing, bit access and machine-integer
// conversion of uint values against GMP.
#include <algorithm>
#include <cstring>
#include <limits>

#include "numlib/mp_error.h"
#include "numlib/uint.h"
#include "support/numlib_fixture.h"
#include "support/uint_harness.h"

namespace {

using Ops = std::vector<const Mpz*>;
using Ptrs = std::vector<const u64*>;

constexpr u64 kGuard = 0x3c6ef372fe94f82bULL;

int sign(int c) {
    return (c > 0) - (c < 0);
}

class UintBasicTest : public NumlibTest {
  protected:
    i64 set_random_words() {
        const i64 n = rng.word_count();
        mp_set_int_words(static_cast<i32>(n));
        return n;
    }
    // A value of at most two significant words, often next to 2^63 or 2^64.
    std::vector<u64> small_operand(i64 n) {
        std::vector<u64> a = random_operand(rng, n, rng.range(0, std::min<i64>(n, 2)));
        if (rng.chance(40)) {
            a[0] = (u64{1} << 63) + static_cast<u64>(rng.range(-1, 1));
            if (n > 1) a[1] = 0;
        } else if (rng.chance(30) && n > 1) {  // 2^64 - 1 or 2^64
            const bool over = rng.chance(50);
            a[0] = over ? 0 : ~u64{0};
            a[1] = over;
        }
        return a;
    }
};

TEST_F(UintBasicTest, SetZeroCopyAgainstGmp) {
    for (i64 it = 0; it < test_iterations(300); ++it) {
        const i64 n = set_random_words();
        const u64 v = rng.structured_word();
        const i64 s = rng.chance(20) ? std::numeric_limits<i64>::min() : static_cast<i64>(v);
        const i64 pick = it % 3;  // uint_zero, uint_set_u64, uint_from_i64
        const UintRun set = [v, s, pick](u64* d, const Ptrs&) {
            if (pick == 0) uint_zero(d);
            if (pick == 1) uint_set_u64(d, v);
            if (pick == 2) uint_from_i64(d, s);
            return u64{0};
        };
        const UintOracle want_set = [v, s, pick](UintExpect& want, const Ops&) {
            if (pick == 2 && s < 0) return want.fail(MP_ERR_DOMAIN);
            if (pick > 0) mpz_set_ui(want.value, pick == 1 ? v : static_cast<u64>(s));
        };
        ASSERT_TRUE(check_uint_op("uint set " + std::to_string(pick) + " " + std::to_string(s), set,
                                  want_set, {}));
        ASSERT_TRUE(
            check_uint_op("uint_copy", uint_run(uint_copy),
                          [](UintExpect& want, const Ops& ops) { mpz_set(want.value, *ops[0]); },
                          {random_operand(rng, n)}));
    }
}

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
    struct Case {
        i32 dst_words, src_words;
    };
    for (Case c : {Case{0, 3}, Case{3, 0}, Case{-1, 3}, Case{3, -2}, Case{0, 0}}) {
        std::vector<u64> dst{7, 7, 7, kGuard}, src{1, 2, 3};
        mp_error = 0;
        uint_resize(dst.data(), c.dst_words, src.data(), c.src_words);
        const u64 left = c.dst_words > 0 ? 0 : 7;
        EXPECT_EQ(mp_error, MP_ERR_INTERNAL) << c.dst_words << " " << c.src_words;
        EXPECT_EQ(dst, (std::vector<u64>{left, left, left, kGuard}))
            << c.dst_words << " " << c.src_words;
    }
}

TEST_F(UintBasicTest, PredicatesAndComparisonsAgainstGmp) {
    for (i64 it = 0; it < test_iterations(600); ++it) {
        const i64 n = set_random_words();
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
        EXPECT_EQ(uint_cmp(a.data(), b.data()), sign(mpz_cmp(za, zb)));
        EXPECT_EQ(uint_cmp(b.data(), b.data()), 0);
        EXPECT_EQ(uint_cmp_u64(a.data(), v), sign(mpz_cmp_ui(za.get(), v))) << "v " << v;
        EXPECT_EQ(uint_bit_length(count, a.data()), Mpz(a.data(), count).bits())
            << "count " << count;
        EXPECT_EQ(uint_top_words(top_count, a.data(), b.data()), (want_top + 63) / 64)
            << "count " << top_count;
        EXPECT_EQ(mp_error, 0);
        ASSERT_EQ(mp_scratch_top, top);
    }
}

// Bit indices run to 64n - 1; from 64n on, setting changes nothing and
// reading gives 0, both with error 14.
TEST_F(UintBasicTest, SetAndGetBitAgainstGmp) {
    for (i64 it = 0; it < test_iterations(500); ++it) {
        const i64 n = set_random_words();
        const std::vector<u64> a = random_operand(rng, n);
        const u64 bits = static_cast<u64>(64 * n);
        const u32 bit =
            static_cast<u32>(rng.chance(25)   ? bits + static_cast<u64>(rng.range(-1, 0))
                             : rng.chance(10) ? std::numeric_limits<u32>::max()
                                              : static_cast<u64>(rng.range(0, 64 * n - 1)));
        const int value = static_cast<int>(rng.range(-1, 2));
        const bool outside = bit >= bits;
        ASSERT_TRUE(check_uint_op(
            "uint_set_bit " + std::to_string(bit) + " to " + std::to_string(value),
            [bit, value](u64* d, const Ptrs& p) {
                if (d != p[0]) uint_copy(d, p[0]);
                uint_set_bit(d, bit, value);
                return u64{0};
            },
            [bit, value, outside](UintExpect& want, const Ops& v) {
                mpz_set(want.value, *v[0]);
                if (outside)
                    want.err = MP_ERR_DOMAIN;
                else if (value == 1)
                    mpz_setbit(want.value, bit);
                else
                    mpz_clrbit(want.value, bit);
            },
            {a}));
        const bool pending = rng.chance(10);
        mp_error = pending ? MP_ERR_DIV_ZERO : 0;
        const int got = uint_get_bit(a.data(), bit);
        EXPECT_EQ(mp_error, pending   ? MP_ERR_DIV_ZERO
                            : outside ? MP_ERR_DOMAIN
                                      : 0)
            << "bit " << bit << " n " << n;
        ASSERT_EQ(got, outside ? 0 : mpz_tstbit(Mpz(a.data(), n), bit))
            << "bit " << bit << " of " << words_hex(a.data(), n);
        mp_error = 0;
    }
}

TEST_F(UintBasicTest, MachineIntegerConversionsAgainstGmp) {
    for (i64 it = 0; it < test_iterations(600); ++it) {
        const i64 n = set_random_words();
        const std::vector<u64> a = rng.chance(80) ? small_operand(n) : random_operand(rng, n);
        const Mpz za(a.data(), n);
        const bool fits_i64 = za.bits() <= 63, fits_u64 = za.bits() <= 64;
        const bool quiet = rng.chance(50), pending = rng.chance(10);
        SCOPED_TRACE("a " + za.hex() + (quiet ? " quiet" : "") +
                     (pending ? " error 13 pending" : ""));
        mp_error = pending ? MP_ERR_DIV_ZERO : 0;
        i64 si = -7;
        EXPECT_EQ(uint_to_i64(&si, a.data()), fits_i64);
        EXPECT_EQ(si, fits_i64 ? static_cast<i64>(a[0]) : 0);
        EXPECT_EQ(mp_error, pending ? MP_ERR_DIV_ZERO : 0);
        u64 ui = 7;
        EXPECT_EQ(uint_to_u64(&ui, a.data(), quiet), fits_u64);
        EXPECT_EQ(ui, fits_u64 ? a[0] : 0);
        ASSERT_EQ(mp_error, pending ? MP_ERR_DIV_ZERO : fits_u64 || quiet ? 0 : MP_ERR_DOMAIN);
    }
}

}  // namespace
