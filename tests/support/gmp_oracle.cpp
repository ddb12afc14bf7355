#include "support/gmp_oracle.h"

#include <cstdlib>
#include <cstring>

#include "numlib/vec.h"

void Mpz::set(const u64* a, i64 n) {
    mpz_import(z_, static_cast<std::size_t>(n), -1, sizeof(u64), 0, 0, a);
}

void Mpz::store(u64* dst, i64 n) const {
    if (!fits(n)) std::abort();
    vec_zero(dst, n);
    std::size_t count = 0;
    mpz_export(dst, &count, -1, sizeof(u64), 0, 0, z_);
}

std::vector<u64> Mpz::words(i64 n) const {
    std::vector<u64> w(static_cast<std::size_t>(n));
    store(w.data(), n);
    return w;
}

std::string Mpz::hex() const {
    char* s = mpz_get_str(nullptr, 16, z_);
    std::string out = std::string("0x") + s;
    void (*freefunc)(void*, std::size_t);
    mp_get_memory_functions(nullptr, nullptr, &freefunc);
    freefunc(s, std::strlen(s) + 1);
    return out;
}

std::string words_hex(const u64* a, i64 n) {
    return Mpz(a, n).hex();
}
