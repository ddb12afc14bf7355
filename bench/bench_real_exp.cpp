// Roots, exponential, logarithm and real power at 100, 1000 and 10013 digits:
// our functions through the guarded protocol (g = 2, as the application calls
// them) against MPFR at the matching binary precision, on the same values.
#include <mpfr.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/real.h"
#include "numlib/real_fn.h"

namespace {

struct Operands {
    Operands(i32 words, i32 digits) : m(words), x(words + 1), y(words + 1), out(words + 1) {
        mp_init();
        const auto bits = static_cast<mpfr_prec_t>(std::ceil(digits * 3.3219280948873623));
        mpfr_inits2(bits, fx, fy, fout, static_cast<mpfr_ptr>(nullptr));
        std::mt19937_64 gen(0xe4900000u + static_cast<u64>(words));
        std::string tx = "1.", ty = "0.";
        for (i32 i = 0; i < digits; ++i) {
            tx += static_cast<char>('0' + gen() % 10);
            ty += static_cast<char>('0' + gen() % 10);
        }
        mpfr_set_str(fx, tx.c_str(), 10, MPFR_RNDN);
        mpfr_set_str(fy, ty.c_str(), 10, MPFR_RNDN);
        load(x, tx, 0);
        load(y, ty, -1);
    }
    ~Operands() { mpfr_clears(fx, fy, fout, static_cast<mpfr_ptr>(nullptr)); }
    Operands(const Operands&) = delete;
    Operands& operator=(const Operands&) = delete;

    // The digits of "d.ddd" or "0.ddd" into a real with exponent e.
    void load(std::vector<u64>& v, const std::string& text, i64 e) {
        std::string d;
        for (char c : text) {
            if (c != '.') d += c;
        }
        if (d[0] == '0') d.erase(0, 1);
        v.assign(static_cast<std::size_t>(m + 1), 0);
        for (i32 i = 0; i < m; ++i) {
            u64 w = 0;
            for (i32 j = 0; j < 19; ++j) {
                const std::size_t at = static_cast<std::size_t>(19 * i + j);
                w = w * 10 + (at < d.size() ? static_cast<u64>(d[at] - '0') : 0);
            }
            v[static_cast<std::size_t>(i + 1)] = w;
        }
        real_set_header(v.data(), e, 0);
    }

    i32 m;
    std::vector<u64> x, y, out;
    mpfr_t fx, fy, fout;
};

void add_cases(const std::function<void(BenchCase)>& add, i32 digits) {
    const i32 m = (digits + 18) / 19;
    auto op = std::make_shared<Operands>(m, digits);
    const std::string d = " d=" + std::to_string(digits);
    auto unary = [op, m](RealUnaryFn fn) {
        return [op, m, fn] {
            mp_set_real_words(m);
            real_guarded_unary(op->out.data(), op->x.data(), 2, fn);
        };
    };
    add({"real_sqrt" + d, unary(real_sqrt), [op] { mpfr_sqrt(op->fout, op->fx, MPFR_RNDN); }});
    add({"real_cbrt" + d, unary(real_cbrt), [op] { mpfr_cbrt(op->fout, op->fx, MPFR_RNDN); }});
    add({"real_exp" + d, unary(real_exp), [op] { mpfr_exp(op->fout, op->fx, MPFR_RNDN); }});
    add({"real_ln" + d, unary(real_ln), [op] { mpfr_log(op->fout, op->fx, MPFR_RNDN); }});
    add({"real_pow" + d,
         [op, m] {
             mp_set_real_words(m);
             real_guarded_binary(op->out.data(), op->x.data(), op->y.data(), 2, real_pow);
         },
         [op] { mpfr_pow(op->fout, op->fx, op->fy, MPFR_RNDN); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 digits : {100, 1000, 10013}) add_cases(add, digits);
});

}  // namespace
