// Benchmarks of the number library against GMP and MPFR (the reference,
// "ref"), measured in the same run.
#include <cstdio>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"

int main(int argc, char** argv) {
    mp_init();
    const char* filter = argc > 1 ? argv[1] : "";
    std::printf("%-40s %12s %12s %8s\n", "case", "ours (us)", "ref (us)", "ratio");
    run_registered_benchmarks(filter);
    return 0;
}
