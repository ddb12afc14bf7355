// Complex sums, products, quotients and reciprocals: random operands against
// MPC at higher precision under the accuracy rule of support/mpc_oracle.h,
// called both directly and inside a guarded call as the formula engine does;
// the real path against the real operations word for word; the scaling of
// divisors at the ends of the exponent range; aliasing and resizing.
#include <functional>
#include <string>
#include <vector>

#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/real.h"
#include "numlib/real_fn_impl.h"
#include "support/mpc_oracle.h"
#include "support/numlib_fixture.h"

namespace {

using Cplx = std::vector<u64>;
using CplxArithTest = NumlibTest;

Cplx cplx_new(i64 m) {
    return Cplx(static_cast<std::size_t>(2 * m + 2));
}

std::string operands(const Cplx& a, const Cplx& b, i64 m) {
    return "m=" + std::to_string(m) + " a=" + cplx_text(a.data(), m) +
           " b=" + cplx_text(b.data(), m);
}

// Word counts of round i: 1, 2, 3, 27, 53 first, then random small ones.
i64 test_words(TestRng& rng, i64 round) {
    static const i64 fixed[] = {1, 2, 3, 27, 53};
    return round < 5 ? fixed[round] : rng.range(1, 12);
}

struct BinaryOp {
    const char* name;
    CplxBinaryFn fn;
    std::function<void(mpc_ptr, mpc_srcptr, mpc_srcptr)> ref;
};

// fn(a, b) at m words, directly or inside a guarded call; the error into *err.
Cplx call(CplxBinaryFn fn, const Cplx& a, const Cplx& b, i64 m, bool guarded, i32* err) {
    mp_set_real_words(static_cast<i32>(m));
    Cplx r = cplx_new(m);
    mp_error.store(0);
    if (guarded) {
        cplx_guarded_binary(r.data(), a.data(), b.data(), 2, fn);
    } else {
        fn(r.data(), a.data(), b.data());
    }
    *err = mp_err();
    mp_error.store(0);
    return r;
}

void recip_as_binary(u64* dst, const u64* a, const u64*) {
    cplx_recip(dst, a);
}

// Products, quotients and reciprocals of random operands, each part within
// one unit on the modulus' scale (the three-product form too, thanks to its
// guard word), called directly and guarded. Quotients by zero are left to the error test.
TEST_F(CplxArithTest, ProductsQuotientsReciprocalsMatchMpc) {
    const BinaryOp ops[] = {
        {"mul", cplx_mul,
         [](mpc_ptr r, mpc_srcptr a, mpc_srcptr b) { mpc_mul(r, a, b, MPC_RNDNN); }},
        {"mul3", cplx_mul3,
         [](mpc_ptr r, mpc_srcptr a, mpc_srcptr b) { mpc_mul(r, a, b, MPC_RNDNN); }},
        {"div", cplx_div,
         [](mpc_ptr r, mpc_srcptr a, mpc_srcptr b) { mpc_div(r, a, b, MPC_RNDNN); }},
        {"recip", recip_as_binary,
         [](mpc_ptr r, mpc_srcptr a, mpc_srcptr) { mpc_ui_div(r, 1, a, MPC_RNDNN); }},
    };
    CplxStats stats[4];
    const i64 rounds = test_iterations(40);
    for (i64 round = 0; round < rounds + 2; ++round) {
        // Two rounds at the largest precision, a few cases each.
        const i64 m = round < rounds ? test_words(rng, round) : 527;
        const i64 cases = m == 527 ? 2 : 12;
        for (i64 c = 0; c < cases; ++c) {
            const Cplx a = random_cplx(rng, m);
            Cplx b = random_cplx(rng, m);
            if (real_is_zero(b.data()) && real_is_zero(cplx_im_of(b.data(), m))) b[1] = REAL_TOP;
            Mpc va(cplx_ref_bits(m)), vb(cplx_ref_bits(m)), want(cplx_ref_bits(m));
            to_mpc(va, a.data(), m);
            to_mpc(vb, b.data(), m);
            for (int k = 0; k < 4; ++k) {
                const Cplx& x = k == 3 ? b : a;  // the reciprocal of the divisor
                if (k == 3) to_mpc(va, x.data(), m);
                ops[k].ref(want, va, vb);
                for (bool guarded : {false, true}) {
                    i32 err = 0;
                    const Cplx r = call(ops[k].fn, x, b, m, guarded, &err);
                    EXPECT_EQ(err, 0) << ops[k].name << " " << operands(x, b, m);
                    EXPECT_TRUE(check_cplx_result(stats[k], r.data(), m, want))
                        << ops[k].name << (guarded ? " guarded " : " ") << operands(x, b, m);
                }
            }
            if (HasFailure()) return;
        }
    }
    for (int k = 0; k < 4; ++k) stats[k].report(std::string("cplx_") + ops[k].name);
}

// Real operands take the real path: exactly the rounded real product and the
// guarded real quotient and reciprocal, imaginary part +0.
TEST_F(CplxArithTest, RealOperandsGiveTheRealResults) {
    RandomRealOptions opt;
    opt.zero_percent = 0;
    for (i64 iter = 0; iter < test_iterations(60); ++iter) {
        const i64 m = test_words(rng, iter % 8);
        mp_set_real_words(static_cast<i32>(m));
        Cplx a = cplx_new(m), b = cplx_new(m), r = cplx_new(m);
        random_real(rng, a.data(), m, opt);
        random_real(rng, b.data(), m, opt);
        std::vector<u64> want(static_cast<std::size_t>(m + 1));
        cplx_mul(r.data(), a.data(), b.data());
        real_mul_r(want.data(), a.data(), b.data());
        EXPECT_TRUE(std::equal(want.begin(), want.end(), r.begin())) << operands(a, b, m);
        EXPECT_TRUE(real_is_zero(cplx_im_of(r.data(), m)) && r[m + 1] == 0);
        cplx_div(r.data(), a.data(), b.data());
        real_guarded_binary(want.data(), a.data(), b.data(), 2, real_div_r);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), r.begin())) << operands(a, b, m);
        cplx_recip(r.data(), b.data());
        real_guarded_unary(want.data(), b.data(), 2, real_recip);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), r.begin())) << operands(a, b, m);
        EXPECT_EQ(mp_err(), 0);
        if (HasFailure()) return;
    }
}

// Values near the ends of the exponent range: scaling by a power of ten
// keeps |b|^2 and the numerators in range, so the quotient equals that of
// the unscaled operands with its exponent moved (a naive |b|^2 would
// overflow, or underflow to a division by zero).
TEST_F(CplxArithTest, QuotientsOfExtremeMagnitudesAreScaledExactly) {
    const i64 shift = i64{1} << 61;
    for (i64 iter = 0; iter < test_iterations(40); ++iter) {
        const i64 m = test_words(rng, iter % 8);
        mp_set_real_words(static_cast<i32>(m));
        Cplx a = random_cplx(rng, m), b = random_cplx(rng, m);
        u64* bi = cplx_im_of(b.data(), m);
        if (real_is_zero(b.data()) || real_is_zero(bi)) continue;
        const i64 s = rng.chance(50) ? shift : -shift;
        Cplx bs = b, q = cplx_new(m), qs = cplx_new(m), r = cplx_new(m), rs = cplx_new(m);
        real_add_exp(bs.data(), s);
        real_add_exp(cplx_im_of(bs.data(), m), s);
        cplx_div(q.data(), a.data(), b.data());
        cplx_div(qs.data(), a.data(), bs.data());
        cplx_recip(r.data(), b.data());
        cplx_recip(rs.data(), bs.data());
        ASSERT_EQ(mp_err(), 0) << operands(a, bs, m);
        for (int p = 0; p < 2; ++p) {
            const i64 off = p * (m + 1);
            for (Cplx* pair : {&q, &r}) {
                u64* x = pair->data() + off;
                if (!real_is_zero(x)) real_add_exp(x, -s);
            }
            EXPECT_TRUE(std::equal(q.begin() + off, q.begin() + off + m + 1, qs.begin() + off))
                << "quotient part " << p << ", " << operands(a, bs, m);
            EXPECT_TRUE(std::equal(r.begin() + off, r.begin() + off + m + 1, rs.begin() + off))
                << "reciprocal part " << p << ", " << operands(a, bs, m);
        }
        if (HasFailure()) return;
    }
}

// Every operation with dst equal to each operand, and both operands the same
// array, gives what it gives into a separate destination.
TEST_F(CplxArithTest, AliasedOperands) {
    const CplxBinaryFn fns[] = {cplx_add, cplx_sub, cplx_mul, cplx_div};
    for (i64 iter = 0; iter < test_iterations(30); ++iter) {
        const i64 m = test_words(rng, iter % 8);
        mp_set_real_words(static_cast<i32>(m));
        const Cplx a = random_cplx(rng, m), b = random_cplx(rng, m);
        if (real_is_zero(b.data()) || real_is_zero(a.data())) continue;
        for (CplxBinaryFn fn : fns) {
            Cplx want = cplx_new(m), ra = a, rb = b, sq = cplx_new(m), s2 = a;
            fn(want.data(), a.data(), b.data());
            fn(ra.data(), ra.data(), b.data());
            fn(rb.data(), a.data(), rb.data());
            fn(sq.data(), a.data(), a.data());
            fn(s2.data(), s2.data(), s2.data());
            EXPECT_EQ(ra, want) << operands(a, b, m);
            EXPECT_EQ(rb, want) << operands(a, b, m);
            EXPECT_EQ(s2, sq) << operands(a, b, m);
        }
        Cplx want = cplx_new(m), r = a;
        cplx_recip(want.data(), a.data());
        cplx_recip(r.data(), r.data());
        EXPECT_EQ(r, want);
        cplx_mul_u64(want.data(), a.data(), 12345);
        r = a;
        cplx_mul_u64(r.data(), r.data(), 12345);
        EXPECT_EQ(r, want);
        EXPECT_EQ(mp_err(), 0);
        if (HasFailure()) return;
    }
}

// Sums and products by a machine word round each part on its own; a zero
// imaginary part stays +0.
TEST_F(CplxArithTest, SumsAndWordProductsArePartwise) {
    for (i64 iter = 0; iter < test_iterations(40); ++iter) {
        const i64 m = test_words(rng, iter % 8);
        mp_set_real_words(static_cast<i32>(m));
        const Cplx a = random_cplx(rng, m), b = random_cplx(rng, m);
        const u64 v = rng.chance(10) ? 0 : rng.word();
        Cplx r = cplx_new(m), want = cplx_new(m);
        const i32 im = static_cast<i32>(m) + 1;
        cplx_sub(r.data(), a.data(), b.data());
        real_sub_r(want.data(), a.data(), b.data());
        real_sub_r(want.data() + im, a.data() + im, b.data() + im);
        EXPECT_EQ(r, want) << operands(a, b, m);
        cplx_mul_u64(r.data(), a.data(), v);
        real_mul_u64_r(want.data(), a.data(), v);
        real_mul_u64_r(want.data() + im, a.data() + im, v);
        if (real_is_zero(a.data() + im)) real_zero(want.data() + im, 0);
        EXPECT_EQ(r, want) << operands(a, b, m) << " v=" << v;
        if (HasFailure()) return;
    }
}

// Resizing part by part in place, growing and shrinking, equals resizing
// into a separate array.
TEST_F(CplxArithTest, ResizeInPlace) {
    for (i64 iter = 0; iter < test_iterations(30); ++iter) {
        const i32 from = static_cast<i32>(rng.range(1, 12)),
                  to = static_cast<i32>(rng.range(1, 12));
        const Cplx a = random_cplx(rng, from);
        Cplx want = cplx_new(to), buf(static_cast<std::size_t>(2 * std::max(from, to) + 2));
        cplx_resize(want.data(), to, a.data(), from);
        std::copy(a.begin(), a.end(), buf.begin());
        cplx_resize(buf.data(), to, buf.data(), from);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), buf.begin()))
            << from << " -> " << to << " " << cplx_text(a.data(), from);
        Cplx shifted(static_cast<std::size_t>(2 * (from + to) + 4));
        std::copy(a.begin(), a.end(), shifted.begin() + (to + 1));
        cplx_resize(shifted.data(), to, shifted.data() + to + 1, from);
        EXPECT_TRUE(std::equal(want.begin(), want.end(), shifted.begin()));
        EXPECT_EQ(mp_err(), 0);
        if (HasFailure()) return;
    }
}

}  // namespace
