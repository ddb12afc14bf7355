#include "support/rat_harness.h"

#include <deque>

#include "numlib/mp_error.h"
#include "support/gmp_oracle.h"

void Mpq::set(const u64* x, i64 n) {
    Mpz num(x + 1, n), den(x + 1 + n, n);
    mpz_set(mpq_numref(q_), num);
    mpz_set(mpq_denref(q_), den);
    if (x[0] & 1) mpz_neg(mpq_numref(q_), mpq_numref(q_));
}

bool Mpq::fits(i64 n) const {  // a zero part counts as 1 bit, which always fits
    const auto bits = [](mpz_srcptr z) { return static_cast<i64>(mpz_sizeinbase(z, 2)); };
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
    std::string s(mpz_sizeinbase(num(), 16) + mpz_sizeinbase(den(), 16) + 3, '\0');
    mpq_get_str(s.data(), 16, q_);
    return "0x" + std::string(s.c_str());
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

bool check_rat_op(const std::string& name, const AliasCall& run, const RatOracle& oracle,
                  const RatOperands& ops) {
    const i64 n = mp_int_words;
    std::deque<Mpq> values;
    std::vector<const Mpq*> ptrs;
    for (const auto& op : ops) ptrs.push_back(&values.emplace_back(op.data(), n));
    RatExpect want;
    oracle(want, ptrs);
    if (want.err == 0 && !want.value.fits(n)) want.err = MP_ERR_OVERFLOW;
    if (want.err) mpq_set_ui(want.value, 0, 1);
    // A failure leaves 0/1, but some rows turn a scalar result into dst.
    return check_aliasing(name, n, run, ops,
                          {want.value.words(n), want.ret, want.err, {}, {}, want.value.text()});
}
