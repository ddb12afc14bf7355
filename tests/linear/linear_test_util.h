// Shared set-up of the linear-system tests: a fresh context and error state
// and English texts, and exact powers of ten.
#pragma once

#include <gmpxx.h>
#include <gtest/gtest.h>

#include <cstdlib>

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

    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};

// 10^e exactly.
inline mpq_class pow10(long e) {
    mpz_class t;
    mpz_ui_pow_ui(t.get_mpz_t(), 10, static_cast<unsigned long>(std::labs(e)));
    return e < 0 ? mpq_class(1, t) : mpq_class(t);
}
