// The quadratic sieve's sieving and relation collection.
#include "primes/prime_qs.h"

#include <algorithm>
#include <cstring>

#include "numlib/mp_context.h"
#include "numlib/mp_scratch.h"
#include "primes/prime_qs_impl.h"
#include "primes/prime_test.h"

namespace qs {

namespace {

constexpr i64 HALF = SIEVE_BYTES / 2;

bool add_term(Record& rec, int index, u32 exponent) {
    if (rec.terms == MAX_TERMS) return false;
    rec.index[rec.terms] = static_cast<std::uint16_t>(index);
    rec.exponent[rec.terms] = static_cast<u8>(exponent);
    ++rec.terms;
    return true;
}

// Divides v by p as often as it goes.
u32 divide_out(u128& v, u32 p) {
    u32 e = 0;
    while (v % p == 0) {
        v /= p;
        ++e;
    }
    return e;
}

// Factors A Q(x) for the sieve position i over the factor base; false when
// it leaves more than one large prime.
bool factor_candidate(const State& st, int i, Record& rec, u128& rest) {
    const i128 x = i - HALF;
    const i128 q = static_cast<i128>(st.a) * x * x + 2 * static_cast<i128>(st.b) * x + st.c;
    if (q == 0) return false;
    rec.terms = 0;
    u128 v = static_cast<u128>(q < 0 ? -q : q);
    if (q < 0) add_term(rec, 0, 1);
    u32 twos = 0;
    while ((v & 1) == 0) v >>= 1, ++twos;
    if (twos > 0) add_term(rec, 1, twos);
    for (int j = 2; j < st.fb_size; ++j) {
        const u32 p = st.prime[j];
        u32 e = 0;
        if (st.in_a[j]) {
            e = 1 + divide_out(v, p);
        } else if (j < st.small_skip) {
            e = divide_out(v, p);
        } else {
            const u32 r = static_cast<u32>(i) - p * static_cast<u32>((u64{static_cast<u32>(i)} * st.recip[j]) >> 32);
            if (r == st.soln1[j] || r == st.soln2[j]) e = divide_out(v, p);
        }
        if (e > 0 && !add_term(rec, j, e)) return false;
    }
    rest = v;
    const i128 y = static_cast<i128>(st.a) * x + st.b;
    rec.y = static_cast<u128>(y < 0 ? -y : y) % st.n;
    return true;
}

void add_partial(State& st, const Record& rec) {
    if (st.partial_count == MAX_PARTIALS || st.relation_count == MAX_RELATIONS) return;
    const int index = st.partial_count++;
    st.partial[index] = rec;
    u64 h = (rec.large * 0x9E3779B97F4A7C15ull) >> (64 - 14);
    while (st.partial_hash[h] >= 0) {
        const int other = st.partial_hash[h];
        if (st.partial[other].large == rec.large) {
            st.relation[st.relation_count++] = Relation{other, index};
            return;
        }
        h = (h + 1) & (PARTIAL_HASH - 1);
    }
    st.partial_hash[h] = index;
}

void keep(State& st, const Record& rec) {
    if (rec.large != 1) {
        add_partial(st, rec);
        return;
    }
    if (st.relation_count == MAX_RELATIONS || st.full_count == MAX_RELATIONS) return;
    st.full[st.full_count] = rec;
    st.relation[st.relation_count++] = Relation{st.full_count++, -1};
}

void sieve_polynomial(State& st) {
    std::memset(st.sieve, 128 - st.threshold, SIEVE_BYTES);
    for (int j = st.small_skip; j < st.fb_size; ++j) {
        if (st.in_a[j]) continue;
        const u32 p = st.prime[j];
        const u8 lp = st.logp[j];
        u8* sieve = st.sieve;
        for (u32 i = st.soln1[j]; i < SIEVE_BYTES; i += p) sieve[i] += lp;
        if (st.soln2[j] == st.soln1[j]) continue;
        for (u32 i = st.soln2[j]; i < SIEVE_BYTES; i += p) sieve[i] += lp;
    }
    for (int w = 0; w < SIEVE_BYTES / 8; ++w) {
        u64 word;
        std::memcpy(&word, st.sieve + 8 * w, 8);
        if ((word & 0x8080808080808080ull) == 0) continue;
        for (int i = 8 * w; i < 8 * w + 8; ++i) {
            if ((st.sieve[i] & 0x80) == 0) continue;
            Record rec;
            u128 rest = 0;
            if (!factor_candidate(st, i, rec, rest)) continue;
            if (rest >= st.large_bound) continue;
            rec.large = static_cast<u64>(rest);
            keep(st, rec);
        }
    }
}

// Relations until enough are found: Stopped, Failed (no new A) or Found (enough).
QsResult collect(State& st) {
    while (st.relation_count < st.relations_wanted) {
        if (!first_polynomial(st)) return QsResult::Failed;
        for (int i = 0; i < (1 << (st.s - 1)); ++i) {
            if (i > 0) next_polynomial(st, i);
            if (prime_stop_requested()) return QsResult::Stopped;
            sieve_polynomial(st);
            if (st.relation_count >= st.relations_wanted) break;
        }
    }
    return QsResult::Found;
}

}  // namespace

}  // namespace qs

QsResult qs_find_factor(u128 n, u128* factor) {
    const std::size_t words = sizeof(qs::State) / 8 + 1;
    if (mp_scratch_top == nullptr ||
        static_cast<std::size_t>(mp_scratch_end - mp_scratch_top) / 8 < words) {
        return QsResult::Failed;  // no room: the caller falls back to rho
    }
    ScratchMark mark;
    auto* st = reinterpret_cast<qs::State*>(mark.take(words));
    // A run that finds no split (rare) is repeated with other polynomials
    // and a larger factor base.
    for (int attempt = 0; attempt < 3; ++attempt) {
        *factor = 0;
        if (!qs::setup(*st, n, attempt, factor)) return *factor > 1 ? QsResult::Found : QsResult::Failed;
        for (int round = 0; round < 4; ++round) {
            const QsResult r = qs::collect(*st);
            if (r == QsResult::Stopped) return r;
            if (r == QsResult::Failed) break;
            if (qs::solve(*st, factor)) return QsResult::Found;
            st->relations_wanted = std::min(qs::MAX_RELATIONS, st->relations_wanted + 10);
            if (st->relation_count >= qs::MAX_RELATIONS) break;
        }
    }
    return QsResult::Failed;
}
