// Sine and arctangent at 100, 1000 and 10,013 digits (m = 6, 53, 527), called
// the way the application does (a guarded call with g = 2), against MPFR's
// mpfr_sin and mpfr_atan at the same number of digits on the same argument.
#include <mpfr.h>

#include <memory>

#include "bench/bench_real_operand.h"
#include "numlib/real_fn.h"

namespace {

void add_cases(const std::function<void(BenchCase)>& add, i32 m) {
    add(bench_real_unary("real_sin",
                         std::make_shared<BenchReal>(m, 1, 0, 0x5e1u + static_cast<u64>(m)),
                         real_sin, 2, mpfr_sin));
    add(bench_real_unary("real_atan",
                         std::make_shared<BenchReal>(m, 7, -1, 0xa7a4u + static_cast<u64>(m)),
                         real_atan, 2, mpfr_atan));
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 m : {6, 53, 527}) add_cases(add, m);
});

}  // namespace
