#include "support/real_fn_check.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "support/gmp_oracle.h"

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
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(ea > eb ? ea - eb : eb - ea));
    mpz_mul(ea > eb ? a : b, ea > eb ? a : b, p);
    return mpz_cmp(a, b) == 0;
}

// Whether x rounded half up to 19m - 2 digits equals the correctly rounded v.
bool rounds_like_reference(const u64* x, i64 m, mpfr_srcptr v, i64 e10) {
    const DecimalDigits d = correctly_rounded_half_up(v, 19 * m - 2, e10);
    Mpz n, want;
    i64 e = 0;
    real_exact(n, &e, x, m);
    if ((mpz_sgn(n.get()) < 0) != (d.sign == 1)) return false;
    drop_two_digits(n);
    mpz_set_str(want, d.digits.c_str(), 10);
    return same_value(n, e + 2, want, d.exp - static_cast<i64>(d.digits.size()) + 1);
}

i32 take_error() {
    const i32 e = mp_err();
    mp_error.store(0);
    return e;
}

bool is_plus_zero(const std::vector<u64>& x) {
    return std::all_of(x.begin(), x.end(), [](u64 w) { return w == 0; });
}

// A decimal text "[-]d[.ddd][e[-]N]" as digits and exponent, exactly.
DecimalDigits parse_decimal(const std::string& text) {
    DecimalDigits d;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') d.sign = 1, ++i;
    i64 point = -1;
    for (; i < text.size() && text[i] != 'e'; ++i) {
        if (text[i] == '.')
            point = static_cast<i64>(d.digits.size());
        else
            d.digits += text[i];
    }
    if (point < 0) point = static_cast<i64>(d.digits.size());
    const i64 e = i < text.size() ? std::strtoll(text.c_str() + i + 1, nullptr, 10) : 0;
    d.exp = point - 1 + e;
    return d;
}

// The context a guarded call gives its body, for a body run by hand.
class BodyContext {
  public:
    BodyContext(i64 m, i32 g) {
        mp_real_words = static_cast<i32>(m + 1);
        mp_guard_words = 1;
        mp_guard_digits = 19 - g;
    }
    ~BodyContext() {
        mp_real_words -= 1;
        mp_guard_words = 0;
        mp_guard_digits = 0;
    }
    BodyContext(const BodyContext&) = delete;
    BodyContext& operator=(const BodyContext&) = delete;
};

std::vector<u64> widened(const std::vector<u64>& x) {
    std::vector<u64> w = x;
    w.push_back(0);
    return w;
}

// The body's result t (m + 1 words) rounded to m words with its guard word.
std::vector<u64> rounded(std::vector<u64> t, i64 m) {
    const u64 spill = t[static_cast<std::size_t>(m + 1)];
    t.resize(static_cast<std::size_t>(m + 1));
    real_round_guard(t.data(), spill, static_cast<i32>(m));
    return t;
}

::testing::AssertionResult same_result(const std::vector<u64>& guarded,
                                       const std::vector<u64>& body, i64 m, const char* how) {
    if (guarded == body) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "with the destination " << how << ": " << real_text(body.data(), m, 60)
           << " instead of " << real_text(guarded.data(), m, 60);
}

// The decimal exponent v * 10^e10 takes at 19m digits, when it may lie near
// or beyond the range; 0 otherwise.
i64 exponent_near_range(mpfr_srcptr v, i64 m, i64 e10) {
    const i64 rough = e10 + static_cast<i64>(mpfr_get_exp(v)) * 30103 / 100000;
    if (rough < REAL_EXP_MAX - 5 && rough > REAL_EXP_MIN + 5) return 0;
    return correctly_rounded_half_up(v, 19 * m, e10).exp;
}

// The outcome of one case (result out, error err) against v * 10^e10:
// outside the domain (NaN or infinity), beyond or below the exponent range,
// or within one unit with the rounding tallied.
::testing::AssertionResult judge(RealFnStats& stats, i64 m, const std::vector<u64>& out, i32 err,
                                 mpfr_srcptr v, i64 e10) {
    auto got = [&] {
        return real_text(out.data(), m, 60) + " (error " + std::to_string(err) + ")";
    };
    if (!mpfr_number_p(v)) {
        if (err == MP_ERR_DOMAIN && is_plus_zero(out)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "outside the domain: want error 14 and +0, got " << got();
    }
    const i64 e = mpfr_zero_p(v) ? 0 : exponent_near_range(v, m, e10);
    if (e > REAL_EXP_MAX) {
        if (err == MP_ERR_EXP_OVERFLOW && is_plus_zero(out)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "overflow: want error 10 and +0, got " << got();
    }
    if (e < REAL_EXP_MIN) {
        if (err == 0 && real_is_zero(out.data()) && real_exp_of(out.data()) == 0 &&
            real_sign(out.data()) == (mpfr_signbit(v) ? 1 : 0))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "underflow: want a zero of the value's sign, got " << got();
    }
    if (err != 0) return ::testing::AssertionFailure() << "got " << got();
    if (!real_well_formed(out.data(), m))
        return ::testing::AssertionFailure() << "malformed " << got();
    return check_fn_result(stats, out.data(), m, v, e10);
}

// The integer-argument function and argument for the guarded unary call.
RealIntFn g_int_fn = nullptr;
i64 g_int_arg = 0;
void int_trampoline(u64* dst, const u64* x) {
    g_int_fn(dst, x, g_int_arg);
}

template <typename RunCase>
void run_rounds(TestRng& rng, const char* name, i64 rounds, i64 small_max, RunCase run) {
    RealFnStats stats;
    for (i64 round = 0; round < test_iterations(rounds); ++round) {
        const i64 m = fn_test_words(rng, round, small_max);
        // aliasing on a quarter of the small cases
        const auto r = run(stats, m, round % 4 == 3 && m <= 60);
        if (!r) {
            ADD_FAILURE() << name << " at m = " << m << ": " << r.message();
            break;
        }
    }
    stats.report(name);
    EXPECT_GE(stats.far_share(), 0.999) << name;
}

::testing::AssertionResult unary_case(RealFnStats& stats, i64 m, const std::vector<u64>& x,
                                      RealUnaryFn fn, i32 g, const RealFnReference& ref,
                                      bool alias) {
    i32 err = 0;
    const auto out = guarded_unary(m, x, fn, &err, g);
    Mpfr v(fn_ref_bits(m));
    i64 e10 = 0;
    ref(v, x.data(), m, &e10);
    auto r = judge(stats, m, out, err, v, e10);
    if (r && alias && err == 0) {
        std::vector<u64> body(static_cast<std::size_t>(m + 2));
        {
            BodyContext c(m, g);
            fn(body.data(), widened(x).data());
        }
        mp_error.store(0);
        r = same_result(out, rounded(body, m), m, "apart from the operand");
    }
    if (!r) r << "\n  x = " << real_text(x.data(), m, 60);
    return r;
}

}  // namespace

// ---- accuracy tally -------------------------------------------------------------

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

// ---- word counts, arguments, references -------------------------------------------

i64 fn_test_words(TestRng& rng, i64 round, i64 small_max) {
    // 38 and 39: the two sides of the logarithm's switch to the mean at 40
    // working words (m + 1 in a guarded body).
    static const i64 fixed[] = {1, 2, 3, 27, 38, 39, 53, 263, 527};
    if (round < 9) return fixed[round];
    if (rng.chance(2)) return rng.range(61, 527);
    return rng.chance(60) ? rng.range(1, std::min<i64>(12, small_max)) : rng.range(1, small_max);
}

long fn_ref_bits(i64 m) {
    return static_cast<long>(oracle_bits(19 * m + 40));
}

RealSampler sample_real(i64 exp_min, i64 exp_max, bool negative, int zero_percent,
                        int edge_percent) {
    RandomRealOptions opt;
    opt.exp_min = exp_min;
    opt.exp_max = exp_max;
    opt.negative = negative;
    opt.zero_percent = zero_percent;
    opt.edge_percent = edge_percent;
    return [opt](TestRng& rng, i64 m) { return random_real(rng, m, opt); };
}

RealSampler sample_beside(std::function<void(mpfr_ptr, TestRng&)> center, int side) {
    return [center, side](TestRng& rng, i64 m) {
        Mpfr v(oracle_bits(2 * 19 * m + 60)), d(64), p(64);
        center(v, rng);
        if (rng.chance(70)) {
            mpfr_set_ui(d, static_cast<unsigned long>(rng.range(1, 999999999)), MPFR_RNDN);
            mpfr_div_ui(d, d, 1000000000UL, MPFR_RNDN);
            mpfr_ui_pow_ui(p, 10, static_cast<unsigned long>(rng.range(0, 19 * m + 4)), MPFR_RNDN);
            mpfr_div(d, d, p, MPFR_RNDN);
            mpfr_mul(d, d, v, MPFR_RNDN);
            if (side < 0 || (side == 0 && rng.chance(50))) mpfr_neg(d, d, MPFR_RNDN);
            mpfr_add(v, v, d, MPFR_RNDN);
        }
        std::vector<u64> x(static_cast<std::size_t>(m + 1));
        from_mpfr(x.data(), m, v);
        return x;
    };
}

RealSampler sample_one_of(std::vector<RealSampler> parts) {
    return [parts](TestRng& rng, i64 m) {
        return parts[static_cast<std::size_t>(rng.range(0, static_cast<i64>(parts.size()) - 1))](
            rng, m);
    };
}

RealSampler sample_signed(RealSampler s) {
    return [s](TestRng& rng, i64 m) {
        auto x = s(rng, m);
        if (rng.chance(50)) real_negate(x.data());
        return x;
    };
}

std::vector<u64> real_of_text(i64 m, const char* text) {
    std::vector<u64> x(static_cast<std::size_t>(m + 1));
    real_from_digits(x.data(), m, parse_decimal(text));
    return x;
}

RealFnReference mpfr_reference(MpfrUnaryFn f, bool cancels) {
    return [f, cancels](mpfr_ptr v, const u64* x, i64 m, i64* e10) {
        *e10 = 0;
        Mpfr a(oracle_bits((cancels ? 2 : 1) * 19 * m + 80));
        to_mpfr(a, x, m);
        f(v, a, MPFR_RNDN);
    };
}

RealFnReference2 mpfr_reference(MpfrBinaryFn f) {
    return [f](mpfr_ptr v, const u64* a, const u64* b, i64 m, i64* e10) {
        *e10 = 0;
        Mpfr x(oracle_bits(19 * m + 80)), y(oracle_bits(19 * m + 80));
        to_mpfr(x, a, m);
        to_mpfr(y, b, m);
        f(v, x, y, MPFR_RNDN);
    };
}

// ---- the three shapes ---------------------------------------------------------------

void check_fn(TestRng& rng, const UnaryFnEntry& s) {
    run_rounds(rng, s.name, s.rounds, s.small_max, [&](RealFnStats& stats, i64 m, bool alias) {
        return unary_case(stats, m, s.sample(rng, m), s.fn, s.g, s.ref, alias);
    });
}

void check_fn(TestRng& rng, const IntFnEntry& s) {
    run_rounds(rng, s.name, s.rounds, s.small_max, [&](RealFnStats& stats, i64 m, bool alias) {
        g_int_fn = s.fn;
        g_int_arg = s.sample_n(rng);
        const i64 n = g_int_arg;
        const RealFnReference ref = [&](mpfr_ptr v, const u64* x, i64 mm, i64* e10) {
            s.ref(v, x, n, mm, e10);
        };
        auto r = unary_case(stats, m, s.sample(rng, m), int_trampoline, 2, ref, alias);
        if (!r) r << ", n = " << n;
        return r;
    });
}

void check_fn(TestRng& rng, const BinaryFnEntry& s) {
    run_rounds(rng, s.name, s.rounds, s.small_max, [&](RealFnStats& stats, i64 m, bool alias) {
        const auto a = s.sample_a(rng, m), b = s.sample_b(rng, m);
        i32 err = 0;
        const auto out = guarded_binary(m, a, b, s.fn, &err);
        Mpfr v(fn_ref_bits(m));
        i64 e10 = 0;
        s.ref(v, a.data(), b.data(), m, &e10);
        auto r = judge(stats, m, out, err, v, e10);
        if (r && alias && err == 0) {
            std::vector<u64> apart(static_cast<std::size_t>(m + 2)), aw = widened(a),
                                                                     on_b = widened(b);
            {
                BodyContext c(m, 2);
                s.fn(apart.data(), aw.data(), on_b.data());
                s.fn(on_b.data(), aw.data(), on_b.data());
            }
            mp_error.store(0);
            r = same_result(out, rounded(apart, m), m, "apart from the operands");
            if (r) r = same_result(out, rounded(on_b, m), m, "equal to the second operand");
        }
        if (!r)
            r << "\n  a = " << real_text(a.data(), m, 60)
              << "\n  b = " << real_text(b.data(), m, 60);
        return r;
    });
}

// ---- single cases ------------------------------------------------------------------

std::vector<u64> guarded_unary(i64 m, const std::vector<u64>& x, RealUnaryFn fn, i32* err, i32 g) {
    mp_set_real_words(static_cast<i32>(m));
    std::vector<u64> out(static_cast<std::size_t>(m + 1));
    mp_error.store(0);
    real_guarded_unary(out.data(), x.data(), g, fn);
    *err = take_error();
    return out;
}

std::vector<u64> guarded_binary(i64 m, const std::vector<u64>& a, const std::vector<u64>& b,
                                RealBinaryFn fn, i32* err) {
    mp_set_real_words(static_cast<i32>(m));
    std::vector<u64> out(static_cast<std::size_t>(m + 1));
    mp_error.store(0);
    real_guarded_binary(out.data(), a.data(), b.data(), 2, fn);
    *err = take_error();
    return out;
}

namespace {

::testing::AssertionResult outcome(const std::vector<u64>& out, i32 err, i64 m, const char* want,
                                   i32 want_err) {
    const std::string got = real_text(out.data(), m, 60);
    if (err != want_err)
        return ::testing::AssertionFailure()
               << "error " << err << " (want " << want_err << "), result " << got;
    if (want == nullptr) {
        if (is_plus_zero(out)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "want +0, got " << got;
    }
    std::string text = want;
    const bool approx = text.size() > 3 && text.compare(text.size() - 3, 3, "...") == 0;
    if (approx) text.resize(text.size() - 3);
    const DecimalDigits d = parse_decimal(text);
    if (!approx) {
        std::vector<u64> x(out.size());
        real_from_digits(x.data(), m, d);
        if (x == out) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "got " << got << ", want " << real_text(x.data(), m);
    }
    Mpfr v(oracle_bits(static_cast<i64>(d.digits.size()) + 20));
    const std::string scaled =
        std::string(d.sign ? "-" : "") + d.digits.substr(0, 1) + "." + d.digits.substr(1);
    mpfr_set_str(v, scaled.c_str(), 10, MPFR_RNDN);
    return real_near(out.data(), m, v, 1.0, d.exp);
}

}  // namespace

::testing::AssertionResult fn_case(RealUnaryFn fn, i64 m, const char* x, const char* want, i32 err,
                                   i32 g) {
    i32 got_err = 0;
    const auto out = guarded_unary(m, real_of_text(m, x), fn, &got_err, g);
    auto r = outcome(out, got_err, m, want, err);
    if (!r) r << " for x = " << x << " at m = " << m;
    return r;
}

::testing::AssertionResult fn_case(RealBinaryFn fn, i64 m, const char* a, const char* b,
                                   const char* want, i32 err) {
    i32 got_err = 0;
    const auto out = guarded_binary(m, real_of_text(m, a), real_of_text(m, b), fn, &got_err);
    auto r = outcome(out, got_err, m, want, err);
    if (!r) r << " for (" << a << ", " << b << ") at m = " << m;
    return r;
}

::testing::AssertionResult check_unary_case(RealFnStats& stats, i64 m, const std::vector<u64>& x,
                                            RealUnaryFn fn, const RealFnReference& ref) {
    return unary_case(stats, m, x, fn, 2, ref, false);
}
