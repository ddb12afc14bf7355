// Roots of ten fixed random degree-10 integer polynomials (coefficients in
// [-100, 100]), one case per polynomial: solve_approx at 100 and 750 digits
// and solve_exact at 50 digits against Arb's certified root finder at the
// same digits. Arb runs acb_poly_find_roots and doubles its precision until
// every root is isolated and carries the asked-for relative accuracy, which
// is how its documentation says to use the finder. The finder needs simple
// roots, so for (x - 1)^3 (x^2 + 1) at 1,000 digits it gets the square-free
// part p / gcd(p, p'), computed by FLINT inside the timed run.
#include <acb_poly.h>
#include <flint/fmpz_poly.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/app_error.h"
#include "bench/bench_harness.h"
#include "equations/exact.h"
#include "equations/roots.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/rat.h"
#include "numlib/real.h"

namespace {

constexpr i32 DEGREE = 10;
constexpr int POLYNOMIALS = 10;

std::vector<std::vector<i64>> test_polynomials() {
    std::mt19937_64 gen(0x500751u);
    std::uniform_int_distribution<i64> coef(-100, 100);
    std::vector<std::vector<i64>> out(POLYNOMIALS, std::vector<i64>(DEGREE + 1));
    for (auto& p : out) {
        for (i64& c : p) c = coef(gen);
        while (p[0] == 0) p[0] = coef(gen);  // no zero root: every case iterates
        while (p[DEGREE] == 0) p[DEGREE] = coef(gen);
    }
    return out;
}

// One polynomial with everything both sides need, built once per case.
struct RootsCase {
    RootsCase(const std::vector<i64>& c, i32 digits_asked, bool exact_mode)
        : digits(digits_asked), exact(exact_mode) {
        const i32 degree = static_cast<i32>(c.size()) - 1;
        iter = exact ? exact_iter_digits(digits) : digits;
        words = static_cast<i32>(root_working_words(iter, degree));
        const std::size_t size =
            static_cast<std::size_t>(exact ? 2 * EXACT_INT_WORDS + 1 : cplx_value_words(words));
        store.assign(size * static_cast<std::size_t>(degree + 1), 0);
        eq.degree = degree;
        eq.type = exact ? MP_TYPE_RAT : MP_TYPE_CPLX;
        const i32 saved_int = mp_int_words;
        mp_int_words = EXACT_INT_WORDS;
        mp_set_real_words(words);
        for (i32 k = 0; k <= degree; ++k) {
            u64* v = store.data() + size * static_cast<std::size_t>(k);
            eq.coef[k] = v;
            if (exact) {
                rat_from_i64(v, c[static_cast<std::size_t>(k)]);
            } else {
                cplx_zero(v);
                real_from_i64(v, c[static_cast<std::size_t>(k)]);
            }
        }
        mp_int_words = saved_int;
        result.iter_digits = iter;
        result.show_digits = digits;
        storage = std::make_unique<RootStorage>(result, words);

        fmpz_poly_init(poly);
        fmpz_poly_init(square_free);
        for (i32 k = 0; k <= degree; ++k) {
            fmpz_poly_set_coeff_si(poly, k, static_cast<slong>(c[static_cast<std::size_t>(k)]));
        }
        target_bits = static_cast<slong>(std::ceil(digits * std::log2(10.0))) + 4;
        roots = _acb_vec_init(degree);
        acb_poly_init(apoly);
    }
    ~RootsCase() {
        _acb_vec_clear(roots, eq.degree);
        acb_poly_clear(apoly);
        fmpz_poly_clear(square_free);
        fmpz_poly_clear(poly);
    }
    RootsCase(const RootsCase&) = delete;
    RootsCase& operator=(const RootsCase&) = delete;

    // Our run; false when it did not deliver all ten roots.
    bool ours() {
        clearErrors();
        mp_set_real_words(words);
        result.count = -1;
        if (exact) {
            solve_exact(eq, result);
        } else {
            solve_approx(eq, result, false);
        }
        i64 total = 0;
        for (i64 i = 0; i < result.count; ++i) total += result.multiplicity[i];
        return total == eq.degree && appError.load() == 0 && mp_err() == 0;
    }

    // Arb's run; false when even a large precision did not isolate them.
    bool reference() {
        fmpz_poly_set(square_free, poly);
        if (multiple) {
            fmpz_poly_t derivative, common;
            fmpz_poly_init(derivative);
            fmpz_poly_init(common);
            fmpz_poly_derivative(derivative, poly);
            fmpz_poly_gcd(common, poly, derivative);
            fmpz_poly_div(square_free, poly, common);
            fmpz_poly_clear(common);
            fmpz_poly_clear(derivative);
        }
        const slong degree = fmpz_poly_degree(square_free);
        for (slong prec = target_bits + 32; prec <= 64 * target_bits; prec *= 2) {
            acb_poly_set_fmpz_poly(apoly, square_free, prec);
            const slong isolated = acb_poly_find_roots(roots, apoly, nullptr, 0, prec);
            if (isolated == degree && accurate(degree)) return true;
        }
        return false;
    }
    bool accurate(slong degree) const {
        for (slong i = 0; i < degree; ++i) {
            if (acb_rel_accuracy_bits(roots + i) < target_bits) return false;
        }
        return true;
    }

    i32 digits, iter = 0, words = 0;
    bool exact;
    bool multiple = false;  // Arb gets the square-free part
    std::vector<u64> store;
    poly_equation eq;
    root_result result;
    std::unique_ptr<RootStorage> storage;
    fmpz_poly_t poly, square_free;
    acb_poly_t apoly;
    acb_ptr roots;
    slong target_bits;
    bool warned_ours = false, warned_ref = false;
};

// A failure on either side would time an error path: said once, on
// standard error, when the case runs.
void add_case(const std::function<void(BenchCase)>& add, const std::string& name,
              const std::shared_ptr<RootsCase>& c) {
    add({name,
         [c, name] {
             if (!c->ours() && !c->warned_ours) {
                 c->warned_ours = true;
                 std::fprintf(stderr, "%s: ours failed (app error %u, library error %d)\n",
                              name.c_str(), appError.load(), mp_err());
             }
         },
         [c, name] {
             if (!c->reference() && !c->warned_ref) {
                 c->warned_ref = true;
                 std::fprintf(stderr, "%s: Arb did not isolate the roots\n", name.c_str());
             }
         }});
}

void add_cases(const std::function<void(BenchCase)>& add, i32 digits, bool exact) {
    const auto polys = test_polynomials();
    for (int i = 0; i < POLYNOMIALS; ++i) {
        std::string name = exact ? "roots_exact " : "roots_approx ";
        name.append(std::to_string(digits)).append("d p").append(std::to_string(i));
        add_case(add, name,
                 std::make_shared<RootsCase>(polys[static_cast<std::size_t>(i)], digits, exact));
    }
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    add_cases(add, 100, false);
    add_cases(add, 750, false);
    add_cases(add, 50, true);
    // (x - 1)^3 (x^2 + 1): a triple root beside two simple ones.
    auto triple = std::make_shared<RootsCase>(std::vector<i64>{-1, 3, -4, 4, -3, 1}, 1000, false);
    triple->multiple = true;
    add_case(add, "roots_multiple 1000d (x-1)^3(x^2+1)", triple);
});

}  // namespace
