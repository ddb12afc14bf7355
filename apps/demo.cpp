// A short demonstration of the number library: a few large integers in decimal.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "numlib/mp_context.h"
#include "numlib/uint.h"

namespace {

// Decimal digits of an n-word value by repeated division by 10^19.
std::string to_decimal(const std::vector<u64>& value) {
    std::vector<u64> t = value;
    std::string digits;
    while (!uint_is_zero(t.data())) {
        u64 rem;
        uint_divmod_u64(t.data(), &rem, t.data(), 10000000000000000000ULL);
        for (int i = 0; i < 19; ++i, rem /= 10) digits.push_back(static_cast<char>('0' + rem % 10));
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits.empty()) digits.push_back('0');  // not `= "0"`: g++ 12 misreports it (-Wrestrict)
    std::reverse(digits.begin(), digits.end());
    return digits;
}

void show(const char* label, const std::vector<u64>& value) {
    std::string text = to_decimal(value);
    std::printf("%s (%zu digits):\n%s\n\n", label, text.size(), text.c_str());
}

}  // namespace

int main() {
    mp_init();
    mp_set_int_words(2000);
    std::vector<u64> a(2000), b(2000);

    uint_set_u64(b.data(), 2);
    uint_pow(a.data(), b.data(), 4000);
    show("2^4000", a);

    uint_set_u64(b.data(), 1000);
    uint_factorial(a.data(), b.data());
    show("1000!", a);

    return mp_error != 0 ? 1 : 0;
}
