// The list of primes that the prime numbers worker streams: each prime
// after the first with ", " in front. Primes are gathered into pieces of up
// to a few thousand characters, so that a long listing does not cost one
// hand-over per prime; a piece goes out when it is full, when it has waited
// for a while (so a slow listing still shows each prime soon), and before
// anything else is sent.
#pragma once

#include <chrono>

#include "numlib/mp_types.h"
#include "primes/prime_decimal.h"
#include "primes/prime_output.h"

class PrimeLister {
  public:
    PrimeLister(PrimeOutputSink& sink, u32 format_flags, u32 base);
    ~PrimeLister() { flush(); }
    PrimeLister(const PrimeLister&) = delete;
    PrimeLister& operator=(const PrimeLister&) = delete;

    // A prime of mp_int_words words.
    void prime(const u64* value);
    // A prime that fits one word (the same text, made faster in base 10).
    void prime(u64 value);
    // Sends what is gathered.
    void flush();
    // Sends what is gathered when it has waited long enough.
    void flush_if_due();
    i64 count() const { return count_; }

  private:
    static constexpr int CAPACITY = 8192;
    // Makes room for chars more characters.
    void reserve(int chars);
    void separator();

    PrimeOutputSink& sink_;
    u32 flags_;
    u32 base_;
    DecimalRun decimal_;
    i64 count_ = 0;
    int length_ = 0;
    std::chrono::steady_clock::time_point since_;
    char16_t text_[CAPACITY + 1];
};
