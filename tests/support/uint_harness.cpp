#include "support/uint_harness.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "numlib/mp_error.h"
#include "support/alias_run.h"

void UintExpect::fail(i32 code) {
    mpz_set_ui(value, 0);
    err = code;
    ret = 0;
}

void UintExpect::fail_unless_fits() {
    if (!value.fits(n)) fail(MP_ERR_OVERFLOW);
}

namespace {

// One placement of the destination (see alias_run.h).
bool run_once(const std::string& name, const UintRun& run, const UintExpect& want,
              const UintOperands& ops, i64 placement) {
    const i64 n = want.n;
    AliasRun r;
    alias_run(
        r,
        [&](u64* dst, const std::vector<const u64*>& p) { return static_cast<i64>(run(dst, p)); },
        ops, n, placement, want.err);
    const Mpz got(r.dst.data(), n);
    const u64 ret = static_cast<u64>(r.ret);
    const bool exact = mpz_cmp(got, want.value) == 0 && ret == want.ret;
    if (!exact && !(r.pending && got.bits() == 0))
        r.why << "got " << got.hex() << " ret " << ret << "; ";
    std::ostringstream wanted;
    wanted << want.value.hex() << " ret " << want.ret << " error " << want.err;
    return alias_report(name, n, placement, ops, n, r, wanted.str());
}

}  // namespace

bool check_uint_op(const std::string& name, const UintRun& run, const UintOracle& oracle,
                   const UintOperands& ops) {
    const i64 n = mp_int_words;
    std::deque<Mpz> values;
    std::vector<const Mpz*> ptrs;
    for (const auto& op : ops) {
        values.emplace_back(op.data(), n);
        ptrs.push_back(&values.back());
    }
    UintExpect want(n);
    oracle(want, ptrs);
    for (i64 mode = -1; mode <= static_cast<i64>(ops.size()); ++mode)
        if (!run_once(name, run, want, ops, mode)) return false;
    return true;
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
