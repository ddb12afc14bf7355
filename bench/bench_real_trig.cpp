// Trigonometric functions and their inverses at 100, 1000 and 10,013 digits
// (m = 6, 53, 527), called the way the application does (a guarded call with
// g = 2), against MPFR's functions at the same number of digits on the same
// argument.
#include <mpfr.h>

#include <memory>

#include "bench/bench_real_operand.h"
#include "numlib/real_fn.h"

namespace {

void add_cases(const std::function<void(BenchCase)>& add, i32 m) {
    const u64 seed = 0x5e1u + static_cast<u64>(m);
    // 1.xxx for the direct functions, 0.7xxx for the inverse ones.
    auto x = std::make_shared<BenchReal>(m, 1, 0, seed);
    auto t = std::make_shared<BenchReal>(m, 7, -1, 0xa7a4u + static_cast<u64>(m));
    add(bench_real_unary("real_sin", x, real_sin, 2, mpfr_sin));
    add(bench_real_unary("real_cos", x, real_cos, 2, mpfr_cos));
    add(bench_real_unary("real_tan", x, real_tan, 2, mpfr_tan));
    add(bench_real_unary("real_atan", t, real_atan, 2, mpfr_atan));
    add(bench_real_unary("real_asin", t, real_asin, 2, mpfr_asin));
    add(bench_real_unary("real_acos", t, real_acos, 2, mpfr_acos));
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 m : {6, 53, 527}) add_cases(add, m);
});

}  // namespace
