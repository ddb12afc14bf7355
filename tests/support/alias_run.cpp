#include "support/alias_run.h"

#include <gtest/gtest.h>

#include <deque>
#include <sstream>

#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "support/gmp_oracle.h"

namespace {

constexpr u64 kGuard = 0x6a09e667f3bcc908ULL;
constexpr u64 kStale = 0xdeadbeefcafef00dULL;  // what a destination holds before the call
constexpr i64 kPad = 2;                        // guard words on each side of an array

// An array of `size` words between guard words.
struct Guarded {
    std::vector<u64> words;
    Guarded(const u64* src, std::size_t size) : words(size + 2 * kPad, kGuard) {
        for (std::size_t i = 0; i < size; ++i) words[kPad + i] = src ? src[i] : kStale;
    }
    u64* data() { return words.data() + kPad; }
    bool guards_intact() const {
        for (std::size_t i = 0; i < static_cast<std::size_t>(kPad); ++i)
            if (words[i] != kGuard || words[words.size() - 1 - i] != kGuard) return false;
        return true;
    }
};

// Varies the room a nearly full scratch area leaves from one call to the next.
u64 g_starve_count = 0;

}  // namespace

bool check_aliasing(const std::string& name, i64 n, const AliasCall& call, const AliasOperands& ops,
                    const AliasWant& want) {
    const std::size_t k = ops.size(), size = want.words.size();
    // placements 0..k-1: operand i; k: apart; k + 1: error pending; k + 2: no scratch
    for (std::size_t place = 0; place < k + 3; ++place) {
        const bool pending = place == k + 1, starved = place == k + 2;
        std::deque<Guarded> arrays;
        for (const auto& op : ops) arrays.emplace_back(op.data(), size);
        arrays.emplace_back(nullptr, size);
        std::vector<const u64*> ptrs;
        for (std::size_t i = 0; i < k; ++i) ptrs.push_back(arrays[i].data());
        u64* dst = arrays[std::min(place, k)].data();

        ScratchMark hog;
        if (starved) {
            const auto room = (g_starve_count++ * 7919) % (16 * size + 1);
            hog.take(static_cast<std::size_t>(mp_scratch_end - mp_scratch_top) / 8 - room);
        }
        mp_error = pending ? MP_ERR_DIV_ZERO : 0;
        u8* const top = mp_scratch_top;
        const i64 ret = call(dst, ptrs);
        const i32 err = mp_err();
        mp_error = 0;
        const std::vector<u64> got(dst, dst + size);

        std::ostringstream why;
        if (mp_scratch_top != top) why << "scratch top moved; ";
        for (std::size_t i = 0; i <= k; ++i)
            if (!arrays[i].guards_intact()) why << "guard words of array " << i << " overwritten; ";
        for (std::size_t i = 0; i < k; ++i)
            if (ptrs[i] != dst && std::vector<u64>(ptrs[i], ptrs[i] + size) != ops[i])
                why << "operand " << i << " changed; ";
        const bool failed = starved && err == MP_ERR_INTERNAL && ret == 0 &&
                            (want.failed.empty() || got == want.failed);
        const bool stopped = pending && !want.stopped.empty() && got == want.stopped;
        if (!failed && err != (pending ? MP_ERR_DIV_ZERO : want.err))
            why << "error " << err << "; ";
        if (!failed && !stopped && (got != want.words || ret != want.ret))
            why << "got " << words_hex(got.data(), static_cast<i64>(size)) << " ret " << ret
                << "; ";
        if (why.str().empty()) continue;
        const char* where[] = {"apart", "apart, error 13 pending", "apart, scratch nearly full"};
        std::ostringstream msg;
        msg << name << " n=" << n << " dst "
            << (place < k ? "operand " + std::to_string(place) : where[place - k]) << ": "
            << why.str() << "want " << want.text << " ret " << want.ret << " error " << want.err;
        for (std::size_t i = 0; i < k; ++i)
            msg << "\n  operand " << i << " = " << words_hex(ops[i].data(), static_cast<i64>(size));
        ADD_FAILURE() << msg.str();
        return false;
    }
    return true;
}
