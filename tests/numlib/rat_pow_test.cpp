// Powers, roots, exact logarithms, powers of a base and permutations and
// combinations of rationals against GMP's mpq.
#include "numlib/mp_error.h"
#include "numlib/rat.h"
#include "numlib/uint.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"
#include "support/rat_harness.h"

namespace {

using Ptrs = std::vector<const u64*>;
using Vals = std::vector<const Mpq*>;

class RatPowTest : public NumlibTest {
  protected:
    // A rational with numerator and denominator of up to bits bits, the
    // numerator possibly 0.
    void small_rat(Mpq& q, int bits, bool allow_zero = true) {
        do {
            mpz_set_ui(q.num(), rng.word() >> (64 - bits));
        } while (!allow_zero && mpz_sgn(q.num()) == 0);
        mpz_set_ui(q.den(), (rng.word() >> (64 - bits)) | 1);
        if (rng.chance(30)) mpz_set_ui(q.den(), 1);
        mpq_canonicalize(q);
        if (rng.chance(40)) mpq_neg(q, q);
    }
    // x^e for a machine exponent; a negative e inverts (false for 0).
    static bool pow_q(Mpq& r, const Mpq& x, i64 e) {
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
    static bool root_q(Mpq& r, const Mpq& x, u64 k) {
        Mpq t;
        mpq_abs(t, x);
        const bool exact = mpz_root(t.num(), t.num(), k) && mpz_root(t.den(), t.den(), k);
        if (x.sgn() < 0) mpq_neg(t, t);
        mpq_set(r, t);
        return exact;
    }
};

TEST_F(RatPowTest, IntegerPowersMatchMpq) {
    for (i64 n : rat_test_word_counts(rng)) {
        mp_set_int_words(static_cast<i32>(n));
        for (i64 i = 0; i < test_iterations(n >= 256 ? 10 : 150); ++i) {
            std::vector<u64> a = random_rat(rng, n);
            const i64 k = rng.chance(5) ? static_cast<i64>(rng.word()) : rng.range(-9, 9);
            auto run = [&](u64* d, const Ptrs& o) {
                rat_pow_int(d, o[0], k);
                return i64{0};
            };
            auto oracle = [&](RatExpect& w, const Vals& o) {
                const Mpq& x = *o[0];
                const bool unit = mpz_cmpabs_ui(mpq_numref(static_cast<mpq_srcptr>(x)), 1) == 0 &&
                                  mpz_cmp_ui(mpq_denref(static_cast<mpq_srcptr>(x)), 1) == 0;
                if ((k > 64 || k < -64) && x.sgn() != 0 && !unit) {
                    w.err = MP_ERR_OVERFLOW;
                } else if (!pow_q(w.value, x,
                                  (k > 64 || k < -64) ? (k & 1 ? 1 : 2) * (k < 0 ? -1 : 1) : k)) {
                    w.err = MP_ERR_DIV_ZERO;
                }
            };
            if (!check_rat_op("rat_pow_int", run, oracle, {a})) return;
        }
    }
}

TEST_F(RatPowTest, RationalPowersAndRootsMatchMpq) {
    for (i64 n : {i64{1}, i64{2}, i64{3}, i64{33}, i64{520}}) {
        mp_set_int_words(static_cast<i32>(n));
        for (i64 i = 0; i < test_iterations(n >= 256 ? 20 : 200); ++i) {
            // a = x^q (sometimes off by one), b = p/q.
            Mpq x, a, b;
            small_rat(x, n == 1 ? 10 : 60);
            const i64 q = rng.range(1, 5), p = rng.range(-6, 6);
            pow_q(a, x, x.sgn() == 0 ? 1 : q);
            if (rng.chance(20)) mpz_add_ui(a.num(), a.num(), 1), mpq_canonicalize(a);
            mpq_set_si(b, p == 0 && rng.chance(50) ? 1 : p, static_cast<unsigned long>(q));
            mpq_canonicalize(b);
            if (!a.fits(n)) continue;
            auto pow_run = [&](u64* d, const Ptrs& o) {
                rat_pow(d, o[0], o[1]);
                return i64{0};
            };
            auto pow_want = [&](RatExpect& w, const Vals& o) {
                const Mpq &base = *o[0], &e = *o[1];
                const i64 ep = mpz_get_si(mpq_numref(static_cast<mpq_srcptr>(e)));
                const u64 eq = mpz_get_ui(mpq_denref(static_cast<mpq_srcptr>(e)));
                Mpq r;
                if (eq > 1 && base.sgn() < 0)
                    w.err = MP_ERR_DOMAIN;
                else if (!root_q(r, base, eq))
                    w.err = MP_ERR_NOT_RATIONAL;
                else if (!pow_q(w.value, r, ep))
                    w.err = MP_ERR_DIV_ZERO;
            };
            auto root_run = [&](u64* d, const Ptrs& o) {
                rat_root(d, o[1], o[0]);
                return i64{0};
            };
            // The index p/q: the p-th root raised to q, inverted for p < 0.
            auto root_want = [&](RatExpect& w, const Vals& o) {
                const Mpq &base = *o[0], &e = *o[1];
                const i64 ep = mpz_get_si(mpq_numref(static_cast<mpq_srcptr>(e)));
                const u64 eq = mpz_get_ui(mpq_denref(static_cast<mpq_srcptr>(e)));
                const u64 mag = ep < 0 ? static_cast<u64>(-ep) : static_cast<u64>(ep);
                Mpq r;
                if (ep == 0 || (base.sgn() < 0 && (eq > 1 || mag % 2 == 0)))
                    w.err = MP_ERR_DOMAIN;
                else if (!root_q(r, base, mag))
                    w.err = MP_ERR_NOT_RATIONAL;
                else if (!pow_q(w.value, r, ep < 0 ? -static_cast<i64>(eq) : static_cast<i64>(eq)))
                    w.err = MP_ERR_DIV_ZERO;
            };
            const RatOperands ops{a.words(n), b.words(n)};
            if (!check_rat_op("rat_pow", pow_run, pow_want, ops)) return;
            if (!check_rat_op("rat_root", root_run, root_want, ops)) return;
        }
    }
}

// log_base of a positive integer or unit fraction that is an exact power.
void log_oracle(RatExpect& w, const Mpq& a, unsigned long base) {
    if (a.sgn() <= 0) {
        w.err = MP_ERR_DOMAIN;
        return;
    }
    Mpq t;
    mpq_set(t, a);
    const bool integer = mpz_cmp_ui(t.den(), 1) == 0;
    if (!integer && mpz_cmp_ui(t.num(), 1) != 0) {
        w.err = MP_ERR_NOT_RATIONAL;
        return;
    }
    Mpz b;
    mpz_set_ui(b, base);
    mpz_ptr part = integer ? t.num() : t.den();
    const i64 count = static_cast<i64>(mpz_remove(part, part, b));
    if (mpz_cmp_ui(part, 1) != 0)
        w.err = MP_ERR_NOT_RATIONAL;
    else
        mpq_set_si(w.value, integer ? count : -count, 1);
}

TEST_F(RatPowTest, ExactLogarithmsAndPowersOfTen) {
    for (i64 n : {i64{1}, i64{2}, i64{33}}) {
        mp_set_int_words(static_cast<i32>(n));
        for (i64 i = 0; i < test_iterations(60); ++i) {
            const bool two = rng.chance(50);
            const i64 e = rng.range(-60 * n, 60 * n) / (two ? 1 : 3);
            Mpq a;
            mpz_ui_pow_ui(a.num(), two ? 2 : 10, static_cast<unsigned long>(e < 0 ? -e : e));
            if (e < 0) mpq_inv(a, a);
            const int change =
                static_cast<int>(rng.range(0, 4));  // 1: off by one, 2: x3, 3: negated
            if (change == 1) mpz_add_ui(a.num(), a.num(), 1);
            if (change == 2) mpz_mul_ui(a.den(), a.den(), 3);
            if (change == 3) mpq_neg(a, a);
            mpq_canonicalize(a);
            if (!a.fits(n)) continue;
            auto run = [&](u64* d, const Ptrs& o) {
                rat_log_exact(d, o[0], two ? uint_log2_floor : uint_log10_floor);
                return i64{0};
            };
            auto oracle = [&](RatExpect& w, const Vals& o) { log_oracle(w, *o[0], two ? 2 : 10); };
            if (!check_rat_op("rat_log_exact", run, oracle, {a.words(n)})) return;

            // 10^k and 2^a for the integer e, inverted when negative.
            Mpq p;
            mpz_ui_pow_ui(p.num(), 10, static_cast<unsigned long>(e < 0 ? -e : e));
            if (e < 0) mpq_inv(p, p);
            std::vector<u64> d(static_cast<std::size_t>(2 * n + 1));
            rat_from_int_fn(d.data(), e, uint_pow10);
            const i32 want_err = p.fits(n) ? 0 : MP_ERR_OVERFLOW;
            if (want_err) mpq_set_ui(p, 0, 1);
            EXPECT_EQ(mp_err(), want_err) << "10^" << e << " n=" << n;
            EXPECT_EQ(d, p.words(n)) << "10^" << e << " n=" << n;
            mp_error = 0;
        }
    }
}

TEST_F(RatPowTest, PowersOfTwoForIntegerExponents) {
    mp_set_int_words(2);
    for (i64 e = -130; e <= 130; e += 7) {
        Mpq a;
        mpq_set_si(a, e, rng.chance(20) ? 3 : 1);
        mpq_canonicalize(a);
        auto run = [&](u64* d, const Ptrs& o) {
            rat_apply_int(d, o[0], uint_pow2_uint);
            return i64{0};
        };
        auto oracle = [&](RatExpect& w, const Vals& o) {
            Mpq x;
            mpq_set(x, *o[0]);
            if (mpz_cmp_ui(x.den(), 1) != 0) {
                w.err = MP_ERR_NOT_RATIONAL;
                return;
            }
            const i64 k = mpz_get_si(x.num());
            mpz_ui_pow_ui(w.value.num(), 2, static_cast<unsigned long>(k < 0 ? -k : k));
            if (k < 0) mpq_inv(w.value, w.value);
        };
        if (!check_rat_op("rat_apply_int", run, oracle, {a.words(2)})) return;
    }
}

// n (n - 1) ... (n - k + 1), over k! for combinations.
void falling_product(Mpq& r, const Mpq& n, i64 k, bool perm) {
    Mpq term, one;
    mpq_set_ui(r, 1, 1);
    mpq_set_ui(one, 1, 1);
    mpq_set(term, n);
    for (i64 i = 1; i <= k; ++i) {
        mpq_mul(r, r, term);
        mpq_sub(term, term, one);
        if (!perm) {
            Mpq di;
            mpq_set_ui(di, static_cast<unsigned long>(i), 1);
            mpq_div(r, r, di);
        }
    }
}

TEST_F(RatPowTest, PermutationsAndCombinationsMatchTheProduct) {
    for (i64 n : {i64{2}, i64{3}, i64{33}}) {
        mp_set_int_words(static_cast<i32>(n));
        for (i64 i = 0; i < test_iterations(400); ++i) {
            Mpq x, k;
            mpq_set_si(x, rng.range(-30, 30),
                       static_cast<unsigned long>(rng.chance(50) ? 1 : rng.range(1, 6)));
            mpq_canonicalize(x);
            const i64 draw = rng.range(0, 12);
            mpq_set_si(k, rng.chance(5) ? -draw - 1 : draw, rng.chance(5) ? 2 : 1);
            mpq_canonicalize(k);
            const i64 kv = mpz_get_si(k.num());
            const bool perm = rng.chance(50);
            const i64 limit = rng.chance(70) ? 0 : rng.range(1, 12);
            auto run = [&](u64* d, const Ptrs& o) {
                rat_perm_comb(d, o[0], o[1], limit, perm);
                return i64{0};
            };
            auto oracle = [&](RatExpect& w, const Vals&) {
                const bool integer = mpz_cmp_ui(k.den(), 1) == 0;
                const bool natural = mpz_cmp_ui(x.den(), 1) == 0 && x.sgn() >= 0;
                const i64 nv = mpz_get_si(x.num());
                // The integer routine limits its loop count min(k, n - k).
                const i64 j = natural && !perm ? std::min(kv, nv - kv) : kv;
                if (!integer || k.sgn() < 0 || (limit >= 1 && j > limit && !(natural && nv < kv)))
                    w.err = MP_ERR_DOMAIN;
                else if (natural && nv < kv)
                    mpq_set_ui(w.value, 0, 1);
                else
                    falling_product(w.value, x, kv, perm);
            };
            if (!check_rat_op(perm ? "rat_perm" : "rat_comb", run, oracle,
                              {x.words(n), k.words(n)}))
                return;
        }
    }
}

}  // namespace
