#include "support/alias_run.h"

#include <gtest/gtest.h>

#include <deque>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "support/gmp_oracle.h"

namespace {

constexpr u64 kGuard = 0x6a09e667f3bcc908ULL;
constexpr u64 kStale = 0xdeadbeefcafef00dULL;  // what a destination holds before the call
constexpr i64 kPad = 2;                        // guard words on each side of an array

// An array of `size` words between guard words.
struct Guarded {
    std::vector<u64> words;
    Guarded(const u64* src, i64 size) : words(static_cast<std::size_t>(size + 2 * kPad), kGuard) {
        for (i64 i = 0; i < size; ++i)
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

std::string placement_text(i64 placement, std::size_t count) {
    if (placement < 0) return "apart";
    if (static_cast<std::size_t>(placement) == count) return "apart, error 13 pending";
    return "operand " + std::to_string(placement);
}

}  // namespace

void alias_run(AliasRun& out, const AliasCall& call, const AliasOperands& ops, i64 size,
               i64 placement, i32 want_err) {
    const std::size_t k = ops.size();
    out.pending = static_cast<std::size_t>(placement) == k;
    std::deque<Guarded> arrays;
    for (const auto& op : ops) arrays.emplace_back(op.data(), size);
    arrays.emplace_back(nullptr, size);
    std::vector<const u64*> ptrs;
    for (std::size_t i = 0; i < k; ++i) ptrs.push_back(arrays[i].data());
    u64* dst = placement >= 0 && !out.pending ? arrays[static_cast<std::size_t>(placement)].data()
                                              : arrays[k].data();

    mp_error = out.pending ? MP_ERR_DIV_ZERO : 0;
    u8* const top = mp_scratch_top;
    out.ret = call(dst, ptrs);
    out.err = mp_err();
    mp_error = 0;
    out.dst.assign(dst, dst + size);

    if (mp_scratch_top != top) out.why << "scratch top moved; ";
    for (std::size_t i = 0; i <= k; ++i)
        if (!arrays[i].guards_intact()) out.why << "guard words of array " << i << " overwritten; ";
    for (std::size_t i = 0; i < k; ++i)
        if (ptrs[i] != dst && std::vector<u64>(ptrs[i], ptrs[i] + size) != ops[i])
            out.why << "operand " << i << " changed; ";
    if (out.err != (out.pending ? MP_ERR_DIV_ZERO : want_err))
        out.why << "error " << out.err << "; ";
}

bool alias_report(const std::string& name, i64 n, i64 placement, const AliasOperands& ops, i64 size,
                  const AliasRun& run, const std::string& want) {
    const std::string why = run.why.str();
    if (why.empty()) return true;
    std::ostringstream msg;
    msg << name << " n=" << n << " dst " << placement_text(placement, ops.size()) << ": " << why
        << "want " << want;
    for (std::size_t i = 0; i < ops.size(); ++i)
        msg << "\n  operand " << i << " = " << words_hex(ops[i].data(), size);
    ADD_FAILURE() << msg.str();
    return false;
}
