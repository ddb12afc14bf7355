// Multiplication kernels against GMP: the one-word rows, and vec_mul /
// vec_sqr on both sides of every method threshold, at random sizes, for
// unbalanced shapes and for equal operands, on the portable and the mulx/adx
// loops. Destination and scratch carry canary words after their ends.
#include <gmp.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "numlib/vec.h"
#include "numlib/vec_mul_impl.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using Words = std::vector<u64>;

mp_limb_t* limbs(u64* p) {
    return reinterpret_cast<mp_limb_t*>(p);
}
const mp_limb_t* limbs(const u64* p) {
    return reinterpret_cast<const mp_limb_t*>(p);
}

// Runs body once per set of row loops the processor has, and leaves the
// default choice in place afterwards.
void for_each_loop_set(const std::function<void()>& body) {
    for (bool fast : {false, true}) {
        if (vec_mul_use_fast_loops(fast) != fast) continue;
        SCOPED_TRACE(fast ? "mulx/adx loops" : "portable loops");
        body();
    }
    vec_mul_use_fast_loops(true);
}

enum class Op { mul, mul_same_pointer, sqr };

// The values of the hard-case table below.
enum class Shape { random, all_ones, top_bit, middle_heavy, equal_halves };

Words make_operand(TestRng& rng, i64 n, Shape shape) {
    Words a(static_cast<std::size_t>(n));
    switch (shape) {
        case Shape::random:
            rng.fill(a.data(), n, n);
            break;
        // every partial sum carries as far as it can
        case Shape::all_ones:
            std::fill(a.begin(), a.end(), ~u64{0});
            break;
        // a single bit: the evaluations have long runs of zero words
        case Shape::top_bit:
            a.back() = u64{1} << 63;
            break;
        // only the middle third set: the Toom value at -1 and the Karatsuba
        // differences are negative
        case Shape::middle_heavy:
            for (i64 i = n / 3; i < 2 * n / 3 + 1 && i < n; ++i)
                a[static_cast<std::size_t>(i)] = ~u64{0};
            break;
        // low and high half equal: the Karatsuba difference is zero
        case Shape::equal_halves:
            rng.fill(a.data(), n, n);
            for (i64 i = 0; i < n / 2; ++i)
                a[static_cast<std::size_t>(i + (n + 1) / 2)] = a[static_cast<std::size_t>(i)];
            if (a.back() == 0) a.back() = 1;
            break;
    }
    return a;
}

std::string describe(const char* what, i64 la, i64 lb, const u64* a, const u64* b) {
    std::ostringstream s;
    s << what << " la=" << la << " lb=" << lb << "\n a=" << words_hex(a, la)
      << "\n b=" << words_hex(b, lb);
    return s.str();
}

// One product by vec_mul (or vec_sqr) with noise in the destination and the
// scratch and a canary after each, checked against GMP and, when
// with_rows, against vec_mul_rows. la >= lb. With the same pointer the
// second operand is the lb lowest words of a; b gives only lb.
::testing::AssertionResult product_ok(TestRng& rng, Op op, const Words& a, const Words& b,
                                      bool with_rows) {
    const i64 la = static_cast<i64>(a.size());
    const i64 lb = op == Op::sqr ? la : static_cast<i64>(b.size());
    const u64* bp = op == Op::mul ? b.data() : a.data();
    const i64 n = la + lb;
    const i64 sw = op == Op::sqr ? vec_sqr_scratch(la) : vec_mul_scratch(la, lb);
    Words dst(static_cast<std::size_t>(n + 1)), scratch(static_cast<std::size_t>(sw + 1));
    for (auto& w : dst) w = rng.word();
    for (auto& w : scratch) w = rng.word();
    const u64 dst_canary = dst.back(), scratch_canary = scratch.back();

    if (op == Op::sqr)
        vec_sqr(dst.data(), a.data(), la, scratch.data());
    else
        vec_mul(dst.data(), a.data(), la, bp, lb, scratch.data());

    const char* name = op == Op::sqr ? "vec_sqr" : op == Op::mul ? "vec_mul" : "vec_mul(a, a)";
    Words want(static_cast<std::size_t>(n));
    mpn_mul(limbs(want.data()), limbs(a.data()), la, limbs(bp), lb);
    const auto diff = std::mismatch(want.begin(), want.end(), dst.begin()).first - want.begin();
    if (diff != n)
        return ::testing::AssertionFailure()
               << describe(name, la, lb, a.data(), bp) << "\n first wrong word " << diff
               << "\n got =" << words_hex(dst.data(), n);
    if (dst.back() != dst_canary)
        return ::testing::AssertionFailure()
               << describe(name, la, lb, a.data(), bp) << "\n wrote past dst";
    if (scratch.back() != scratch_canary)
        return ::testing::AssertionFailure() << describe(name, la, lb, a.data(), bp)
                                             << "\n used more than the " << sw << " scratch words";
    if (with_rows) {
        Words rows(static_cast<std::size_t>(n));
        vec_mul_rows(rows.data(), a.data(), la, bp, lb);
        if (rows != want)
            return ::testing::AssertionFailure() << describe("vec_mul_rows", la, lb, a.data(), bp);
    }
    return ::testing::AssertionSuccess();
}

// The schoolbook reference is quadratic; keep it to moderate sizes.
bool rows_affordable(i64 la, i64 lb) {
    return la * lb <= 300 * 300;
}

class VecMulTest : public NumlibTest {
  protected:
    // Checks la x lb as a product of distinct operands and with the same
    // pointer twice; when la == lb also as a square.
    void check_all(i64 la, i64 lb, Shape sa = Shape::random, Shape sb = Shape::random) {
        if (la < lb) std::swap(la, lb);
        const Words a = make_operand(rng, la, sa), b = make_operand(rng, lb, sb);
        const bool rows = rows_affordable(la, lb);
        EXPECT_TRUE(product_ok(rng, Op::mul, a, b, rows));
        EXPECT_TRUE(product_ok(rng, Op::mul_same_pointer, a, b, false));
        if (la == lb) {
            EXPECT_TRUE(product_ok(rng, Op::sqr, a, a, rows));
        }
    }
};

// Sizes on both sides of a threshold and of the next recursion level's.
std::vector<i64> around(i64 t) {
    return {t - 1, t, t + 1, 2 * t - 2, 2 * t - 1, 2 * t, 2 * t + 1};
}

TEST_F(VecMulTest, WordRowsMatchGmp) {
    for_each_loop_set([&] {
        for (i64 it = 0; it < test_iterations(300); ++it) {
            const i64 n = it < 40 ? it / 4 + 1 : rng.word_count(300);
            Words a(static_cast<std::size_t>(n)), r(static_cast<std::size_t>(n));
            rng.fill(a.data(), n, n);
            rng.fill(r.data(), n, rng.range(0, n));
            const u64 v = rng.structured_word();
            SCOPED_TRACE(describe("rows", n, 1, a.data(), &v) + "\n r=" + words_hex(r.data(), n));

            Words want(r), got(r);
            u64 want_c = mpn_addmul_1(limbs(want.data()), limbs(a.data()), n, v);
            EXPECT_EQ(vec_addmul_word(got.data(), a.data(), n, v), want_c);
            EXPECT_EQ(got, want) << "vec_addmul_word";

            want = r;
            got = r;
            want_c = mpn_submul_1(limbs(want.data()), limbs(a.data()), n, v);
            EXPECT_EQ(vec_submul_word(got.data(), a.data(), n, v), want_c);
            EXPECT_EQ(got, want) << "vec_submul_word";

            want_c = mpn_mul_1(limbs(want.data()), limbs(a.data()), n, v);
            EXPECT_EQ(vec_mul_word(got.data(), a.data(), n, v), want_c);
            EXPECT_EQ(got, want) << "vec_mul_word";
            got = a;  // in place
            EXPECT_EQ(vec_mul_word(got.data(), got.data(), n, v), want_c);
            EXPECT_EQ(got, want) << "vec_mul_word in place";
        }
    });
}

TEST_F(VecMulTest, ProductsAndSquaresAroundThresholds) {
    for_each_loop_set([&] {
        for (i64 t : {MUL_KARATSUBA_MIN, MUL_TOOM3_MIN, SQR_KARATSUBA_MIN, SQR_TOOM3_MIN}) {
            for (i64 n : around(t)) check_all(n, n);
            // uneven splits: odd sizes and a short second operand
            check_all(t + 2, t + 1);
            check_all(t + rng.range(0, t), t);
        }
    });
}

TEST_F(VecMulTest, UnbalancedShapes) {
    for_each_loop_set([&] {
        for (i64 lb :
             {i64{1}, MUL_KARATSUBA_MIN - 1, MUL_KARATSUBA_MIN, i64{45}, MUL_TOOM3_MIN, i64{301}}) {
            // the balance limit 3 la <= 4 lb from both sides, whole pieces of
            // lb words with and without a remainder
            const i64 limit = 4 * lb / 3;
            for (i64 la :
                 {limit, limit + 1, 2 * lb - 1, 2 * lb, 3 * lb + 1, 7 * lb + rng.range(0, lb - 1)})
                if (la >= lb && la <= 4000) check_all(la, lb);
        }
    });
}

// Word counts weighted towards the application's (1 to 2000) and the
// double-length values up to 4000 words.
TEST_F(VecMulTest, RandomSizes) {
    for_each_loop_set([&] {
        for (i64 it = 0; it < test_iterations(100); ++it) {
            const i64 la = rng.chance(15) ? 4000 - rng.range(0, 1) : rng.word_count();
            const i64 lb = rng.chance(50) ? la : rng.word_count(la);
            check_all(la, lb);
        }
    });
}

TEST_F(VecMulTest, HardOperands) {
    // Sizes whose top level is schoolbook, Karatsuba and Toom-3, for the
    // product and for the square.
    const i64 sizes[] = {MUL_KARATSUBA_MIN + 1, SQR_KARATSUBA_MIN + 3, MUL_TOOM3_MIN + 2,
                         SQR_TOOM3_MIN + 1, 700};
    const Shape shapes[] = {Shape::all_ones, Shape::top_bit, Shape::middle_heavy,
                            Shape::equal_halves};
    for_each_loop_set([&] {
        for (i64 n : sizes)
            for (Shape sa : shapes) {
                check_all(n, n, sa, sa);
                check_all(n, n, sa, Shape::random);
                check_all(n, n - n / 5, Shape::random, sa);
            }
    });
}

TEST_F(VecMulTest, ScratchStaysModest) {
    // The largest products the application forms: the callers reserve this
    // much from a scratch area of a few megabytes.
    EXPECT_LT(vec_mul_scratch(2000, 2000), 100000);
    EXPECT_LT(vec_mul_scratch(4000, 4000), 200000);
    EXPECT_LE(vec_sqr_scratch(2000), vec_mul_scratch(2000, 2000));
    EXPECT_EQ(vec_mul_scratch(1, 1), 0);
}

}  // namespace
