// Powers of two as decimal reals at 100 and 10013 digits: real_pow2 against
// MPFR forming the same digits (2^k is exact in binary, so MPFR's cost is its
// conversion to decimal, mpfr_get_str). Exponents on both sides of the point
// where real_pow2 turns from exact digits to powering, and far ones.
#include <mpfr.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/real_fn.h"

namespace {

struct Pow2Case {
    explicit Pow2Case(i32 digits) : m((digits + 18) / 19), d(digits), out(m + 1), text(digits + 2) {
        mpfr_set_emin(mpfr_get_emin_min());
        mpfr_set_emax(mpfr_get_emax_max());
        mpfr_init2(f, 2);
    }
    ~Pow2Case() { mpfr_clear(f); }
    Pow2Case(const Pow2Case&) = delete;
    Pow2Case& operator=(const Pow2Case&) = delete;

    i32 m;
    i32 d;
    std::vector<u64> out;
    std::vector<char> text;
    mpfr_t f;
};

void add_case(const std::function<void(BenchCase)>& add, i32 digits, i64 k,
              const std::string& label) {
    auto c = std::make_shared<Pow2Case>(digits);
    add({"real_pow2 2^" + label + " d=" + std::to_string(digits),
         [c, k] {
             mp_set_real_words(c->m);
             real_pow2(c->out.data(), k);
         },
         [c, k] {
             mpfr_exp_t e;
             mpfr_set_ui_2exp(c->f, 1, k, MPFR_RNDN);
             mpfr_get_str(c->text.data(), &e, 10, static_cast<std::size_t>(c->d), c->f, MPFR_RNDN);
         }});
}

const BenchRegistration registration([](std::function<void(BenchCase)> add) {
    mp_init();
    for (const i32 digits : {100, 10013}) {
        add_case(add, digits, 1000, "1000");
        add_case(add, digits, 30000, "30000");
        add_case(add, digits, -12000, "-12000");
        add_case(add, digits, i64{1} << 40, "2^40");
        add_case(add, digits, -(i64{1} << 40), "-2^40");
        add_case(add, digits, i64{1} << 61, "2^61");
    }
});

}  // namespace
