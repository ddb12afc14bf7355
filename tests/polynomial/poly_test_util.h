// Shared set-up of the polynomial tests: a fresh library context and error
// state per test, and builders for coefficient vectors.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>

#include "app/app_error.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"
#include "polynomial/poly.h"
#include "support/test_random.h"

class PolyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mp_context_reset();
        clearErrors();
    }
    static void use_type(i32 type, i32 words) {
        mp_num_type = type;
        type == MP_TYPE_RAT ? mp_set_int_words(words) : mp_set_real_words(words);
    }
    // Coefficients from the constant upwards.
    static void set_ints(Poly& p, std::initializer_list<i64> coefs) {
        poly_zero(p);
        i32 k = 0;
        for (i64 c : coefs) num_from_i64(p.slot(k++), c);
    }
    static u32 app_error() { return appError.load(); }

    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};
