// Modular power, gcd and modular inverse against GMP on identical operands.
#include <gmp.h>

#include <memory>
#include <random>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/uint.h"

namespace {

using Words = std::vector<u64>;

Words random_words(std::mt19937_64& gen, i64 n) {
    Words w(static_cast<std::size_t>(n));
    for (auto& x : w) x = gen();
    return w;
}

using GmpRef = std::vector<__mpz_struct>;

// GMP copies of the operands and a result, cleared with the case.
struct GmpValues {
    explicit GmpValues(const std::vector<Words>& ops) : values(ops.size() + 1) {
        for (auto& v : values) mpz_init(&v);
        for (std::size_t i = 0; i < ops.size(); ++i)
            mpz_import(&values[i + 1], ops[i].size(), -1, sizeof(u64), 0, 0, ops[i].data());
    }
    ~GmpValues() {
        for (auto& v : values) mpz_clear(&v);
    }
    GmpValues(const GmpValues&) = delete;
    GmpValues& operator=(const GmpValues&) = delete;
    GmpRef values;  // [0] = result
};

bool coprime(const Words& a, const Words& b) {
    GmpValues v({a, b});
    mpz_gcd(&v.values[0], &v.values[1], &v.values[2]);
    return mpz_cmp_ui(&v.values[0], 1) == 0;
}

// A case on n-word operands: ours(dst, ops) against reference(gmp values).
template <class Ours, class Ref>
BenchCase make_case(const char* name, i64 n, std::vector<Words> ops, Ours ours, Ref ref) {
    auto data = std::make_shared<std::vector<Words>>(std::move(ops));
    auto dst = std::make_shared<Words>(static_cast<std::size_t>(n));
    auto gmp = std::make_shared<GmpValues>(*data);
    return BenchCase{name,
                     [=] {
                         mp_error = 0;
                         mp_set_int_words(static_cast<i32>(n));
                         ours(dst->data(), *data);
                     },
                     [=] { ref(gmp->values); }};
}

const BenchRegistration numtheory_cases([](std::function<void(BenchCase)> add) {
    std::mt19937_64 gen(42);
    {
        const i64 n = 65;
        auto m = random_words(gen, n);
        m[0] |= 1;
        add(make_case(
            "uint_powmod 65 words", n, {random_words(gen, n), random_words(gen, n), m},
            [](u64* dst, const std::vector<Words>& x) {
                uint_powmod(dst, x[0].data(), x[1].data(), x[2].data(), 0);
            },
            [](GmpRef& v) { mpz_powm(&v[0], &v[1], &v[2], &v[3]); }));
        m[0] &= ~u64{0} << 5;  // 2^5 times an odd part
        m[0] |= 32;
        add(make_case(
            "uint_powmod 65 words even modulus", n, {random_words(gen, n), random_words(gen, n), m},
            [](u64* dst, const std::vector<Words>& x) {
                uint_powmod(dst, x[0].data(), x[1].data(), x[2].data(), 0);
            },
            [](GmpRef& v) { mpz_powm(&v[0], &v[1], &v[2], &v[3]); }));
    }
    for (i64 n : {65, 1000}) {
        const std::string gcd_name = "uint_gcd " + std::to_string(n) + " words";
        const std::string inv_name = "uint_mulinv " + std::to_string(n) + " words";
        auto a = random_words(gen, n), b = random_words(gen, n);
        while (!coprime(a, b)) a = random_words(gen, n);
        add(make_case(
            gcd_name.c_str(), n, {a, b},
            [](u64* dst, const std::vector<Words>& x) { uint_gcd(dst, x[0].data(), x[1].data()); },
            [](GmpRef& v) { mpz_gcd(&v[0], &v[1], &v[2]); }));
        add(make_case(
            inv_name.c_str(), n, {a, b},
            [](u64* dst, const std::vector<Words>& x) {
                uint_mulinv(dst, x[0].data(), x[1].data());
            },
            [](GmpRef& v) { mpz_invert(&v[0], &v[1], &v[2]); }));
    }
});

}  // namespace
