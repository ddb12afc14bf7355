// Sine and arctangent at 100, 1000 and 10,013 digits (m = 6, 53, 527), called
// the way the application does (a guarded call with g = 2), against MPFR's
// mpfr_sin and mpfr_atan at the same number of digits on the same argument.
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

class MpfrValue {
  public:
    explicit MpfrValue(mpfr_prec_t bits) { mpfr_init2(f_, bits); }
    ~MpfrValue() { mpfr_clear(f_); }
    MpfrValue(const MpfrValue&) = delete;
    MpfrValue& operator=(const MpfrValue&) = delete;
    mpfr_ptr get() { return f_; }

  private:
    mpfr_t f_;
};

// A random m-word argument with the given leading digit and exponent 0 or -1,
// and the same value for MPFR.
struct Operands {
    Operands(i32 m_, u64 lead, i64 exp, u64 seed)
        : m(m_),
          x(static_cast<std::size_t>(m_) + 1),
          out(x.size()),
          bits(static_cast<mpfr_prec_t>(std::ceil(19.0 * m_ * 3.3219280948873623) + 2)),
          mx(bits),
          mr(bits) {
        std::mt19937_64 gen(seed);
        std::string digits = std::to_string(lead);
        for (i32 i = 1; i <= m; ++i) {
            x[static_cast<std::size_t>(i)] = gen() % REAL_BASE;
            if (i == 1) x[1] = lead * REAL_TOP + x[1] % REAL_TOP;
            std::string w = std::to_string(x[static_cast<std::size_t>(i)]);
            digits += i == 1 ? w.substr(1) : std::string(19 - w.size(), '0') + w;
        }
        real_set_header(x.data(), exp, 0);
        const std::string text =
            digits.substr(0, 1) + "." + digits.substr(1) + "e" + std::to_string(exp);
        mpfr_set_str(mx.get(), text.c_str(), 10, MPFR_RNDN);
    }
    i32 m;
    std::vector<u64> x, out;
    mpfr_prec_t bits;
    MpfrValue mx, mr;
};

void add_cases(const std::function<void(BenchCase)>& add, i32 m) {
    const std::string d = " d=" + std::to_string(m == 6 ? 100 : m == 53 ? 1000 : 19 * m);
    auto s = std::make_shared<Operands>(m, 1, 0, 0x5e1u + static_cast<u64>(m));
    add({"real_sin" + d,
         [s] {
             mp_set_real_words(s->m);
             real_guarded_unary(s->out.data(), s->x.data(), 2, real_sin);
         },
         [s] { mpfr_sin(s->mr.get(), s->mx.get(), MPFR_RNDN); }});
    auto a = std::make_shared<Operands>(m, 7, -1, 0xa7a4u + static_cast<u64>(m));
    add({"real_atan" + d,
         [a] {
             mp_set_real_words(a->m);
             real_guarded_unary(a->out.data(), a->x.data(), 2, real_atan);
         },
         [a] { mpfr_atan(a->mr.get(), a->mx.get(), MPFR_RNDN); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 m : {6, 53, 527}) add_cases(add, m);
});

}  // namespace
