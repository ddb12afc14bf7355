// Roots, exponential, logarithm and real power at 100, 1000 and 10013 digits:
// our functions through the guarded protocol (g = 2, as the application calls
// them) against MPFR at the matching binary precision, on the same values.
#include <mpfr.h>

#include <memory>

#include "bench/bench_real_operand.h"
#include "numlib/mp_context.h"
#include "numlib/real_fn.h"

namespace {

void add_cases(const std::function<void(BenchCase)>& add, i32 digits) {
    const i32 m = (digits + 18) / 19;
    const u64 seed = 0xe4900000u + static_cast<u64>(m);
    auto x = std::make_shared<BenchReal>(m, 1, 0, seed, digits);
    auto y = std::make_shared<BenchReal>(m, 0, -1, seed + 1, digits);
    add(bench_real_unary("real_sqrt", x, real_sqrt, 2, mpfr_sqrt));
    add(bench_real_unary("real_cbrt", x, real_cbrt, 2, mpfr_cbrt));
    add(bench_real_unary("real_exp", x, real_exp, 2, mpfr_exp));
    add(bench_real_unary("real_ln", x, real_ln, 2, mpfr_log));
    add({"real_pow" + bench_digits_label(m),
         [x, y] {
             mp_set_real_words(x->m);
             real_guarded_binary(x->out.data(), x->x.data(), y->x.data(), 2, real_pow);
         },
         [x, y] { mpfr_pow(x->fout, x->fx, y->fx, MPFR_RNDN); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 digits : {100, 1000, 10013}) add_cases(add, digits);
});

}  // namespace
