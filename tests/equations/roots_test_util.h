// Shared set-up of the root-finder tests: a context at the working precision
// of a degree and digit count, equations built from known roots or from
// integer coefficients through MPC, and checks of found roots against
// references.
#pragma once

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
#include "support/mpc_oracle.h"
#include "support/mpfr_oracle.h"
#include "support/test_random.h"

// One equation with its coefficient storage.
struct OwnedEquation {
    poly_equation eq;
    std::vector<std::vector<u64>> coefs;
};

class RootsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mp_context_reset();
        clearErrors();
    }
    void TearDown() override {
        clearErrors();
        mp_context_reset();
    }

    // Sets the working precision for degree n and digits and prepares the
    // result record.
    void prepare(i32 n, i32 digits, bool real_only = false);
    // Equation with the given coefficients (a_0 first) at the working size.
    OwnedEquation from_mpc(const std::vector<std::unique_ptr<Mpc>>& coefs) const;
    OwnedEquation from_ints(const std::vector<i64>& coefs) const;
    // Multiplies out (x - r) over the roots "re im" given as decimal texts.
    OwnedEquation from_roots(const std::vector<std::pair<std::string, std::string>>& roots) const;
    // Runs solve_approx and returns the count.
    i64 solve(const OwnedEquation& e, bool keep_order = false);

    // Reference precision: well beyond the working digits.
    mpfr_prec_t ref_bits() const { return static_cast<mpfr_prec_t>(19 * words * 4 + 256); }
    // The found root i within one unit of the digits-th digit of the exact
    // root v (a part far below |v| judged on |v|'s scale); a zero part of v
    // must come out exactly zero.
    ::testing::AssertionResult near_root(i64 i, mpc_srcptr v) const;

    i32 words = 1;
    root_result result;
    std::unique_ptr<RootStorage> storage;
    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};

inline void RootsTest::prepare(i32 n, i32 digits, bool real_only) {
    clearErrors();
    words = static_cast<i32>(root_working_words(digits, n));
    mp_num_type = MP_TYPE_CPLX;
    mp_set_real_words(words);
    result = root_result{};
    result.iter_digits = digits;
    result.show_digits = digits;
    result.real_only = real_only;
    storage = std::make_unique<RootStorage>(result, words);
}

inline OwnedEquation RootsTest::from_mpc(const std::vector<std::unique_ptr<Mpc>>& coefs) const {
    OwnedEquation e;
    e.eq.degree = static_cast<i32>(coefs.size()) - 1;
    e.eq.type = MP_TYPE_CPLX;
    for (std::size_t k = 0; k < coefs.size(); ++k) {
        e.coefs.emplace_back(static_cast<std::size_t>(cplx_value_words(words)));
        from_mpfr(e.coefs.back().data(), words, coefs[k]->re());
        from_mpfr(cplx_im_of(e.coefs.back().data(), words), words, coefs[k]->im());
    }
    for (std::size_t k = 0; k < coefs.size(); ++k) e.eq.coef[k] = e.coefs[k].data();
    return e;
}

inline OwnedEquation RootsTest::from_ints(const std::vector<i64>& coefs) const {
    std::vector<std::unique_ptr<Mpc>> c;
    for (i64 v : coefs) {
        c.push_back(std::make_unique<Mpc>(ref_bits()));
        mpc_set_si(*c.back(), v, MPC_RNDNN);
    }
    return from_mpc(c);
}

inline OwnedEquation RootsTest::from_roots(
    const std::vector<std::pair<std::string, std::string>>& roots) const {
    std::vector<std::unique_ptr<Mpc>> c;
    c.push_back(std::make_unique<Mpc>(ref_bits()));
    mpc_set_ui(*c[0], 1, MPC_RNDNN);
    Mpc r(ref_bits()), t(ref_bits());
    for (const auto& [re, im] : roots) {
        mpfr_set_str(r.re(), re.c_str(), 10, MPFR_RNDN);
        mpfr_set_str(r.im(), im.c_str(), 10, MPFR_RNDN);
        c.push_back(std::make_unique<Mpc>(ref_bits()));
        mpc_set_ui(*c.back(), 0, MPC_RNDNN);
        for (std::size_t k = c.size() - 1; k >= 1; --k) {  // c = c * (x - r)
            mpc_mul(t, *c[k], r, MPC_RNDNN);
            mpc_sub(*c[k], *c[k - 1], t, MPC_RNDNN);
        }
        mpc_mul(*c[0], *c[0], r, MPC_RNDNN);
        mpc_neg(*c[0], *c[0], MPC_RNDNN);
    }
    return from_mpc(c);
}

inline i64 RootsTest::solve(const OwnedEquation& e, bool keep_order) {
    solve_approx(e.eq, result, keep_order);
    return result.count;
}

inline ::testing::AssertionResult RootsTest::near_root(i64 i, mpc_srcptr v) const {
    const i32 digits = result.iter_digits;
    Mpc got(ref_bits());
    to_mpc(got, result.roots[i], words);
    Mpfr mag(ref_bits()), err(ref_bits()), unit(ref_bits());
    mpc_abs(mag, v, MPFR_RNDN);
    for (int part = 0; part < 2; ++part) {
        mpfr_srcptr want = part == 0 ? mpc_realref(v) : mpc_imagref(v);
        mpfr_srcptr have = part == 0 ? got.re() : got.im();
        if (mpfr_zero_p(want)) {
            if (!mpfr_zero_p(have)) {
                return ::testing::AssertionFailure()
                       << "root " << i << " " << cplx_text(result.roots[i], words) << ": part "
                       << part << " must be exactly 0";
            }
            continue;
        }
        // the digits-th digit of the part, or of |v| / 10 when the part is smaller
        const i64 e_part =
            static_cast<i64>(std::floor(std::log10(std::fabs(mpfr_get_d(want, MPFR_RNDN)))));
        const i64 e_abs = static_cast<i64>(std::floor(std::log10(mpfr_get_d(mag, MPFR_RNDN))));
        const i64 e = std::max(e_part, e_abs - 1);
        mpfr_sub(err, have, want, MPFR_RNDN);
        mpfr_abs(err, err, MPFR_RNDN);
        mpfr_set_ui(unit, 10, MPFR_RNDN);
        mpfr_pow_si(unit, unit, e - digits + 1, MPFR_RNDN);
        mpfr_mul_d(unit, unit, 1.01, MPFR_RNDN);
        if (mpfr_cmp(err, unit) > 0) {
            return ::testing::AssertionFailure()
                   << "root " << i << " " << cplx_text(result.roots[i], words) << " part " << part
                   << " off by " << mpfr_get_d(err, MPFR_RNDN) << " at " << digits << " digits";
        }
    }
    return ::testing::AssertionSuccess();
}
