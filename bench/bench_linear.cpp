// Linear systems of 25 equations: exact rational solves against FLINT's
// fmpq_mat_solve on the same matrix, and a 1,000-digit real solve against
// Gaussian elimination with partial pivoting in MPFR at the same precision.
#include <flint/fmpq_mat.h>
#include <gmp.h>
#include <mpfr.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/app_error.h"
#include "bench/bench_harness.h"
#include "linear/linear_coef.h"
#include "linear/linear_page.h"
#include "linear/linear_solver.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"

namespace {

constexpr i32 N = 25;

// Entries p/q with |p| <= 1000 and 1 <= q <= max_den, row-major, b last.
struct Fractions {
    Fractions(u64 seed, i64 max_den) {
        std::mt19937_64 gen(seed);
        std::uniform_int_distribution<i64> num(-1000, 1000), den(1, max_den);
        for (i32 k = 0; k < N * (N + 1); ++k) {
            p.push_back(num(gen));
            q.push_back(den(gen));
        }
    }
    std::vector<i64> p, q;
};

// Our solver on a fresh copy of the system for every call.
struct OurSystem {
    OurSystem(const Fractions& f, i32 type, i32 digits, i32 int_words = 0) {
        const u32 flags = linear_set_context(type, digits);
        if (int_words > 0) mp_set_int_words(int_words);
        words = num_size_bytes(0, type) / 8;
        original.assign(static_cast<std::size_t>(N * (N + 1) * words), 0);
        work = slots = original;
        std::vector<u64> den(static_cast<std::size_t>(words));
        for (i32 k = 0; k < N * (N + 1); ++k) {
            u64* v = original.data() + k * words;
            coef_set_i64(v, f.p[static_cast<std::size_t>(k)]);
            coef_set_i64(den.data(), f.q[static_cast<std::size_t>(k)]);
            coef_div(v, v, den.data());
        }
        sys.n = N;
        sys.type = sol.type = type;
        sys.value_bytes = sol.value_bytes = words * 8;
        sys.real_words = sol.real_words = mp_real_words;
        sys.int_words = sol.int_words = mp_int_words;
        sol.digits = digits;
        sol.format_flags = flags;
    }
    void solve() {
        work = original;
        for (i32 i = 0; i < N; ++i) {
            sys.rows[i] = work.data() + i * (N + 1) * words;
            sol.x[i] = slots.data() + i * (N + 1) * words;
        }
        solve_linear(sys, sol);
    }
    i64 words = 0;
    std::vector<u64> original, work, slots;
    linear_system sys;
    linear_solution sol;
};

struct FlintSystem {
    explicit FlintSystem(const Fractions& f) {
        fmpq_mat_init(a, N, N);
        fmpq_mat_init(b, N, 1);
        fmpq_mat_init(x, N, 1);
        for (i32 i = 0; i < N; ++i) {
            for (i32 j = 0; j <= N; ++j) {
                const auto k = static_cast<std::size_t>(i * (N + 1) + j);
                fmpq* e = j < N ? fmpq_mat_entry(a, i, j) : fmpq_mat_entry(b, i, 0);
                fmpq_set_si(e, f.p[k], static_cast<ulong>(f.q[k]));
            }
        }
    }
    ~FlintSystem() {
        fmpq_mat_clear(a);
        fmpq_mat_clear(b);
        fmpq_mat_clear(x);
    }
    fmpq_mat_t a, b, x;
};

// Partial pivoting and back substitution at a fixed binary precision.
struct MpfrSystem {
    MpfrSystem(const Fractions& f, mpfr_prec_t bits) : m(static_cast<std::size_t>(N * (N + 1))) {
        for (std::size_t k = 0; k < m.size(); ++k) {
            mpfr_init2(&m[k], bits);
            mpfr_set_si(&m[k], f.p[k], MPFR_RNDN);
            mpfr_div_si(&m[k], &m[k], f.q[k], MPFR_RNDN);
        }
        work = m;
        for (std::size_t k = 0; k < m.size(); ++k) mpfr_init2(&work[k], bits);
        mpfr_inits2(bits, t, x0, static_cast<mpfr_ptr>(nullptr));
    }
    ~MpfrSystem() {
        for (auto& v : m) mpfr_clear(&v);
        for (auto& v : work) mpfr_clear(&v);
        mpfr_clears(t, x0, static_cast<mpfr_ptr>(nullptr));
    }
    mpfr_ptr at(i32 i, i32 j) { return &work[static_cast<std::size_t>(row[i] * (N + 1) + j)]; }
    void solve() {
        for (std::size_t k = 0; k < m.size(); ++k) mpfr_set(&work[k], &m[k], MPFR_RNDN);
        for (i32 i = 0; i < N; ++i) row[i] = i;
        for (i32 k = 0; k < N; ++k) {
            for (i32 r = k + 1; r < N; ++r)
                if (mpfr_cmpabs(at(r, k), at(k, k)) > 0) std::swap(row[r], row[k]);
            for (i32 r = k + 1; r < N; ++r) {
                mpfr_div(t, at(r, k), at(k, k), MPFR_RNDN);
                for (i32 c = k + 1; c <= N; ++c) {
                    mpfr_mul(x0, t, at(k, c), MPFR_RNDN);
                    mpfr_sub(at(r, c), at(r, c), x0, MPFR_RNDN);
                }
            }
        }
        for (i32 i = N - 1; i >= 0; --i) {
            for (i32 j = i + 1; j < N; ++j) {
                mpfr_mul(x0, at(i, j), at(j, N), MPFR_RNDN);
                mpfr_sub(at(i, N), at(i, N), x0, MPFR_RNDN);
            }
            mpfr_div(at(i, N), at(i, N), at(i, i), MPFR_RNDN);
        }
    }
    std::vector<__mpfr_struct> m, work;
    i32 row[N] = {};
    mpfr_t t, x0;
};

void add_rat_case(const std::function<void(BenchCase)>& add, std::string name, i64 max_den,
                  i32 int_words = 0, bool tridiagonal = false) {
    Fractions f(0x11ea7000u + static_cast<u64>(max_den), max_den);
    for (i32 i = 0; i < N && tridiagonal; ++i)
        for (i32 j = 0; j < N; ++j)
            if (j > i + 1 || i > j + 1) f.p[static_cast<std::size_t>(i * (N + 1) + j)] = 0;
    auto ours = std::make_shared<OurSystem>(f, MP_TYPE_RAT, 10, int_words);
    if (int_words > 0) name += " at " + std::to_string(int_words) + " words";
    auto ref = std::make_shared<FlintSystem>(f);
    // A system beyond the page's 500-digit rationals ends early; say so.
    ours->solve();
    const bool overflow = appError.load() != 0;
    clearErrors();
    add({overflow ? name + " (overflow)" : name, [ours] { ours->solve(); },
         [ref] { fmpq_mat_solve(ref->x, ref->a, ref->b); }});
}

// The whole page solve of the same fractions as cell texts "p/q" at `digits`
// digits (formulas read, solved to settled digits, text written) against
// MPFR's elimination at the digits shown plus three.
void add_page_case(const std::function<void(BenchCase)>& add, i32 digits) {
    const Fractions f(0x11ea7d16u, 1000);
    auto grid = std::make_shared<LinearGridModel>();
    grid->set_equation_count(N);
    for (i32 i = 0; i < N; ++i) {
        for (i32 j = 0; j <= N; ++j) {
            const auto k = static_cast<std::size_t>(i * (N + 1) + j);
            const std::string t = std::to_string(f.p[k]) + "/" + std::to_string(f.q[k]);
            grid->set_cell(i, j == N ? LINEAR_COLUMN_B : j, std::u16string(t.begin(), t.end()));
        }
    }
    const auto bits = static_cast<mpfr_prec_t>(std::ceil((digits + 3) * 3.3219280948873623) + 10);
    auto ref = std::make_shared<MpfrSystem>(f, bits);
    add({"linear real 25x25 page " + std::to_string(digits) + " digits",
         [grid, digits] {
             linear_solve_cells(*grid, LinearSolveRequest{N, MP_TYPE_REAL, digits});
         },
         [ref] { ref->solve(); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    add_rat_case(add, "linear rat 25x25 integers", 1);
    add_rat_case(add, "linear rat 25x25 tridiagonal", 1, 0, true);
    add_rat_case(add, "linear rat 25x25 fractions", 1000);
    add_rat_case(add, "linear rat 25x25 fractions", 1000, 100);
    const Fractions f(0x11ea7d16u, 1000);
    auto ours = std::make_shared<OurSystem>(f, MP_TYPE_REAL, 1000);
    // 1,003 digits as the page's working precision.
    auto ref = std::make_shared<MpfrSystem>(f, 3333 + 10);
    add({"linear real 25x25 1000 digits", [ours] { ours->solve(); }, [ref] { ref->solve(); }});
    add_page_case(add, 10);
    add_page_case(add, 1000);
});

}  // namespace
