#include "support/mpfr_oracle.h"

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

void pow10(Mpz& p, i64 k) {
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(k));
}

// The significant digits of v (toward zero), count of them, and the
// scientific exponent of v * 10^e10. v must be finite and non-zero.
std::string truncated_digits(mpfr_srcptr v, i64 count, i64 e10, int* sign, i64* exp) {
    if (!mpfr_number_p(v) || mpfr_zero_p(v)) oracle_abort("digits of zero, NaN or infinity");
    mpfr_exp_t ex = 0;
    char* s = mpfr_get_str(nullptr, &ex, 10, static_cast<std::size_t>(count), v, MPFR_RNDZ);
    if (s == nullptr) oracle_abort("mpfr_get_str failed");
    std::string digits = s[0] == '-' ? std::string(s + 1) : std::string(s);
    *sign = s[0] == '-' ? 1 : 0;
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
    if (!up) return;
    for (i64 i = n - 1; i >= 0; --i) {
        char& c = digits[static_cast<std::size_t>(i)];
        if (c != '9') {
            ++c;
            return;
        }
        c = '0';
    }
    digits[0] = '1';
    ++*exp;
}

std::string word_digits(u64 w) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%019llu", static_cast<unsigned long long>(w));
    return buf;
}

std::string abbreviate(const std::string& digits, i64 max_digits) {
    const auto len = static_cast<i64>(digits.size());
    if (max_digits <= 0 || len <= max_digits) return digits;
    const i64 tail = max_digits / 3;
    const i64 head = max_digits - tail;
    return digits.substr(0, static_cast<std::size_t>(head)) + "..." +
           digits.substr(static_cast<std::size_t>(len - tail)) + " (" + std::to_string(len) +
           " digits)";
}

std::string scientific(int sign, const std::string& digits, i64 exp, i64 max_digits) {
    std::string body = abbreviate(digits, max_digits);
    std::string out;
    if (sign) out.push_back('-');
    out.push_back(body[0]);
    if (body.size() > 1) {
        out.push_back('.');
        out.append(body, 1, std::string::npos);
    }
    out.push_back('e');
    if (exp >= 0) out.push_back('+');
    return out.append(std::to_string(exp));
}

std::string real_digits(const u64* x, i64 m) {
    std::string digits;
    digits.reserve(static_cast<std::size_t>(DIGITS_PER_WORD * m));
    for (i64 i = 1; i <= m; ++i) digits += word_digits(x[i]);
    return digits;
}

// Index of the first of the m + 1 words where a and b differ, or -1.
i64 first_difference(const u64* a, const u64* b, i64 m) {
    for (i64 i = 0; i <= m; ++i)
        if (a[i] != b[i]) return i;
    return -1;
}

double mpz_ratio_to_double(const Mpz& num, const Mpz& den) {
    Mpfr q(64);
    mpfr_set_z(q, num, MPFR_RNDN);
    mpfr_div_z(q, q, den, MPFR_RNDN);
    return mpfr_get_d(q, MPFR_RNDN);
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
    Mpz n;
    i64 e = 0;
    real_exact(n, &e, x, m);
    if (mpz_sgn(n.get()) == 0) {
        mpfr_set_zero(out, real_sign(x) ? -1 : 1);
        return;
    }
    Mpz p;
    pow10(p, e < 0 ? -e : e);
    if (e >= 0) {
        mpz_mul(n, n, p);
        mpfr_set_z(out, n, MPFR_RNDN);
        return;
    }
    mpq_t q;
    mpq_init(q);
    mpq_set_num(q, n);
    mpq_set_den(q, p);
    mpq_canonicalize(q);
    mpfr_set_q(out, q, MPFR_RNDN);
    mpq_clear(q);
}

i64 to_mpfr_scaled(mpfr_ptr out, const u64* x, i64 m) {
    if (real_is_zero(x)) {
        mpfr_set_zero(out, real_sign(x) ? -1 : 1);
        return 0;
    }
    Mpz n;
    i64 e = 0;
    real_exact(n, &e, x, m);
    Mpz p;
    pow10(p, DIGITS_PER_WORD * m - 1);
    mpq_t q;
    mpq_init(q);
    mpq_set_num(q, n);
    mpq_set_den(q, p);
    mpq_canonicalize(q);
    mpfr_set_q(out, q, MPFR_RNDN);
    mpq_clear(q);
    return real_exp_of(x);
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
    const bool x_zero = real_is_zero(x);
    const bool v_zero = mpfr_zero_p(v) != 0;
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
    if (k >= 0) {
        pow10(p, k);
        mpz_mul(diff, n, p);
        mpz_sub(diff, diff, sv);
    } else {
        pow10(p, -k);
        mpz_mul(diff, sv, p);
        mpz_sub(diff, n, diff);
        mpz_set_ui(p, 1);
    }
    return mpz_ratio_to_double(diff, p);
}

void real_from_digits(u64* dst, i64 m, const DecimalDigits& d) {
    std::string digits = d.digits;
    i64 exp = d.exp;
    const auto lead = digits.find_first_not_of('0');
    if (lead == std::string::npos) {
        real_set_header(dst, 0, d.sign);
        for (i64 i = 1; i <= m; ++i) dst[i] = 0;
        return;
    }
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
    return scientific(real_sign(x), real_digits(x, m), real_exp_of(x), max_digits);
}

std::string digits_text(const DecimalDigits& d, i64 max_digits) {
    return scientific(d.sign, d.digits, d.exp, max_digits);
}

::testing::AssertionResult real_near(const u64* x, i64 m, mpfr_srcptr v, double max_ulps, i64 e10) {
    const double u = ulps_from(x, m, v, e10);
    if (std::fabs(u) <= max_ulps) return ::testing::AssertionSuccess();
    std::vector<u64> want(static_cast<std::size_t>(m + 1));
    const DecimalDigits d = correctly_rounded_half_up(v, DIGITS_PER_WORD * m, e10);
    real_from_digits(want.data(), m, d);
    return ::testing::AssertionFailure()
           << "m = " << m << ": result " << real_text(x, m, 80) << "\n  reference "
           << digits_text(d, 80) << "\n  off by " << u << " units of the last digit (allowed "
           << max_ulps << "), first differing word " << first_difference(x, want.data(), m);
}

::testing::AssertionResult real_is_rounded(const u64* x, i64 m, mpfr_srcptr v, i64 e10) {
    std::vector<u64> want(static_cast<std::size_t>(m + 1));
    from_mpfr(want.data(), m, v, e10);
    if (real_is_zero(want.data()) && real_is_zero(x) && real_exp_of(x) == 0)
        return ::testing::AssertionSuccess();
    const i64 at = first_difference(x, want.data(), m);
    if (at < 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "m = " << m << ": result " << real_text(x, m, 80) << "\n  rounded reference "
           << real_text(want.data(), m, 80) << "\n  first differing word " << at << " (" << x[at]
           << " vs " << want[static_cast<std::size_t>(at)] << "), " << ulps_from(x, m, v, e10)
           << " units of the last digit off";
}

::testing::AssertionResult real_well_formed(const u64* x, i64 m) {
    for (i64 i = 1; i <= m; ++i)
        if (x[i] >= REAL_BASE)
            return ::testing::AssertionFailure() << "word " << i << " = " << x[i] << " >= 10^19";
    if (real_exp_of(x) < REAL_EXP_MIN)
        return ::testing::AssertionFailure() << "exponent " << real_exp_of(x) << " below range";
    if (x[1] != 0 && x[1] < REAL_TOP)
        return ::testing::AssertionFailure() << "not normalised: word 1 = " << x[1];
    if (x[1] == 0) {
        for (i64 i = 2; i <= m; ++i)
            if (x[i] != 0)
                return ::testing::AssertionFailure() << "zero word 1 but word " << i << " set";
        if (real_exp_of(x) != 0)
            return ::testing::AssertionFailure() << "zero with exponent " << real_exp_of(x);
    }
    return ::testing::AssertionSuccess();
}

namespace {

u64 random_digits_word(TestRng& rng) {
    return rng.word() % REAL_BASE;
}
u64 random_top_word(TestRng& rng) {
    return REAL_TOP + rng.word() % (REAL_BASE - REAL_TOP);
}

// Fills words 1..m by one of the shapes of random_real; word 1 normalised.
void random_mantissa(TestRng& rng, u64* x, i64 m) {
    const u64 nines = REAL_BASE - 1;
    const i64 shape = rng.range(0, 7);
    const i64 used = shape == 5 ? rng.range(1, m) : m;
    for (i64 i = 1; i <= m; ++i) {
        u64 w = random_digits_word(rng);
        if (shape == 3) w = rng.chance(85) ? nines : w;
        if (shape == 4) w = rng.chance(85) ? 0 : w;
        if (shape == 6 || shape == 7 || i > used) w = 0;
        if (shape == 7) w = nines;
        x[i] = w;
    }
    x[1] = shape == 3 || shape == 7 ? nines : random_top_word(rng);
    if (shape == 6) x[1] = REAL_TOP * static_cast<u64>(rng.range(1, 9));
}

}  // namespace

void random_real(TestRng& rng, u64* dst, i64 m, const RandomRealOptions& opt) {
    const int sign = opt.negative && rng.chance(50) ? 1 : 0;
    if (rng.chance(opt.zero_percent)) {
        real_set_header(dst, 0, sign);
        for (i64 i = 1; i <= m; ++i) dst[i] = 0;
        return;
    }
    random_mantissa(rng, dst, m);
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
