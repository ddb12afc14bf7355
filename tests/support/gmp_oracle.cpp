#include "support/gmp_oracle.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

void Mpz::set(const u64* a, i64 n) {
    mpz_import(z_, static_cast<std::size_t>(n), -1, sizeof(u64), 0, 0, a);
}

void Mpz::store(u64* dst, i64 n) const {
    if (!fits(n)) std::abort();
    std::fill_n(dst, n, u64{0});
    mpz_export(dst, nullptr, -1, sizeof(u64), 0, 0, z_);
}

std::vector<u64> Mpz::words(i64 n) const {
    std::vector<u64> w(static_cast<std::size_t>(n));
    store(w.data(), n);
    return w;
}

std::string Mpz::hex() const {
    std::string s(mpz_sizeinbase(z_, 16) + 2, '\0');
    mpz_get_str(s.data(), 16, z_);
    return "0x" + s.substr(0, std::strlen(s.c_str()));
}

std::string words_hex(const u64* a, i64 n) {
    return Mpz(a, n).hex();
}
