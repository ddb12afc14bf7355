#include "support/real_fn_check.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "support/gmp_oracle.h"

namespace {

using ::testing::AssertionFailure;
using ::testing::AssertionResult;
using ::testing::AssertionSuccess;

bool is_plus_zero(const Real& x) {
    return std::all_of(x.begin(), x.end(), [](u64 w) { return w == 0; });
}

std::string text(const Real& x, i64 m) {
    return real_text(x.data(), m, 60);
}

// A decimal text "[-]d[.ddd][e[-]N]" as digits and exponent, exactly.
DecimalDigits parse_decimal(const std::string& s) {
    DecimalDigits d;
    std::size_t i = 0;
    if (i < s.size() && s[i] == '-') d.sign = 1, ++i;
    i64 point = -1;
    for (; i < s.size() && s[i] != 'e'; ++i) {
        if (s[i] == '.')
            point = static_cast<i64>(d.digits.size());
        else
            d.digits += s[i];
    }
    if (point < 0) point = static_cast<i64>(d.digits.size());
    d.exp = point - 1 + (i < s.size() ? std::strtoll(s.c_str() + i + 1, nullptr, 10) : 0);
    return d;
}

// Whether x rounded half up to 19m - 2 digits equals the correctly rounded v.
bool rounds_like_reference(const u64* x, i64 m, mpfr_srcptr v, i64 e10) {
    const DecimalDigits d = correctly_rounded_half_up(v, 19 * m - 2, e10);
    Mpz n, want, p;
    i64 e = 0;
    real_exact(n, &e, x, m);
    if ((mpz_sgn(n.get()) < 0) != (d.sign == 1)) return false;
    // |n| without its last two digits, rounded half up, against the digits
    mpz_abs(n, n);
    mpz_add_ui(n, n, 50);
    mpz_tdiv_q_ui(n, n, 100);
    mpz_set_str(want, d.digits.c_str(), 10);
    const i64 shift = e + 2 - (d.exp - static_cast<i64>(d.digits.size()) + 1);
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(shift < 0 ? -shift : shift));
    mpz_mul(shift > 0 ? n : want, shift > 0 ? n : want, p);
    return mpz_cmp(n, want) == 0;
}

// Shares of correctly rounded Faithful cases.
struct Tally {
    i64 far_cases = 0, far_rounded = 0;
    double worst = 0;
};

// The decimal exponent v * 10^e10 takes at 19m digits when it may lie near
// or beyond the range; 0 otherwise.
i64 exponent_near_range(mpfr_srcptr v, i64 m, i64 e10) {
    if (mpfr_zero_p(v)) return 0;
    const i64 rough = e10 + static_cast<i64>(mpfr_get_exp(v)) * 30103 / 100000;
    if (rough < REAL_EXP_MAX - 5 && rough > REAL_EXP_MIN + 5) return 0;
    return correctly_rounded_half_up(v, 19 * m, e10).exp;
}

// The outcome of one case against v * 10^e10 by the entry's rule.
AssertionResult judge(const RealOp& op, Tally& tally, i64 m, const RealOutcome& out, mpfr_srcptr v,
                      i64 e10) {
    const std::string got = text(out.x, m) + " (error " + std::to_string(out.err) + ")";
    if (!mpfr_number_p(v)) {
        if (out.err == op.domain_error && is_plus_zero(out.x)) return AssertionSuccess();
        return AssertionFailure() << "outside the domain: want error " << op.domain_error
                                  << " and +0, got " << got;
    }
    const i64 e = exponent_near_range(v, m, e10);
    if (e > REAL_EXP_MAX) {
        if (out.err == MP_ERR_EXP_OVERFLOW && is_plus_zero(out.x)) return AssertionSuccess();
        return AssertionFailure() << "overflow: want error 10 and +0, got " << got;
    }
    if (e < REAL_EXP_MIN) {
        if (out.err == 0 && real_is_zero(out.x.data()) && real_exp_of(out.x.data()) == 0 &&
            real_sign(out.x.data()) == (mpfr_signbit(v) ? 1 : 0))
            return AssertionSuccess();
        return AssertionFailure() << "underflow: want a zero of the value's sign, got " << got;
    }
    if (out.err != 0) return AssertionFailure() << "got " << got;
    if (!real_well_formed(out.x.data(), m)) return AssertionFailure() << "malformed " << got;
    if (op.rule == RealRule::Rounded) return real_is_rounded(out.x.data(), m, v, e10);
    Real x = out.x;
    if (op.rule == RealRule::Spill) {
        x.push_back(out.spill);
        const double off = ulps_from(x.data(), m + 1, v, e10) * (real_sign(x.data()) ? -1 : 1);
        const double lo = op.lo + op.lo_per_word * static_cast<double>(m);
        if (lo < op.hi && !(off >= lo - 1e-9 && off <= op.hi + 1e-9))
            return AssertionFailure() << "with its spill " << off << " units off: " << got;
        x.pop_back();
        real_round_guard(x.data(), out.spill, static_cast<i32>(m));
    }
    if (mpfr_zero_p(v)) {
        const bool sign_kept = real_sign(x.data()) == (mpfr_signbit(v) ? 1 : 0);
        if (real_is_zero(x.data()) && (op.rule != RealRule::Spill || sign_kept))
            return AssertionSuccess();
        return AssertionFailure() << "want 0, got " << got;
    }
    const double ulps = std::fabs(ulps_from(x.data(), m, v, e10));
    const double tol = op.rule == RealRule::Spill ? op.tol + 1e-9 : 1.0;
    if (!(ulps <= tol))
        return AssertionFailure() << ulps << " units away; got " << text(x, m) << " want "
                                  << digits_text(correctly_rounded_half_up(v, 19 * m, e10), 60);
    if (op.rule == RealRule::Faithful) {
        tally.worst = std::max(tally.worst, ulps);
        if (!near_tie(v, 19 * m - 2, 6e-3, e10)) {
            ++tally.far_cases;
            tally.far_rounded += rounds_like_reference(x.data(), m, v, e10);
        }
    }
    return AssertionSuccess();
}

// Word counts for round i: first 1, 2, 3, 27, 38, 39 (the two sides of the
// logarithm's switch to the mean at 40 working words), 53, 263 and max_m,
// later mostly up to small_max, one in fifty up to max_m.
i64 words_for(TestRng& rng, const RealOp& op, i64 round) {
    static const i64 fixed[] = {1, 2, 3, 27, 38, 39, 53, 263};
    if (round < 8) return std::min(fixed[round], op.max_m);
    if (round == 8) return op.max_m;
    if (op.max_m > op.small_max && rng.chance(2)) return rng.range(op.small_max + 1, op.max_m);
    return rng.chance(60) ? rng.range(1, std::min<i64>(12, op.small_max))
                          : rng.range(1, op.small_max);
}

std::string operands_text(const RealCase& c) {
    std::string s = "m = " + std::to_string(c.m) + ", n = " + std::to_string(c.n);
    for (const Real* x : {&c.a, &c.b})
        if (!x->empty()) s += "\n  " + text(*x, static_cast<i64>(x->size()) - 1);
    if (!c.w.empty()) s += "\n  " + words_hex(c.w.data(), static_cast<i64>(c.w.size()));
    return s;
}

AssertionResult run_case(const RealOp& op, Tally& tally, TestRng& rng, const RealCase& c,
                         bool alias) {
    mp_real_words = static_cast<i32>(c.m);  // max_m may be 528, a guarded body's width
    const u8* top = mp_scratch_top;
    const RealOutcome out = op.run(c, 0);
    if (mp_scratch_top != top || mp_real_words != c.m || mp_guard_words || mp_guard_digits)
        return AssertionFailure() << "scratch or precision not given back";
    Mpfr v(ref_bits(c.m));
    i64 e10 = 0;
    op.ref(v, c, &e10);
    AssertionResult r = judge(op, tally, c.m, out, v, e10);
    const bool pending = rng.chance(10);
    for (int form = 0; r && form <= (alias && out.err == 0 ? op.aliases : 0); ++form) {
        if (form == 0 && !pending) continue;
        mp_real_words = static_cast<i32>(c.m);
        mp_error.store(form == 0 ? MP_ERR_STOPPED : 0);
        const RealOutcome same = op.run(c, form);
        RealOutcome want = out;
        if (form == 0) want.err = MP_ERR_STOPPED;
        if (form == 0 && !op.keeps_pending && real_well_formed(same.x.data(), c.m))
            want.x = same.x, want.spill = same.spill;
        if (same.x != want.x || same.spill != want.spill || same.err != want.err)
            r = AssertionFailure()
                << (form == 0 ? "with a stop request pending"
                              : "with the destination on an operand")
                << ": " << text(same.x, c.m) << " (error " << same.err << ") instead of "
                << text(want.x, c.m) << " (error " << want.err << ")";
    }
    return r;
}

// A body run by hand in the context a guarded call gives it (m + 1 words,
// one guard word, 19 - g guard digits, operands widened with a zero word),
// its destination apart or on b, then rounded to m words with the guard word.
RealOutcome body_run(const RealCase& c, i32 g, bool on_b,
                     const std::function<void(u64* dst, const u64* a, const u64* b)>& body) {
    Real a = c.a, b = c.b.empty() ? c.a : c.b, apart(c.a.size() + 1);
    a.push_back(0);
    b.push_back(0);
    Real& t = on_b ? b : apart;
    mp_real_words = static_cast<i32>(c.m + 1);
    mp_guard_words = 1;
    mp_guard_digits = 19 - g;
    body(t.data(), a.data(), b.data());
    mp_real_words = static_cast<i32>(c.m);
    mp_guard_words = 0;
    mp_guard_digits = 0;
    mp_error.store(0);
    const u64 spill = t.back();
    t.pop_back();
    real_round_guard(t.data(), spill, static_cast<i32>(c.m));
    return {t, 0, 0};
}

}  // namespace

std::string real_op_name(const ::testing::TestParamInfo<RealOp>& param) {
    return param.param.name;
}

mpfr_prec_t ref_bits(i64 m) {
    return oracle_bits(19 * m + 40);
}

RealOp real_op(const char* name, RealRule rule, RealSample sample, RealRun run, RealRef ref,
               i64 rounds, int aliases, double lo, double hi) {
    RealOp op;
    op.name = name;
    op.rule = rule;
    op.sample = std::move(sample);
    op.run = std::move(run);
    op.ref = std::move(ref);
    op.rounds = rounds;
    op.aliases = aliases;
    op.lo = lo;
    op.hi = hi;
    return op;
}

RealOp& real_op_at(std::vector<RealOp>& table, const std::string& name) {
    for (RealOp& op : table)
        if (op.name == name) return op;
    throw std::invalid_argument("no entry " + name);
}

void check_op(TestRng& rng, const RealOp& op) {
    Tally tally;
    for (i64 round = 0; round < test_iterations(op.rounds); ++round) {
        RealCase c;
        c.m = words_for(rng, op, round);
        mp_real_words = static_cast<i32>(c.m);
        op.sample(rng, c);
        mp_error.store(0);  // a generator may have left one
        const auto r = run_case(op, tally, rng, c, round % 4 == 3 && c.m <= 60);
        if (!r) {
            ADD_FAILURE() << op.name << ": " << r.message() << "\n  " << operands_text(c);
            break;
        }
    }
    mp_error.store(0);
    if (op.rule != RealRule::Faithful) return;
    EXPECT_GE(static_cast<double>(tally.far_rounded), 0.999 * static_cast<double>(tally.far_cases))
        << op.name << ": rounded correctly " << tally.far_rounded << " of " << tally.far_cases
        << ", worst " << tally.worst << " units";
}

// ---- operands ---------------------------------------------------------------------

RealSampler sample_real(i64 exp_min, i64 exp_max, bool negative, int zero_percent,
                        int edge_percent) {
    const RandomRealOptions opt{exp_min, exp_max, negative, zero_percent, edge_percent};
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
        Real x(static_cast<std::size_t>(m + 1));
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
        Real x = s(rng, m);
        if (rng.chance(50)) real_negate(x.data());
        return x;
    };
}

RealSample operands(RealSampler sa, RealSampler sb) {
    return [sa, sb](TestRng& rng, RealCase& c) {
        c.a = sa(rng, c.m);
        if (sb) c.b = sb(rng, c.m);
    };
}

Real real_of_text(i64 m, const char* s) {
    Real x(static_cast<std::size_t>(m + 1));
    real_from_digits(x.data(), m, parse_decimal(s));
    return x;
}

// ---- guarded functions and references ----------------------------------------------

RealOutcome outcome_of(i64 m, const std::function<void(u64*)>& call) {
    Real out(static_cast<std::size_t>(m + 1));
    call(out.data());
    const i32 err = mp_err();
    mp_error.store(0);
    return {out, 0, err};
}

RealRun guarded(RealUnaryFn fn, i32 g) {
    return [fn, g](const RealCase& c, int alias) {
        if (alias)
            return body_run(c, g, false, [&](u64* d, const u64* a, const u64*) { fn(d, a); });
        return outcome_of(c.m, [&](u64* d) { real_guarded_unary(d, c.a.data(), g, fn); });
    };
}

RealRun guarded(RealBinaryFn fn) {
    return [fn](const RealCase& c, int alias) {
        if (alias) return body_run(c, 2, alias == 2, fn);
        return outcome_of(c.m,
                          [&](u64* d) { real_guarded_binary(d, c.a.data(), c.b.data(), 2, fn); });
    };
}

RealRun guarded(RealIntFn fn) {
    return [fn](const RealCase& c, int alias) {
        auto body = [&](u64* d, const u64* a, const u64*) { fn(d, a, c.n); };
        if (alias) return body_run(c, 2, false, body);
        return outcome_of(c.m, [&](u64* d) { real_guarded_int(d, c.a.data(), c.n, 2, fn); });
    };
}

RealRef mpfr_reference(MpfrBinaryFn f) {
    return [f](mpfr_ptr v, const RealCase& c, i64*) {
        Mpfr x(oracle_bits(19 * c.m + 80)), y(oracle_bits(19 * c.m + 80));
        to_mpfr(x, c.a.data(), c.m);
        to_mpfr(y, c.b.data(), c.m);
        f(v, x, y, MPFR_RNDN);
    };
}

void set_ratio(mpfr_ptr v, i64* e10, mpz_srcptr num, mpz_srcptr den, i64 e, int zero_sign) {
    if (mpz_sgn(num) == 0) return static_cast<void>(mpfr_set_zero(v, zero_sign ? -1 : 1));
    mpfr_set_prec(v, std::max<mpfr_prec_t>(mpfr_get_prec(v),
                                           static_cast<mpfr_prec_t>(mpz_sizeinbase(num, 2)) + 64));
    mpfr_set_z(v, num, MPFR_RNDN);  // exact at that precision: one rounding in all
    mpfr_div_z(v, v, den, MPFR_RNDN);
    *e10 = e;
}

void set_exact(mpfr_ptr v, i64* e10, mpz_srcptr n, i64 e, int zero_sign) {
    Mpz one;
    mpz_set_ui(one, 1);
    set_ratio(v, e10, n, one, e, zero_sign);
}

void set_pow10(mpfr_ptr v, i64* e10, mpfr_srcptr u) {
    Mpfr k(mpfr_get_prec(u)), f(mpfr_get_prec(u));
    mpfr_floor(k, u);
    if (std::fabs(mpfr_get_d(k, MPFR_RNDN)) > 4.7e18) {
        *e10 = mpfr_sgn(k.get()) < 0 ? REAL_EXP_MIN - 10 : REAL_EXP_MAX + 10;
        return static_cast<void>(mpfr_set_ui(v, 1, MPFR_RNDN));
    }
    mpfr_sub(f, u, k, MPFR_RNDN);
    *e10 = mpfr_get_si(k, MPFR_RNDN);
    mpfr_exp10(v, f, MPFR_RNDN);
}

void integer_of(Mpz& out, const Real& x, i64 m) {
    i64 e = 0;
    real_exact(out, &e, x.data(), m);
    Mpz p;
    mpz_ui_pow_ui(p, 10, static_cast<unsigned long>(e < 0 ? -e : e));
    (e < 0 ? mpz_tdiv_q : mpz_mul)(out, out, p);
}

Real real_of_mpz(mpz_srcptr v, i64 m) {
    Mpfr f(static_cast<mpfr_prec_t>(mpz_sizeinbase(v, 2) + 2));
    mpfr_set_z(f, v, MPFR_RNDN);
    Real x(static_cast<std::size_t>(m + 1));
    from_mpfr(x.data(), m, f);
    return x;
}

// ---- single cases ------------------------------------------------------------------

namespace {

AssertionResult outcome(const RealOutcome& out, i64 m, const char* want, i32 want_err) {
    const std::string got = text(out.x, m);
    if (out.err != want_err)
        return AssertionFailure() << "error " << out.err << " (want " << want_err << "), result "
                                  << got;
    if (want == nullptr) {
        if (is_plus_zero(out.x)) return AssertionSuccess();
        return AssertionFailure() << "want +0, got " << got;
    }
    std::string s = want;
    const bool approx = s.size() > 3 && s.compare(s.size() - 3, 3, "...") == 0;
    if (!approx) {
        const Real x = real_of_text(m, want);
        if (x == out.x) return AssertionSuccess();
        return AssertionFailure() << "got " << got << ", want " << real_text(x.data(), m);
    }
    s.resize(s.size() - 3);
    const DecimalDigits d = parse_decimal(s);
    Mpfr v(oracle_bits(static_cast<i64>(d.digits.size()) + 20));
    const std::string scaled =
        std::string(d.sign ? "-" : "") + d.digits.substr(0, 1) + "." + d.digits.substr(1);
    mpfr_set_str(v, scaled.c_str(), 10, MPFR_RNDN);
    return real_near(out.x.data(), m, v, 1.0, d.exp);
}

}  // namespace

AssertionResult op_case(const RealOp& op, i64 m, const std::vector<std::string>& args,
                        const char* want, i32 err) {
    mp_set_real_words(static_cast<i32>(m));
    RealCase c{.m = m, .a = real_of_text(m, args.at(0).c_str())};
    if (args.size() > 1) c.b = real_of_text(m, args[1].c_str());
    if (args.size() > 2) c.n = std::stoll(args[2]);
    mp_error.store(0);
    auto r = outcome(op.run(c, 0), m, want, err);
    if (!r) r << " for " << args[0] << (args.size() > 1 ? ", " + args[1] : "") << " at m = " << m;
    return r;
}
