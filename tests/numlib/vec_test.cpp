// The word-vector kernels against GMP's mpn layer, one table row per kernel:
// our routine, GMP's, and the sizes that matter to it (the method thresholds
// of the products and of the division, unbalanced shapes, the double-length
// values up to 4000 words). Operands are full of all-ones and zero words.
// Ours and GMP's write over the same noise, so a word GMP leaves alone ours
// must leave alone too; the scratch starts as noise and has canary words
// after it. Every row runs on the portable and on the mulx/adx word loops.
#include "numlib/vec.h"

#include <gmp.h>

#include <algorithm>
#include <string>
#include <type_traits>
#include <vector>

#include "numlib/vec_mul_impl.h"
#include "support/numlib_fixture.h"
#include "support/uint_harness.h"

namespace {

using Words = std::vector<u64>;
static_assert(std::is_same_v<mp_limb_t, u64>, "GMP's limbs are the kernels' words");

// One call's inputs: a of la words, b of lb words (la >= lb >= 1) and a word v.
struct Args {
    Words a, b;
    u64 v;
};

// How a row's operands are shaped: any sizes, equal sizes, a division (b's
// top word non-zero, a at least as many bits as b) or a square root (a of
// 2n words, normalised).
enum class Shape { any, equal, divide, sqrt };

struct VecOp {
    const char* name;
    Shape shape;
    i64 thresholds[2];  // the kernel's method thresholds, 0 if none
    i64 max_words;
};

const VecOp kOps[] = {
    {"add", Shape::any, {}, 2000},
    {"sub", Shape::any, {}, 2000},
    {"cmp", Shape::equal, {}, 2000},
    {"bit_length", Shape::any, {}, 2000},
    {"lshift", Shape::any, {}, 2000},
    {"rshift", Shape::any, {}, 2000},
    {"mul_word", Shape::any, {}, 2000},
    {"addmul_word", Shape::equal, {}, 2000},
    {"submul_word", Shape::equal, {}, 2000},
    {"mul", Shape::any, {MUL_KARATSUBA_MIN, MUL_TOOM3_MIN}, 4000},
    {"mul_a_by_a", Shape::any, {MUL_KARATSUBA_MIN, MUL_TOOM3_MIN}, 4000},
    {"sqr", Shape::equal, {SQR_KARATSUBA_MIN, SQR_TOOM3_MIN}, 4000},
    // the schoolbook reference is quadratic: moderate sizes
    {"mul_rows", Shape::any, {}, 300},
    {"divrem", Shape::divide, {VEC_DIV_DC_THRESHOLD}, 2200},
    {"divrem_r_only", Shape::divide, {VEC_DIV_DC_THRESHOLD}, 2200},
    {"divmod_word", Shape::any, {}, 2000},
    {"divmod_bits", Shape::divide, {}, 200},
    {"sqrtrem", Shape::sqrt, {}, 2000},
};

i64 scratch_words(const std::string& op, const Args& x) {
    const i64 la = std::ssize(x.a), lb = std::ssize(x.b);
    if (op == "mul" || op == "mul_a_by_a") return vec_mul_scratch(la, lb);
    if (op == "sqr") return vec_sqr_scratch(la);
    if (op == "divrem" || op == "divrem_r_only") return vec_divrem_scratch(la, lb);
    return op == "sqrtrem" ? vec_sqrtrem_scratch(la / 2) : 0;
}

// Runs our kernel, or GMP's when gmp is true, writing the result words and
// then the returned word to o (2 la + 2 words). The divisions write q (la -
// lb + 1 words) and then r; the bit-serial one works on la words for a, b, q
// and r alike; the square root writes s (n words), the remainder's n words
// and its top word.
void run(const std::string& op, bool gmp, u64* o, const Args& x, u64* scratch) {
    const u64 *a = x.a.data(), *b = op == "mul_a_by_a" ? a : x.b.data();
    const i64 la = std::ssize(x.a), lb = std::ssize(x.b), n = la / 2, nq = la - lb + 1;
    const u64 v = x.v;
    const unsigned shift = static_cast<unsigned>(v % 63 + 1);
    Words w(x.a.size());
    if (op == "add") o[la] = gmp ? mpn_add(o, a, la, b, lb) : vec_add(o, a, la, b, lb);
    if (op == "sub") o[la] = gmp ? mpn_sub(o, a, la, b, lb) : vec_sub(o, a, la, b, lb);
    if (op == "cmp") {
        const int c = gmp ? mpn_cmp(a, b, la) : vec_cmp(a, b, la);
        o[0] = static_cast<u64>((c > 0) - (c < 0));
    }
    if (op == "bit_length")
        o[0] = static_cast<u64>(gmp ? Mpz(a, la).bits() : vec_bit_length(a, la));
    if (op == "lshift") o[la] = gmp ? mpn_lshift(o, a, la, shift) : vec_lshift(o, a, la, shift);
    if (op == "rshift") o[la] = gmp ? mpn_rshift(o, a, la, shift) : vec_rshift(o, a, la, shift);
    if (op == "mul_word") o[la] = gmp ? mpn_mul_1(o, a, la, v) : vec_mul_word(o, a, la, v);
    if (op == "addmul_word" || op == "submul_word") std::copy(b, b + lb, o);  // onto b
    if (op == "addmul_word") o[la] = gmp ? mpn_addmul_1(o, a, la, v) : vec_addmul_word(o, a, la, v);
    if (op == "submul_word") o[la] = gmp ? mpn_submul_1(o, a, la, v) : vec_submul_word(o, a, la, v);
    if (gmp && (op == "mul" || op == "mul_a_by_a" || op == "mul_rows")) mpn_mul(o, a, la, b, lb);
    if (!gmp && (op == "mul" || op == "mul_a_by_a")) vec_mul(o, a, la, b, lb, scratch);
    if (!gmp && op == "mul_rows") std::fill(o, o + la + lb, 0);  // it adds to a zeroed dst
    if (!gmp && op == "mul_rows") vec_mul_rows(o, a, la, b, lb);
    if (op == "sqr") gmp ? mpn_sqr(o, a, la) : vec_sqr(o, a, la, scratch);
    if (gmp && (op == "divrem" || op == "divrem_r_only")) mpn_tdiv_qr(o, o + nq, 0, a, la, b, lb);
    if (!gmp && op == "divrem") vec_divrem(o, o + nq, a, la, b, lb, scratch);
    // no quotient wanted: the remainder is still right
    if (!gmp && op == "divrem_r_only") vec_divrem(nullptr, o + nq, a, la, b, lb, scratch);
    if (op == "divrem_r_only") std::fill(o, o + nq, 0);
    if (gmp && op == "divmod_word") o[la] = mpn_divrem_1(o, 0, a, la, v | 1);
    if (!gmp && op == "divmod_word") vec_divmod_word(o, o + la, a, la, v | 1);
    if (gmp && op == "divmod_bits") std::fill(o, o + 2 * la, 0);
    if (gmp && op == "divmod_bits") mpn_tdiv_qr(o, o + la, 0, a, la, b, lb);
    if (!gmp && op == "divmod_bits") {
        std::copy(b, b + lb, w.begin());
        vec_divmod_bits(o, o + la, a, w.data(), la, vec_bit_length(a, la), vec_bit_length(b, lb));
    }
    if (op != "sqrtrem") return;
    if (gmp) mpn_sqrtrem(o, w.data(), a, la);
    if (!gmp) w = x.a;
    if (!gmp) w[n] = vec_sqrtrem(o, w.data(), n, scratch);
    std::copy(w.begin(), w.begin() + n + 1, o + n);
}

// n words of a varied shape: runs of all-ones or zero words (TestRng::fill),
// all ones (every carry runs through), one or two set bits (long runs of
// zero words in the evaluations), only the middle third set (negative Toom
// and Karatsuba differences), or equal halves (a zero Karatsuba difference).
Words operand(TestRng& rng, i64 n) {
    Words w(static_cast<std::size_t>(n));
    const auto at = [&](i64 i) -> u64& { return w[static_cast<std::size_t>(i)]; };
    const i64 shape = rng.range(0, 9);
    if (shape == 0) std::fill(w.begin(), w.end(), ~u64{0});
    if (shape == 1) w.back() = u64{1} << rng.range(0, 63);
    if (shape == 1) w[0] |= rng.chance(50);
    if (shape == 2)
        for (i64 i = n / 3; i < 2 * n / 3 + 1 && i < n; ++i) at(i) = ~u64{0};
    if (shape == 3) rng.fill(w.data(), n, n);
    if (shape == 3)
        for (i64 i = 0; i < n / 2; ++i) at(i + (n + 1) / 2) = at(i);
    if (shape > 3) rng.fill(w.data(), n, rng.chance(80) ? n : rng.range(0, n));
    return w;
}

// A size near the row's threshold t or twice it (the next recursion level),
// small, or weighted towards the application's word counts.
i64 random_size(TestRng& rng, const VecOp& op) {
    const i64 t = op.thresholds[rng.range(0, 1)], pick = rng.range(0, 3);
    if (pick == 0) return rng.range(1, 4);
    if (pick == 1 && t > 0) return t * rng.range(1, 2) + rng.range(-2, 1);
    if (pick <= 2) return rng.word_count(op.max_words);
    return rng.range(1, std::max<i64>(3 * t, 40));
}

Args random_args(TestRng& rng, const VecOp& op) {
    i64 lb = std::min(random_size(rng, op), op.max_words), la = lb;
    if (op.shape == Shape::any || op.shape == Shape::divide) {
        // unbalanced: the balance limit 3 la <= 4 lb from both sides, whole
        // pieces of lb words with and without a remainder, or independent
        const i64 ratios[] = {4 * lb / 3, 4 * lb / 3 + 1, 2 * lb - 1,
                              2 * lb,     3 * lb + 1,     7 * lb + 5};
        if (rng.chance(20))
            la = random_size(rng, op);
        else if (rng.chance(60))
            la = ratios[rng.range(0, 5)];
        la = std::min(std::max(la, lb), op.max_words);
        lb = std::min(lb, la);
    }
    if (op.shape == Shape::sqrt) la = 2 * ((lb + 1) / 2);
    Args x{operand(rng, la), operand(rng, lb), rng.structured_word()};
    if (la == lb && rng.chance(25)) x.b = near_operand(rng, x.a);
    if (op.shape == Shape::sqrt) x.a.back() |= u64{1} << rng.range(62, 63);
    if (op.shape != Shape::divide) return x;
    if (x.b.back() == 0) x.b.back() = rng.word() | 1;
    if (rng.chance(30)) {  // a = q b + b - 1: the largest remainder, all-ones quotient words
        const Words qw = operand(rng, la - lb + 1);
        Mpz a(qw.data(), la - lb + 1), b(x.b.data(), lb);
        mpz_add_ui(a, a, 1);
        mpz_mul(a, a, b);
        mpz_sub_ui(a, a, 1);
        mpz_tdiv_r_2exp(a, a, static_cast<mp_bitcnt_t>(64 * la));
        a.store(x.a.data(), la);
    }
    if (la == lb) x.a.back() |= x.b.back();  // as many bits as b
    if (x.a.back() == 0) x.a.back() = 1;
    return x;
}

// One call of a row against GMP's, both on the same noise in their output:
// what GMP leaves alone ours must leave alone too. The scratch starts as
// noise and has two canary words after it.
::testing::AssertionResult agrees(TestRng& rng, const VecOp& op, const Args& x) {
    const i64 sw = scratch_words(op.name, x);
    Words out(2 * x.a.size() + 2), scratch(static_cast<std::size_t>(sw + 2));
    for (u64& w : out) w = rng.word();
    for (u64& w : scratch) w = rng.word();
    Words want = out;
    const Words guard(scratch.end() - 2, scratch.end());
    run(op.name, false, out.data(), x, scratch.data());
    run(op.name, true, want.data(), x, nullptr);
    const auto wrong = std::mismatch(want.begin(), want.end(), out.begin()).first - want.begin();
    const bool guarded = std::equal(guard.begin(), guard.end(), scratch.end() - 2);
    if (wrong == std::ssize(want) && guarded) return ::testing::AssertionSuccess();
    auto failure = ::testing::AssertionFailure() << op.name << " la=" << std::ssize(x.a)
                                                 << " lb=" << std::ssize(x.b) << " v=" << x.v;
    if (wrong != std::ssize(want)) failure << ": first wrong word " << wrong;
    if (!guarded) failure << ": used more than " << sw << " scratch words";
    return failure << "\n a=" << words_hex(x.a.data(), std::ssize(x.a))
                   << "\n b=" << words_hex(x.b.data(), std::ssize(x.b));
}

class VecOpsTest : public NumlibTest, public ::testing::WithParamInterface<VecOp> {};

TEST_P(VecOpsTest, AgreesWithGmp) {
    const VecOp& op = GetParam();
    for (bool fast : {false, true}) {
        if (vec_mul_use_fast_loops(fast) != fast) continue;
        SCOPED_TRACE(fast ? "mulx/adx loops" : "portable loops");
        for (i64 it = 0; it < test_iterations(150); ++it)
            ASSERT_TRUE(agrees(rng, op, random_args(rng, op)));
    }
    vec_mul_use_fast_loops(true);
}

INSTANTIATE_TEST_SUITE_P(Kernels, VecOpsTest, ::testing::ValuesIn(kOps),
                         [](const auto& p) { return std::string(p.param.name); });

// Quotient-word estimates random operands reach only by luck.
using VecEdgesTest = NumlibTest;

TEST_F(VecEdgesTest, DivisionEstimateEdges) {
    constexpr u64 H = u64{1} << 63, F = ~u64{0};
    const Args cases[] = {
        // 2^192 / (2^191 + 1): the estimate 2 passes the two-word test, the add-back makes it 1
        {{0, 0, 0, 1}, {1, 0, H}, 0},
        // the two-word test lowers the first estimate twice
        {{0, 0, F >> 1}, {F - 1, H}, 0},
        // an add-back, then a remainder whose top word equals the divisor's: the estimate saturates
        {{0, 0, H}, {1, H}, 0},
        {{0, F - 1, H}, {F, H}, 0},
        // one too large after the two-word test: add back
        {{0, 0, H, H - 1}, {1, 0, H}, 0},
    };
    for (const VecOp& op : kOps) {
        if (op.shape != Shape::divide) continue;
        for (const Args& x : cases) EXPECT_TRUE(agrees(rng, op, x));
    }
}

TEST_F(VecEdgesTest, ScratchStaysModest) {
    // The largest products the application forms: the callers reserve this
    // much from a scratch area of a few megabytes.
    EXPECT_LT(vec_mul_scratch(2000, 2000), 100000);
    EXPECT_LT(vec_mul_scratch(4000, 4000), 200000);
    EXPECT_LE(vec_sqr_scratch(2000), vec_mul_scratch(2000, 2000));
}

}  // namespace
