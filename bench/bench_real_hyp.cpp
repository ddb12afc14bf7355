// Hyperbolic functions, their inverses and the factorial at 100, 1000 and
// 10,013 digits (m = 6, 53, 527), called as the application does (guarded,
// g = 2, the factorial g = 19), against MPFR's functions and mpfr_fac_ui at
// the same number of digits.
#include <mpfr.h>

#include <memory>

#include "bench/bench_real_operand.h"
#include "numlib/mp_context.h"
#include "numlib/real_fn.h"

namespace {

void add_cases(const std::function<void(BenchCase)>& add, i32 m) {
    const u64 seed = 0xa51au + static_cast<u64>(m);
    // 3.xxx, and 0.3xxx for the hyperbolic tangent's inverse.
    auto x = std::make_shared<BenchReal>(m, 3, 0, seed);
    auto t = std::make_shared<BenchReal>(m, 3, -1, seed + 1);
    add(bench_real_unary("real_sinh", x, real_sinh, 2, mpfr_sinh));
    add(bench_real_unary("real_cosh", x, real_cosh, 2, mpfr_cosh));
    add(bench_real_unary("real_tanh", x, real_tanh, 2, mpfr_tanh));
    add(bench_real_unary("real_asinh", x, real_asinh, 2, mpfr_asinh));
    add(bench_real_unary("real_acosh", x, real_acosh, 2, mpfr_acosh));
    add(bench_real_unary("real_atanh", t, real_atanh, 2, mpfr_atanh));
    auto f = std::make_shared<BenchReal>(m, 1, 0, 0);
    mp_set_real_words(m);
    real_from_i64(f->x.data(), 1000);
    add({"real_factorial(1000)" + bench_digits_label(m),
         [f] {
             mp_set_real_words(f->m);
             real_guarded_unary(f->out.data(), f->x.data(), 19, real_factorial);
         },
         [f] { mpfr_fac_ui(f->fout, 1000, MPFR_RNDN); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 m : {6, 53, 527}) add_cases(add, m);
});

}  // namespace
