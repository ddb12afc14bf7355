// Factorials, binomials and powers against GMP at the largest word count.
#include <gmp.h>

#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/uint.h"

namespace {

// Each case sets the word count it needs when it runs, since other cases
// change it.
struct Operands {
    std::vector<u64> a = std::vector<u64>(2000), b = std::vector<u64>(2000),
                     r = std::vector<u64>(2000);
    mpz_t z;
    Operands() { mpz_init(z); }
    ~Operands() { mpz_clear(z); }
};

Operands& ops() {
    static Operands o;
    return o;
}

void factorial_case(std::function<void(BenchCase)>& add, u64 v) {
    add({"uint_factorial " + std::to_string(v) + " n=2000",
         [v] {
             mp_set_int_words(2000);
             uint_set_u64(ops().a.data(), v);
             uint_factorial(ops().r.data(), ops().a.data());
         },
         [v] { mpz_fac_ui(ops().z, v); }});
}

void comb_case(std::function<void(BenchCase)>& add, u64 n, u64 k) {
    add({"uint_perm_comb C(" + std::to_string(n) + "," + std::to_string(k) + ") n=2000",
         [n, k] {
             mp_set_int_words(2000);
             uint_set_u64(ops().a.data(), n);
             uint_set_u64(ops().b.data(), k);
             uint_perm_comb(ops().r.data(), ops().a.data(), ops().b.data(), 0, false);
         },
         [n, k] { mpz_bin_uiui(ops().z, n, k); }});
}

void pow_case(std::function<void(BenchCase)>& add, u64 base, u64 e) {
    add({"uint_pow " + std::to_string(base) + "^" + std::to_string(e) + " n=2000",
         [base, e] {
             mp_set_int_words(2000);
             uint_set_u64(ops().a.data(), base);
             uint_pow(ops().r.data(), ops().a.data(), static_cast<i64>(e));
         },
         [base, e] { mpz_ui_pow_ui(ops().z, base, e); }});
}

const BenchRegistration registration([](std::function<void(BenchCase)> add) {
    factorial_case(add, 1000);
    factorial_case(add, 5000);
    factorial_case(add, 10000);
    comb_case(add, 20000, 100);
    comb_case(add, 20000, 10000);
    comb_case(add, 127980, 63990);
    pow_case(add, 3, 80000);
    pow_case(add, 12345678901234567ULL, 2000);
});

}  // namespace
