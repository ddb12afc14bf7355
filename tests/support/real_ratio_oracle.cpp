#include "support/real_ratio_oracle.h"

#include <cmath>
#include <limits>
#include <vector>

#include "numlib/real.h"
#include "support/mpfr_oracle.h"

double ulps_from_ratio(const u64* x, i64 m, const Mpz& num, const Mpz& den, i64 e10) {
    Mpz n;
    i64 e = 0;
    real_exact(n, &e, x, m);
    const int ref_sign = mpz_sgn(num.get()) * mpz_sgn(den.get());
    const i64 shift = e10 - e;  // the reference is num / den * 10^shift units of x
    if (mpz_sgn(n.get()) == 0 || ref_sign == 0 || shift > 1000000 || shift < -1000000) {
        if (mpz_sgn(n.get()) == 0 && ref_sign == 0) return 0;
        const int far =
            mpz_sgn(n.get()) == 0 ? -ref_sign : (shift > 0 ? -ref_sign : mpz_sgn(n.get()));
        return far * std::numeric_limits<double>::infinity();
    }
    // (n den - num 10^shift) / den, or (n den 10^-shift - num) / (den 10^-shift)
    Mpz p, top, scaled;
    mpq_t q;
    mpq_init(q);
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(shift < 0 ? -shift : shift));
    mpz_mul(top, n, den);
    mpz_set(mpq_denref(q), den);
    if (shift >= 0) {
        mpz_mul(scaled, num, p);
        mpz_sub(mpq_numref(q), top, scaled);
    } else {
        mpz_mul(top, top, p);
        mpz_mul(mpq_denref(q), mpq_denref(q), p);
        mpz_sub(mpq_numref(q), top, num);
    }
    mpq_canonicalize(q);
    const double d = mpq_get_d(q);
    mpq_clear(q);
    return d;
}

::testing::AssertionResult spill_and_rounding(const u64* x, u64 spill, i64 m, const Mpz& num,
                                              const Mpz& den, i64 e10, double lo, double hi) {
    std::vector<u64> t(x, x + m + 1);
    t.push_back(spill);
    const double off = ulps_from_ratio(t.data(), m + 1, num, den, e10) * (real_sign(x) ? -1 : 1);
    if (!(off >= lo && off <= hi))
        return ::testing::AssertionFailure()
               << "with its spill " << off << " units off: " << real_text(t.data(), m + 1, 60);
    t.pop_back();
    real_round_guard(t.data(), spill, static_cast<i32>(m));
    const double d = ulps_from_ratio(t.data(), m, num, den, e10);
    if (!(std::abs(d) <= 0.5 + 1e-9))
        return ::testing::AssertionFailure() << "rounded " << d << " units off";
    return real_well_formed(t.data(), m);
}

i64 real_test_words(TestRng& rng, i64 iter) {
    static const i64 fixed[] = {1, 2, 3, 27, 53, 263, 527, 528};
    if (iter < 8) return fixed[iter];
    return rng.chance(70) ? rng.range(1, 60) : rng.range(1, 528);
}
