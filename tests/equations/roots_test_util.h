// Shared set-up of the root-finder tests: a context at the working precision
// of a degree and digit count, equations from MPC coefficients or multiplied
// out from known roots, Arb's certified roots as the reference, and the
// check of found roots against references.
#pragma once

#include <acb_poly.h>
#include <gtest/gtest.h>
#include <mpc.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/app_error.h"
#include "equations/roots.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "support/mpc_oracle.h"
#include "support/mpfr_oracle.h"
#include "support/test_random.h"

using MpcList = std::vector<std::unique_ptr<Mpc>>;

inline void push_mpc(MpcList& list, mpfr_prec_t bits, long re, long im) {
    list.push_back(std::make_unique<Mpc>(bits));
    mpc_set_si_si(*list.back(), re, im, MPC_RNDNN);
}

// The roots of sum coefs[k] x^k (exact binary coefficients) to `digits`
// significant digits and a margin, from Arb at a precision doubled until
// each root is isolated and that accurate; false when Arb cannot isolate
// them (a multiple root). For real coefficients a box meeting the real axis
// holds a real root (its mirror overlaps it), so its imaginary part is 0.
inline bool arb_reference_roots(const MpcList& coefs, long digits, mpfr_prec_t bits, MpcList& out) {
    const slong n = static_cast<slong>(coefs.size()) - 1;
    const slong target = static_cast<slong>(std::ceil((digits + 10) * std::log2(10.0)));
    bool real_coefs = true;
    acb_poly_t p;
    acb_poly_init(p);
    acb_t t;
    acb_init(t);
    for (slong k = 0; k <= n; ++k) {
        Mpc& c = *coefs[static_cast<std::size_t>(k)];
        real_coefs = real_coefs && mpfr_zero_p(c.im());
        arf_set_mpfr(arb_midref(acb_realref(t)), c.re());  // the radii stay 0
        arf_set_mpfr(arb_midref(acb_imagref(t)), c.im());
        acb_poly_set_coeff_acb(p, k, t);
    }
    acb_ptr roots = _acb_vec_init(n);
    bool ok = false;
    for (slong prec = target + 64; !ok && prec <= 64 * target + 4096; prec *= 2) {
        ok = acb_poly_find_roots(roots, p, nullptr, 0, prec) == n;
        for (slong i = 0; ok && i < n; ++i) ok = acb_rel_accuracy_bits(roots + i) >= target;
    }
    out.clear();
    for (slong i = 0; ok && i < n; ++i) {
        out.push_back(std::make_unique<Mpc>(bits));
        arf_get_mpfr(out.back()->re(), arb_midref(acb_realref(roots + i)), MPFR_RNDN);
        arf_get_mpfr(out.back()->im(), arb_midref(acb_imagref(roots + i)), MPFR_RNDN);
        if (real_coefs && arb_contains_zero(acb_imagref(roots + i)))
            mpfr_set_zero(out.back()->im(), 1);
        if (arb_is_zero(acb_realref(roots + i))) mpfr_set_zero(out.back()->re(), 1);
    }
    _acb_vec_clear(roots, n);
    acb_clear(t);
    acb_poly_clear(p);
    return ok;
}

// z within 1.01 units of the digits-th digit of ref: with per_part each part
// on its own scale (a part far below |ref| on a tenth of |ref|'s), otherwise
// on |ref|'s scale. A zero part of ref must come out exactly zero.
inline ::testing::AssertionResult near_root(mpc_srcptr z, mpc_srcptr ref, long digits,
                                            bool per_part = true) {
    const mpfr_prec_t bits = mpfr_get_prec(mpc_realref(ref)) + 64;
    Mpfr mag(bits), err(bits), unit(bits);
    mpc_abs(mag, ref, MPFR_RNDN);
    const long e_abs = mpfr_zero_p(mag)
                           ? 0
                           : static_cast<long>(std::floor(std::log10(mpfr_get_d(mag, MPFR_RNDN))));
    for (int part = 0; part < 2; ++part) {
        mpfr_srcptr want = part == 0 ? mpc_realref(ref) : mpc_imagref(ref);
        mpfr_srcptr have = part == 0 ? mpc_realref(z) : mpc_imagref(z);
        if (mpfr_zero_p(want)) {
            if (mpfr_zero_p(have)) continue;
            return ::testing::AssertionFailure() << "part " << part << " must be exactly 0";
        }
        const long e_part =
            std::lround(std::floor(std::log10(std::fabs(mpfr_get_d(want, MPFR_RNDN)))));
        const long e = per_part ? std::max(e_part, e_abs - 1) : e_abs;
        mpfr_sub(err, have, want, MPFR_RNDN);
        mpfr_abs(err, err, MPFR_RNDN);
        mpfr_set_ui(unit, 10, MPFR_RNDN);
        mpfr_pow_si(unit, unit, e - digits + 1, MPFR_RNDN);
        mpfr_mul_d(unit, unit, 1.01, MPFR_RNDN);
        if (mpfr_cmp(err, unit) > 0) {
            return ::testing::AssertionFailure()
                   << "part " << part << " off by " << mpfr_get_d(err, MPFR_RNDN) << " at "
                   << digits << " digits";
        }
    }
    return ::testing::AssertionSuccess();
}

// The found roots of r (at `words` words) against want with multiplicities
// mult: each reference found once, root i matched with reference i when
// in_order, else with the nearest one; near it at `digits` digits and with
// its multiplicity.
inline void expect_roots(const root_result& r, i32 words, const MpcList& want,
                         const std::vector<i64>& mult, long digits, bool in_order,
                         bool per_part = true) {
    ASSERT_EQ(r.count, static_cast<i64>(want.size()))
        << "app error " << appError.load() << ", library error " << mp_err() << ", sweeps "
        << r.sweeps;
    const mpfr_prec_t bits =
        want.empty() ? 64 : std::max<mpfr_prec_t>(mpfr_get_prec(want[0]->re()), 64 * words) + 64;
    std::vector<bool> used(want.size(), false);
    for (i64 i = 0; i < r.count; ++i) {
        Mpc z(bits), d(bits);
        Mpfr dist(bits), best(bits);
        to_mpc(z, r.roots[i], words);
        std::size_t j = static_cast<std::size_t>(i);
        for (std::size_t k = 0; !in_order && k < want.size(); ++k) {
            mpc_sub(d, z, *want[k], MPC_RNDNN);
            mpc_abs(dist, d, MPFR_RNDN);
            if (k == 0 || mpfr_cmp(dist, best) < 0) j = k, mpfr_set(best, dist, MPFR_RNDN);
        }
        EXPECT_FALSE(used[j]) << "two roots found for one";
        used[j] = true;
        EXPECT_EQ(r.multiplicity[i], mult[j]) << "root " << i;
        EXPECT_TRUE(near_root(z, *want[j], digits, per_part))
            << "root " << i << " " << cplx_text(r.roots[i], words);
    }
}

class RootsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mp_context_reset();
        clearErrors();
    }

    // Sets the working precision for degree n and digits and prepares the
    // result record.
    void prepare(i32 n, i32 digits, bool real_only = false) {
        clearErrors();
        words = static_cast<i32>(root_working_words(digits, n));
        mp_num_type = MP_TYPE_CPLX;
        mp_set_real_words(words);
        result = root_result{};
        result.iter_digits = result.show_digits = digits;
        result.real_only = real_only;
        storage = std::make_unique<RootStorage>(result, words);
    }
    // The equation of these coefficients (a_0 first) at the working size.
    poly_equation equation(const MpcList& c) {
        values.assign(c.size(),
                      std::vector<u64>(static_cast<std::size_t>(cplx_value_words(words))));
        poly_equation eq;
        eq.degree = static_cast<i32>(c.size()) - 1;
        for (std::size_t k = 0; k < c.size(); ++k) {
            from_mpfr(values[k].data(), words, c[k]->re());
            from_mpfr(cplx_im_of(values[k].data(), words), words, c[k]->im());
            eq.coef[k] = values[k].data();
        }
        return eq;
    }
    poly_equation from_ints(const std::vector<long>& ints) {
        MpcList c;
        for (long v : ints) push_mpc(c, ref_bits(), v, 0);
        return equation(c);
    }
    // The equation multiplied out from its roots (repeated for multiplicity).
    poly_equation from_roots(const MpcList& roots) {
        MpcList c;
        push_mpc(c, ref_bits(), 1, 0);
        Mpc t(ref_bits());
        for (const auto& r : roots) {
            push_mpc(c, ref_bits(), 0, 0);
            for (std::size_t k = c.size() - 1; k >= 1; --k) {  // c = c * (x - r)
                mpc_mul(t, *c[k], *r, MPC_RNDNN);
                mpc_sub(*c[k], *c[k - 1], t, MPC_RNDNN);
            }
            mpc_mul(*c[0], *c[0], *r, MPC_RNDNN);
            mpc_neg(*c[0], *c[0], MPC_RNDNN);
        }
        return equation(c);
    }
    i64 solve(const poly_equation& eq, bool keep_order = false) {
        solve_approx(eq, result, keep_order);
        return result.count;
    }

    // Reference precision: well beyond the working digits.
    mpfr_prec_t ref_bits() const { return static_cast<mpfr_prec_t>(19 * words * 4 + 256); }

    i32 words = 1;
    root_result result;
    std::unique_ptr<RootStorage> storage;
    std::vector<std::vector<u64>> values;  // the coefficients of the last equation built
    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};
