// Processor features. The word loops never depend on them; vector kernels may.
#include "numlib/mp_context.h"

void mp_detect_cpu() {
    __builtin_cpu_init();
    // The compiler's check of "avx" includes the operating system's support
    // of the 256-bit registers (XGETBV).
    mp_has_avx = __builtin_cpu_supports("avx") ? 1 : 0;
    mp_has_avx2 = (mp_has_avx && __builtin_cpu_supports("avx2")) ? 1 : 0;
}
