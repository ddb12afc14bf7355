// Base fixture of the number-library tests: a fresh library context per test,
// a seeded generator, and the seed in the trace of every failure.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "numlib/mp_context.h"
#include "support/test_random.h"

class NumlibTest : public ::testing::Test {
  protected:
    void SetUp() override { mp_context_reset(); }
    void TearDown() override { mp_context_reset(); }

    // An n-word value, zero.
    static std::vector<u64> words(i64 n) { return std::vector<u64>(static_cast<std::size_t>(n)); }

    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};
