// Pi at 100, 1000 and 10013 digits: real_special kind 100 (pi/2 from the
// constant table, doubled inside a guarded call) against MPFR's mpfr_const_pi
// with its cache freed before every call, so that both sides produce pi anew.
#include <mpfr.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/real.h"

namespace {

struct MpfrValue {
    explicit MpfrValue(mpfr_prec_t bits) { mpfr_init2(v, bits); }
    ~MpfrValue() { mpfr_clear(v); }
    MpfrValue(const MpfrValue&) = delete;
    MpfrValue& operator=(const MpfrValue&) = delete;
    mpfr_t v;
};

const BenchRegistration registration([](std::function<void(BenchCase)> add) {
    for (i32 digits : {100, 1000, 10013}) {
        const i32 words = (digits + 18) / 19;
        const auto bits = static_cast<mpfr_prec_t>(std::ceil(digits * 3.3219280948873623));
        auto out = std::make_shared<std::vector<u64>>(static_cast<std::size_t>(words + 1));
        auto ref = std::make_shared<MpfrValue>(bits);
        add(BenchCase{"real_special pi d=" + std::to_string(digits),
                      [words, out] {
                          mp_real_words = words;
                          real_special(out->data(), 100);
                      },
                      [ref] {
                          mpfr_free_cache();
                          mpfr_const_pi(ref->v, MPFR_RNDN);
                      }});
    }
});

}  // namespace
