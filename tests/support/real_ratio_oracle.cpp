#include "support/real_ratio_oracle.h"

#include <cmath>
#include <limits>

#include "numlib/real.h"
#include "support/mpfr_oracle.h"

double ulps_from_ratio(const u64* x, i64 m, const Mpz& num, const Mpz& den, i64 e10) {
    Mpz n;
    i64 e = 0;
    real_exact(n, &e, x, m);
    const bool x_zero = mpz_sgn(n.get()) == 0, ref_zero = mpz_sgn(num.get()) == 0;
    if (x_zero || ref_zero) {
        if (x_zero && ref_zero) return 0;
        return (x_zero ? -mpz_sgn(num.get()) * mpz_sgn(den.get()) : mpz_sgn(n.get())) *
               std::numeric_limits<double>::infinity();
    }
    const i64 shift = e10 - e;  // reference = num / den * 10^shift units of x
    if (shift > 1000000 || shift < -1000000)
        return (shift > 0 ? -1 : 1) * mpz_sgn(num.get()) * mpz_sgn(den.get()) *
               std::numeric_limits<double>::infinity();
    Mpz p, top, bottom;
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(shift < 0 ? -shift : shift));
    // (n den 10^-shift - num) / (den 10^-shift), or (n den - num 10^shift) / den
    mpz_mul(top, n, den);
    mpz_set(bottom, den);
    Mpz scaled;
    if (shift >= 0) {
        mpz_mul(scaled, num, p);
        mpz_sub(top, top, scaled);
    } else {
        mpz_mul(top, top, p);
        mpz_mul(bottom, bottom, p);
        mpz_sub(top, top, num);
    }
    mpq_t q;
    mpq_init(q);
    mpz_set(mpq_numref(q), top);
    mpz_set(mpq_denref(q), bottom);
    mpq_canonicalize(q);
    const double d = mpq_get_d(q);
    mpq_clear(q);
    return d;
}

std::vector<u64> with_spill(const u64* x, i64 m, u64 spill) {
    std::vector<u64> w(x, x + m + 1);
    w.push_back(spill);
    return w;
}
