// The quadratic sieve's last stage: dependencies among the relations by
// Gaussian elimination over GF(2), and for each a congruence of squares
// X^2 = Y^2 mod N whose gcd(X - Y, N) may split N.
#include <cstring>
#include <utility>

#include "primes/prime_qs_impl.h"

namespace qs {

namespace {

// The records of relation r (one or two).
int records_of(const State& st, int r, const Record* out[2]) {
    const Relation& rel = st.relation[r];
    if (rel.second < 0) {
        out[0] = &st.full[rel.first];
        return 1;
    }
    out[0] = &st.partial[rel.first];
    out[1] = &st.partial[rel.second];
    return 2;
}

void build_matrix(State& st, int rows) {
    for (int r = 0; r < rows; ++r) {
        u64* row = st.matrix[r];
        std::memset(row, 0, sizeof(st.matrix[r]));
        const Record* recs[2];
        const int count = records_of(st, r, recs);
        for (int k = 0; k < count; ++k) {
            for (int t = 0; t < recs[k]->terms; ++t) {
                const int col = recs[k]->index[t];
                if ((recs[k]->exponent[t] & 1) != 0) row[col / 64] ^= u64{1} << (col % 64);
            }
        }
        row[MATRIX_WORDS + r / 64] |= u64{1} << (r % 64);  // history: the row itself
    }
}

// Eliminates column by column; returns the rank. Rows from the rank on have
// no column bits left, and their history names a dependency.
int eliminate(State& st, int rows, int cols) {
    int rank = 0;
    for (int col = 0; col < cols && rank < rows; ++col) {
        const u64 bit = u64{1} << (col % 64);
        int pivot = rank;
        while (pivot < rows && (st.matrix[pivot][col / 64] & bit) == 0) ++pivot;
        if (pivot == rows) continue;
        if (pivot != rank) {
            for (int w = 0; w < 2 * MATRIX_WORDS; ++w) std::swap(st.matrix[pivot][w], st.matrix[rank][w]);
        }
        for (int r = rank + 1; r < rows; ++r) {
            if ((st.matrix[r][col / 64] & bit) == 0) continue;
            for (int w = 0; w < 2 * MATRIX_WORDS; ++w) st.matrix[r][w] ^= st.matrix[rank][w];
        }
        ++rank;
    }
    return rank;
}

// Tries the dependency in matrix row d; true with a proper factor.
bool try_dependency(const State& st, const u64* history, int rows, u128* factor) {
    const Mont128 ring(st.n);
    u32 exponent[MAX_FB] = {};
    u128 x = ring.one(), y = ring.one();
    for (int r = 0; r < rows; ++r) {
        if ((history[r / 64] >> (r % 64) & 1) == 0) continue;
        const Record* recs[2];
        const int count = records_of(st, r, recs);
        for (int k = 0; k < count; ++k) {
            x = ring.mul(x, ring.to(recs[k]->y));
            for (int t = 0; t < recs[k]->terms; ++t) exponent[recs[k]->index[t]] += recs[k]->exponent[t];
        }
        if (count == 2) y = ring.mul(y, ring.to(recs[0]->large));  // large^2 halves to large
    }
    for (int j = 1; j < st.fb_size; ++j) {
        if ((exponent[j] & 1) != 0) return false;  // cannot happen for a true dependency
        if (exponent[j] > 0) y = ring.mul(y, mont_pow(ring, ring.to(st.prime[j]), exponent[j] / 2));
    }
    const u128 xs = ring.from(x), ys = ring.from(y);
    const u128 g = gcd_u128(xs >= ys ? xs - ys : ys - xs, st.n);
    if (g <= 1 || g >= st.n) return false;
    *factor = g;
    return true;
}

}  // namespace

bool solve(State& st, u128* factor) {
    const int rows = st.relation_count;
    build_matrix(st, rows);
    const int rank = eliminate(st, rows, st.fb_size);
    for (int d = rank; d < rows; ++d) {
        if (try_dependency(st, st.matrix[d] + MATRIX_WORDS, rows, factor)) return true;
    }
    return false;
}

}  // namespace qs
