// Certified reference roots from Arb for the root-finder tests, and the
// matching of a solver result against them.
//
// The reference isolates every root of a square-free polynomial with exact
// (binary-representable) coefficients: acb_poly_find_roots at a precision
// doubled until each of the n boxes is isolated from the others and carries
// the asked relative accuracy. For a polynomial with real coefficients a box
// that meets the real axis holds a real root (its conjugate lies in the
// mirrored box, which overlaps it, and the box holds only one root), so its
// imaginary part is set to exactly 0.
#pragma once

#include <acb_poly.h>
#include <gtest/gtest.h>
#include <mpc.h>

#include <cmath>
#include <functional>
#include <memory>
#include <vector>

#include "equations/roots.h"
#include "app/app_error.h"
#include "numlib/mp_error.h"

#include "support/mpc_oracle.h"

using MpcList = std::vector<std::unique_ptr<Mpc>>;

// The roots of sum coefs[k] x^k to `digits` significant digits (plus a
// margin) as MPC values of `bits` bits; false when Arb cannot isolate them
// (a multiple root).
inline bool arb_reference_roots(const MpcList& coefs, long digits, mpfr_prec_t bits, MpcList& out) {
    const slong n = static_cast<slong>(coefs.size()) - 1;
    const slong target = static_cast<slong>(std::ceil((digits + 10) * std::log2(10.0)));
    bool real_coefs = true;
    for (const auto& c : coefs) real_coefs = real_coefs && mpfr_zero_p(c->im());
    acb_poly_t p;
    acb_poly_init(p);
    acb_t t;
    acb_init(t);
    for (slong k = 0; k <= n; ++k) {
        Mpc& c = *coefs[static_cast<std::size_t>(k)];
        arf_set_mpfr(arb_midref(acb_realref(t)), c.re());
        arf_set_mpfr(arb_midref(acb_imagref(t)), c.im());
        mag_zero(arb_radref(acb_realref(t)));
        mag_zero(arb_radref(acb_imagref(t)));
        acb_poly_set_coeff_acb(p, k, t);
    }
    acb_ptr roots = _acb_vec_init(n);
    bool ok = false;
    for (slong prec = target + 64; !ok && prec <= 64 * target + 4096; prec *= 2) {
        if (acb_poly_find_roots(roots, p, nullptr, 0, prec) != n) continue;
        ok = true;
        for (slong i = 0; i < n; ++i) ok = ok && acb_rel_accuracy_bits(roots + i) >= target;
    }
    out.clear();
    for (slong i = 0; ok && i < n; ++i) {
        out.push_back(std::make_unique<Mpc>(bits));
        arf_get_mpfr(out.back()->re(), arb_midref(acb_realref(roots + i)), MPFR_RNDN);
        arf_get_mpfr(out.back()->im(), arb_midref(acb_imagref(roots + i)), MPFR_RNDN);
        if (real_coefs && arb_contains_zero(acb_imagref(roots + i))) {
            mpfr_set_zero(out.back()->im(), 1);
        }
        if (arb_is_zero(acb_realref(roots + i))) mpfr_set_zero(out.back()->re(), 1);
    }
    _acb_vec_clear(roots, n);
    acb_clear(t);
    acb_poly_clear(p);
    return ok;
}

// Index of the reference root nearest to z, or -1 for an empty list.
inline long nearest_root(const MpcList& refs, mpc_srcptr z, mpfr_prec_t bits) {
    long best = -1;
    Mpc d(bits);
    Mpfr dist(bits), best_dist(bits);
    for (std::size_t j = 0; j < refs.size(); ++j) {
        mpc_sub(d, z, *refs[j], MPC_RNDNN);
        mpc_abs(dist, d, MPFR_RNDN);
        if (best < 0 || mpfr_cmp(dist, best_dist) < 0) {
            best = static_cast<long>(j);
            mpfr_set(best_dist, dist, MPFR_RNDN);
        }
    }
    return best;
}

// z within 1.01 units of the digits-th significant digit of |ref| of ref,
// and with an exactly zero imaginary part where ref's is zero: the check of
// a root rounded to `digits` digits whose parts are judged on the modulus'
// scale.
inline ::testing::AssertionResult within_digits(mpc_srcptr z, mpc_srcptr ref, long digits,
                                                mpfr_prec_t bits) {
    if (mpfr_zero_p(mpc_imagref(ref)) && !mpfr_zero_p(mpc_imagref(z))) {
        return ::testing::AssertionFailure() << "a real root came out with an imaginary part";
    }
    Mpc d(bits);
    Mpfr err(bits), size(bits), unit(bits);
    mpc_sub(d, z, ref, MPC_RNDNN);
    mpc_abs(err, d, MPFR_RNDN);
    mpc_abs(size, ref, MPFR_RNDN);
    if (mpfr_zero_p(size)) {
        if (mpfr_zero_p(err)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the zero root came out non-zero";
    }
    const long e = static_cast<long>(std::floor(std::log10(mpfr_get_d(size, MPFR_RNDN))));
    mpfr_set_ui(unit, 10, MPFR_RNDN);
    mpfr_pow_si(unit, unit, e - digits + 1, MPFR_RNDN);
    mpfr_mul_d(unit, unit, 1.01, MPFR_RNDN);
    if (mpfr_cmp(err, unit) <= 0) return ::testing::AssertionSuccess();
    mpfr_div(err, err, size, MPFR_RNDN);
    return ::testing::AssertionFailure()
           << "relative error " << mpfr_get_d(err, MPFR_RNDN) << " at " << digits << " digits";
}

// The roots r found (at `words` words) against the reference roots: with
// real_only exactly the real ones, otherwise all, each found once with
// multiplicity 1; check(i, found, reference) judges root i.
inline void expect_reference_roots(
    const root_result& r, i32 words, const MpcList& refs, bool real_only, mpfr_prec_t bits,
    const std::function<void(i64, const Mpc&, const Mpc&)>& check) {
    std::vector<const Mpc*> want;
    for (const auto& ref : refs)
        if (!real_only || mpfr_zero_p(ref->im())) want.push_back(ref.get());
    ASSERT_EQ(r.count, static_cast<i64>(want.size()))
        << "app error " << appError.load() << ", library error " << mp_err() << ", sweeps " << r.sweeps;
    std::vector<bool> used(want.size(), false);
    for (i64 i = 0; i < r.count; ++i) {
        Mpc z(bits), d(bits);
        to_mpc(z, r.roots[i], words);
        std::size_t j = 0;
        Mpfr dist(bits), best(bits);
        for (std::size_t k = 0; k < want.size(); ++k) {
            mpc_sub(d, z, *want[k], MPC_RNDNN);
            mpc_abs(dist, d, MPFR_RNDN);
            if (k == 0 || mpfr_cmp(dist, best) < 0) j = k, mpfr_set(best, dist, MPFR_RNDN);
        }
        EXPECT_FALSE(used[j]) << "two roots found for one";
        used[j] = true;
        EXPECT_EQ(r.multiplicity[i], 1);
        check(i, z, *want[j]);
    }
}
