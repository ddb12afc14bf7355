#include "support/text_helpers.h"

#include <algorithm>
#include <cstdio>

std::u16string u16(const std::string& s) {
    std::u16string out;
    for (unsigned char c : s) out.push_back(static_cast<char16_t>(c));
    return out;
}

std::string ascii(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        char buf[8] = {static_cast<char>(c), 0};
        if (c < 0x20 || c >= 0x7F) std::snprintf(buf, sizeof buf, "\\u%04X", unsigned{c});
        out += buf;
    }
    return out;
}

std::string mpz_digits(mpz_srcptr z, int base) {
    std::string out(mpz_sizeinbase(z, base) + 2, '\0');
    mpz_get_str(out.data(), -base, z);
    out.resize(out.find('\0'));
    return out;
}

std::string grouped(const std::string& digits, int group, char sep) {
    std::string out = digits;
    for (auto i = static_cast<i64>(digits.size()) - group; i > 0; i -= group)
        out.insert(static_cast<std::size_t>(i), 1, sep);
    return out;
}

GuardedBuffer::GuardedBuffer(i32 capacity)
    : capacity_(capacity),
      buf_(kFront + static_cast<std::size_t>(capacity < 0 ? 0 : capacity + 1) + kBack, kCanary) {}

std::u16string GuardedBuffer::text(i32 length) const {
    return std::u16string(buf_.data() + kFront, static_cast<std::size_t>(length));
}

bool GuardedBuffer::canaries_intact() const {
    const auto intact = [](char16_t c) { return c == kCanary; };
    return std::all_of(buf_.begin(), buf_.begin() + kFront, intact) &&
           std::all_of(buf_.end() - kBack, buf_.end(), intact);
}
