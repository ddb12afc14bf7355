// Real addition and the binary/decimal conversions against their GMP and
// MPFR counterparts on the same values: real_add_sub (plus the rounding with
// its spill) against mpfr_add/mpfr_sub at the matching bits; real_from_uint
// against mpz_get_str in base 10 and real_to_uint against mpz_set_str.
#include <gmp.h>
#include <mpfr.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/real.h"

namespace {

using Words = std::vector<u64>;

// A random normalised m-word real with exponent e.
Words random_real(std::mt19937_64& gen, i32 m, i64 e, int sign) {
    Words x(static_cast<std::size_t>(m) + 1);
    for (i32 i = 1; i <= m; ++i) x[static_cast<std::size_t>(i)] = gen() % REAL_BASE;
    x[1] = REAL_TOP + gen() % (REAL_BASE - REAL_TOP);
    real_set_header(x.data(), e, sign);
    return x;
}

// The decimal text of x's mantissa with its exponent, for MPFR.
std::string real_string(const Words& x, i32 m) {
    std::string s = real_sign(x.data()) ? "-0." : "0.";
    char buf[24];
    for (i32 i = 1; i <= m; ++i) {
        std::snprintf(buf, sizeof buf, "%019llu",
                      static_cast<unsigned long long>(x[static_cast<std::size_t>(i)]));
        s += buf;
    }
    return s + "e" + std::to_string(real_exp_of(x.data()) + 1);
}

struct AddOperands {
    AddOperands(i32 words, bool subtract)
        : m(words), sub(subtract), r(static_cast<std::size_t>(words) + 1) {
        std::mt19937_64 gen(0xadd0000u + static_cast<u64>(words));
        a = random_real(gen, m, 3, 0);
        b = random_real(gen, m, -4, 0);  // seven digits lower: a shift and a spill
        const auto bits = static_cast<mpfr_prec_t>(std::ceil(19.0 * m * std::log2(10.0)));
        mpfr_inits2(bits, fa, fb, fr, static_cast<mpfr_ptr>(nullptr));
        mpfr_set_str(fa, real_string(a, m).c_str(), 10, MPFR_RNDN);
        mpfr_set_str(fb, real_string(b, m).c_str(), 10, MPFR_RNDN);
    }
    ~AddOperands() { mpfr_clears(fa, fb, fr, static_cast<mpfr_ptr>(nullptr)); }
    AddOperands(const AddOperands&) = delete;
    AddOperands& operator=(const AddOperands&) = delete;
    i32 m;
    bool sub;
    Words a, b, r;
    mpfr_t fa, fb, fr;
};

void add_cases(const std::function<void(BenchCase)>& add, i32 m, bool sub) {
    auto ops = std::make_shared<AddOperands>(m, sub);
    const std::string name =
        std::string(sub ? "real_sub" : "real_add") + " d=" + std::to_string(19 * m);
    add({name,
         [ops] {
             mp_set_real_words(ops->m);
             const u64 spill = real_add_sub(ops->r.data(), ops->a.data(), ops->b.data(), ops->sub);
             real_round_guard(ops->r.data(), spill, ops->m);
         },
         [ops] {
             if (ops->sub)
                 mpfr_sub(ops->fr, ops->fa, ops->fb, MPFR_RNDN);
             else
                 mpfr_add(ops->fr, ops->fa, ops->fb, MPFR_RNDN);
         }});
}

struct ConvOperands {
    ConvOperands(i32 words, i32 count)
        : m(words), a(static_cast<std::size_t>(count)), x(static_cast<std::size_t>(words) + 1) {
        std::mt19937_64 gen(0xc0de000u + static_cast<u64>(count));
        for (u64& w : a) w = gen();
        mpz_init(z);
        mpz_import(z, a.size(), -1, sizeof(u64), 0, 0, a.data());
        text.resize(mpz_sizeinbase(z, 10) + 2);
    }
    ~ConvOperands() { mpz_clear(z); }
    ConvOperands(const ConvOperands&) = delete;
    ConvOperands& operator=(const ConvOperands&) = delete;
    i32 m;
    Words a, x;
    mpz_t z;
    std::string text;
};

void conversion_cases(const std::function<void(BenchCase)>& add, i32 m, i32 count) {
    auto ops = std::make_shared<ConvOperands>(m, count);
    const std::string size = " n=" + std::to_string(count) + " d=" + std::to_string(19 * m);
    add({"real_from_uint" + size,
         [ops] {
             mp_set_real_words(ops->m);
             real_from_uint(ops->x.data(), static_cast<i32>(ops->a.size()), ops->a.data());
         },
         [ops] { mpz_get_str(ops->text.data(), 10, ops->z); }});
    // Back to binary: the full integer of the mantissa (m words of digits).
    auto back = std::make_shared<ConvOperands>(m, count);
    mp_set_real_words(m);
    real_from_uint(back->x.data(), count, back->a.data());
    real_set_exp(back->x.data(), 19 * m - 1);
    std::string digits = real_string(back->x, m).substr(2);
    digits.resize(static_cast<std::size_t>(19 * m));
    auto text = std::make_shared<std::string>(digits);
    auto out =
        std::make_shared<Words>(static_cast<std::size_t>(count) + static_cast<std::size_t>(m));
    add({"real_to_uint d=" + std::to_string(19 * m),
         [back, out, m] {
             mp_set_real_words(m);
             real_to_uint(out->data(), static_cast<i32>(out->size()), back->x.data());
         },
         [back, text] { mpz_set_str(back->z, text->c_str(), 10); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 m : {6, 53, 527}) {
        add_cases(add, m, false);
        add_cases(add, m, true);
    }
    conversion_cases(add, 6, 2);
    conversion_cases(add, 53, 50);
    conversion_cases(add, 527, 300);
    conversion_cases(add, 527, 520);
    conversion_cases(add, 527, 2000);
    conversion_cases(add, 2, 2000);
});

}  // namespace
