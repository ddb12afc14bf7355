// Decimal digit shifts against GMP: a base-10^19 vector read as an integer,
// shifted by d digits, is a product or a floor quotient by 10^d. (The
// normalisation built on them is checked through the cancellations of the
// addition tests.)
#include "numlib/real_digits.h"

#include <gmp.h>

#include <string>
#include <vector>

#include "numlib/vec.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using RealDigitsTest = NumlibTest;
using Words = std::vector<u64>;

// The integer sum of w[i] * 10^(19 (n - 1 - i)).
void dec_value(mpz_t out, const u64* w, i64 n) {
    mpz_set_ui(out, 0);
    for (i64 i = 0; i < n; ++i) {
        mpz_mul_ui(out, out, 10000000000000000000UL);
        mpz_add_ui(out, out, w[i]);
    }
}

std::string dec_text(const u64* w, i64 n) {
    std::string s;
    for (i64 i = 0; i < n; ++i) s += std::to_string(w[i]) + (i + 1 < n ? "," : "");
    return "{" + s + "}";
}

// Words of varied decimal shape: random, 0, 10^19 - 1, a power of ten.
u64 dec_word(TestRng& rng) {
    switch (rng.range(0, 5)) {
        case 0:
            return 0;
        case 1:
            return REAL_BASE - 1;
        case 2:
            return REAL_POW10[rng.range(0, 18)];
        default:
            return rng.word() % REAL_BASE;
    }
}

Words dec_vector(TestRng& rng, i64 n) {
    Words w(static_cast<std::size_t>(n));
    for (u64& x : w) x = dec_word(rng);
    return w;
}

TEST_F(RealDigitsTest, ShiftsMatchScaledIntegers) {
    mpz_t a, want, got, p;
    mpz_inits(a, want, got, p, nullptr);
    for (i64 iter = 0; iter < test_iterations(3000); ++iter) {
        const i64 n = rng.chance(70) ? rng.range(1, 4) : rng.range(5, 40);
        const i64 d = rng.chance(80) ? rng.range(0, 19 * n + 20) : rng.range(0, 1000);
        Words src = dec_vector(rng, n);
        const u64 in = dec_word(rng);
        const bool alias = rng.chance(50);
        Words dst(static_cast<std::size_t>(n) + 1, 7);  // one canary word
        const std::string what = "src=" + dec_text(src.data(), n) + " in=" + std::to_string(in) +
                                 " d=" + std::to_string(d);
        dec_value(a, src.data(), n);
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(d));
        Words copy = src;
        u64* out = alias ? copy.data() : dst.data();
        if (rng.chance(50)) {
            // right: {dst, spill} = floor(src * 10^(19 - d)) as n + 1 words
            const u64 spill = real_digits_shr(out, copy.data(), n, d);
            mpz_mul_ui(want, a, 10000000000000000000UL);
            mpz_fdiv_q(want, want, p);
            Words res(out, out + n);
            res.push_back(spill);
            dec_value(got, res.data(), n + 1);
            ASSERT_EQ(mpz_cmp(got, want), 0)
                << "shr " << what << " got " << dec_text(res.data(), n + 1);
        } else {
            // left: {dst, rest} = ({src, in} * 10^d) mod 10^(19 (n + 1))
            const u64 rest = real_digits_shl(out, copy.data(), n, d, in);
            mpz_mul_ui(want, a, 10000000000000000000UL);
            mpz_add_ui(want, want, in);
            mpz_mul(want, want, p);
            mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(19 * (n + 1)));
            mpz_fdiv_r(want, want, p);
            Words res(out, out + n);
            res.push_back(rest);
            dec_value(got, res.data(), n + 1);
            ASSERT_EQ(mpz_cmp(got, want), 0)
                << "shl " << what << " got " << dec_text(res.data(), n + 1);
        }
        if (!alias) {
            ASSERT_EQ(dst[static_cast<std::size_t>(n)], 7u) << what;
        }
    }
    mpz_clears(a, want, got, p, nullptr);
}

}  // namespace
