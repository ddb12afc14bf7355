#include "support/trig_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"

i64 trig_test_words(TestRng& rng, i64 round) {
    static const i64 fixed[] = {1, 2, 3, 27, 53, 263, 527};
    if (round < 7) return fixed[round];
    if (rng.chance(80)) return rng.range(1, 12);
    if (rng.chance(90)) return rng.range(13, 60);
    return rng.range(61, 527);
}

mpfr_prec_t trig_ref_bits(i64 m, i64 cancel_digits) {
    return oracle_bits(19 * m + cancel_digits + 20);
}

namespace {

i32 take_error() {
    const i32 e = mp_err();
    mp_error.store(0);
    return e;
}

}  // namespace

std::vector<u64> trig_guarded(RealUnaryFn fn, const std::vector<u64>& x, i64 m, i32* err) {
    mp_set_real_words(static_cast<i32>(m));
    std::vector<u64> out(static_cast<std::size_t>(m + 1));
    real_guarded_unary(out.data(), x.data(), 2, fn);
    *err = take_error();
    return out;
}

std::vector<u64> trig_guarded(RealBinaryFn fn, const std::vector<u64>& a, const std::vector<u64>& b,
                              i64 m, i32* err) {
    mp_set_real_words(static_cast<i32>(m));
    std::vector<u64> out(static_cast<std::size_t>(m + 1));
    real_guarded_binary(out.data(), a.data(), b.data(), 2, fn);
    *err = take_error();
    return out;
}

std::vector<u64> trig_from_mpfr(mpfr_srcptr v, i64 m) {
    std::vector<u64> x(static_cast<std::size_t>(m + 1));
    from_mpfr(x.data(), m, v);
    return x;
}

namespace {

// x rounded half up to digits significant digits, as decimal digits.
DecimalDigits round_result(const u64* x, i64 m, i64 digits) {
    Mpz n;
    i64 e = 0;
    real_exact(n, &e, x, m);
    DecimalDigits d;
    d.sign = real_sign(x);
    if (mpz_sgn(n.get()) == 0) {
        d.digits = "0";
        return d;
    }
    mpz_abs(n.get(), n.get());
    const i64 drop = 19 * m - digits;
    Mpz p;
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(drop));
    mpz_mul_ui(n, n, 2);
    mpz_add(n, n, p);
    mpz_mul_ui(p, p, 2);
    mpz_fdiv_q(n, n, p);  // floor(n / 10^drop + 1/2)
    char* s = mpz_get_str(nullptr, 10, n);
    d.digits = s;
    std::free(s);
    d.exp = e + drop + static_cast<i64>(d.digits.size()) - 1;
    return d;
}

std::string strip(std::string s) {
    while (s.size() > 1 && s.back() == '0') s.pop_back();
    return s;
}

bool same(const DecimalDigits& a, const DecimalDigits& b) {
    const std::string da = strip(a.digits), db = strip(b.digits);
    if (da == "0" || db == "0") return da == db;
    return a.sign == b.sign && a.exp == b.exp && da == db;
}

}  // namespace

::testing::AssertionResult TrigAccuracy::check(const u64* result, i64 m, mpfr_srcptr ref,
                                               const std::string& inputs, i64 e10) {
    ++cases_;
    const double u = ulps_from(result, m, ref, e10);
    if (std::isfinite(u)) worst_ = std::max(worst_, std::fabs(u));
    if (!(std::fabs(u) <= 1.0))
        return ::testing::AssertionFailure() << name_ << " " << inputs << "\n"
                                             << real_near(result, m, ref, 1.0, e10).message();
    const i64 digits = 19 * m - 2;
    if (mpfr_zero_p(ref) || near_tie(ref, digits, 6e-3, e10)) return ::testing::AssertionSuccess();
    ++decided_;
    if (same(round_result(result, m, digits), correctly_rounded_half_up(ref, digits, e10)))
        ++rounded_;
    return ::testing::AssertionSuccess();
}

void TrigAccuracy::finish() {
    const double share =
        decided_ ? static_cast<double>(rounded_) / static_cast<double>(decided_) : 1.0;
    std::printf(
        "[ accuracy ] %s: %lld cases, %lld decidable, %.4f%% correctly rounded at 19m - 2 "
        "digits, worst %.3f units at 19m digits\n",
        name_.c_str(), static_cast<long long>(cases_), static_cast<long long>(decided_),
        100.0 * share, worst_);
    ::testing::Test::RecordProperty(name_ + "_rounded_share", std::to_string(share));
    ::testing::Test::RecordProperty(name_ + "_worst_units", std::to_string(worst_));
    EXPECT_GE(share, 0.999) << name_ << ": " << rounded_ << " of " << decided_;
}
