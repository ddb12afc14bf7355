// Inverse hyperbolic sine and the factorial at 100, 1000 and 10,013 digits
// (m = 6, 53, 527), called as the application does (guarded, g = 2 for asinh,
// g = 19 for the factorial), against mpfr_asinh and mpfr_fac_ui at the same
// number of digits.
#include <mpfr.h>

#include <memory>

#include "bench/bench_real_operand.h"
#include "numlib/mp_context.h"
#include "numlib/real_fn.h"

namespace {

void add_cases(const std::function<void(BenchCase)>& add, i32 m) {
    add(bench_real_unary("real_asinh",
                         std::make_shared<BenchReal>(m, 3, 0, 0xa51au + static_cast<u64>(m)),
                         real_asinh, 2, mpfr_asinh));
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
