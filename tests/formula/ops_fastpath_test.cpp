// Products and quotients by an operand that is a machine word take a
// word-sized routine; the result must be the one the general product or
// quotient of the type gives, whichever side the word stands on and
// whatever its sign.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "formula/formula_ops.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"
#include "support/mpfr_oracle.h"
#include "support/numlib_fixture.h"
#include "support/rat_harness.h"

namespace {

constexpr u16 MUL = 602;
constexpr u16 DIV = 603;

class OpsFastPath : public NumlibTest {
  protected:
    // A word of varied size: small, near 10^19 (two decimal words), near 2^64.
    u64 random_word() {
        switch (rng.range(0, 4)) {
            case 0:
                return static_cast<u64>(rng.range(0, 12));
            case 1:
                return REAL_BASE - 1 + static_cast<u64>(rng.range(0, 2));
            case 2:
                return ~u64{0} - static_cast<u64>(rng.range(0, 3));
            default:
                return rng.word() >> rng.range(0, 63);
        }
    }

    // v as a value of the current type, negated when negative.
    std::vector<u64> word_value(u64 v, bool negative, std::size_t size) {
        std::vector<u64> x(size);
        switch (mp_num_type) {
            case MP_TYPE_REAL:
            case MP_TYPE_CPLX:
                real_from_u64(x.data(), v);
                if (negative) real_negate(x.data());
                if (mp_num_type == MP_TYPE_CPLX) real_zero(cplx_im_of(x.data(), mp_real_words), 0);
                break;
            case MP_TYPE_UINT:
                uint_set_u64(x.data(), v);
                break;
            case MP_TYPE_RAT:
                rat_from_u64(x.data(), v);
                if (negative && v != 0) x[0] = 1;
                break;
        }
        return x;
    }

    // The general product or quotient of the type (real: see check_real).
    void general(u16 op, u64* dst, const u64* a, const u64* b) {
        switch (mp_num_type) {
            case MP_TYPE_CPLX:
                return op == MUL ? cplx_mul(dst, a, b) : cplx_div(dst, a, b);
            case MP_TYPE_UINT:
                return uint_mul(dst, a, b);
            case MP_TYPE_RAT:
                return rat_mul_div(dst, a, b, op == DIV);
        }
    }

    // A random operand of the current type; cplx values are real when
    // real_only (the general product has the real path then).
    std::vector<u64> random_value(bool real_only) {
        const i64 m = mp_real_words;
        switch (mp_num_type) {
            case MP_TYPE_REAL:
                return random_real(rng, m);
            case MP_TYPE_CPLX: {
                std::vector<u64> z(static_cast<std::size_t>(cplx_value_words(static_cast<i32>(m))));
                random_real(rng, z.data(), m);
                if (real_only)
                    real_zero(cplx_im_of(z.data(), static_cast<i32>(m)), 0);
                else
                    random_real(rng, cplx_im_of(z.data(), static_cast<i32>(m)), m);
                return z;
            }
            case MP_TYPE_UINT: {
                std::vector<u64> u(static_cast<std::size_t>(mp_int_words));
                rng.fill(u.data(), mp_int_words, rng.range(1, mp_int_words));
                return u;
            }
            default:
                return random_rat(rng, mp_int_words);
        }
    }

    // Equal values (the signs of zeros are not compared: both print as 0).
    // The general cplx product and quotient are within one unit of the last
    // digit per part (the quotient also for real operands), while the word
    // routines round each part once, so there the two may differ by that unit.
    static void expect_same(const u64* fast, const u64* slow, i32 m, bool exact) {
        if (exact || real_is_zero(slow)) {
            EXPECT_EQ(real_cmp(fast, slow), 0)
                << real_text(fast, m) << " vs " << real_text(slow, m);
            return;
        }
        Mpfr reference(oracle_bits(19 * m));
        const i64 e10 = to_mpfr_scaled(reference, slow, m);
        EXPECT_LE(std::abs(ulps_from(fast, m, reference, e10)), 1.0)
            << real_text(fast, m) << " vs " << real_text(slow, m);
    }

    // A real result against MPFR: the product or quotient rounded once, as
    // the general operation rounds it (cases next to a tie are skipped).
    static void check_real(u16 op, const u64* result, const u64* a, u64 v, bool negative) {
        const i32 m = mp_real_words;
        Mpfr x(oracle_bits(19 * m, 192));
        const i64 e10 = to_mpfr_scaled(x, a, m);
        if (op == MUL)
            mpfr_mul_ui(x, x, v, MPFR_RNDN);
        else
            mpfr_div_ui(x, x, v, MPFR_RNDN);
        if (negative) mpfr_neg(x, x, MPFR_RNDN);
        if (near_tie(x, 19 * m, 1e-3, e10)) return;
        EXPECT_TRUE(real_is_rounded(result, m, x, e10));
    }

    // Runs op with the word on the left (mul only) and on the right.
    void check(u16 op, bool real_only) {
        std::vector<u64> a = random_value(real_only);
        u64 v = random_word();
        // One real word holds 19 digits: a 20-digit v must end in 0.
        const bool real_type = mp_num_type == MP_TYPE_REAL || mp_num_type == MP_TYPE_CPLX;
        if (real_type && mp_real_words == 1 && v >= REAL_BASE) v -= v % 10;
        const bool negative = mp_num_type != MP_TYPE_UINT && rng.chance(50);
        std::vector<u64> w = word_value(v, negative, a.size());
        for (int word_left = 0; word_left <= (op == MUL ? 1 : 0); ++word_left) {
            std::vector<u64> fast = word_left ? w : a;
            std::vector<u64> slow(a.size());
            mp_error.store(0);
            applyOperator(op, fast.data(), word_left ? a.data() : w.data());
            const i32 fast_error = mp_error.exchange(0);
            general(op, slow.data(), word_left ? w.data() : a.data(),
                    word_left ? a.data() : w.data());
            const i32 slow_error = mp_error.exchange(0);
            SCOPED_TRACE(testing::Message()
                         << "type " << mp_num_type << " op " << op << " v " << (negative ? "-" : "")
                         << v << " word_left " << word_left << " words " << mp_real_words << "/"
                         << mp_int_words);
            if (mp_num_type == MP_TYPE_REAL) {
                if (v == 0 && op == DIV) {
                    EXPECT_EQ(fast_error, MP_ERR_DIV_ZERO);
                } else if (!real_is_zero(a.data()) && v != 0) {
                    // Quotients and products stay far inside the exponent range.
                    ASSERT_EQ(fast_error, 0);
                    check_real(op, fast.data(), a.data(), v, negative);
                }
                continue;
            }
            ASSERT_EQ(fast_error, slow_error);
            if (fast_error != 0) continue;
            if (mp_num_type == MP_TYPE_REAL || mp_num_type == MP_TYPE_CPLX) {
                const i32 m = mp_real_words;
                const bool exact = real_only && op == MUL;
                expect_same(fast.data(), slow.data(), m, exact);
                if (mp_num_type == MP_TYPE_CPLX)
                    expect_same(cplx_im_of(fast.data(), m), cplx_im_of(slow.data(), m), m, exact);
            } else {
                EXPECT_EQ(fast, slow);
            }
        }
    }

    void run(i32 type, u16 op, bool real_only = true) {
        mp_num_type = type;
        const i64 rounds = test_iterations(300);
        for (i64 i = 0; i < rounds; ++i) {
            mp_set_real_words(static_cast<i32>(rng.range(1, 12)));
            mp_set_int_words(static_cast<i32>(rng.range(1, 6)));
            check(op, real_only);
            if (HasFatalFailure()) return;
        }
    }
};

// The general real product and quotient (no operand a machine word) are
// rounded once as well, so both paths agree.
TEST_F(OpsFastPath, RealGeneralPath) {
    mp_num_type = MP_TYPE_REAL;
    RandomRealOptions opt;
    opt.zero_percent = 0;
    for (i64 i = 0; i < test_iterations(300); ++i) {
        const i32 m = static_cast<i32>(rng.range(1, 14));
        mp_set_real_words(m);
        const std::vector<u64> a = random_real(rng, m, opt);
        std::vector<u64> b = random_real(rng, m, opt);
        b[static_cast<std::size_t>(m)] |= 1;  // an odd last word: never an integer below 2^64
        const u16 op = rng.chance(50) ? MUL : DIV;
        std::vector<u64> x = a;
        applyOperator(op, x.data(), b.data());
        ASSERT_EQ(mp_error.exchange(0), 0);
        Mpfr ra(oracle_bits(19 * m, 192));
        Mpfr rb(oracle_bits(19 * m, 192));
        const i64 ea = to_mpfr_scaled(ra, a.data(), m);
        const i64 eb = to_mpfr_scaled(rb, b.data(), m);
        (op == MUL ? mpfr_mul : mpfr_div)(ra, ra, rb, MPFR_RNDN);
        const i64 e10 = op == MUL ? ea + eb : ea - eb;
        if (near_tie(ra, 19 * m, 1e-3, e10)) continue;
        EXPECT_TRUE(real_is_rounded(x.data(), m, ra, e10)) << "op " << op << " words " << m;
    }
}

// Each type's word routines, the word on either side, with real and (cplx)
// complex operands.
TEST_F(OpsFastPath, WordOperandsGiveTheGeneralResult) {
    const struct {
        i32 type;
        u16 op;
        bool realOnly;
    } runs[] = {{MP_TYPE_REAL, MUL, true},  {MP_TYPE_REAL, DIV, true},  {MP_TYPE_CPLX, MUL, true},
                {MP_TYPE_CPLX, DIV, true},  {MP_TYPE_CPLX, MUL, false}, {MP_TYPE_CPLX, DIV, false},
                {MP_TYPE_UINT, MUL, true},  {MP_TYPE_RAT, MUL, true},   {MP_TYPE_RAT, DIV, true}};
    for (const auto& r : runs) {
        run(r.type, r.op, r.realOnly);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
