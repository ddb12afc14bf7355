// Conversions between word vectors and GMP integers, the tests' oracle.
#pragma once

#include <gmp.h>

#include <string>
#include <vector>

#include "numlib/mp_types.h"

// RAII mpz_t.
class Mpz {
  public:
    Mpz() { mpz_init(z_); }
    explicit Mpz(const u64* a, i64 n) : Mpz() { set(a, n); }
    ~Mpz() { mpz_clear(z_); }
    Mpz(const Mpz&) = delete;
    Mpz& operator=(const Mpz&) = delete;
    mpz_ptr get() { return z_; }
    mpz_srcptr get() const { return z_; }
    operator mpz_ptr() { return z_; }
    operator mpz_srcptr() const { return z_; }

    void set(const u64* a, i64 n);
    // Bits the value needs.
    i64 bits() const { return mpz_sgn(z_) == 0 ? 0 : static_cast<i64>(mpz_sizeinbase(z_, 2)); }
    // Whether the value fits n words.
    bool fits(i64 n) const { return bits() <= 64 * n; }
    // Writes the value to {dst, n}; it must fit.
    void store(u64* dst, i64 n) const;
    std::vector<u64> words(i64 n) const;
    std::string hex() const;

  private:
    mpz_t z_;
};

// Hex text of {a, n} for failure messages.
std::string words_hex(const u64* a, i64 n);
