// Shared set-up of the linear-system tests: a fresh context and error state
// and English texts, exact powers of ten, and FLINT's exact solution family.
#pragma once

#include <flint/fmpq_mat.h>
#include <gmpxx.h>
#include <gtest/gtest.h>

#include <cstdlib>
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

    TestRng rng;
    ::testing::ScopedTrace seed_trace{__FILE__, __LINE__, test_seed_text()};
};

// 10^e exactly.
inline mpq_class pow10(long e) {
    mpz_class t;
    mpz_ui_pow_ui(t.get_mpz_t(), 10, static_cast<unsigned long>(std::labs(e)));
    return e < 0 ? mpq_class(1, t) : mpq_class(t);
}

using QMatrix = std::vector<std::vector<mpq_class>>;  // n rows of n + 1, b last

// The exact solution of m from FLINT's reduced row echelon form, in the
// solver's form: for unknown j, slot 0 and the slot of each free unknown
// (slot P + 1 - q for the q-th of P); empty when m is inconsistent.
// is_free[j] says whether unknown j is free.
inline QMatrix echelon_family(const QMatrix& m, std::vector<bool>& is_free) {
    const slong n = static_cast<slong>(m.size());
    fmpq_mat_t a;
    fmpq_mat_init(a, n, n + 1);
    for (slong i = 0; i < n; ++i)
        for (slong j = 0; j <= n; ++j) fmpq_set_mpq(fmpq_mat_entry(a, i, j), m[i][j].get_mpq_t());
    const slong rank = fmpq_mat_rref(a, a);
    std::vector<slong> pivot(n, -1);  // the row of each pivot column
    bool consistent = true;
    for (slong r = 0; r < rank; ++r) {
        slong c = 0;
        while (fmpq_is_zero(fmpq_mat_entry(a, r, c))) ++c;
        if (c == n)
            consistent = false;
        else
            pivot[c] = r;
    }
    QMatrix x;
    is_free.assign(n, false);
    for (slong j = 0; j < n; ++j) is_free[j] = pivot[j] < 0;
    const auto value = [&](slong r, slong c) {
        mpq_class v;
        fmpq_get_mpq(v.get_mpq_t(), fmpq_mat_entry(a, r, c));
        return v;
    };
    if (consistent) {
        std::vector<slong> slot(n, 0);
        const slong params = n - rank;
        for (slong j = 0, q = 0; j < n; ++j)
            if (is_free[j]) slot[j] = params - q++;
        x.assign(n, std::vector<mpq_class>(params + 1));
        for (slong j = 0; j < n; ++j) {
            if (is_free[j]) {
                x[j][slot[j]] = 1;
                continue;
            }
            x[j][0] = value(pivot[j], n);
            for (slong f = 0; f < n; ++f)
                if (is_free[f]) x[j][slot[f]] = -value(pivot[j], f);
        }
    }
    fmpq_mat_clear(a);
    return x;
}
