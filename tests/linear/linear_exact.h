// Exact rational linear algebra in GMP, the reference of the solver tests:
// integer systems, their reduced row echelon form, rank and solutions.
#pragma once

#include <gmpxx.h>

#include <vector>

#include "numlib/mp_context.h"
#include "numlib/rat.h"
#include "support/gmp_oracle.h"

using IntMatrix = std::vector<std::vector<i64>>;  // n rows of n + 1 (b last)
using QMatrix = std::vector<std::vector<mpq_class>>;

inline QMatrix to_q(const IntMatrix& m) {
    QMatrix q;
    for (const auto& row : m) {
        q.emplace_back();
        for (i64 v : row) q.back().emplace_back(static_cast<long>(v));
    }
    return q;
}

// Brings the first cols columns of m to reduced row echelon form (the rest
// of each row goes along); returns the pivot columns in increasing order.
inline std::vector<i32> rref(QMatrix& m, i32 cols) {
    std::vector<i32> pivots;
    std::size_t top = 0;
    for (i32 c = 0; c < cols && top < m.size(); ++c) {
        std::size_t p = top;
        while (p < m.size() && m[p][c] == 0) ++p;
        if (p == m.size()) continue;
        std::swap(m[p], m[top]);
        const mpq_class lead = m[top][c];
        for (auto& v : m[top]) v /= lead;
        for (std::size_t r = 0; r < m.size(); ++r) {
            if (r == top || m[r][c] == 0) continue;
            const mpq_class f = m[r][c];
            for (std::size_t j = 0; j < m[r].size(); ++j) m[r][j] -= f * m[top][j];
        }
        pivots.push_back(c);
        ++top;
    }
    return pivots;
}

// Rank of the first cols columns.
inline i32 exact_rank(const IntMatrix& m, i32 cols) {
    QMatrix q = to_q(m);
    return static_cast<i32>(rref(q, cols).size());
}

// The value of a rat at the current mp_int_words.
inline mpq_class rat_value(const u64* x) {
    Mpz num(rat_num(x), mp_int_words), den(rat_den(x), mp_int_words);
    mpq_class q;
    mpz_set(q.get_num_mpz_t(), num);
    if (rat_sign(x)) q = -q;
    mpz_set(q.get_den_mpz_t(), den);
    q.canonicalize();
    return q;
}
