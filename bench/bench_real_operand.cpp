#include "bench/bench_real_operand.h"

#include <cmath>
#include <random>

#include "numlib/mp_context.h"

BenchReal::BenchReal(i32 m_, u64 lead, i64 exp, u64 seed, i32 digits)
    : m(m_), x(static_cast<std::size_t>(m_) + 1), out(x.size()) {
    if (digits <= 0) digits = 19 * m;
    const auto bits = static_cast<mpfr_prec_t>(std::ceil(digits * 3.3219280948873623) + 2);
    mpfr_inits2(bits, fx, fout, static_cast<mpfr_ptr>(nullptr));
    std::mt19937_64 gen(seed);
    if (lead == 0) lead = 1 + gen() % 9;
    std::string text = std::to_string(lead);
    for (i32 i = 1; i < digits; ++i) text += static_cast<char>('0' + gen() % 10);
    text.resize(static_cast<std::size_t>(19 * m), '0');
    for (i32 i = 0; i < m; ++i)
        x[static_cast<std::size_t>(i + 1)] =
            std::stoull(text.substr(static_cast<std::size_t>(19 * i), 19));
    real_set_header(x.data(), exp, 0);
    const std::string value = text.substr(0, 1) + "." + text.substr(1) + "e" + std::to_string(exp);
    mpfr_set_str(fx, value.c_str(), 10, MPFR_RNDN);
}

BenchReal::~BenchReal() {
    mpfr_clears(fx, fout, static_cast<mpfr_ptr>(nullptr));
}

std::string bench_digits_label(i32 m) {
    return " d=" + std::to_string(m == 6 ? 100 : m == 53 ? 1000 : 19 * m);
}

BenchCase bench_real_unary(const std::string& name, const std::shared_ptr<BenchReal>& op,
                           RealUnaryFn fn, i32 g, MpfrUnary ref) {
    return {name + bench_digits_label(op->m),
            [op, fn, g] {
                mp_set_real_words(op->m);
                real_guarded_unary(op->out.data(), op->x.data(), g, fn);
            },
            [op, ref] { ref(op->fout, op->fx, MPFR_RNDN); }};
}
