// Decimal digits of words and of real mantissas, written through a grouper.
#include <cstring>

#include "numlib/real.h"
#include "numlib/text_impl.h"

namespace {

// "00" .. "99".
struct PairTable {
    char p[200];
    constexpr PairTable() : p() {
        for (int i = 0; i < 100; ++i) {
            p[2 * i] = static_cast<char>('0' + i / 10);
            p[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr PairTable kPairs;

// The 8 digits of v < 10^8.
inline void eight_digits(char* out, u32 v) {
    const u32 hi = v / 10000, lo = v % 10000;
    std::memcpy(out, kPairs.p + 2 * (hi / 100), 2);
    std::memcpy(out + 2, kPairs.p + 2 * (hi % 100), 2);
    std::memcpy(out + 4, kPairs.p + 2 * (lo / 100), 2);
    std::memcpy(out + 6, kPairs.p + 2 * (lo % 100), 2);
}

}  // namespace

void text_word_digits(char* out, u64 w) {
    const u64 top = w / 10000000000000000ULL;  // the first 3 digits
    const u64 rest = w % 10000000000000000ULL;
    out[0] = static_cast<char>('0' + top / 100);
    std::memcpy(out + 1, kPairs.p + 2 * (top % 100), 2);
    eight_digits(out + 3, static_cast<u32>(rest / 100000000));
    eight_digits(out + 11, static_cast<u32>(rest % 100000000));
}

int text_u64_digits(char* out, u64 v) {
    char tmp[20];
    int n = 0;
    do {
        tmp[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    for (int i = 0; i < n; ++i) out[i] = tmp[n - 1 - i];
    return n;
}

void text_put_mantissa(TextGrouper& g, const u64* w, i64 m, i64 from, i64 count) {
    char digits[19];
    while (count > 0 && from < 19 * m) {
        const i64 word = from / 19, at = from % 19;
        i64 take = 19 - at;
        if (take > count) take = count;
        text_word_digits(digits, w[word]);
        g.put(digits + at, take);
        from += take;
        count -= take;
    }
    if (count > 0) g.fill('0', count);
}
