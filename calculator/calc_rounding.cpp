// Ziv's strategy for the calculator's results.
#include "calculator/calc_rounding.h"

#include <algorithm>
#include <vector>

#include "app/app_error.h"
#include "calculator/calc_prepare.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"
#include "numlib/real.h"

namespace {

i32 valueWords(i32 words, i32 type) {
    return type == MP_TYPE_CPLX ? cplx_value_words(words) : words + 1;
}

// The next word count: one more first (19 more digits decide nearly every
// case), then twice as many.
i32 nextWords(i32 words, i32 first) {
    return std::min(words == first ? words + 1 : 2 * words, MP_REAL_WORDS_MAX);
}

// True when value (words) equals kept (kept_words < words) extended by zeros.
bool unchanged(const u64* value, i32 words, const u64* kept, i32 kept_words, i32 type,
               std::vector<u64>& wide) {
    wide.assign(static_cast<std::size_t>(valueWords(words, type)), 0);
    num_convert(wide.data(), words, type, kept, kept_words, type);
    return std::equal(wide.begin(), wide.end(), value);
}

}  // namespace

bool calcRoundingUndecided(const u64* value, i32 words, i32 type, i32 digits) {
    if (type != MP_TYPE_REAL && type != MP_TYPE_CPLX) return false;
    const i32 saved = mp_real_words;
    mp_real_words = words;
    bool near = real_near_tie(value, digits, CALC_ROUNDING_MARGIN);
    if (type == MP_TYPE_CPLX && !near)
        near = real_near_tie(cplx_im_of(value, words), digits, CALC_ROUNDING_MARGIN);
    mp_real_words = saved;
    return near;
}

i32 calcRefineRounding(u64* value, i32 type, i32 words, i32 digits,
                       const CalcEvaluateAt& evaluateAt, bool* failed) {
    const i32 first = words;
    std::vector<u64> kept, wide;
    *failed = false;
    while (words < MP_REAL_WORDS_MAX && calcRoundingUndecided(value, words, type, digits)) {
        kept.assign(value, value + valueWords(words, type));
        const i32 next = nextWords(words, first);
        if (!evaluateAt(next)) {
            std::copy(kept.begin(), kept.end(), value);
            *failed = true;
            return words;
        }
        const bool exact = unchanged(value, next, kept.data(), words, type, wide);
        words = next;
        if (exact) break;
    }
    return words;
}

i32 calcSettleRounding(CalcState& s, const CalcEvaluateAt& evaluateAt) {
    bool failed = false;
    const i32 words = calcRefineRounding(s.jobResult.data(), s.numberType, s.realWords, s.digits,
                                         evaluateAt, &failed);
    if (failed) {
        if (calcStopped(s)) return 0;  // set before the library's stop code
        clearErrors();                 // the value at fewer words stands
    }
    return words;
}
