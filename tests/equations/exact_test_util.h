// Shared set-up of the exact-solution tests: equations from GMP rationals,
// the solver's texts read back into exact values t + F sqrt(W) (W = R or -R),
// and exact substitution of such values into a rational polynomial.
#pragma once

#include <gmpxx.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "app/app_error.h"
#include "equations/exact.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "roots_test_util.h"
#include "textbuf/text_utf8.h"

using Poly = std::vector<mpq_class>;  // a_0 first

// An exact root text read back: t + F * sqrt(W), W = R or -R.
struct ExactForm {
    mpq_class t, f;
    mpz_class w = 1;
};

// Parses "r", "[t]+-F*i", "[t]+-[F*]sqrt(R)[*i]"; false for anything else.
inline bool parse_exact(const std::string& text, ExactForm& out) {
    static const std::regex form(
        R"((-?[0-9/]+(?=[-+]))?([-+]?)([0-9/]+)?\*?(?:sqrt\(([0-9]+)\))?(\*i)?)");
    std::smatch m;
    if (!std::regex_match(text, m, form)) return false;
    const std::string f = (m[2] == "-" ? "-" : "") + (m[3].matched ? m[3].str() : "1");
    if (out.t.set_str(m[1].matched ? m[1].str() : "0", 10) != 0 || out.f.set_str(f, 10) != 0)
        return false;
    out.t.canonicalize();
    out.f.canonicalize();
    out.w = m[4].matched ? mpz_class(m[4].str()) : mpz_class(1);
    if (m[5].matched) out.w = -out.w;
    if (!m[4].matched && !m[5].matched) {  // a rational
        out.t += out.f;
        out.f = 0;
    }
    return true;
}

// p(x) for x = t + F sqrt(W) in Q(sqrt(W)): the rational and the sqrt(W) part.
inline void substitute(const Poly& p, const ExactForm& x, mpq_class& u, mpq_class& v) {
    u = 0;
    v = 0;
    const mpq_class w(x.w);
    for (std::size_t k = p.size(); k-- > 0;) {
        const mpq_class nu = u * x.t + v * x.f * w + p[k];
        const mpq_class nv = u * x.f + v * x.t;
        u = nu;
        v = nv;
    }
}

inline Poly poly_mul(const Poly& a, const Poly& b) {
    Poly c(a.size() + b.size() - 1, 0);
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) c[i + j] += a[i] * b[j];
    }
    return c;
}

// The root-finder fixture at the exact solver's context.
class ExactTest : public RootsTest {
  protected:
    // Context and result record for degree n at `digits` digits.
    void prepare(i32 n, i32 digits, bool real_only = false) {
        clearErrors();
        mp_int_words = EXACT_INT_WORDS;
        mp_num_type = MP_TYPE_RAT;
        result = root_result{};
        result.iter_digits = exact_iter_digits(digits);
        result.show_digits = digits;
        result.real_only = real_only;
        words = static_cast<i32>(root_working_words(result.iter_digits, n));
        storage = std::make_unique<RootStorage>(result, words);
    }
    // The equation of p at mp_int_words words per part; false when a part
    // needs more.
    bool set_equation(const Poly& p) {
        values.assign(p.size(),
                      std::vector<u64>(2 * static_cast<std::size_t>(mp_int_words) + 1, 0));
        eq = poly_equation{};
        eq.type = MP_TYPE_RAT;
        eq.degree = static_cast<i32>(p.size()) - 1;
        for (std::size_t k = 0; k < p.size(); ++k) {
            const std::string text = p[k].get_str();
            const std::u16string u(text.begin(), text.end());
            rat_from_text(values[k].data(), u.data(), static_cast<i32>(u.size()), 0);
            if (mp_err() != 0) {
                mp_error.store(0);
                return false;
            }
            eq.coef[k] = values[k].data();
        }
        return true;
    }
    i64 solve(const Poly& p, i32 digits, bool real_only = false) {
        prepare(static_cast<i32>(p.size()) - 1, digits, real_only);
        EXPECT_TRUE(set_equation(p));
        solve_exact(eq, result);
        return result.count;
    }
    std::string text(i64 i) const { return text_to_utf8(result.exact_text[i]); }
    // "text^multiplicity" of every root, in the solver's order.
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (i64 i = 0; i < result.count; ++i) {
            out.push_back(text(i) + "^" + std::to_string(result.multiplicity[i]));
        }
        return out;
    }
    // Root i near the value of the form x, to one digit below the iteration's.
    ::testing::AssertionResult form_matches_root(const ExactForm& x, i64 i) const {
        const mpfr_prec_t bits = oracle_bits(result.iter_digits + 40);
        Mpc want(bits), got(bits);
        Mpfr s(bits);
        mpfr_set_z(s, mpz_class(abs(x.w)).get_mpz_t(), MPFR_RNDN);
        mpfr_sqrt(s, s, MPFR_RNDN);
        mpfr_mul_q(s, s, x.f.get_mpq_t(), MPFR_RNDN);
        mpc_set_ui(want, 0, MPC_RNDNN);
        mpfr_set_q(want.re(), x.t.get_mpq_t(), MPFR_RNDN);
        mpfr_ptr part = x.w < 0 ? want.im() : want.re();
        mpfr_add(part, part, s, MPFR_RNDN);
        to_mpc(got, result.roots[i], words);
        return near_root(got, want, result.iter_digits - 1, false)
               << " (root " << i << ", " << text(i) << ")";
    }

    poly_equation eq;
};
