// Shared set-up of the equations-tool tests: a fresh context, English texts
// and a request built from coefficient texts, highest first.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_error.h"
#include "app/error_message.h"
#include "app/ui_texts.h"
#include "equations/equations_page.h"
#include "numlib/mp_context.h"
#include "support/test_random.h"

struct EqCase {
    std::vector<std::u16string> coefficients;  // a_n first
    bool exact = false;
    bool real_only = true;
    i32 digits = 10;
    bool multiplicity = true;
};

class EqPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        mp_context_reset();
        clearErrors();
        ui_texts_english();
    }
    void TearDown() override {
        clearErrors();
        ui_texts_english();
        mp_context_reset();
    }

    static EqPageRequest request(const EqCase& c) {
        EqPageRequest r;
        r.coefficients = c.coefficients;
        r.exact = c.exact;
        r.real_only = c.real_only;
        r.digits = c.digits;
        r.show_multiplicity = c.multiplicity;
        return r;
    }
    // The output text of a synchronous solve; errors stay pending.
    std::u16string solve(const EqCase& c) { return eq_page_solve(run, request(c)); }
    // The message the page would show for the pending error ("" for none).
    static std::u16string message() {
        const ErrorMessage m = takeErrorMessage();
        return m.shown ? std::u16string(m.text) : std::u16string();
    }

    EqPageRun run;
    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};
