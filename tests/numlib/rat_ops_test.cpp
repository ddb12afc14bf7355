// Rational operations against GMP's mpq. Each row of the table names an
// operation, the operands it is tried on, the call and the exact value (or
// error) mpq gives; check_rat_op (support/rat_harness.h) runs each call in
// every placement of the destination.
// Integer parameters (a word, an exponent, flags) are passed as integer
// operands, so they take part in the aliasing too.
#include <functional>

#include "numlib/mp_error.h"
#include "numlib/rat.h"
#include "numlib/uint.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"
#include "support/rat_harness.h"

namespace {

using Ptrs = std::vector<const u64*>;
using Vals = std::vector<const Mpq*>;
using Words = std::vector<u64>;
using Gen = std::function<RatOperands(TestRng&, i64 n)>;
using Call = std::function<void(u64* dst, const Ptrs& ops)>;
using Ops = const Ptrs&;

struct RatRow {
    const char* name;
    i64 max_words;
    Gen gen;
    AliasCall run;
    RatOracle oracle;
};

// A routine without a scalar result as an AliasCall.
AliasCall call(Call c) {
    return [c](u64* d, const Ptrs& o) {
        c(d, o);
        return i64{0};
    };
}

// The integer v (negated when neg) as a rat of the current word count.
Words word_rat(u64 v, bool neg = false) {
    Words x(static_cast<std::size_t>(2 * mp_int_words + 1));
    x[0] = neg && v != 0 ? 1 : 0;
    x[1] = v;
    x[static_cast<std::size_t>(mp_int_words + 1)] = 1;
    return x;
}
Words int_rat(i64 v) {
    return word_rat(v < 0 ? 0 - static_cast<u64>(v) : static_cast<u64>(v), v < 0);
}
// The integer of an operand made by word_rat or int_rat.
i64 int_arg(const u64* x) {
    return static_cast<i64>(x[0] & 1 ? 0 - x[1] : x[1]);
}
i64 int_arg(const Mpq& q) {
    return mpz_get_si(q.num());
}

// x^e for a machine exponent, a negative e inverting; false for 0^e, e < 0.
bool pow_q(Mpq& r, const Mpq& x, i64 e) {
    const u64 m = e < 0 ? 0 - static_cast<u64>(e) : static_cast<u64>(e);
    Mpq t;
    mpq_set(t, x);
    mpz_pow_ui(t.num(), t.num(), m);
    mpz_pow_ui(t.den(), t.den(), m);
    if (e < 0 && t.sgn() == 0) return false;
    if (e < 0) mpq_inv(t, t);
    mpq_set(r, t);
    return true;
}

// The exact k-th root of |x| with x's sign; false when inexact.
bool root_q(Mpq& r, const Mpq& x, u64 k) {
    Mpq t;
    mpq_abs(t, x);
    const bool exact = mpz_root(t.num(), t.num(), k) && mpz_root(t.den(), t.den(), k);
    if (x.sgn() < 0) mpq_neg(t, t);
    mpq_set(r, t);
    return exact;
}

// ---- operand generators ---------------------------------------------------------

RatOperands one(TestRng& rng, i64 n) {
    return {random_rat(rng, n)};
}

RatOperands pair(TestRng& rng, i64 n) {
    RatOperands o(2);
    random_rat_pair(rng, n, o[0], o[1]);
    return o;
}

RatOperands with_word(TestRng& rng, i64 n) {
    return {random_rat(rng, n), word_rat(rng.chance(10) ? 0 : rng.structured_word())};
}

// A small integer (an exponent), or a structured word as an i64.
RatOperands with_i64(TestRng& rng, i64 n) {
    const i64 v = rng.chance(30) ? static_cast<i64>(rng.structured_word()) : rng.range(-9, 9);
    return {random_rat(rng, n), int_rat(v)};
}

// A value of one word per part, often one that fits 64 bits, and flags.
RatOperands for_u64(TestRng& rng, i64 n) {
    const Mpq q(random_rat(rng, 1).data(), 1);
    return {q.words(n), int_rat(rng.range(0, 7))};
}

// a = x^q (now and then off by one) and b = p/q, for powers and roots.
RatOperands power_pair(TestRng& rng, i64 n) {
    for (;;) {
        const i64 bits = n == 1 ? 10 : 60;
        Mpq x, a, b;
        mpz_set_ui(x.num(), rng.word() >> (64 - bits));
        mpz_set_ui(x.den(), rng.chance(30) ? 1 : (rng.word() >> (64 - bits)) | 1);
        mpq_canonicalize(x);
        if (rng.chance(40)) mpq_neg(x, x);
        const i64 q = rng.range(1, 5), p = rng.range(-6, 6);
        pow_q(a, x, x.sgn() == 0 ? 1 : q);
        if (rng.chance(20)) mpz_add_ui(a.num(), a.num(), 1), mpq_canonicalize(a);
        mpq_set_si(b, p == 0 && rng.chance(50) ? 1 : p, static_cast<unsigned long>(q));
        mpq_canonicalize(b);
        if (a.fits(n)) return {a.words(n), b.words(n)};
    }
}

// base^e, now and then off by one, divided by 3 or negated.
Gen near_power(unsigned long base) {
    return [base](TestRng& rng, i64 n) -> RatOperands {
        for (;;) {
            const i64 e = rng.range(-60 * n, 60 * n) / (base == 2 ? 1 : 3);
            Mpq a;
            mpz_ui_pow_ui(a.num(), base, static_cast<unsigned long>(e < 0 ? -e : e));
            if (e < 0) mpq_inv(a, a);
            const i64 change = rng.range(0, 4);
            if (change == 1) mpz_add_ui(a.num(), a.num(), 1);
            if (change == 2) mpz_mul_ui(a.den(), a.den(), 3);
            if (change == 3) mpq_neg(a, a);
            mpq_canonicalize(a);
            if (a.fits(n)) return {a.words(n)};
        }
    };
}

// An integer exponent k, or (fraction_percent of the time) k/3.
Gen exponent(int fraction_percent) {
    return [fraction_percent](TestRng& rng, i64 n) -> RatOperands {
        Mpq a;
        mpq_set_si(a, rng.range(-40 * n, 40 * n), rng.chance(fraction_percent) ? 3 : 1);
        mpq_canonicalize(a);
        return {a.words(n)};
    };
}

// n, k and a limit of permutations and combinations.
RatOperands perm_args(TestRng& rng, i64) {
    Mpq x, k;
    mpq_set_si(x, rng.range(-30, 30),
               static_cast<unsigned long>(rng.chance(50) ? 1 : rng.range(1, 6)));
    mpq_canonicalize(x);
    const i64 draw = rng.range(0, 12);
    mpq_set_si(k, rng.chance(5) ? -draw - 1 : draw, rng.chance(5) ? 2 : 1);
    mpq_canonicalize(k);
    return {x.words(mp_int_words), k.words(mp_int_words),
            int_rat(rng.chance(70) ? 0 : rng.range(1, 12))};
}

// |a| with both parts multiplied by a common factor (now and then 0/0 or a
// zero denominator), for the reduction.
RatOperands unreduced(TestRng& rng, i64 n) {
    Words g(static_cast<std::size_t>(n));
    rng.fill(g.data(), n, rng.range(1, n));
    Mpq a(random_rat(rng, n).data(), n);
    mpq_abs(a, a);
    mpz_mul(a.num(), a.num(), Mpz(g.data(), n));
    mpz_mul(a.den(), a.den(), Mpz(g.data(), n));
    if (rng.chance(5)) mpz_set_ui(a.den(), 0);
    return {a.fits(n) ? a.words(n) : word_rat(rng.word())};
}

// ---- oracles ------------------------------------------------------------------

RatOracle gmp(void (*f)(mpq_ptr, mpq_srcptr, mpq_srcptr)) {
    return [f](RatExpect& w, const Vals& o) { f(w.value, *o[0], *o[1]); };
}

void quotient(RatExpect& w, const Vals& o) {
    if (o[1]->sgn() == 0)
        w.err = o[0]->sgn() ? MP_ERR_DIV_ZERO : 0;  // 0 / 0 gives 0
    else
        mpq_div(w.value, *o[0], *o[1]);
}

// q = trunc(a / b), |r| = |a| - |q| |b|, both signed sign(a) XOR sign(b).
RatOracle divmod(bool want_q) {
    return [want_q](RatExpect& w, const Vals& o) {
        const Mpq &a = *o[0], &b = *o[1];
        if (b.sgn() == 0) return void(w.err = MP_ERR_DIV_ZERO);
        Mpq q, r, t;
        mpq_div(t, a, b);
        mpz_tdiv_q(q.num(), t.num(), t.den());
        mpq_mul(t, q, b);
        mpq_abs(t, t);
        mpq_abs(r, a);
        mpq_sub(r, r, t);
        if ((a.sgn() < 0) != (b.sgn() < 0)) mpq_neg(r, r);
        if (!q.fits(mp_int_words) || !r.fits(mp_int_words)) w.err = MP_ERR_OVERFLOW;
        mpq_set(w.value, want_q ? q : r);
    };
}

// Lowest terms; a zero denominator fails unless the numerator is 0 too.
void reduce(RatExpect& w, const Vals& o) {
    if (mpz_sgn(o[0]->den()) == 0) return void(w.err = o[0]->sgn() ? MP_ERR_DIV_ZERO : 0);
    mpq_set(w.value, *o[0]);
    mpq_canonicalize(w.value);
}

void to_u64(RatExpect& w, const Vals& o) {
    const Mpq& a = *o[0];
    const i64 flags = int_arg(*o[1]);
    Mpz mag;
    mpz_tdiv_q(mag, a.num(), a.den());
    mpz_abs(mag, mag);
    const bool ok = (mpz_cmp_ui(a.den(), 1) == 0 || (flags & RAT_TO_U64_FLOOR)) &&
                    (a.sgn() >= 0 || (flags & RAT_TO_U64_ABS)) && mag.fits(1);
    w.ret = ok;
    if (ok) mpz_set(w.value.num(), mag);
    if (!ok && !(flags & RAT_TO_U64_QUIET)) w.err = MP_ERR_DOMAIN;
}

// Exponents beyond 64 overflow unless the base is 0 or a unit.
void pow_int(RatExpect& w, const Vals& o) {
    const Mpq& x = *o[0];
    const i64 k = int_arg(*o[1]);
    const bool unit = mpz_cmpabs_ui(x.num(), 1) == 0 && mpz_cmp_ui(x.den(), 1) == 0;
    const bool big = k > 64 || k < -64;
    if (big && x.sgn() != 0 && !unit)
        w.err = MP_ERR_OVERFLOW;
    else if (!pow_q(w.value, x, big ? (k & 1 ? 1 : 2) * (k < 0 ? -1 : 1) : k))
        w.err = MP_ERR_DIV_ZERO;
}

void pow(RatExpect& w, const Vals& o) {
    const Mpq &base = *o[0], &e = *o[1];
    const u64 q = mpz_get_ui(e.den());
    Mpq r;
    if (q > 1 && base.sgn() < 0)
        w.err = MP_ERR_DOMAIN;
    else if (!root_q(r, base, q))
        w.err = MP_ERR_NOT_RATIONAL;
    else if (!pow_q(w.value, r, int_arg(e)))
        w.err = MP_ERR_DIV_ZERO;
}

// The index p/q: the p-th root raised to q, inverted for p < 0.
void root(RatExpect& w, const Vals& o) {
    const Mpq &base = *o[0], &e = *o[1];
    const i64 p = int_arg(e), q = static_cast<i64>(mpz_get_ui(e.den()));
    Mpq r;
    if (p == 0 || (base.sgn() < 0 && (q > 1 || p % 2 == 0)))
        w.err = MP_ERR_DOMAIN;
    else if (!root_q(r, base, static_cast<u64>(p < 0 ? -p : p)))
        w.err = MP_ERR_NOT_RATIONAL;
    else if (!pow_q(w.value, r, p < 0 ? -q : q))
        w.err = MP_ERR_DIV_ZERO;
}

// log_base of a positive integer or unit fraction that is an exact power.
RatOracle log_exact(unsigned long base) {
    return [base](RatExpect& w, const Vals& o) {
        if (o[0]->sgn() <= 0) return void(w.err = MP_ERR_DOMAIN);
        Mpq t;
        mpq_set(t, *o[0]);
        const bool integer = mpz_cmp_ui(t.den(), 1) == 0;
        Mpz b;
        mpz_set_ui(b, base);
        mpz_ptr part = integer ? t.num() : t.den();
        const i64 count = static_cast<i64>(mpz_remove(part, part, b));
        if ((!integer && mpz_cmp_ui(t.num(), 1) != 0) || mpz_cmp_ui(part, 1) != 0)
            w.err = MP_ERR_NOT_RATIONAL;
        else
            mpq_set_si(w.value, integer ? count : -count, 1);
    };
}

// base^k for an integer k (else error 18), inverted for k < 0.
RatOracle power_of(unsigned long base) {
    return [base](RatExpect& w, const Vals& o) {
        if (mpz_cmp_ui(o[0]->den(), 1) != 0) return void(w.err = MP_ERR_NOT_RATIONAL);
        const i64 k = int_arg(*o[0]);
        mpz_ui_pow_ui(w.value.num(), base, static_cast<unsigned long>(k < 0 ? -k : k));
        if (k < 0) mpq_inv(w.value, w.value);
    };
}

// n (n - 1) ... (n - k + 1), over k! for combinations; a natural n uses the
// integer routine, whose limit applies to min(k, n - k) factors.
RatOracle perm_comb(bool perm) {
    return [perm](RatExpect& w, const Vals& o) {
        const Mpq &x = *o[0], &k = *o[1];
        const i64 kv = int_arg(k), nv = int_arg(x), limit = int_arg(*o[2]);
        const bool natural = mpz_cmp_ui(x.den(), 1) == 0 && x.sgn() >= 0;
        const i64 j = natural && !perm ? std::min(kv, nv - kv) : kv;
        if (mpz_cmp_ui(k.den(), 1) != 0 || k.sgn() < 0 ||
            (limit >= 1 && j > limit && !(natural && nv < kv)))
            return void(w.err = MP_ERR_DOMAIN);
        if (natural && nv < kv) return;
        Mpq term, one;
        mpq_set_ui(w.value, 1, 1);
        mpq_set_ui(one, 1, 1);
        mpq_set(term, x);
        for (i64 i = 1; i <= kv; ++i) {
            mpq_mul(w.value, w.value, term);
            mpq_sub(term, term, one);
            if (perm) continue;
            Mpq di;
            mpq_set_si(di, i, 1);
            mpq_div(w.value, w.value, di);
        }
    };
}

std::vector<RatRow> rows() {
    const i64 all = MP_INT_WORDS_MAX;
    auto comparison = [](bool abs) {
        return [abs](RatExpect& w, const Vals& o) {
            Mpq a, b;
            (abs ? mpq_abs : mpq_set)(a, *o[0]);
            (abs ? mpq_abs : mpq_set)(b, *o[1]);
            const int c = mpq_cmp(a, b);
            mpq_set_si(w.value, (c > 0) - (c < 0), 1);
        };
    };
    return {
        {"rat_add", all, pair, call([](u64* d, Ops o) { rat_add_sub(d, o[0], o[1], false); }),
         gmp(mpq_add)},
        {"rat_sub", all, pair, call([](u64* d, Ops o) { rat_add_sub(d, o[0], o[1], true); }),
         gmp(mpq_sub)},
        {"rat_mul", all, pair, call([](u64* d, Ops o) { rat_mul_div(d, o[0], o[1], false); }),
         gmp(mpq_mul)},
        {"rat_div", all, pair, call([](u64* d, Ops o) { rat_mul_div(d, o[0], o[1], true); }),
         quotient},
        {"rat_mul_u64", all, with_word, call([](u64* d, Ops o) { rat_mul_u64(d, o[0], o[1][1]); }),
         gmp(mpq_mul)},
        {"rat_div_u64", all, with_word, call([](u64* d, Ops o) { rat_div_u64(d, o[0], o[1][1]); }),
         quotient},
        {"rat_inv", all, one, call([](u64* d, Ops o) { rat_inv(d, o[0]); }),
         [](RatExpect& w, const Vals& o) {
             if (o[0]->sgn() == 0) return void(w.err = MP_ERR_DIV_ZERO);
             mpq_inv(w.value, *o[0]);
         }},
        {"rat_divmod q", all, pair, call([](u64* d, Ops o) { rat_divmod(d, nullptr, o[0], o[1]); }),
         divmod(true)},
        {"rat_divmod r", all, pair, call([](u64* d, Ops o) { rat_divmod(nullptr, d, o[0], o[1]); }),
         divmod(false)},
        {"rat_cmp_abs", all, pair,
         call([](u64* d, Ops o) { rat_from_i64(d, rat_cmp_abs(o[0], o[1])); }), comparison(true)},
        {"rat_cmp_i64", all, with_i64,
         call([](u64* d, Ops o) { rat_from_i64(d, rat_cmp_i64(o[0], int_arg(o[1]))); }),
         comparison(false)},
        {"rat_reduce", all, unreduced, call([](u64* d, Ops o) {
             rat_copy(d, o[0]);
             rat_reduce(rat_num(d), rat_den(d));
         }),
         reduce},
        {"rat_to_u64", 33, for_u64,
         [](u64* d, Ops o) {
             u64 out = 7;
             const bool ok = rat_to_u64(&out, o[0], static_cast<u32>(int_arg(o[1])));
             rat_from_u64(d, out);
             return i64{ok};
         },
         to_u64},
        {"rat_pow_int", 520, with_i64,
         call([](u64* d, Ops o) { rat_pow_int(d, o[0], int_arg(o[1])); }), pow_int},
        {"rat_pow", 520, power_pair, call([](u64* d, Ops o) { rat_pow(d, o[0], o[1]); }), pow},
        {"rat_root", 520, power_pair, call([](u64* d, Ops o) { rat_root(d, o[1], o[0]); }), root},
        {"rat_log_exact 2", 33, near_power(2),
         call([](u64* d, Ops o) { rat_log_exact(d, o[0], uint_log2_floor); }), log_exact(2)},
        {"rat_log_exact 10", 33, near_power(10),
         call([](u64* d, Ops o) { rat_log_exact(d, o[0], uint_log10_floor); }), log_exact(10)},
        {"rat_from_int_fn 10^k", 33, exponent(0),
         call([](u64* d, Ops o) { rat_from_int_fn(d, int_arg(o[0]), uint_pow10); }), power_of(10)},
        {"rat_apply_int 2^k", 33, exponent(20),
         call([](u64* d, Ops o) { rat_apply_int(d, o[0], uint_pow2_uint); }), power_of(2)},
        {"rat_perm", 33, perm_args,
         call([](u64* d, Ops o) { rat_perm_comb(d, o[0], o[1], int_arg(o[2]), true); }),
         perm_comb(true)},
        {"rat_comb", 33, perm_args,
         call([](u64* d, Ops o) { rat_perm_comb(d, o[0], o[1], int_arg(o[2]), false); }),
         perm_comb(false)},
    };
}

using RatOpsTest = NumlibTest;

TEST_F(RatOpsTest, EveryOperationMatchesMpq) {
    // MP_INT_WORDS_MAX: double-width work beyond the settable count
    const i64 counts[] = {
        1, 2, 3, 33, 520, rng.range(4, 12), rng.word_count(200), MP_INT_WORDS_MAX};
    for (const RatRow& row : rows()) {
        for (i64 n : counts) {
            if (n > row.max_words) continue;
            mp_set_int_words(static_cast<i32>(n));
            const i64 count = test_iterations(n > 520 ? 2 : n >= 256 ? 8 : n >= 32 ? 40 : 150);
            for (i64 i = 0; i < count; ++i)
                if (!check_rat_op(row.name, row.run, row.oracle, row.gen(rng, n))) return;
        }
    }
}

}  // namespace
