#include "support/real_fn_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "support/gmp_oracle.h"
#include "support/mpfr_oracle.h"

namespace {

// |n| rounded half up by dropping its last two digits.
void drop_two_digits(Mpz& n) {
    mpz_abs(n, n);
    mpz_add_ui(n, n, 50);
    mpz_tdiv_q_ui(n, n, 100);
}

// a * 10^ea == b * 10^eb for non-negative a, b.
bool same_value(Mpz& a, i64 ea, Mpz& b, i64 eb) {
    Mpz p;
    if (ea > eb) {
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(ea - eb));
        mpz_mul(a, a, p);
    } else if (eb > ea) {
        mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(eb - ea));
        mpz_mul(b, b, p);
    }
    return mpz_cmp(a, b) == 0;
}

// Whether x rounded half up to 19m - 2 digits equals the correctly rounded v.
bool rounds_like_reference(const u64* x, i64 m, mpfr_srcptr v, i64 e10) {
    const i64 digits = 19 * m - 2;
    const DecimalDigits d = correctly_rounded_half_up(v, digits, e10);
    Mpz n;
    i64 e = 0;
    real_exact(n, &e, x, m);
    if ((mpz_sgn(n.get()) < 0) != (d.sign == 1)) return false;
    drop_two_digits(n);
    Mpz want;
    mpz_set_str(want, d.digits.c_str(), 10);
    return same_value(n, e + 2, want, d.exp - static_cast<i64>(d.digits.size()) + 1);
}

}  // namespace

double RealFnStats::far_share() const {
    return far_cases == 0 ? 1.0 : static_cast<double>(far_rounded) / static_cast<double>(far_cases);
}

void RealFnStats::report(const std::string& name) const {
    const double strict =
        strict_cases == 0 ? 1.0
                          : static_cast<double>(strict_rounded) / static_cast<double>(strict_cases);
    std::printf(
        "[ accuracy ] %s: %lld cases, worst %.3f units; rounded to 19m-2 digits: %.4f of %lld "
        "beyond 0.006 units of a tie, %.4f of %lld beyond 0.001\n",
        name.c_str(), static_cast<long long>(cases), worst_ulps, far_share(),
        static_cast<long long>(far_cases), strict, static_cast<long long>(strict_cases));
    ::testing::Test::RecordProperty(name + "_worst_ulps", std::to_string(worst_ulps));
    ::testing::Test::RecordProperty(name + "_rounded_share", std::to_string(far_share()));
    ::testing::Test::RecordProperty(name + "_rounded_share_strict", std::to_string(strict));
}

::testing::AssertionResult check_fn_result(RealFnStats& stats, const u64* x, i64 m, mpfr_srcptr v,
                                           i64 e10, double max_ulps) {
    ++stats.cases;
    if (mpfr_zero_p(v)) {
        if (real_is_zero(x)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "expected 0, got " << real_text(x, m, 60);
    }
    const double ulps = std::fabs(ulps_from(x, m, v, e10));
    if (!(ulps <= max_ulps)) {
        return ::testing::AssertionFailure()
               << ulps << " units away; got " << real_text(x, m, 60) << " want "
               << digits_text(correctly_rounded_half_up(v, 19 * m, e10), 60);
    }
    stats.worst_ulps = std::max(stats.worst_ulps, ulps);
    const bool ok = rounds_like_reference(x, m, v, e10);
    if (!near_tie(v, 19 * m - 2, 1e-3, e10)) {
        ++stats.strict_cases;
        stats.strict_rounded += ok;
    }
    if (!near_tie(v, 19 * m - 2, 6e-3, e10)) {
        ++stats.far_cases;
        stats.far_rounded += ok;
    }
    return ::testing::AssertionSuccess();
}

i64 fn_test_words(TestRng& rng, i64 round, i64 small_max) {
    static const i64 fixed[] = {1, 2, 3, 27, 53, 263, 527};
    if (round < 7) return fixed[round];
    return rng.range(1, small_max);
}

long fn_ref_bits(i64 m) {
    return static_cast<long>(oracle_bits(19 * m + 40));
}

std::vector<u64> guarded_unary(i64 m, const std::vector<u64>& x, void (*fn)(u64*, const u64*),
                               i32* err) {
    mp_set_real_words(static_cast<i32>(m));
    std::vector<u64> out(static_cast<std::size_t>(m + 1));
    mp_error.store(0);
    real_guarded_unary(out.data(), x.data(), 2, fn);
    *err = mp_err();
    mp_error.store(0);
    return out;
}

namespace {

::testing::AssertionResult finish_case(RealFnStats& stats, i64 m, const std::vector<u64>& out,
                                       i32 err, Mpfr& v, i64 e10) {
    if (err != 0) return ::testing::AssertionFailure() << "error " << err;
    if (!real_well_formed(out.data(), m)) return ::testing::AssertionFailure() << "malformed";
    return check_fn_result(stats, out.data(), m, v, e10);
}

}  // namespace

::testing::AssertionResult check_unary_case(RealFnStats& stats, i64 m, const std::vector<u64>& x,
                                            void (*fn)(u64*, const u64*),
                                            const RealFnReference& ref) {
    i32 err = 0;
    const auto out = guarded_unary(m, x, fn, &err);
    Mpfr v(fn_ref_bits(m));
    i64 e10 = 0;
    ref(v, x.data(), m, &e10);
    auto r = finish_case(stats, m, out, err, v, e10);
    if (!r) r << " at m = " << m << " for x = " << real_text(x.data(), m, 60);
    return r;
}

::testing::AssertionResult check_binary_case(RealFnStats& stats, i64 m, const std::vector<u64>& a,
                                             const std::vector<u64>& b,
                                             void (*fn)(u64*, const u64*, const u64*),
                                             const std::function<void(mpfr_ptr, i64*)>& ref) {
    mp_set_real_words(static_cast<i32>(m));
    std::vector<u64> out(static_cast<std::size_t>(m + 1));
    mp_error.store(0);
    real_guarded_binary(out.data(), a.data(), b.data(), 2, fn);
    const i32 err = mp_err();
    mp_error.store(0);
    Mpfr v(fn_ref_bits(m));
    i64 e10 = 0;
    ref(v, &e10);
    auto r = finish_case(stats, m, out, err, v, e10);
    if (!r) {
        r << " at m = " << m << " for a = " << real_text(a.data(), m, 60)
          << ", b = " << real_text(b.data(), m, 60);
    }
    return r;
}
