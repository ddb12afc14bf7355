// Reals from decimal text. The digits go straight into the mantissa words;
// one digit more than the precision is kept, and the value is rounded half
// up on it, which is exact rounding of the whole text: the digits after it
// cannot change a half-up decision.
#include "numlib/real_impl.h"
#include "numlib/text_impl.h"

namespace {

// Exponent values from this on are out of range whatever the mantissa.
constexpr u64 kExpTextLimit = 9000000000000000001ULL;

enum State { kStart, kMantissa, kExpMarker, kExpDigits };

// The numbers read from a text.
struct RealScan {
    int sign = 0;
    int exp_sign = 0;
    bool any_digit = false;  // a mantissa digit, zeros included
    i64 sig = 0;             // significant digits seen
    bool point = false;
    i64 p = 0;  // significant digits before the separator, minus leading fraction zeros
    i64 exp_digits = 0;
    u64 exp = 0;
    bool exp_overflow = false;
};

// Stores the significant digits into the m mantissa words w[1..m] and the
// spill (the first digit after them, at the top of its word).
class DigitStore {
  public:
    DigitStore(u64* w, i64 m) : w_(w), m_(m) {}
    void add(int v) {
        if (word_ <= m_) {
            acc_ = acc_ * 10 + static_cast<u64>(v);
            if (++count_ == 19) flush_word();
        } else if (word_ == m_ + 1) {
            spill_ = static_cast<u64>(v) * REAL_POW10[18];
            ++word_;  // later digits are dropped
        }
    }
    // Completes the last word; returns the spill.
    u64 finish() {
        if (word_ <= m_ && count_ > 0) {
            w_[word_] = acc_ * REAL_POW10[19 - count_];
            ++word_;
        }
        for (i64 i = word_; i <= m_; ++i) w_[i] = 0;
        return spill_;
    }

  private:
    void flush_word() {
        w_[word_++] = acc_;
        acc_ = 0;
        count_ = 0;
    }
    u64* w_;
    i64 m_;
    i64 word_ = 1;
    int count_ = 0;
    u64 acc_ = 0;
    u64 spill_ = 0;
};

bool is_digit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// One character of the mantissa or exponent; false for a rejected one.
bool scan_char(RealScan& r, State& st, DigitStore& store, const char16_t* s, i64 i, i64 count,
               u32 in_flags) {
    const char16_t c = s[i];
    const bool after_digit = i > 0 && is_digit(s[i - 1]);
    const bool before_digit = i + 1 < count && is_digit(s[i + 1]);
    if (is_digit(c)) {
        const int v = c - u'0';
        if (st == kExpMarker || st == kExpDigits) {
            st = kExpDigits;
            ++r.exp_digits;
            if (r.exp > (~u64{0} - static_cast<u64>(v)) / 10) r.exp_overflow = true;
            if (!r.exp_overflow) r.exp = r.exp * 10 + static_cast<u64>(v);
            return true;
        }
        st = kMantissa;
        r.any_digit = true;
        if (v == 0 && r.sig == 0) {
            if (r.point) --r.p;
            return true;
        }
        store.add(v);
        ++r.sig;
        return true;
    }
    if (c == u'-' || c == u'+') {
        if (st == kStart) {
            r.sign = c == u'-';
            st = kMantissa;
            return true;
        }
        if (st == kExpMarker) {
            r.exp_sign = c == u'-';
            st = kExpDigits;
            return true;
        }
        return false;
    }
    if (text_in_set(mp_decimal_chars, c)) {
        if (st != kMantissa || !after_digit || r.point || !before_digit) return false;
        r.point = true;
        r.p += r.sig;
        return true;
    }
    if (text_in_set(mp_group_chars, c))
        return (in_flags & NUM_IN_GROUPS) && st == kMantissa && after_digit && before_digit;
    if (text_in_set(mp_exp_chars, c) && st == kMantissa) {
        st = kExpMarker;
        return true;
    }
    return false;
}

// The decimal exponent of the scanned value, or false when the exponent
// text is out of range (then *positive tells which way).
bool decimal_exponent(const RealScan& r, i64* e, bool* positive) {
    *positive = !r.exp_sign;
    if (r.exp_overflow || r.exp >= kExpTextLimit) return false;
    const i64 base = (r.point ? r.p : r.sig) - 1;
    const i64 x = static_cast<i64>(r.exp);
    *e = r.exp_sign ? base - x : base + x;
    return true;
}

}  // namespace

void real_from_text(u64* dst, const char16_t* text, i32 len, u32 in_flags) {
    const i64 m = real_words();
    i64 start, count;
    text_trim(&start, &count, text, len);
    const char16_t* s = text + start;
    RealScan r;
    State st = kStart;
    DigitStore store(dst, m);
    for (i64 i = 0; i < count; ++i) {
        if (!scan_char(r, st, store, s, i, count, in_flags)) return real_fail(dst, MP_ERR_SYNTAX);
    }
    if (!r.any_digit || st == kExpMarker || (st == kExpDigits && r.exp_digits == 0))
        return real_fail(dst, MP_ERR_SYNTAX);
    const u64 spill = store.finish();
    if (r.sig == 0) return real_zero(dst, r.sign);
    i64 e;
    bool positive;
    if (!decimal_exponent(r, &e, &positive))
        return positive ? real_fail(dst, MP_ERR_EXP_OVERFLOW) : real_zero(dst, r.sign);
    if (!real_set_exp_sign(dst, e, r.sign)) return;
    real_round_guard(dst, spill, static_cast<i32>(m));
}
