#include "support/rat_harness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <sstream>

#include "numlib/mp_error.h"
#include "support/alias_run.h"
#include "support/gmp_oracle.h"

void Mpq::set(const u64* x, i64 n) {
    Mpz num(x + 1, n), den(x + 1 + n, n);
    mpz_set(mpq_numref(q_), num);
    mpz_set(mpq_denref(q_), den);
    if (x[0] & 1) mpz_neg(mpq_numref(q_), mpq_numref(q_));
}

bool Mpq::fits(i64 n) const {
    auto bits = [](mpz_srcptr z) {
        return mpz_sgn(z) ? static_cast<i64>(mpz_sizeinbase(z, 2)) : 0;
    };
    return bits(mpq_numref(q_)) <= 64 * n && bits(mpq_denref(q_)) <= 64 * n;
}

std::vector<u64> Mpq::words(i64 n) const {
    std::vector<u64> x(static_cast<std::size_t>(2 * n + 1));
    Mpz num, den;
    mpz_abs(num, mpq_numref(q_));
    mpz_set(den, mpq_denref(q_));
    num.store(x.data() + 1, n);
    den.store(x.data() + 1 + n, n);
    x[0] = mpq_sgn(q_) < 0 ? 1 : 0;
    return x;
}

std::string Mpq::text() const {
    char* s = mpq_get_str(nullptr, 16, q_);
    std::string t = std::string("0x") + s;
    void (*release)(void*, std::size_t);
    mp_get_memory_functions(nullptr, nullptr, &release);
    release(s, std::strlen(s) + 1);
    return t;
}

namespace {

// A random positive integer of up to len words (len >= 1).
void random_part(TestRng& rng, mpz_ptr z, i64 len) {
    std::vector<u64> w(static_cast<std::size_t>(len));
    rng.fill(w.data(), len, rng.chance(30) ? len : rng.range(1, len));
    Mpz t(w.data(), len);
    mpz_set(z, t);
    if (mpz_sgn(z) == 0) mpz_set_ui(z, 1);
}

i64 random_part_len(TestRng& rng, i64 n) {
    if (rng.chance(25)) return n;
    if (rng.chance(30)) return 1;
    return rng.range(1, n);
}

// Cuts the parts of q to n words and brings it to lowest terms.
void fit(TestRng& rng, mpq_ptr q, i64 n) {
    for (mpz_ptr z : {mpq_numref(q), mpq_denref(q)})
        if (static_cast<i64>(mpz_sizeinbase(z, 2)) > 64 * n) mpz_fdiv_r_2exp(z, z, 64 * n);
    if (mpz_sgn(mpq_denref(q)) == 0) mpz_set_ui(mpq_denref(q), 1);
    mpq_canonicalize(q);
    if (rng.chance(8)) mpq_set_ui(q, 0, 1);
    if (rng.chance(40)) mpq_neg(q, q);
}

}  // namespace

std::vector<u64> random_rat(TestRng& rng, i64 n) {
    Mpq q;
    random_part(rng, q.num(), random_part_len(rng, n));
    random_part(rng, q.den(), rng.chance(15) ? 1 : random_part_len(rng, n));
    if (rng.chance(10)) mpz_set_ui(q.den(), 1);
    fit(rng, q, n);
    return q.words(n);
}

void random_rat_pair(TestRng& rng, i64 n, std::vector<u64>& a, std::vector<u64>& b) {
    if (rng.chance(40)) {
        a = random_rat(rng, n);
        b = rng.chance(10) ? a : random_rat(rng, n);
        return;
    }
    // Parts built as products around a shared factor g.
    Mpz g;
    Mpq x, y;
    const i64 lg = rng.range(1, n), rest = n - lg + 1;
    random_part(rng, g, lg);
    random_part(rng, x.num(), random_part_len(rng, rest));
    random_part(rng, x.den(), random_part_len(rng, rest));
    random_part(rng, y.num(), random_part_len(rng, rest));
    random_part(rng, y.den(), random_part_len(rng, rest));
    const bool same_den = rng.chance(30);
    mpz_mul(y.den(), same_den ? x.den() : y.den(), g);
    if (same_den) {
        mpz_set(x.den(), y.den());
    } else {
        mpz_ptr t = rng.chance(50) ? x.den() : x.num();
        mpz_mul(t, t, g);
    }
    fit(rng, x, n);
    fit(rng, y, n);
    a = x.words(n);
    b = y.words(n);
}

std::vector<i64> rat_test_word_counts(TestRng& rng) {
    return {1, 2, 3, 33, 520, rng.range(4, 12), rng.word_count(200)};
}

namespace {

// One placement of the destination (see alias_run.h).
bool run_once(const std::string& name, const RatRun& run, const std::vector<u64>& want_words,
              const RatExpect& want, const RatOperands& ops, i64 placement) {
    const i64 n = mp_int_words, size = 2 * n + 1;
    AliasRun r;
    alias_run(r, run, ops, size, placement, want.err);
    if (r.dst != want_words || r.ret != want.ret)
        r.why << "got " << words_hex(r.dst.data(), size) << " ret " << r.ret << "; ";
    std::ostringstream wanted;
    wanted << want.value.text() << " ret " << want.ret << " error " << want.err;
    return alias_report(name, n, placement, ops, size, r, wanted.str());
}

}  // namespace

bool check_rat_op(const std::string& name, const RatRun& run, const RatOracle& oracle,
                  const RatOperands& ops) {
    const i64 n = mp_int_words;
    std::deque<Mpq> values;
    std::vector<const Mpq*> ptrs;
    for (const auto& op : ops) {
        values.emplace_back(op.data(), n);
        ptrs.push_back(&values.back());
    }
    RatExpect want;
    oracle(want, ptrs);
    if (want.err == 0 && !want.value.fits(n)) want.err = MP_ERR_OVERFLOW;
    if (want.err) mpq_set_ui(want.value, 0, 1);
    const std::vector<u64> want_words = want.value.words(n);
    for (i64 mode = -1; mode <= static_cast<i64>(ops.size()); ++mode)
        if (!run_once(name, run, want_words, want, ops, mode)) return false;
    return true;
}
