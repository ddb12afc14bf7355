// Operands of the real-function benchmarks: a random real and the same value
// in MPFR, with a result buffer for each side.
#pragma once

#include <mpfr.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/real.h"

struct BenchReal {
    // lead.ddd... * 10^exp at m words from seed (lead 1..9; 0 draws one);
    // MPFR holds it at digits decimal digits (0: all 19m), and the real's
    // digits beyond them are zero, so both sides see the same value.
    BenchReal(i32 m, u64 lead, i64 exp, u64 seed, i32 digits = 0);
    ~BenchReal();
    BenchReal(const BenchReal&) = delete;
    BenchReal& operator=(const BenchReal&) = delete;

    i32 m;
    std::vector<u64> x, out;
    mpfr_t fx, fout;
};

using MpfrUnary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);

// " d=N" for the digits a case at m words stands for (m = 6: 100, 53: 1000).
std::string bench_digits_label(i32 m);
// A case timing fn(x) through a guarded call with g against ref(fout, fx).
BenchCase bench_real_unary(const std::string& name, const std::shared_ptr<BenchReal>& op,
                           RealUnaryFn fn, i32 g, MpfrUnary ref);
