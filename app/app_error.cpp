#include "app/app_error.h"

#include <algorithm>
#include <string_view>

#include "formula/formula_error.h"
#include "numlib/mp_context.h"
#include "textbuf/textbuf.h"

std::atomic<u32> appError{0};
char16_t appErrorText1[APP_ERROR_TEXT_MAX + 1] = {};
char16_t appErrorText2[APP_ERROR_TEXT_MAX + 1] = {};

namespace {

void store_insert(char16_t* dst, const char16_t* text) {
    const std::u16string_view src = text != nullptr ? std::u16string_view(text) : u"?";
    auto len = static_cast<std::int64_t>(std::min<std::size_t>(src.size(), APP_ERROR_TEXT_MAX));
    std::copy_n(src.data(), len, dst);
    if (src.size() > APP_ERROR_TEXT_MAX) len = text_mark_cut(dst, len);
    dst[len] = 0;
}

void raise_text_overflow() {
    raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
}

// A text buffer that had to cut its text raises 9002; installed when this
// file is part of the program, which it is wherever appError is used.
[[maybe_unused]] const TextOverflowHandler installed =
    (textbuf_set_overflow_handler(raise_text_overflow), raise_text_overflow);

u32 app_code_for_library(i32 library_code, u32 code) {
    switch (library_code) {
        case MP_ERR_STOPPED:
            return APP_ERR_STOPPED;
        case MP_ERR_TEXT_SPACE:
            return APP_ERR_TEXT_OVERFLOW;
        case MP_ERR_INTERNAL:
            return APP_ERR_INTERNAL;
        default:
            // A page that passes no code of its own still reports the failure.
            return code != 0 ? code : APP_ERR_OVERFLOW;
    }
}

}  // namespace

void raiseAppError(u32 code, const char16_t* text1, const char16_t* text2) {
    if (code == 0) return;
    u32 expected = 0;
    if (!appError.compare_exchange_strong(expected, code, std::memory_order_relaxed)) return;
    store_insert(appErrorText1, text1);
    store_insert(appErrorText2, text2);
}

void raiseFromLibraryError(u32 code) {
    const i32 library_code = mp_error.exchange(0, std::memory_order_relaxed);
    if (library_code == 0) return;
    raiseAppError(app_code_for_library(library_code, code), nullptr, nullptr);
}

void clearErrors() {
    appError.store(0, std::memory_order_relaxed);
    appErrorText1[0] = 0;
    appErrorText2[0] = 0;
    clearFormulaError();
    mp_error.store(0, std::memory_order_relaxed);
}
