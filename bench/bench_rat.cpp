// Rational sums and products at n words per part against GMP's mpq_add and
// mpq_mul on the same values: random parts of n/2 words, so results fit.
#include <gmp.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/rat.h"

namespace {

struct Operands {
    explicit Operands(i32 words, bool shared) : n(words) {
        std::mt19937_64 gen(0x5eed1000u + static_cast<u64>(words));
        const i32 half = words / 2;
        for (auto* v : {&a, &b, &dst}) v->assign(static_cast<std::size_t>(2 * words + 1), 0);
        for (auto* v : {&a, &b}) {
            for (i32 i = 0; i < half; ++i) {
                (*v)[static_cast<std::size_t>(1 + i)] = gen();
                (*v)[static_cast<std::size_t>(1 + words + i)] = gen() | 1;
            }
        }
        // A common factor in the denominators makes the reduction do real work.
        if (shared) b[static_cast<std::size_t>(1 + words)] = a[static_cast<std::size_t>(1 + words)];
        mpq_inits(qa, qb, qr, nullptr);
        load(qa, a);
        load(qb, b);
        mp_set_int_words(n);
        rat_reduce(rat_num(a.data()), rat_den(a.data()));
        rat_reduce(rat_num(b.data()), rat_den(b.data()));
    }
    ~Operands() { mpq_clears(qa, qb, qr, nullptr); }
    void load(mpq_ptr q, const std::vector<u64>& x) const {
        mpz_import(mpq_numref(q), static_cast<std::size_t>(n), -1, 8, 0, 0, x.data() + 1);
        mpz_import(mpq_denref(q), static_cast<std::size_t>(n), -1, 8, 0, 0, x.data() + 1 + n);
        mpq_canonicalize(q);
    }
    i32 n;
    std::vector<u64> a, b, dst;
    mpq_t qa, qb, qr;
};

void add_cases(const std::function<void(BenchCase)>& add, i32 n, bool shared) {
    auto ops = std::make_shared<Operands>(n, shared);
    const std::string tag = " n=" + std::to_string(n) + (shared ? " shared" : "");
    add({"rat_add" + tag,
         [ops] {
             mp_set_int_words(ops->n);
             rat_add_sub(ops->dst.data(), ops->a.data(), ops->b.data(), false);
         },
         [ops] { mpq_add(ops->qr, ops->qa, ops->qb); }});
    add({"rat_mul" + tag,
         [ops] {
             mp_set_int_words(ops->n);
             rat_mul_div(ops->dst.data(), ops->a.data(), ops->b.data(), false);
         },
         [ops] { mpq_mul(ops->qr, ops->qa, ops->qb); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 n : {8, 64, 520}) {
        add_cases(add, n, false);
        add_cases(add, n, true);
    }
});

}  // namespace
