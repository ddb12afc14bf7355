#include "support/uint_harness.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "numlib/mp_error.h"

void UintExpect::fail(i32 code) {
    mpz_set_ui(value, 0);
    err = code;
    ret = 0;
}

void UintExpect::fail_unless_fits() {
    if (!value.fits(n)) fail(MP_ERR_OVERFLOW);
}

namespace {

constexpr u64 kGuard = 0x6a09e667f3bcc908ULL;
constexpr u64 kStale = 0xdeadbeefcafef00dULL;  // what a destination holds before the call
constexpr i64 kPad = 2;                        // guard words on each side of an array

// An n-word array between guard words.
struct Guarded {
    std::vector<u64> words;
    Guarded(const u64* src, i64 n) : words(static_cast<std::size_t>(n + 2 * kPad), kGuard) {
        for (i64 i = 0; i < n; ++i)
            words[static_cast<std::size_t>(kPad + i)] = src ? src[i] : kStale;
    }
    u64* data() { return words.data() + kPad; }
    bool guards_intact() const {
        const std::size_t size = words.size();
        for (std::size_t i = 0; i < static_cast<std::size_t>(kPad); ++i)
            if (words[i] != kGuard || words[size - 1 - i] != kGuard) return false;
        return true;
    }
};

std::string dst_text(i64 mode, std::size_t count) {
    if (mode < 0) return "apart";
    if (static_cast<std::size_t>(mode) == count) return "apart, error 13 pending";
    return "operand " + std::to_string(mode);
}

// One run: mode -1 = destination apart, 0..k-1 = destination is that
// operand, k = destination apart with error 13 pending.
bool run_once(const std::string& name, const UintRun& run, const UintExpect& want,
              const UintOperands& ops, i64 mode) {
    const i64 n = want.n;
    const std::size_t k = ops.size();
    const bool pending = static_cast<std::size_t>(mode) == k;
    std::deque<Guarded> arrays;
    for (const auto& op : ops) arrays.emplace_back(op.data(), n);
    arrays.emplace_back(nullptr, n);
    std::vector<const u64*> ptrs;
    for (std::size_t i = 0; i < k; ++i) ptrs.push_back(arrays[i].data());
    u64* dst =
        mode >= 0 && !pending ? arrays[static_cast<std::size_t>(mode)].data() : arrays[k].data();

    mp_error = pending ? MP_ERR_DIV_ZERO : 0;
    u8* const top = mp_scratch_top;
    const u64 ret = run(dst, ptrs);
    const i32 err = mp_err();
    mp_error = 0;

    const Mpz got(dst, n);
    const bool exact = mpz_cmp(got, want.value) == 0 && ret == want.ret;
    std::ostringstream why;
    if (mp_scratch_top != top) why << "scratch top moved; ";
    for (std::size_t i = 0; i <= k; ++i)
        if (!arrays[i].guards_intact()) why << "guard words of array " << i << " overwritten; ";
    for (std::size_t i = 0; i < k; ++i)
        if (ptrs[i] != dst && std::vector<u64>(ptrs[i], ptrs[i] + n) != ops[i])
            why << "operand " << i << " changed; ";
    if (err != (pending ? MP_ERR_DIV_ZERO : want.err)) why << "error " << err << "; ";
    if (!exact && !(pending && got.bits() == 0))
        why << "got " << got.hex() << " ret " << ret << "; ";
    if (why.str().empty()) return true;

    std::ostringstream msg;
    msg << name << " n=" << n << " dst " << dst_text(mode, k) << ": " << why.str() << "want "
        << want.value.hex() << " ret " << want.ret << " error " << want.err;
    for (std::size_t i = 0; i < k; ++i)
        msg << "\n  operand " << i << " = " << words_hex(ops[i].data(), n);
    ADD_FAILURE() << msg.str();
    return false;
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
