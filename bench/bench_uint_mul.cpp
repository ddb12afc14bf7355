// Full n x n word products and squares: uint_mul_full at mp_int_words = n
// against GMP's mpn_mul_n / mpn_sqr on the same operands.
#include <gmp.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/uint.h"

namespace {

struct Operands {
    explicit Operands(i32 words) : n(words), a(words), b(words), ours(2 * words), gmp(2 * words) {
        std::mt19937_64 gen(0x5eed0000u + static_cast<u64>(words));
        for (auto& w : a) w = gen();
        for (auto& w : b) w = gen();
    }
    i32 n;
    std::vector<u64> a, b, ours, gmp;
};

static_assert(sizeof(mp_limb_t) == sizeof(u64), "GMP limbs must be 64-bit words");

mp_limb_t* limbs(std::vector<u64>& v) {
    return reinterpret_cast<mp_limb_t*>(v.data());
}

void add_cases(const std::function<void(BenchCase)>& add, i32 n) {
    // Shared so the lambdas stay copyable; each case owns its operands.
    auto ops = std::make_shared<Operands>(n);
    add({"uint_mul n=" + std::to_string(n),
         [ops] {
             mp_set_int_words(ops->n);
             uint_mul_full(ops->ours.data(), ops->a.data(), ops->b.data());
         },
         [ops] { mpn_mul_n(limbs(ops->gmp), limbs(ops->a), limbs(ops->b), ops->n); }});
    add({"uint_sqr n=" + std::to_string(n),
         [ops] {
             mp_set_int_words(ops->n);
             uint_mul_full(ops->ours.data(), ops->a.data(), ops->a.data());
         },
         [ops] { mpn_sqr(limbs(ops->gmp), limbs(ops->a), ops->n); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 n : {32, 520, 1000}) add_cases(add, n);
});

}  // namespace
