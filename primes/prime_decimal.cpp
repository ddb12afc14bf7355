// Decimal text of 64-bit values through a table of three-digit groups.
#include "primes/prime_decimal.h"

#include <array>

namespace {

constexpr u64 MILLION = 1000000;

constexpr std::array<std::array<char16_t, 3>, 1000> make_groups() {
    std::array<std::array<char16_t, 3>, 1000> t{};
    for (int i = 0; i < 1000; ++i) {
        t[i][0] = static_cast<char16_t>(u'0' + i / 100);
        t[i][1] = static_cast<char16_t>(u'0' + i / 10 % 10);
        t[i][2] = static_cast<char16_t>(u'0' + i % 10);
    }
    return t;
}

constexpr auto GROUPS = make_groups();

// The text of v, with sep between the groups of three (none when sep is 0).
int write_plain(u64 v, char16_t sep, char16_t* out) {
    u32 group[7];
    int count = 0;
    do {
        group[count++] = static_cast<u32>(v % 1000);
        v /= 1000;
    } while (v != 0);
    int len = 0;
    // The leading group without its leading zeros.
    const u32 top = group[count - 1];
    const int skip = top >= 100 ? 0 : top >= 10 ? 1 : 2;
    for (int d = skip; d < 3; ++d) out[len++] = GROUPS[top][d];
    for (int g = count - 2; g >= 0; --g) {
        if (sep != 0) out[len++] = sep;
        for (int d = 0; d < 3; ++d) out[len++] = GROUPS[group[g]][d];
    }
    return len;
}

}  // namespace

void DecimalRun::set_high(u64 high) {
    high_ = high;
    prefix_len_ = write_plain(high, sep_, prefix_);
    if (sep_ != 0) prefix_[prefix_len_++] = sep_;
}

int DecimalRun::write(u64 v, char16_t* out) {
    if (v < MILLION) return write_plain(v, sep_, out);
    const u64 high = v / MILLION;
    const u32 low = static_cast<u32>(v - high * MILLION);
    if (high != high_) set_high(high);
    int len = 0;
    for (int i = 0; i < prefix_len_; ++i) out[len++] = prefix_[i];
    const auto& a = GROUPS[low / 1000];
    const auto& b = GROUPS[low % 1000];
    out[len++] = a[0], out[len++] = a[1], out[len++] = a[2];
    if (sep_ != 0) out[len++] = sep_;
    out[len++] = b[0], out[len++] = b[1], out[len++] = b[2];
    return len;
}
