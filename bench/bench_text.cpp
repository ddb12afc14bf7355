// Number text against GMP and MPFR on the same values: printing and parsing
// reals (against mpfr_get_str / mpfr_set_str at the matching bits) and
// decimal integers (against mpz_get_str / mpz_set_str).
#include <gmp.h>
#include <mpfr.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_harness.h"
#include "numlib/mp_context.h"
#include "numlib/num_text.h"
#include "numlib/real.h"

namespace {

using Words = std::vector<u64>;

struct RealText {
    explicit RealText(i32 words) : m(words), x(static_cast<std::size_t>(words) + 1), y(x.size()) {
        std::mt19937_64 gen(0x7e57u + static_cast<u64>(words));
        for (std::size_t i = 1; i < x.size(); ++i) x[i] = gen() % REAL_BASE;
        x[1] = REAL_TOP + gen() % (REAL_BASE - REAL_TOP);
        real_set_header(x.data(), 5, 1);
        buf.resize(num_text_capacity(m, MP_TYPE_REAL) + 1);
        mp_set_real_words(m);
        const i32 len = real_to_text(buf.data(), static_cast<i32>(buf.size() - 1), x.data(),
                                     NUM_TEXT_EXP_ALWAYS | NUM_TEXT_TERMINATE);
        text.assign(buf.data(), static_cast<std::size_t>(len));
        ascii.assign(text.begin(), text.end());
        const auto bits = static_cast<mpfr_prec_t>(std::ceil(19.0 * m * std::log2(10.0)));
        mpfr_init2(f, bits);
        mpfr_set_str(f, ascii.c_str(), 10, MPFR_RNDN);
    }
    ~RealText() { mpfr_clear(f); }
    RealText(const RealText&) = delete;
    RealText& operator=(const RealText&) = delete;
    i32 m;
    Words x, y;
    std::vector<char16_t> buf;
    std::u16string text;
    std::string ascii;
    mpfr_t f;
};

void real_cases(const std::function<void(BenchCase)>& add, i32 m) {
    auto d = std::make_shared<RealText>(m);
    const std::string size = " d=" + std::to_string(19 * m);
    add({"real_to_text" + size,
         [d] {
             mp_set_real_words(d->m);
             real_to_text(d->buf.data(), static_cast<i32>(d->buf.size() - 1), d->x.data(),
                          NUM_TEXT_EXP_ALWAYS | NUM_TEXT_TERMINATE);
         },
         [d] {
             mpfr_exp_t e;
             char* s = mpfr_get_str(nullptr, &e, 10, static_cast<std::size_t>(19 * d->m), d->f,
                                    MPFR_RNDN);
             mpfr_free_str(s);
         }});
    add({"real_from_text" + size,
         [d] {
             mp_set_real_words(d->m);
             real_from_text(d->y.data(), d->text.data(), static_cast<i32>(d->text.size()), 0);
         },
         [d] { mpfr_set_str(d->f, d->ascii.c_str(), 10, MPFR_RNDN); }});
}

struct UintText {
    explicit UintText(i32 words) : n(words), a(static_cast<std::size_t>(words)), b(a.size()) {
        std::mt19937_64 gen(0x7e58u + static_cast<u64>(words));
        for (u64& w : a) w = gen();
        mpz_init(z);
        mpz_import(z, a.size(), -1, sizeof(u64), 0, 0, a.data());
        ascii.resize(mpz_sizeinbase(z, 10) + 2);
        mpz_get_str(ascii.data(), 10, z);
        ascii.resize(ascii.find('\0'));
        text.assign(ascii.begin(), ascii.end());
        buf.resize(num_text_capacity(n, MP_TYPE_UINT) + 1);
    }
    ~UintText() { mpz_clear(z); }
    UintText(const UintText&) = delete;
    UintText& operator=(const UintText&) = delete;
    i32 n;
    Words a, b;
    mpz_t z;
    std::string ascii;
    std::u16string text;
    std::vector<char16_t> buf;
};

void uint_cases(const std::function<void(BenchCase)>& add, i32 n) {
    auto d = std::make_shared<UintText>(n);
    const std::string size = " n=" + std::to_string(n);
    add({"uint_to_text base 10" + size,
         [d] {
             mp_set_int_words(d->n);
             uint_to_text(d->buf.data(), static_cast<i32>(d->buf.size() - 1), d->a.data(),
                          NUM_TEXT_TERMINATE, 10);
         },
         [d] { mpz_get_str(d->ascii.data(), 10, d->z); }});
    add({"uint_from_text base 10" + size,
         [d] {
             mp_set_int_words(d->n);
             uint_from_text(d->b.data(), d->text.data(), static_cast<i32>(d->text.size()), 0, 10);
         },
         [d] { mpz_set_str(d->z, d->ascii.c_str(), 10); }});
}

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    for (i32 m : {1, 53, 527}) real_cases(add, m);
    for (i32 n : {2, 65, 2000}) uint_cases(add, n);
});

}  // namespace
