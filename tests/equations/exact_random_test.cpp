// Randomized checks of the exact solver: families (x - p/q)(a x^2 + b x + c)
// with extra rational or zero roots, every text read back and substituted
// exactly into the equation (GMP rationals in Q(sqrt(W))) and compared with
// the approximation; the square part and the synthetic division against GMP.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "exact_test_util.h"
#include "numlib/uint.h"
#include "support/rat_harness.h"

namespace {

mpq_class random_q(TestRng& rng, i64 num, i64 den) {
    mpq_class v(static_cast<long>(rng.range(-num, num)));
    v /= mpq_class(static_cast<long>(rng.range(1, den)));
    return v;
}

// A quadratic factor: x^2 - k or a general a x^2 + b x + c, now and then
// with rational coefficients.
Poly random_quadratic(TestRng& rng) {
    if (rng.chance(40)) return {mpq_class(static_cast<long>(rng.range(-60, 60))), 0, 1};
    Poly p = {random_q(rng, 40, 1), random_q(rng, 25, 1), 0};
    while (p[2] == 0) p[2] = random_q(rng, 9, 1);
    if (rng.chance(30)) {
        const mpq_class d = 1 / mpq_class(static_cast<long>(rng.range(2, 12)));
        for (mpq_class& c : p) c *= d;
    }
    return p;
}

bool square_free(const mpz_class& r) {
    for (mpz_class d = 2; d * d <= r; ++d) {
        if (r % (d * d) == 0) return false;
    }
    return true;
}

class ExactRandomTest : public ExactTest {
  protected:
    // square_part of n (two words) as GMP integers.
    static void split(const mpz_class& n, mpz_class& o, mpz_class& s) {
        Mpz nz;
        mpz_set(nz, n.get_mpz_t());
        const std::vector<u64> words = nz.words(EXACT_INT_WORDS);
        std::vector<u64> ow(EXACT_INT_WORDS), sw(EXACT_INT_WORDS);
        square_part(ow.data(), sw.data(), words.data());
        mpz_set(o.get_mpz_t(), Mpz(ow.data(), EXACT_INT_WORDS));
        mpz_set(s.get_mpz_t(), Mpz(sw.data(), EXACT_INT_WORDS));
    }

    // Whether every approximation z is a root of p (|p(z)| far below
    // sum |a_k| |z|^k) and every known root is among them.
    bool approximations_are_roots(const Poly& p, const std::vector<mpq_class>& known) const {
        const double tol = std::pow(10.0, -(result.show_digits / 2));
        for (const mpq_class& r : known) {
            bool found = false;
            for (i64 i = 0; i < result.count && !found; ++i) {
                found = form_matches_root(ExactForm{r, 0, 1}, i, tol);
            }
            if (!found) return false;
        }
        const mpfr_prec_t bits = oracle_bits(result.iter_digits + 40);
        Mpc z(bits), acc(bits), term(bits);
        Mpfr size(bits), absz(bits), err(bits);
        for (i64 i = 0; i < result.count; ++i) {
            to_mpc(z, result.roots[i], words);
            mpc_abs(absz, z, MPFR_RNDN);
            mpc_set_ui(acc, 0, MPC_RNDNN);
            mpfr_set_ui(size, 0, MPFR_RNDN);
            for (std::size_t k = p.size(); k-- > 0;) {
                mpc_mul(acc, acc, z, MPC_RNDNN);
                mpc_set_q(term, p[k].get_mpq_t(), MPC_RNDNN);
                mpc_add(acc, acc, term, MPC_RNDNN);
                mpfr_mul(size, size, absz, MPFR_RNDN);
                mpfr_set_q(err, p[k].get_mpq_t(), MPFR_RNDN);
                mpfr_abs(err, err, MPFR_RNDN);
                mpfr_add(size, size, err, MPFR_RNDN);
            }
            mpc_abs(err, acc, MPFR_RNDN);
            mpfr_div(err, err, size, MPFR_RNDN);
            if (mpfr_get_d(err, MPFR_RNDN) > tol) return false;
        }
        return true;
    }

    // Every root has a text that is exact for p and names its approximation.
    void check_all_texts(const Poly& p) {
        for (i64 i = 0; i < result.count; ++i) {
            SCOPED_TRACE(i);
            ExactForm x;
            ASSERT_TRUE(parse_exact(text(i), x)) << "\"" << text(i) << "\"";
            mpq_class u, v;
            substitute(p, x, u, v);
            EXPECT_TRUE(u == 0 && v == 0) << text(i) << " is not a root";
            EXPECT_TRUE(form_matches_root(x, i));
            if (x.f != 0) {
                EXPECT_TRUE(abs(x.w) > 1 || x.w == -1) << text(i);
                EXPECT_TRUE(square_free(abs(x.w))) << text(i);
            }
        }
    }
};

TEST_F(ExactRandomTest, RationalRootTimesQuadraticFactor) {
    const i64 runs = test_iterations(120);
    i64 finder_faults = 0;
    for (i64 run = 0; run < runs; ++run) {
        const mpq_class r1 = random_q(rng, 50, 20);
        const Poly quad = random_quadratic(rng);
        Poly p = poly_mul({-r1, 1}, quad);
        std::string factors("r1 ");
        factors.append(r1.get_str()).append(" quad");
        for (const mpq_class& c : quad) factors.append(" ").append(c.get_str());
        SCOPED_TRACE(factors);
        std::vector<mpq_class> known = {r1};
        if (rng.chance(40)) {
            known.push_back(random_q(rng, 30, 9));
            p = poly_mul(p, {-known.back(), 1});
        }
        if (rng.chance(20)) {
            known.push_back(0);
            p = poly_mul(p, {0, 1});
        }
        if (rng.chance(30)) {
            const mpq_class scale = random_q(rng, 7, 5) + 8;
            for (mpq_class& c : p) c *= scale;
        }
        const bool real_only = rng.chance(20);
        const i32 digits =
            static_cast<i32>(std::vector<i64>{5, 20, 39, 40, 41, 55}[rng.range(0, 5)]);
        std::string poly_text;
        for (const mpq_class& c : p) poly_text.append(c.get_str()).append(" ");
        SCOPED_TRACE("a_0.. = " + poly_text + " digits " + std::to_string(digits));
        prepare(static_cast<i32>(p.size()) - 1, digits, real_only);
        ASSERT_TRUE(set_equation(p));
        solve_exact(eq, result);
        // Faults of the iteration are not the exact part's: counted, not judged here.
        if (result.count < 0 && appError.load() == APP_ERR_NOT_CONVERGED) {
            ++finder_faults;
            continue;
        }
        ASSERT_GE(result.count, real_only ? 0 : 1) << appError.load() << " " << mp_err();
        if (!approximations_are_roots(p, real_only ? std::vector<mpq_class>{} : known)) {
            ++finder_faults;
            continue;
        }
        EXPECT_EQ(appError.load(), 0u);
        EXPECT_EQ(mp_err(), 0);
        i64 total = 0;
        for (i64 i = 0; i < result.count; ++i) total += result.multiplicity[i];
        if (!real_only) {
            EXPECT_EQ(total, static_cast<i64>(p.size()) - 1);
        }
        check_all_texts(p);
    }
    if (finder_faults > 0) {
        std::printf("note: %lld of %lld equations had no correct approximations\n",
                    static_cast<long long>(finder_faults), static_cast<long long>(runs));
    }
}

// Builds n = a^2 b with b square-free from small primes and one large one.
TEST_F(ExactRandomTest, SquarePartSplitsIntoSquareAndSquareFree) {
    static const unsigned long small[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 97, 997};
    static const unsigned long large[] = {1000003UL, 1048573UL, 4294967291UL, 1099511627689UL};
    mp_int_words = EXACT_INT_WORDS;
    const i64 runs = test_iterations(300);
    for (i64 run = 0; run < runs; ++run) {
        mpz_class a = 1, b = 1;
        for (int k = rng.range(0, 5); k > 0; --k) a *= small[rng.range(0, 13)];
        if (rng.chance(30)) a *= large[rng.range(0, 1)];
        for (unsigned long s : small) {
            if (rng.chance(25)) b *= s;
        }
        if (rng.chance(50)) b *= large[rng.range(0, 3)];
        if (rng.chance(10)) b = 1;
        const mpz_class n = a * a * b;
        if (mpz_sizeinbase(n.get_mpz_t(), 2) > 64 * EXACT_INT_WORDS) continue;
        mpz_class got_o, got_s;
        split(n, got_o, got_s);
        EXPECT_EQ(got_o.get_str(), a.get_str()) << "n = " << n.get_str();
        EXPECT_EQ(got_s.get_str(), b.get_str()) << "n = " << n.get_str();
        EXPECT_EQ(mp_err(), 0);
    }
}

TEST_F(ExactRandomTest, SquarePartHardCases) {
    mp_int_words = EXACT_INT_WORDS;
    struct Case {
        const char* why;
        const char* n;
        const char* o;
        const char* s;
    };
    const Case cases[] = {
        {"zero is a square", "0", "0", "1"},
        {"one", "1", "1", "1"},
        {"a cube, taken at once", "8", "2", "2"},
        {"the cube of a 40-bit prime: no trial division reaches it",
         "1329227995469386234009355456213283769", "1099511627689", "1099511627689"},
        {"an odd power of two filling both words", "170141183460469231731687303715884105728",
         "9223372036854775808", "2"},
        {"largest two-word value", "340282366920938463463374607431768211455", "1",
         "340282366920938463463374607431768211455"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        mpz_class o, s;
        split(mpz_class(c.n), o, s);
        EXPECT_EQ(o.get_str(), c.o);
        EXPECT_EQ(s.get_str(), c.s);
    }
}

// q (x - r) + C(r) = C for any r; the root test exactly when C(r) = 0.
TEST_F(ExactRandomTest, DeflationIsSyntheticDivision) {
    mp_int_words = EXACT_INT_WORDS;
    const i64 runs = test_iterations(200);
    for (i64 run = 0; run < runs; ++run) {
        const mpq_class r = random_q(rng, 1000, 300);
        Poly d(static_cast<std::size_t>(rng.range(1, 7)));
        for (mpq_class& c : d) c = random_q(rng, 99, 9);
        if (d.back() == 0) d.back() = 1;
        Poly c = poly_mul(d, {-r, 1});
        const bool is_root = rng.chance(60);
        if (!is_root) c[0] += random_q(rng, 5, 3) + mpq_class(1, 7);
        if (!set_equation(c)) continue;
        const i32 m = eq.degree;
        std::vector<std::vector<u64>> q(static_cast<std::size_t>(m), std::vector<u64>(5, 0));
        u64* qp[ROOT_MAX_DEGREE] = {};
        for (i32 k = 0; k < m; ++k) qp[k] = q[static_cast<std::size_t>(k)].data();
        Mpq rq;
        mpq_set(rq, r.get_mpq_t());
        if (!rq.fits(EXACT_INT_WORDS)) continue;
        const std::vector<u64> rw = rq.words(EXACT_INT_WORDS);
        // the quotient by Horner in GMP, and C(r)
        Poly want(static_cast<std::size_t>(m));
        mpq_class v = c[static_cast<std::size_t>(m)];
        for (i32 k = m - 1; k >= 0; --k) {
            want[static_cast<std::size_t>(k)] = v;
            v = v * r + c[static_cast<std::size_t>(k)];
        }
        mp_error.store(run % 3 == 0 ? MP_ERR_DIV_ZERO : 0);
        const i32 before = mp_err();
        const bool root = deflate_by_root(qp, eq.coef, m, rw.data());
        EXPECT_EQ(mp_err(), before);
        mp_error.store(0);
        EXPECT_EQ(root, v == 0);
        if (!root) continue;
        for (i32 k = 0; k < m; ++k) {
            Mpq got(qp[k], EXACT_INT_WORDS);
            EXPECT_TRUE(mpq_equal(got, want[static_cast<std::size_t>(k)].get_mpq_t()))
                << "q_" << k << " = " << got.text();
        }
    }
}

}  // namespace
