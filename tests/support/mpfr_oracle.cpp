#include "support/mpfr_oracle.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "numlib/real.h"

namespace {

constexpr i64 DIGITS_PER_WORD = 19;

[[noreturn]] void oracle_abort(const char* why) {
    std::fprintf(stderr, "mpfr_oracle: %s\n", why);
    std::abort();
}

// A zero real of m words with the sign bit given.
void set_zero(u64* dst, i64 m, int sign) {
    real_set_header(dst, 0, sign);
    std::fill(dst + 1, dst + m + 1, u64{0});
}

// The significant digits of v (toward zero), count of them, and the
// scientific exponent of v * 10^e10. v must be finite and non-zero.
std::string truncated_digits(mpfr_srcptr v, i64 count, i64 e10, int* sign, i64* exp) {
    if (!mpfr_number_p(v) || mpfr_zero_p(v)) oracle_abort("digits of zero, NaN or infinity");
    mpfr_exp_t ex = 0;
    char* s = mpfr_get_str(nullptr, &ex, 10, static_cast<std::size_t>(count), v, MPFR_RNDZ);
    if (s == nullptr) oracle_abort("mpfr_get_str failed");
    *sign = s[0] == '-' ? 1 : 0;
    std::string digits(s + *sign);
    mpfr_free_str(s);
    // 0.d1d2... * 10^ex = d1.d2... * 10^(ex - 1)
    *exp = static_cast<i64>(ex) - 1 + e10;
    return digits;
}

// Rounds the digit string half up to n digits (n >= 1); a carry out of the
// first digit raises exp.
void round_half_up(std::string& digits, i64 n, i64* exp) {
    const auto len = static_cast<i64>(digits.size());
    if (len <= n) {
        digits.append(static_cast<std::size_t>(n - len), '0');
        return;
    }
    const bool up = digits[static_cast<std::size_t>(n)] >= '5';
    digits.resize(static_cast<std::size_t>(n));
    auto i = static_cast<std::size_t>(n);
    while (up && i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (up && i > 0) ++digits[i - 1];
    if (up && i == 0) {
        digits[0] = '1';
        ++*exp;
    }
}

// "-d.ddd...e+E"; with max_digits > 0, longer digits show their first and
// last ones around "...".
std::string scientific(int sign, std::string digits, i64 exp, i64 max_digits) {
    const auto len = static_cast<i64>(digits.size());
    if (max_digits > 0 && len > max_digits) {
        const auto tail = static_cast<std::size_t>(max_digits / 3);
        digits = digits.substr(0, static_cast<std::size_t>(max_digits) - tail) + "..." +
                 digits.substr(static_cast<std::size_t>(len) - tail) + " (" + std::to_string(len) +
                 " digits)";
    }
    return (sign ? "-" : "") + digits.substr(0, 1) +
           (digits.size() > 1 ? "." + digits.substr(1) : "") + (exp >= 0 ? "e+" : "e") +
           std::to_string(exp);
}

// out = (x's digits as an integer N) * 10^e rounded to nearest.
void set_digits_times_pow10(mpfr_ptr out, const u64* x, i64 m, i64 e) {
    if (real_is_zero(x)) return mpfr_set_zero(out, real_sign(x) ? -1 : 1);
    Mpz n, p;
    i64 unused = 0;
    real_exact(n, &unused, x, m);
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(e < 0 ? -e : e));
    if (e >= 0) mpz_mul(n, n, p);
    mpq_t q;
    mpq_init(q);
    mpq_set_num(q, n);
    if (e < 0) mpq_set_den(q, p);
    mpq_canonicalize(q);
    mpfr_set_q(out, q, MPFR_RNDN);
    mpq_clear(q);
}

}  // namespace

mpfr_prec_t oracle_bits(i64 digits, i64 guard_bits) {
    // log2(10) = 3.321928094887..., rounded up in the ninth decimal
    return static_cast<mpfr_prec_t>((digits * 3321928095LL + 999999999LL) / 1000000000LL +
                                    guard_bits);
}

void real_exact(Mpz& n, i64* e, const u64* x, i64 m) {
    mpz_set_ui(n, 0);
    *e = 0;
    if (real_is_zero(x)) return;
    for (i64 i = 1; i <= m; ++i) {
        mpz_mul_ui(n, n, REAL_BASE);
        mpz_add_ui(n, n, x[i]);
    }
    if (real_sign(x)) mpz_neg(n, n);
    *e = real_exp_of(x) + 1 - DIGITS_PER_WORD * m;
}

void to_mpfr(mpfr_ptr out, const u64* x, i64 m) {
    set_digits_times_pow10(out, x, m, real_exp_of(x) + 1 - DIGITS_PER_WORD * m);
}

i64 to_mpfr_scaled(mpfr_ptr out, const u64* x, i64 m) {
    set_digits_times_pow10(out, x, m, 1 - DIGITS_PER_WORD * m);
    return real_is_zero(x) ? 0 : real_exp_of(x);
}

DecimalDigits correctly_rounded_half_up(mpfr_srcptr v, i64 digits, i64 e10) {
    DecimalDigits d;
    if (mpfr_zero_p(v)) {
        d.sign = mpfr_signbit(v) ? 1 : 0;
        d.digits.assign(1, '0');
        return d;
    }
    // Truncating one digit further decides half-up rounding exactly: the
    // value reaches the tie exactly when that digit is 5 or more.
    d.digits = truncated_digits(v, digits + 1, e10, &d.sign, &d.exp);
    round_half_up(d.digits, digits, &d.exp);
    return d;
}

bool near_tie(mpfr_srcptr v, i64 digits, double tol, i64 e10) {
    if (mpfr_zero_p(v)) return false;
    int sign = 0;
    i64 exp = 0;
    const std::string s = truncated_digits(v, digits + 17, e10, &sign, &exp);
    const double frac =
        std::strtod(("0." + s.substr(static_cast<std::size_t>(digits))).c_str(), nullptr);
    return std::fabs(frac - 0.5) <= tol;
}

double ulps_from(const u64* x, i64 m, mpfr_srcptr v, i64 e10) {
    const double inf = std::numeric_limits<double>::infinity();
    const bool x_zero = real_is_zero(x), v_zero = mpfr_zero_p(v) != 0;
    if (x_zero && v_zero) return 0.0;
    if (v_zero) return real_sign(x) ? -inf : inf;
    if (x_zero) return mpfr_signbit(v) ? inf : -inf;

    const i64 count = DIGITS_PER_WORD * m + 20;
    int v_sign = 0;
    i64 v_exp = 0;
    const std::string s = truncated_digits(v, count, e10, &v_sign, &v_exp);
    const i64 x_exp = real_exp_of(x);
    const i64 gap = x_exp - v_exp;  // both exponents lie within +-2^62 + 2^31
    if (gap > 30) return real_sign(x) ? -inf : inf;
    if (gap < -30) return v_sign ? inf : -inf;

    // x = n * 10^(x_exp + 1 - 19m), v = sv * 10^(v_exp + 1 - count); in units
    // of x's last digit: n - sv * 10^(v_exp - x_exp - 20).
    Mpz n, sv, p, diff;
    i64 unused = 0;
    real_exact(n, &unused, x, m);
    mpz_set_str(sv, s.c_str(), 10);
    if (v_sign) mpz_neg(sv, sv);
    const i64 k = 20 + gap;  // sv's digits below x's last digit
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(k < 0 ? -k : k));
    mpz_mul(k < 0 ? sv : n, k < 0 ? sv : n, p);
    mpz_sub(diff, n, sv);
    Mpfr ratio(64);
    mpfr_set_z(ratio, diff, MPFR_RNDN);
    if (k >= 0) mpfr_div_z(ratio, ratio, p, MPFR_RNDN);
    return mpfr_get_d(ratio, MPFR_RNDN);
}

void real_from_digits(u64* dst, i64 m, const DecimalDigits& d) {
    std::string digits = d.digits;
    i64 exp = d.exp;
    const auto lead = digits.find_first_not_of('0');
    if (lead == std::string::npos) return set_zero(dst, m, d.sign);
    digits.erase(0, lead);
    exp -= static_cast<i64>(lead);
    round_half_up(digits, DIGITS_PER_WORD * m, &exp);
    if (exp > REAL_EXP_MAX || exp < REAL_EXP_MIN) oracle_abort("exponent outside the real range");
    for (i64 i = 1; i <= m; ++i) {
        const std::string w =
            digits.substr(static_cast<std::size_t>(DIGITS_PER_WORD * (i - 1)), DIGITS_PER_WORD);
        dst[i] = std::strtoull(w.c_str(), nullptr, 10);
    }
    real_set_header(dst, exp, d.sign);
}

void from_mpfr(u64* dst, i64 m, mpfr_srcptr v, i64 e10) {
    real_from_digits(dst, m, correctly_rounded_half_up(v, DIGITS_PER_WORD * m, e10));
}

std::string real_text(const u64* x, i64 m, i64 max_digits) {
    if (real_is_zero(x)) return real_sign(x) ? "-0" : "0";
    std::string digits;
    for (i64 i = 1; i <= m; ++i) {
        const std::string w = std::to_string(x[i]);
        digits += std::string(w.size() < 19 ? 19 - w.size() : 0, '0') + w;
    }
    return scientific(real_sign(x), digits, real_exp_of(x), max_digits);
}

std::string digits_text(const DecimalDigits& d, i64 max_digits) {
    return scientific(d.sign, d.digits, d.exp, max_digits);
}

::testing::AssertionResult real_near(const u64* x, i64 m, mpfr_srcptr v, double max_ulps, i64 e10) {
    const double u = ulps_from(x, m, v, e10);
    if (std::fabs(u) <= max_ulps) return ::testing::AssertionSuccess();
    const DecimalDigits d = correctly_rounded_half_up(v, DIGITS_PER_WORD * m, e10);
    return ::testing::AssertionFailure()
           << "m = " << m << ": result " << real_text(x, m, 80) << "\n  reference "
           << digits_text(d, 80) << "\n  off by " << u << " units of the last digit (allowed "
           << max_ulps << ")";
}

::testing::AssertionResult real_is_rounded(const u64* x, i64 m, mpfr_srcptr v, i64 e10) {
    std::vector<u64> want(static_cast<std::size_t>(m + 1));
    from_mpfr(want.data(), m, v, e10);
    const i64 at = std::mismatch(x, x + m + 1, want.begin()).first - x;
    if (at > m || (real_is_zero(want.data()) && real_is_zero(x) && real_exp_of(x) == 0))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "m = " << m << ": result " << real_text(x, m, 80) << "\n  rounded reference "
           << real_text(want.data(), m, 80) << "\n  first differing word " << at << " (" << x[at]
           << " vs " << want[static_cast<std::size_t>(at)] << "), " << ulps_from(x, m, v, e10)
           << " units of the last digit off";
}

::testing::AssertionResult real_well_formed(const u64* x, i64 m) {
    const bool zero = x[1] == 0;
    for (i64 i = 1; i <= m; ++i)
        if (x[i] >= REAL_BASE || (zero && x[i] != 0))
            return ::testing::AssertionFailure() << "word " << i << " = " << x[i]
                                                 << (zero ? " after a zero word 1" : " >= 10^19");
    if (real_exp_of(x) < REAL_EXP_MIN || (zero && real_exp_of(x) != 0))
        return ::testing::AssertionFailure() << "exponent " << real_exp_of(x) << " of "
                                             << (zero ? "a zero" : "a value below the range");
    if (!zero && x[1] < REAL_TOP)
        return ::testing::AssertionFailure() << "not normalised: word 1 = " << x[1];
    return ::testing::AssertionSuccess();
}

void random_real(TestRng& rng, u64* dst, i64 m, const RandomRealOptions& opt) {
    const int sign = opt.negative && rng.chance(50) ? 1 : 0;
    if (rng.chance(opt.zero_percent)) return set_zero(dst, m, sign);
    // The mantissa's shape; word 1 normalised.
    const u64 nines = REAL_BASE - 1;
    const i64 shape = rng.range(0, 7);
    const i64 used = shape == 5 ? rng.range(1, m) : m;
    for (i64 i = 1; i <= m; ++i) {
        u64 w = rng.word() % REAL_BASE;
        if (shape == 3) w = rng.chance(85) ? nines : w;
        if (shape == 4) w = rng.chance(85) ? 0 : w;
        if (shape == 6 || shape == 7 || i > used) w = 0;
        if (shape == 7) w = nines;
        dst[i] = w;
    }
    dst[1] = shape == 3 || shape == 7 ? nines : REAL_TOP + rng.word() % (REAL_BASE - REAL_TOP);
    if (shape == 6) dst[1] = REAL_TOP * static_cast<u64>(rng.range(1, 9));
    i64 e = rng.range(opt.exp_min, opt.exp_max);
    if (rng.chance(opt.edge_percent))
        e = rng.chance(50) ? REAL_EXP_MAX - rng.range(0, 3) : REAL_EXP_MIN + rng.range(0, 3);
    real_set_header(dst, e, sign);
}

std::vector<u64> random_real(TestRng& rng, i64 m, const RandomRealOptions& opt) {
    std::vector<u64> x(static_cast<std::size_t>(m + 1));
    random_real(rng, x.data(), m, opt);
    return x;
}
