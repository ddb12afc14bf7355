// Shared set-up of the linear-system tests: a fresh context and error state,
// English texts, and an owned system with room for its solution.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "app/app_error.h"
#include "app/ui_texts.h"
#include "linear/linear_page.h"
#include "numlib/mp_context.h"
#include "support/test_random.h"

class LinearTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mp_context_reset();
        clearErrors();
        ui_texts_english();
    }
    void TearDown() override {
        clearErrors();
        mp_context_reset();
    }

    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};

// A system of n equations at the context linear_set_context(type, digits)
// set, with its solution record pointing at owned storage.
struct OwnedSystem {
    OwnedSystem(i32 n, i32 type, i32 digits) {
        const u32 flags = linear_set_context(type, digits);
        words = num_size_bytes(0, type) / 8;
        const auto size = static_cast<std::size_t>(n * (n + 1) * words);
        values.assign(size, 0);
        slots.assign(size, 0);
        sys.n = sol.count = n;
        sys.type = sol.type = type;
        sys.value_bytes = sol.value_bytes = words * 8;
        sys.real_words = sol.real_words = mp_real_words;
        sys.int_words = sol.int_words = mp_int_words;
        sol.digits = digits;
        sol.format_flags = flags;
        for (i32 i = 0; i < n; ++i) {
            sys.rows[i] = values.data() + i * (n + 1) * words;
            sol.x[i] = slots.data() + i * (n + 1) * words;
        }
        original = sys;
    }
    // Value j of row i in the original row order.
    u64* a(i32 i, i32 j) { return original.rows[i] + j * words; }
    u64* x(i32 i, i32 s) { return sol.x[i] + s * words; }

    i64 words = 0;
    std::vector<u64> values, slots;
    linear_system sys, original;
    linear_solution sol;
};
