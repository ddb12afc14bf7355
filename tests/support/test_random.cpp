#include "support/test_random.h"

#include <cstdlib>

u64 test_seed() {
    static const u64 seed = [] {
        if (const char* s = std::getenv("VELMARIX_TEST_SEED"))
            return static_cast<u64>(std::strtoull(s, nullptr, 0));
        return (static_cast<u64>(std::random_device{}()) << 32) ^
               static_cast<u64>(std::random_device{}());
    }();
    return seed;
}

i64 test_iterations(i64 base) {
    i64 mult = 1;
    if (const char* s = std::getenv("VELMARIX_TEST_ITERATIONS"))
        mult = std::max(1LL, std::atoll(s));
    return base * mult;
}

std::string test_seed_text() {
    return "VELMARIX_TEST_SEED=" + std::to_string(test_seed());
}

i64 TestRng::word_count(i64 max) {
    static const i64 favourites[] = {1, 2, 65, 520, 1039, 2000};
    for (int tries = 0; tries < 4; ++tries) {
        if (!chance(60)) break;
        i64 f = favourites[range(0, 5)] + range(-1, 1);
        if (f >= 1 && f <= max) return f;
    }
    return range(1, max);
}

u64 TestRng::structured_word() {
    switch (range(0, 9)) {
        case 0:
            return 0;
        case 1:
            return ~u64{0};
        case 2:
            return u64{1} << range(0, 63);
        case 3:
            return static_cast<u64>(range(0, 1000));
        case 4:
            return ~u64{0} - static_cast<u64>(range(0, 1000));
        default:
            return word();
    }
}

void TestRng::fill(u64* dst, i64 n, i64 len) {
    if (len > n) len = n;
    // Whole runs of zero or all-ones words stress carries and borrows.
    const int style = static_cast<int>(range(0, 3));
    for (i64 i = 0; i < len; ++i) {
        if (style == 1)
            dst[i] = chance(80) ? ~u64{0} : structured_word();
        else if (style == 2)
            dst[i] = chance(80) ? 0 : structured_word();
        else
            dst[i] = style == 3 ? structured_word() : word();
    }
    for (i64 i = len; i < n; ++i) dst[i] = 0;
    if (len > 0 && dst[len - 1] == 0) dst[len - 1] = word() | 1;
}
