// Real products, quotients and reciprocals at about 100, 1000 and 10,013
// digits (m = 6, 53 and 527 words) against MPFR's mpfr_mul, mpfr_div and
// mpfr_ui_div at the matching binary precision, ceil(19 m log2(10)) bits, on
// the same values.
#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/real.h"

namespace {

struct Operands {
    explicit Operands(i32 words) : m(words), a(words + 1), b(words + 1), ours(words + 1) {
        std::mt19937_64 gen(0x5eed1000u + static_cast<u64>(words));
        auto fill = [&](std::vector<u64>& x, i64 e) {
            for (auto& w : x) w = gen() % REAL_BASE;
            x[1] = REAL_TOP + gen() % (REAL_BASE - REAL_TOP);
            real_set_header(x.data(), e, 0);
        };
        fill(a, 3);
        fill(b, -2);
        const auto bits = static_cast<mpfr_prec_t>(std::ceil(19.0 * words * std::log2(10.0)));
        mpfr_inits2(bits, fa, fb, fr, static_cast<mpfr_ptr>(nullptr));
        // The same digits: a = mantissa words read as a decimal fraction.
        to_mpfr(fa, a);
        to_mpfr(fb, b);
    }
    ~Operands() { mpfr_clears(fa, fb, fr, static_cast<mpfr_ptr>(nullptr)); }
    Operands(const Operands&) = delete;
    Operands& operator=(const Operands&) = delete;

    void to_mpfr(mpfr_ptr out, const std::vector<u64>& x) {
        // "0.<19m digits>e<e + 1>": the mantissa words are below 10^19.
        std::string s = "0.";
        char word[24];
        for (i32 i = 1; i <= m; ++i) {
            std::snprintf(word, sizeof word, "%019llu",
                          static_cast<unsigned long long>(x[static_cast<std::size_t>(i)]));
            s.append(word);
        }
        std::snprintf(word, sizeof word, "e%lld",
                      static_cast<long long>(real_exp_of(x.data()) + 1));
        s.append(word);
        mpfr_set_str(out, s.c_str(), 10, MPFR_RNDN);
    }

    i32 m;
    std::vector<u64> a, b, ours;
    mpfr_t fa, fb, fr;
};

void add_cases(const std::function<void(BenchCase)>& add, i32 m, const char* digits) {
    auto ops = std::make_shared<Operands>(m);
    add({std::string("real_mul d=") + digits,
         [ops] {
             mp_set_real_words(ops->m);
             real_mul(ops->ours.data(), ops->a.data(), ops->b.data());
         },
         [ops] { mpfr_mul(ops->fr, ops->fa, ops->fb, MPFR_RNDN); }});
    add({std::string("real_div d=") + digits,
         [ops] {
             mp_set_real_words(ops->m);
             real_div(ops->ours.data(), ops->a.data(), ops->b.data());
         },
         [ops] { mpfr_div(ops->fr, ops->fa, ops->fb, MPFR_RNDN); }});
    add({std::string("real_recip d=") + digits,
         [ops] {
             mp_set_real_words(ops->m);
             real_recip(ops->ours.data(), ops->b.data());
         },
         [ops] { mpfr_ui_div(ops->fr, 1, ops->fb, MPFR_RNDN); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    add_cases(add, 6, "100");
    add_cases(add, 53, "1000");
    add_cases(add, 527, "10013");
});

}  // namespace
