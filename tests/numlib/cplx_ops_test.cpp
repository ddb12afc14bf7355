// Complex operations against MPC. Each row of the table names an operation,
// its MPC reference and its operands; every result must meet the accuracy
// rule of support/mpc_oracle.h, called directly and (for the operations the
// formula engine guards) inside a guarded call, and give the same words in
// every placement of the destination (support/alias_run.h). Real operands
// must give exactly what the real routine gives; sums and word products must
// equal the real routines part by part. Exact results and refused arguments
// are rows of tests/golden/complex_values.txt.
#include <string>
#include <vector>

#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"
#include "numlib/real_fn_impl.h"
#include "support/alias_run.h"
#include "support/golden_runner.h"
#include "support/mpc_oracle.h"
#include "support/numlib_fixture.h"
#include "support/text_helpers.h"

namespace {

using Cplx = std::vector<u64>;
using CplxOpsTest = NumlibTest;

Cplx cplx_new(i64 m) {
    return Cplx(static_cast<std::size_t>(2 * m + 2));
}

u64* im(Cplx& x) {
    return cplx_im_of(x.data(), mp_real_words);
}

// The integer parameters of a row's call (a function pointer cannot carry
// them): the root degree n, the exponent or root index k, the word v.
i64 g_n = 0, g_k = 0;
u64 g_v = 0;

struct CplxRow {
    const char* name;
    CplxBinaryFn fn;  // unary operations ignore b
    void (*ref)(mpc_ptr r, mpc_srcptr a, mpc_srcptr b);
    bool guarded;
    bool divisor;                         // b must not be 0
    void (*draw)(TestRng& rng, Cplx& a);  // parameters, maybe another a
    RandomCplxOptions opt;
};

template <int (*F)(mpc_ptr, mpc_srcptr, mpc_srcptr, mpc_rnd_t)>
void ref(mpc_ptr r, mpc_srcptr a, mpc_srcptr b) {
    F(r, a, b, MPC_RNDNN);
}

// The k-th n-th root: the principal root of degree |n| times the root of
// unity of index k, inverted for n < 0.
void root_reference(mpc_ptr out, mpc_srcptr a, mpc_srcptr) {
    const unsigned long n = static_cast<unsigned long>(g_n < 0 ? -g_n : g_n);
    const mpfr_prec_t bits = mpfr_get_prec(mpc_realref(out)) + 128;
    Mpc r(bits), unity(bits);
    Mpfr e(bits);
    mpfr_set_ui(e, 1, MPFR_RNDN);
    mpfr_div_ui(e, e, n, MPFR_RNDN);
    mpc_pow_fr(r, a, e, MPC_RNDNN);
    mpc_rootofunity(unity, n, static_cast<unsigned long>(g_k), MPC_RNDNN);
    mpc_mul(r, r, unity, MPC_RNDNN);
    mpc_set(out, r, MPC_RNDNN);
    if (g_n < 0) mpc_ui_div(out, 1, out, MPC_RNDNN);
}

void abs_reference(mpc_ptr r, mpc_srcptr a, mpc_srcptr) {
    mpc_abs(mpc_realref(r), a, MPFR_RNDN);
    mpfr_set_zero(mpc_imagref(r), 1);
}

// Powers: |k| up to 40, or up to 2^62 of (3 + 4i) / 5 on the unit circle.
void draw_power(TestRng& rng, Cplx& a) {
    g_k = rng.range(-40, 40);
    if (!rng.chance(25)) return;
    g_k = rng.range(-(i64{1} << 62), i64{1} << 62);
    a = cplx_new(mp_real_words);
    real_from_i64(a.data(), 6);
    real_from_i64(im(a), 8);
    real_add_exp(a.data(), -1);
    real_add_exp(im(a), -1);
}

// Roots of degree 2 to 12 or up to 2^61, either sign, any index.
void draw_root(TestRng& rng, Cplx&) {
    g_n = rng.chance(20) ? i64{1} << rng.range(20, 61) : rng.range(2, 12);
    if (rng.chance(20)) g_n = 2;
    if (rng.chance(30)) g_n = -g_n;
    g_k = rng.range(0, (g_n < 0 ? -g_n : g_n) - 1);
}

void draw_word(TestRng& rng, Cplx&) {
    g_v = rng.chance(10) ? 0 : rng.word();
}

const RandomCplxOptions kAny, kNear = {-3, 3, 0};  // kNear: moduli near 1, never 0
const RandomCplxOptions kNonZero = {-30, 30, 0};

const CplxRow kRows[] = {
    {"add", cplx_add, ref<mpc_add>, false, false, nullptr, kAny},
    {"sub", cplx_sub, ref<mpc_sub>, false, false, nullptr, kAny},
    {"mul", cplx_mul, ref<mpc_mul>, true, false, nullptr, kAny},
    {"mul3", cplx_mul3, ref<mpc_mul>, true, false, nullptr, kAny},
    {"mul_u64", [](u64* d, const u64* a, const u64*) { cplx_mul_u64(d, a, g_v); },
     [](mpc_ptr r, mpc_srcptr a, mpc_srcptr) { mpc_mul_ui(r, a, g_v, MPC_RNDNN); }, false, false,
     draw_word, kAny},
    {"div", cplx_div, ref<mpc_div>, true, true, nullptr, kAny},
    {"recip", [](u64* d, const u64* a, const u64*) { cplx_recip(d, a); },
     [](mpc_ptr r, mpc_srcptr a, mpc_srcptr) { mpc_ui_div(r, 1, a, MPC_RNDNN); }, true, true,
     nullptr, kNonZero},
    {"pow_int", [](u64* d, const u64* a, const u64*) { cplx_pow_int(d, a, g_k); },
     [](mpc_ptr r, mpc_srcptr a, mpc_srcptr) { mpc_pow_si(r, a, g_k, MPC_RNDNN); }, true, false,
     draw_power, kNear},
    {"root_k", [](u64* d, const u64* a, const u64*) { cplx_root_k(d, g_n, a, g_k); },
     root_reference, true, false, draw_root, kNear},
    {"abs", [](u64* d, const u64* a, const u64*) { cplx_abs(d, a); }, abs_reference, false, false,
     nullptr, kAny},
};

// What the result of row must equal word for word, where a rule holds: sums
// and word products part by part (a zero imaginary part stays +0), and on
// real operands the real part as the real routine gives it.
bool exact_result(const std::string& op, Cplx& w, const Cplx& a, const Cplx& b, bool real) {
    const u64 *x = a.data(), *y = b.data();
    const u64 *xi = cplx_im_of(x, mp_real_words), *yi = cplx_im_of(y, mp_real_words);
    if (op == "add" || op == "sub") {
        (op == "add" ? real_add_r : real_sub_r)(w.data(), x, y);
        (op == "add" ? real_add_r : real_sub_r)(im(w), xi, yi);
    } else if (op == "mul_u64") {
        real_mul_u64_r(w.data(), x, g_v);
        if (!real_is_zero(xi)) real_mul_u64_r(im(w), xi, g_v);
    } else if (!real) {
        return false;
    } else if (op == "mul") {
        real_mul_r(w.data(), x, y);
    } else if (op == "div") {
        real_guarded_binary(w.data(), x, y, 2, real_div_r);
    } else if (op == "recip") {
        real_guarded_unary(w.data(), x, 2, real_recip);
    } else if (op == "pow_int") {
        real_guarded_unary(w.data(), x, 2, [](u64* d, const u64* t) { real_pow_int(d, t, g_k); });
    } else if (op == "root_k" && g_n == 2 && g_k == 0 && !real_sign(x)) {
        real_guarded_unary(w.data(), x, 3, real_sqrt);
    } else {
        return false;
    }
    return true;
}

// One row on random operands at m words; false after a failure.
bool check_row(TestRng& rng, const CplxRow& row, i64 m) {
    mp_set_real_words(static_cast<i32>(m));
    Cplx a = random_cplx(rng, m, row.opt), b = random_cplx(rng, m, row.opt);
    if (rng.chance(20)) std::fill(im(a), im(a) + m + 1, 0), std::fill(im(b), im(b) + m + 1, 0);
    if (row.draw) row.draw(rng, a);
    const bool real = real_is_zero(im(a)) && real_is_zero(im(b));
    // Divisors and the arguments of rows that take no zero are made 1.
    if (row.opt.zero_percent == 0 && real_is_zero(a.data()) && real_is_zero(im(a))) a[1] = REAL_TOP;
    if (row.divisor && real_is_zero(b.data()) && real_is_zero(im(b))) b[1] = REAL_TOP;
    const std::string what = std::string(row.name) + " m=" + std::to_string(m) +
                             " n=" + std::to_string(g_n) + " k=" + std::to_string(g_k) +
                             " v=" + std::to_string(g_v) + " a=" + cplx_text(a.data(), m) +
                             " b=" + cplx_text(b.data(), m);
    // A sum that cancels most digits leaves the rounding of the operands'
    // binary conversion above its last unit: sums take twice the digits.
    const bool sum = row.fn == cplx_add || row.fn == cplx_sub;
    const mpfr_prec_t bits = sum ? oracle_bits(2 * 19 * m + 80) : cplx_ref_bits(m);
    Mpc va(bits), vb(bits), want(bits);
    to_mpc(va, a.data(), m);
    to_mpc(vb, b.data(), m);
    row.ref(want, va, vb);
    Cplx r = cplx_new(m), g = cplx_new(m);
    row.fn(r.data(), a.data(), b.data());
    EXPECT_EQ(mp_error.exchange(0), 0) << what;
    EXPECT_TRUE(check_cplx_result(r.data(), m, want)) << what;
    if (row.guarded) {
        cplx_guarded_binary(g.data(), a.data(), b.data(), 2, row.fn);
        EXPECT_EQ(mp_error.exchange(0), 0) << what;
        EXPECT_TRUE(check_cplx_result(g.data(), m, want)) << "guarded " << what;
    }
    Cplx exact = cplx_new(m), zero = cplx_new(m);
    if (exact_result(row.name, exact, a, b, real)) {
        Cplx got = r;  // the sign of a zero real part is not compared
        if (real_is_zero(got.data()) && real_is_zero(exact.data())) got[0] = exact[0] = 0;
        EXPECT_EQ(got, exact) << "not exact: " << what;
    }
    cplx_zero(zero.data());
    const auto run = [&row](u64* d, const std::vector<const u64*>& p) {
        row.fn(d, p[0], p[1]);
        return i64{0};
    };
    // Sums may keep their real part when the imaginary part fails for want of scratch.
    check_aliasing(what, m, run, {a, b},
                   {r, 0, 0, zero, sum ? Cplx{} : zero, cplx_text(r.data(), m)});
    return !::testing::Test::HasFailure();
}

TEST_F(CplxOpsTest, EveryOperationMatchesMpc) {
    static const i64 fixed[] = {1, 2, 3, 27, 53, 527};
    for (const CplxRow& row : kRows) {
        for (i64 i = 0; i < test_iterations(300); ++i) {
            const i64 m = i < 6 ? fixed[i] : rng.range(1, 12);
            if (!check_row(rng, row, m)) return;
        }
    }
}

// Resizing part by part in place, growing and shrinking, and into an array
// that overlaps the source from above, equals resizing into a separate one.
TEST_F(CplxOpsTest, ResizeInPlace) {
    for (i64 iter = 0; iter < test_iterations(30); ++iter) {
        const i32 from = static_cast<i32>(rng.range(1, 12)),
                  to = static_cast<i32>(rng.range(1, 12));
        const Cplx a = random_cplx(rng, from);
        Cplx want = cplx_new(to);
        cplx_resize(want.data(), to, a.data(), from);
        for (const i32 at : {0, to + 1}) {  // in place, and overlapping from above
            Cplx buf(static_cast<std::size_t>(2 * (from + to) + 4));
            std::copy(a.begin(), a.end(), buf.begin() + at);
            cplx_resize(buf.data(), to, buf.data() + at, from);
            EXPECT_TRUE(std::equal(want.begin(), want.end(), buf.begin())) << from << "->" << to;
        }
        EXPECT_EQ(mp_err(), 0);
    }
}

// ---- tests/golden/complex_values.txt --------------------------------------------

Cplx read(const std::string& text, i64 m) {
    Cplx x = cplx_new(m);
    const std::u16string t = u16(text);
    cplx_from_text(x.data(), t.data(), static_cast<i32>(t.size()), 0);
    return x;
}

// Runs the row's operation into out (and rem for divmod); the error raised.
i32 run(const std::vector<std::string>& op, const std::vector<Cplx>& args, Cplx& out, Cplx& rem) {
    const u64* a = args.at(0).data();
    const u64* b = args.size() > 1 ? args[1].data() : nullptr;
    const i64 p1 = op.size() > 1 ? std::stoll(op[1]) : 0,
              p2 = op.size() > 2 ? std::stoll(op[2]) : 0;
    if (op[0] == "root") cplx_root_k(out.data(), p1, a, p2);
    if (op[0] == "pow") cplx_pow_int(out.data(), a, p1);
    if (op[0] == "mul") cplx_mul(out.data(), a, b);
    if (op[0] == "div") cplx_div(out.data(), a, b);
    if (op[0] == "recip") cplx_recip(out.data(), a);
    if (op[0] == "divmod") cplx_divmod(out.data(), rem.data(), a, b, 0);
    if (op[0] == "round") cplx_round_digits(out.data(), a, static_cast<i32>(p1));
    return mp_error.exchange(0);
}

std::string check_golden_row(const GoldenLine& row) {
    const auto op = row.words(0), results = row.words(3);
    const i32 want_err = std::stoi(row.text(4));
    for (const std::string& words : row.words(1)) {
        const i64 m = std::stoll(words);
        mp_set_real_words(static_cast<i32>(m));
        std::vector<Cplx> args;
        for (const std::string& a : row.words(2)) args.push_back(read(a, m));
        Cplx out(args[0].size(), 7), rem = out;
        const i32 err = run(op, args, out, rem);
        const std::string at = " at m = " + std::to_string(m);
        if (err != want_err) return "error " + std::to_string(err) + at;
        if (results[0] != "*" && out != read(results[0], m)) return "wrong result" + at;
        if (results.size() > 1 && rem != read(results[1], m)) return "wrong remainder" + at;
        if (want_err == 0) continue;
        mp_error.store(MP_ERR_STOPPED);
        out.assign(out.size(), 7);
        rem = out;
        if (run(op, args, out, rem) != MP_ERR_STOPPED || out != read("0", m))
            return "a pending stop request is not kept" + at;
    }
    return "";
}

TEST_F(CplxOpsTest, PinnedArguments) {
    golden_run("complex_values.txt", check_golden_row);
}

}  // namespace
