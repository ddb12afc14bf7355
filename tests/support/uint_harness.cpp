#include "support/uint_harness.h"

#include <deque>

#include "numlib/mp_error.h"

void UintExpect::fail(i32 code) {
    mpz_set_ui(value, 0);
    err = code;
    ret = 0;
}

void UintExpect::fail_unless_fits() {
    if (!value.fits(n)) fail(MP_ERR_OVERFLOW);
}

bool check_uint_op(const std::string& name, const AliasCall& run, const UintOracle& oracle,
                   const UintOperands& ops) {
    const i64 n = mp_int_words;
    std::deque<Mpz> values;
    std::vector<const Mpz*> ptrs;
    for (const auto& op : ops) ptrs.push_back(&values.emplace_back(op.data(), n));
    UintExpect want(n);
    oracle(want, ptrs);
    const std::vector<u64> zero(static_cast<std::size_t>(n));
    return check_aliasing(
        name, n, run, ops,
        {want.value.words(n), static_cast<i64>(want.ret), want.err, zero, zero, want.value.hex()});
}

i64 random_len(TestRng& rng, i64 n) {
    const i64 pick = rng.range(0, 19);
    if (pick == 0) return 0;
    if (pick <= 5) return n;
    return rng.word_count(n);
}

std::vector<u64> random_operand(TestRng& rng, i64 n, i64 len) {
    std::vector<u64> a(static_cast<std::size_t>(n));
    rng.fill(a.data(), n, len);
    return a;
}

std::vector<u64> near_operand(TestRng& rng, const std::vector<u64>& a) {
    std::vector<u64> b = a;
    if (b.empty() || rng.chance(30)) return b;
    const std::size_t i = static_cast<std::size_t>(rng.range(0, static_cast<i64>(b.size()) - 1));
    b[i] += rng.chance(50) ? 1 : ~u64{0};
    return b;
}
