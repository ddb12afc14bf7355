// Formatting of the previous result in the calculator's display modes.
#include "calculator/calc_display.h"

#include <algorithm>
#include <vector>

#include "app/app_error.h"
#include "calculator/calc_rounding.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"
#include "textbuf/textbuf.h"

namespace {

// Keeps the library's display thresholds of the other pages.
class ThresholdGuard {
  public:
    ThresholdGuard() : low_(mp_fixed_exp_low), high_(mp_fixed_exp_high) {}
    ~ThresholdGuard() {
        mp_fixed_exp_low = low_;
        mp_fixed_exp_high = high_;
    }
    ThresholdGuard(const ThresholdGuard&) = delete;
    ThresholdGuard& operator=(const ThresholdGuard&) = delete;

  private:
    i32 low_, high_;
};

std::u16string textOf(const std::vector<char16_t>& buffer, i32 length) {
    return std::u16string(buffer.data(), static_cast<std::size_t>(std::max(length, 0)));
}

std::u16string digitCount(const std::u16string& text) {
    i64 count = 0;
    for (char16_t c : text)
        if ((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z')) ++count;
    char16_t buffer[32];
    const i64 length = text_format(buffer, 31, u"%d ", count);
    return std::u16string(buffer, static_cast<std::size_t>(length));
}

void showUint(CalcState& s, std::vector<char16_t>& buffer) {
    const i64 maxLength = calcMaxFormulaLength();
    u32 flags = NUM_TEXT_TERMINATE | (s.groupDigits ? NUM_TEXT_GROUP : 0u);
    const i32 length = uint_to_text(buffer.data(), static_cast<i32>(buffer.size() - 1),
                                    s.previousResult.data(), flags, static_cast<i32>(s.outputBase));
    if (length > maxLength || mp_err() == MP_ERR_TEXT_SPACE) {
        mp_error.store(0, std::memory_order_relaxed);
        raiseAppError(APP_ERR_TEXT_TOO_LONG, nullptr, nullptr);
        return;
    }
    s.resultText = textOf(buffer, length);
    s.digitCountText = digitCount(s.resultText);
}

// The rat value as a real of realWords words, correctly rounded to digits:
// converted with more words while the conversion lies next to a tie.
std::u16string ratAsDecimal(CalcState& s, std::vector<char16_t>& buffer, u32 flags) {
    std::vector<u64> real(static_cast<std::size_t>(MP_REAL_WORDS_MAX) + 1, 0);
    num_convert(real.data(), s.realWords, MP_TYPE_REAL, s.previousResult.data(), s.intWords,
                MP_TYPE_RAT);
    const auto convert = [&](i32 words) {
        MpIsolate isolate;
        num_convert(real.data(), words, MP_TYPE_REAL, s.previousResult.data(), s.intWords,
                    MP_TYPE_RAT);
        const bool ok = isolate.inner() == 0;
        isolate.clear_inner();
        return ok;
    };
    bool failed = false;
    const i32 words = mp_err() != 0 ? s.realWords
                                    : calcRefineRounding(real.data(), MP_TYPE_REAL, s.realWords,
                                                         s.digits, convert, &failed);
    mp_num_type = MP_TYPE_REAL;
    mp_set_real_words(words);
    real_round_digits(real.data(), real.data(), s.digits);
    real_resize(real.data(), s.realWords, real.data(), words);  // exact: the digits fit
    calcApplyContext(s);
    mp_num_type = MP_TYPE_REAL;
    const i32 length =
        real_to_text(buffer.data(), static_cast<i32>(buffer.size() - 1), real.data(), flags);
    mp_num_type = MP_TYPE_RAT;
    return textOf(buffer, length);
}

void showOther(CalcState& s, std::vector<char16_t>& buffer) {
    u32 flags = NUM_TEXT_TERMINATE | (s.groupDigits ? NUM_TEXT_GROUP : 0u);
    if (s.numberType == MP_TYPE_RAT) flags |= NUM_TEXT_POINT_ZERO;
    ThresholdGuard keep;
    if (s.displayMode == CALC_DISPLAY_FIXED) {
        mp_fixed_exp_low = -1000;
        mp_fixed_exp_high = 10000;
    } else if (s.displayMode == CALC_DISPLAY_EXPONENT) {
        flags |= NUM_TEXT_EXP_ALWAYS;
    } else {
        mp_fixed_exp_low = -4;
        mp_fixed_exp_high = s.digits;
    }
    const u64* value = s.previousResult.data();
    if (s.numberType == MP_TYPE_RAT && s.displayMode == CALC_DISPLAY_RAT_MIXED) {
        s.resultText = calcMixedText(value, calcMaxFormulaLength());
    } else if (s.numberType == MP_TYPE_RAT && s.displayMode != CALC_DISPLAY_AUTO) {
        s.resultText = ratAsDecimal(s, buffer, flags);
    } else {
        const i32 length =
            num_to_text(buffer.data(), static_cast<i32>(buffer.size() - 1), value, flags);
        s.resultText = textOf(buffer, length);
    }
    s.digitCountText.clear();
}

bool ratIsInteger(const u64* value) {
    return uint_is_one(rat_den(value));
}

}  // namespace

bool calcConvertPreviousResult(CalcState& s) {
    if (!s.hasResult) return false;
    const i32 words = calcWordsOf(s, s.numberType);
    if (s.previousType == s.numberType && s.previousWords == words) return true;
    calcApplyContext(s);
    std::fill(s.convertBuffer.begin(), s.convertBuffer.end(), 0);
    MpIsolate isolate;
    num_convert(s.convertBuffer.data(), words, s.numberType, s.previousResult.data(),
                s.previousWords, s.previousType);
    const bool ok = isolate.inner() == 0;
    isolate.clear_inner();
    calcApplyContext(s);
    if (!ok) {
        raiseAppError(APP_ERR_NOT_CONVERTIBLE, nullptr, nullptr);
        return false;
    }
    s.previousResult.swap(s.convertBuffer);
    s.previousType = s.numberType;
    s.previousWords = words;
    return true;
}

void calcShowResult(CalcState& s) {
    if (appError.load(std::memory_order_relaxed) != 0 || !s.hasResult) return;
    if (!calcConvertPreviousResult(s)) {
        s.resultStale = true;
        return;
    }
    calcApplyContext(s);
    std::vector<char16_t> buffer(static_cast<std::size_t>(calcMaxFormulaLength()) + 2, 0);
    if (s.numberType == MP_TYPE_UINT)
        showUint(s, buffer);
    else
        showOther(s, buffer);
}

bool calcToggleDisplay(CalcState& s, u32 key) {
    if (!s.hasResult) return false;
    const bool rat = s.numberType == MP_TYPE_RAT;
    u32& mode = s.displayMode;
    switch (key) {
        case CALC_TOGGLE_RAT_DECIMAL:
            if (!rat) return false;
            mode = (mode == CALC_DISPLAY_AUTO || mode == CALC_DISPLAY_RAT_MIXED)
                       ? CALC_DISPLAY_RAT_DECIMAL
                       : CALC_DISPLAY_AUTO;
            break;
        case CALC_TOGGLE_FIXED_EXP:
            if (s.numberType == MP_TYPE_UINT) return false;
            if (mode == CALC_DISPLAY_AUTO) {
                const bool hasExp =
                    std::any_of(s.resultText.begin(), s.resultText.end(), [](char16_t c) {
                        return c != 0 && (c == mp_exp_chars[0] || c == mp_exp_chars[1] ||
                                          c == mp_exp_chars[2]);
                    });
                mode = hasExp ? CALC_DISPLAY_FIXED : CALC_DISPLAY_EXPONENT;
            } else {
                mode = mode == CALC_DISPLAY_EXPONENT ? CALC_DISPLAY_FIXED : CALC_DISPLAY_EXPONENT;
            }
            break;
        case CALC_TOGGLE_RAT_MIXED:
            if (!rat) return false;
            if (mode == CALC_DISPLAY_RAT_MIXED) {
                mode = CALC_DISPLAY_AUTO;
            } else {
                if (!calcConvertPreviousResult(s)) return false;
                calcApplyContext(s);
                mode = ratIsInteger(s.previousResult.data()) ? CALC_DISPLAY_AUTO
                                                             : CALC_DISPLAY_RAT_MIXED;
            }
            break;
        default:
            return false;
    }
    calcShowResult(s);
    return true;
}

std::u16string calcResultCopyText(CalcState& s) {
    if (!s.hasResult) return {};
    const std::u16string shown = s.resultText, count = s.digitCountText;
    const bool group = s.groupDigits;
    s.groupDigits = false;
    s.resultText.clear();
    calcShowResult(s);
    std::u16string text = std::move(s.resultText);
    s.groupDigits = group;
    s.resultText = shown;
    s.digitCountText = count;
    return text;
}
