// Inverse hyperbolic sine and the factorial at 100, 1000 and 10,013 digits
// (m = 6, 53, 527), called as the application does (guarded, g = 2 for asinh,
// g = 19 for the factorial), against mpfr_asinh and mpfr_fac_ui at the same
// number of digits.
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

// A random m-word argument lead.ddd... (1 <= lead <= 9), and the same value
// for MPFR.
struct Operands {
    Operands(i32 m_, u64 lead, u64 seed)
        : m(m_),
          x(static_cast<std::size_t>(m_) + 1),
          out(x.size()),
          bits(static_cast<mpfr_prec_t>(std::ceil(19.0 * m_ * 3.3219280948873623) + 2)),
          mx(bits),
          mr(bits) {
        std::mt19937_64 gen(seed);
        std::string digits;
        for (i32 i = 1; i <= m; ++i) {
            u64 w = gen() % REAL_BASE;
            if (i == 1) w = lead * REAL_TOP + w % REAL_TOP;
            x[static_cast<std::size_t>(i)] = w;
            const std::string t = std::to_string(w);
            digits += std::string(19 - t.size(), '0') + t;
        }
        real_set_header(x.data(), 0, 0);
        const std::string text = digits.substr(0, 1) + "." + digits.substr(1);
        mpfr_set_str(mx.get(), text.c_str(), 10, MPFR_RNDN);
    }
    i32 m;
    std::vector<u64> x, out;
    mpfr_prec_t bits;
    MpfrValue mx, mr;
};

void add_cases(const std::function<void(BenchCase)>& add, i32 m) {
    const std::string d = " d=" + std::to_string(m == 6 ? 100 : m == 53 ? 1000 : 19 * m);
    auto a = std::make_shared<Operands>(m, 3, 0xa51au + static_cast<u64>(m));
    add({"real_asinh" + d,
         [a] {
             mp_set_real_words(a->m);
             real_guarded_unary(a->out.data(), a->x.data(), 2, real_asinh);
         },
         [a] { mpfr_asinh(a->mr.get(), a->mx.get(), MPFR_RNDN); }});
    auto f = std::make_shared<Operands>(m, 1, 0);
    mp_set_real_words(m);
    real_from_i64(f->x.data(), 1000);
    add({"real_factorial(1000)" + d,
         [f] {
             mp_set_real_words(f->m);
             real_guarded_unary(f->out.data(), f->x.data(), 19, real_factorial);
         },
         [f] { mpfr_fac_ui(f->mr.get(), 1000, MPFR_RNDN); }});
}

const BenchRegistration registration([](std::function<void(BenchCase)> add) {
    for (i32 m : {6, 53, 527}) add_cases(add, m);
});

}  // namespace
