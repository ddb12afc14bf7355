// The solver against FLINT's exact reduced row echelon form: random systems
// of every rank, consistent or not, solved in rat and in real must come out
// as the echelon form's family in the free unknowns, named as parameters;
// and the lists of up to thirty parameters.
#include <gmpxx.h>

#include <string>
#include <vector>

#include "linear_test_util.h"
#include "numlib/num.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "support/mpfr_oracle.h"
#include "support/rat_harness.h"
#include "textbuf/text_utf8.h"

namespace {

using IntMatrix = std::vector<std::vector<i64>>;  // n rows of n + 1, b last

std::string text_of(const linear_solution& sol, i64 i) {
    char16_t chars[4096];
    TextBuf buf{0, 4095, chars};
    solution_text(buf, sol, i);
    return text_to_utf8(std::u16string(chars, static_cast<std::size_t>(buf.length)));
}

// The name of the q-th free unknown (1-based, in increasing order).
std::string expected_name(i64 q) {
    return q <= 4 ? std::string(1, "rstu"[q - 1]) : "v" + std::to_string(q - 4);
}

// A = B C with B n x k and C k x n random, so rank A <= k (almost always k),
// now and then with a zero column; b = A x0, or off it (mostly inconsistent).
IntMatrix random_system(TestRng& rng, i32 n, i32 k) {
    IntMatrix b(n, std::vector<i64>(k)), c(k, std::vector<i64>(n));
    for (IntMatrix* f : {&b, &c})
        for (auto& row : *f)
            for (auto& v : row) v = rng.range(-4, 4);
    if (k > 0 && rng.chance(20)) {
        for (auto& row : c) row[rng.range(0, n - 1)] = 0;
    }
    const bool consistent = rng.chance(70);
    IntMatrix a(n, std::vector<i64>(n + 1, 0));
    std::vector<i64> x0(n);
    for (auto& v : x0) v = rng.range(-9, 9);
    for (i32 i = 0; i < n; ++i) {
        for (i32 j = 0; j < n; ++j) {
            for (i32 l = 0; l < k; ++l) a[i][j] += b[i][l] * c[l][j];
            a[i][n] += a[i][j] * x0[j];
        }
        if (!consistent) a[i][n] += rng.range(-3, 3);
    }
    return a;
}

// The real value x within a unit of the last of `digits` digits of want
// (relative to 1 for small values).
::testing::AssertionResult real_near(const u64* x, const mpq_class& want, i32 digits) {
    Mpfr got(4000), w(4000);
    to_mpfr(got, x, mp_real_words);
    mpfr_set_q(w, want.get_mpq_t(), MPFR_RNDN);
    const double scale = std::max(1.0, std::fabs(mpfr_get_d(w, MPFR_RNDN)));
    mpfr_sub(got, got, w, MPFR_RNDN);
    const double err = std::fabs(mpfr_get_d(got, MPFR_RNDN)) / scale;
    if (err <= std::pow(10.0, 1 - digits)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "off by " << err << " instead of " << want.get_str();
}

}  // namespace

TEST_F(LinearTest, SystemsOfEveryRankGiveTheEchelonFamily) {
    for (i64 iter = 0; iter < test_iterations(4); ++iter) {
        const i32 n = static_cast<i32>(rng.range(2, iter == 0 ? 25 : 9));
        for (i32 k = 0; k <= n; ++k) {
            const IntMatrix m = random_system(rng, n, k);
            for (i32 type : {MP_TYPE_RAT, MP_TYPE_REAL}) {
                SCOPED_TRACE(::testing::Message()
                             << "n " << n << " rank <= " << k << " type " << type);
                // n rows of n + 1 values and as many solution slots, at the
                // context the page sets. For rat now and then row i divided by
                // r_i and column j < n by c_j, which keeps the rank and the
                // consistency and which exact elimination scales back to integers.
                const bool fractions = type == MP_TYPE_RAT && rng.chance(75);
                std::vector<i64> den(2 * n + 1, 1);  // r_0.., then c_0..
                for (i32 i = 0; i < 2 * n && fractions; ++i) den[i] = rng.range(1, 12);
                linear_system sys;
                linear_solution sol;
                sol.format_flags = linear_set_context(type, 30);
                const i64 w = num_size_bytes(0, type) / 8;
                std::vector<u64> values(static_cast<std::size_t>(n * (n + 1) * w)), slots(values);
                sys.n = sol.count = n;
                sys.type = sol.type = type;
                sys.value_bytes = sol.value_bytes = w * 8;
                sys.real_words = sol.real_words = mp_real_words;
                sys.int_words = sol.int_words = mp_int_words;
                sol.digits = 30;
                QMatrix exact(n, std::vector<mpq_class>(n + 1));
                for (i32 i = 0; i < n; ++i) {
                    sys.rows[i] = values.data() + i * (n + 1) * w;
                    sol.x[i] = slots.data() + i * (n + 1) * w;
                    for (i32 j = 0; j <= n; ++j) {
                        const i64 d = den[i] * den[n + j];
                        exact[i][j] = mpq_class(m[i][j]) / d;
                        u64* v = sys.rows[i] + j * w;
                        num_from_i64(v, m[i][j]);
                        if (d > 1) rat_div_u64(v, v, static_cast<u64>(d));
                    }
                }
                std::vector<bool> is_free;
                const auto want = echelon_family(exact, is_free);
                solve_linear(sys, sol);
                ASSERT_EQ(appError.load(), 0u);
                if (want.empty()) {
                    EXPECT_EQ(sol.count, -1);
                    continue;
                }
                ASSERT_EQ(sol.count, n);
                const i64 params = static_cast<i64>(want[0].size()) - 1;
                ASSERT_EQ(sol.param_count, params);
                for (i32 j = 0; j < n; ++j) {
                    for (i64 p = 0; p <= params; ++p) {
                        const u64* v = sol.x[j] + p * w;
                        if (type == MP_TYPE_RAT) {
                            EXPECT_TRUE(mpq_equal(Mpq(v, mp_int_words), want[j][p].get_mpq_t()))
                                << "x" << j + 1 << " slot " << p;
                        } else {
                            EXPECT_TRUE(real_near(v, want[j][p], 30))
                                << "x" << j + 1 << " slot " << p;
                        }
                    }
                }
                // The free unknowns are shown as the parameters r, s, t, ... upwards.
                for (i32 j = 0, q = 0; j < n; ++j) {
                    if (is_free[j]) {
                        EXPECT_EQ(text_of(sol, j), expected_name(++q)) << "x" << j + 1;
                    }
                }
            }
        }
    }
}

// The names of single parameters are those of the free unknowns above.
TEST_F(LinearTest, ParameterListsOfUpToThirtyParameters) {
    for (i64 p = 1; p <= 30; ++p) {
        linear_solution sol;
        sol.param_count = p;
        std::string want;
        for (i64 q = 1; q <= p; ++q) {
            if (q > 1) want += ", ";
            if (q == 6 && p > 6) {
                want += "…, " + expected_name(p);
                break;
            }
            want += expected_name(q);
        }
        char16_t list[LINEAR_PARAM_LIST_CHARS + 1];
        const i64 len = parameter_list_text(list, sol);
        EXPECT_EQ(text_to_utf8(std::u16string(list, static_cast<std::size_t>(len))), want) << p;
    }
}
