// Rational arithmetic against GMP's mpq: sums, products, quotients, integer
// division and comparisons on random operands at 1 to 520 words per part.
#include "numlib/mp_error.h"
#include "numlib/rat.h"
#include "support/gmp_oracle.h"
#include "support/numlib_fixture.h"
#include "support/rat_harness.h"

namespace {

using Ptrs = std::vector<const u64*>;
using Vals = std::vector<const Mpq*>;

class RatArithTest : public NumlibTest {
  protected:
    // Calls f(a, b) on random pairs at every tested word count until it
    // returns false.
    template <class F>
    void for_pairs(i64 small_iterations, F f) {
        std::vector<i64> counts = rat_test_word_counts(rng);
        counts.push_back(MP_INT_WORDS_MAX);  // double-width work beyond the settable count
        for (i64 n : counts) {
            mp_set_int_words(static_cast<i32>(n));
            const i64 count = test_iterations(n > 520    ? 2
                                              : n >= 256 ? 15
                                              : n >= 32  ? 60
                                                         : 2 * small_iterations);
            for (i64 i = 0; i < count; ++i) {
                std::vector<u64> a, b;
                random_rat_pair(rng, n, a, b);
                if (!f(a, b)) return;
            }
        }
    }
};

TEST_F(RatArithTest, AddSubMatchMpq) {
    for_pairs(150, [&](const auto& a, const auto& b) {
        for (bool sub : {false, true}) {
            auto run = [&](u64* d, const Ptrs& o) {
                rat_add_sub(d, o[0], o[1], sub);
                return i64{0};
            };
            auto oracle = [&](RatExpect& w, const Vals& o) {
                sub ? mpq_sub(w.value, *o[0], *o[1]) : mpq_add(w.value, *o[0], *o[1]);
            };
            if (!check_rat_op(sub ? "rat_sub" : "rat_add", run, oracle, {a, b})) return false;
        }
        return true;
    });
}

TEST_F(RatArithTest, MulDivMatchMpq) {
    for_pairs(150, [&](const auto& a, const auto& b) {
        for (bool div : {false, true}) {
            auto run = [&](u64* d, const Ptrs& o) {
                rat_mul_div(d, o[0], o[1], div);
                return i64{0};
            };
            auto oracle = [&](RatExpect& w, const Vals& o) {
                if (!div) return mpq_mul(w.value, *o[0], *o[1]);
                if (o[1]->sgn() == 0) {
                    w.err = o[0]->sgn() ? MP_ERR_DIV_ZERO : 0;
                    return mpq_set_ui(w.value, 0, 1);
                }
                mpq_div(w.value, *o[0], *o[1]);
            };
            if (!check_rat_op(div ? "rat_div" : "rat_mul", run, oracle, {a, b})) return false;
        }
        return true;
    });
}

TEST_F(RatArithTest, WordOpsAndInverseMatchMpq) {
    for_pairs(100, [&](const auto& a, const auto&) {
        const u64 v = rng.chance(10) ? 0 : rng.structured_word();
        Mpq mv;
        mpq_set_ui(mv, 1, 1);
        mpz_set(mv.num(), Mpz(&v, 1));
        auto mul = [&](u64* d, const Ptrs& o) {
            rat_mul_u64(d, o[0], v);
            return i64{0};
        };
        auto div = [&](u64* d, const Ptrs& o) {
            rat_div_u64(d, o[0], v);
            return i64{0};
        };
        auto inv = [&](u64* d, const Ptrs& o) {
            rat_inv(d, o[0]);
            return i64{0};
        };
        auto mul_want = [&](RatExpect& w, const Vals& o) { mpq_mul(w.value, *o[0], mv); };
        auto div_want = [&](RatExpect& w, const Vals& o) {
            if (v == 0) {
                w.err = o[0]->sgn() ? MP_ERR_DIV_ZERO : 0;
                return;
            }
            mpq_div(w.value, *o[0], mv);
        };
        auto inv_want = [&](RatExpect& w, const Vals& o) {
            if (o[0]->sgn() == 0)
                w.err = MP_ERR_DIV_ZERO;
            else
                mpq_inv(w.value, *o[0]);
        };
        return check_rat_op("rat_mul_u64", mul, mul_want, {a}) &&
               check_rat_op("rat_div_u64", div, div_want, {a}) &&
               check_rat_op("rat_inv", inv, inv_want, {a});
    });
}

// q = trunc(a / b), |r| = |a| - |q| |b|, both signed sign(a) XOR sign(b).
void divmod_oracle(Mpq& q, Mpq& r, const Mpq& a, const Mpq& b) {
    Mpq t, qb;
    mpq_div(t, a, b);
    mpz_tdiv_q(q.num(), t.num(), t.den());
    mpz_set_ui(q.den(), 1);
    mpq_mul(qb, q, b);
    mpq_abs(qb, qb);
    mpq_abs(r, a);
    mpq_sub(r, r, qb);
    if ((a.sgn() < 0) != (b.sgn() < 0)) mpq_neg(r, r);
}

TEST_F(RatArithTest, DivmodMatchesTruncatedDivision) {
    for_pairs(150, [&](const auto& a, const auto& b) {
        const i64 n = mp_int_words, size = 2 * n + 1;
        Mpq ma(a.data(), n), mb(b.data(), n), q, r;
        i32 want_err = 0;
        if (mb.sgn() == 0) {
            want_err = MP_ERR_DIV_ZERO;
        } else {
            divmod_oracle(q, r, ma, mb);
            if (!q.fits(n) || !r.fits(n)) want_err = MP_ERR_OVERFLOW;
        }
        if (want_err) mpq_set_ui(q, 0, 1), mpq_set_ui(r, 0, 1);
        // Destinations apart, aliased both ways, and with an error pending.
        for (int mode = 0; mode < 4; ++mode) {
            std::vector<u64> x = a, y = b, qd(size), rd(size);
            u64* qp = mode == 1 ? x.data() : mode == 2 ? y.data() : qd.data();
            u64* rp = mode == 1 ? y.data() : mode == 2 ? x.data() : rd.data();
            mp_error = mode == 3 ? MP_ERR_DIV_ZERO : 0;
            rat_divmod(qp, rp, x.data(), y.data());
            const i32 err = mp_err();
            mp_error = 0;
            if (err != (mode == 3 ? MP_ERR_DIV_ZERO : want_err) ||
                std::vector<u64>(qp, qp + size) != q.words(n) ||
                std::vector<u64>(rp, rp + size) != r.words(n)) {
                ADD_FAILURE() << "rat_divmod n=" << n << " mode " << mode << " error " << err
                              << " want " << want_err << "\n  a = " << ma.text()
                              << "\n  b = " << mb.text() << "\n  want q = " << q.text()
                              << " r = " << r.text() << "\n  got q = " << words_hex(qp, size)
                              << "\n  r = " << words_hex(rp, size);
                return false;
            }
        }
        return true;
    });
}

TEST_F(RatArithTest, ComparisonsMatchMpq) {
    for_pairs(300, [&](const auto& a, const auto& b) {
        const i64 n = mp_int_words;
        Mpq ma(a.data(), n), mb(b.data(), n), aa, ab;
        mpq_abs(aa, ma);
        mpq_abs(ab, mb);
        const i64 v = rng.chance(50) ? static_cast<i64>(rng.structured_word())
                                     : static_cast<i64>(rng.range(-3, 3));
        auto sgn = [](int c) { return (c > 0) - (c < 0); };
        const int want_abs = sgn(mpq_cmp(aa, ab)),
                  want_v = sgn(mpq_cmp_si(static_cast<mpq_srcptr>(ma), v, 1));
        const int got_abs = rat_cmp_abs(a.data(), b.data()), got_v = rat_cmp_i64(a.data(), v);
        if (got_abs == want_abs && got_v == want_v && mp_err() == 0) return true;
        ADD_FAILURE() << "n=" << n << " a = " << ma.text() << " b = " << mb.text() << " v = " << v
                      << ": cmp_abs " << got_abs << " want " << want_abs << ", cmp_i64 " << got_v
                      << " want " << want_v << ", error " << mp_err();
        return false;
    });
}

}  // namespace
