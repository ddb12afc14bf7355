// Division of a 2n-word value by an n-word one, and the square root of a
// 2n-word value: uint_divmod and uint_sqrt at mp_int_words = 2n against
// GMP's mpz_tdiv_qr and mpz_sqrtrem (the root's exactness needs the
// remainder) on the same operands.
#include <gmp.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/uint.h"

namespace {

class MpzValue {
  public:
    MpzValue() { mpz_init(z_); }
    ~MpzValue() { mpz_clear(z_); }
    MpzValue(const MpzValue&) = delete;
    MpzValue& operator=(const MpzValue&) = delete;
    void set(const std::vector<u64>& w) {
        mpz_import(z_, w.size(), -1, sizeof(u64), 0, 0, w.data());
    }
    mpz_ptr get() { return z_; }

  private:
    mpz_t z_;
};

struct Operands {
    explicit Operands(i32 half) : n(2 * half), a(2 * half), b(2 * half), q(2 * half), r(2 * half) {
        std::mt19937_64 gen(0xd1e0000u + static_cast<u64>(half));
        for (auto& w : a) w = gen();
        for (i32 i = 0; i < half; ++i) b[i] = gen();
        za.set(a);
        zb.set(b);
    }
    i32 n;  // the word count: twice the divisor's
    std::vector<u64> a, b, q, r;
    MpzValue za, zb, zq, zr;
};

void add_cases(const std::function<void(BenchCase)>& add, i32 half) {
    auto ops = std::make_shared<Operands>(half);
    add({"uint_divmod 2n/n n=" + std::to_string(half),
         [ops] {
             mp_set_int_words(ops->n);
             uint_divmod(ops->q.data(), ops->r.data(), ops->a.data(), ops->b.data());
         },
         [ops] { mpz_tdiv_qr(ops->zq.get(), ops->zr.get(), ops->za.get(), ops->zb.get()); }});
    add({"uint_sqrt 2n n=" + std::to_string(half),
         [ops] {
             mp_set_int_words(ops->n);
             uint_sqrt(ops->q.data(), ops->a.data());
         },
         [ops] { mpz_sqrtrem(ops->zq.get(), ops->zr.get(), ops->za.get()); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 half : {32, 520, 1000}) add_cases(add, half);
});

}  // namespace
