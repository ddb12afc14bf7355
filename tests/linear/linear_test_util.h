// Shared set-up of the linear-system tests: a fresh context and error state
// and English texts.
#pragma once

#include <gtest/gtest.h>

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
