#include "app/error_message.h"

#include "app/app_error.h"
#include "app/error_texts.h"
#include "formula/formula_error.h"

namespace {

bool shows_message(u32 app_code) {
    return app_code != APP_ERR_NONE && app_code != APP_ERR_STOPPED;
}

void append_app_text(TextBuf& buf, const ErrorState& state, i32 language) {
    if (const ErrorText* entry = appErrorTemplate(state.app_code)) {
        textbuf_format(buf, errorTextIn(*entry, language), state.text1, state.text2);
        return;
    }
    char16_t code[24];
    text_format(code, 23, u"%d", state.app_code);
    textbuf_format(buf, errorTextIn(unknownErrorTemplate(), language), code);
}

void append_formula_text(TextBuf& buf, const ErrorState& state, i32 language) {
    const bool fits = buf.length > 0 && buf.length <= buf.capacity;
    if (fits && buf.chars[buf.length - 1] == u'!') buf.chars[buf.length - 1] = u'.';
    textbuf_append_char(buf, u' ');
    const ErrorText* cause = state.formula_code == FORMULA_ERR_OVERFLOW
                                 ? overflowCauseTemplate(state.formula_cause)
                                 : nullptr;
    const ErrorText& entry = cause != nullptr ? *cause : formulaErrorTemplate(state.formula_code);
    const bool shows_code = cause == nullptr && (entry.code != state.formula_code ||
                                                 entry.code == FORMULA_ERR_INTERNAL);
    if (shows_code) {
        textbuf_format(buf, errorTextIn(entry, language), state.formula_code);
    } else {
        textbuf_format(buf, errorTextIn(entry, language), state.formula_pos);
    }
}

}  // namespace

bool formatErrorMessage(TextBuf& buf, const ErrorState& state, i32 language) {
    if (!shows_message(state.app_code) || buf.chars == nullptr || buf.capacity < 0) return false;
    append_app_text(buf, state, language);
    if (state.formula_code != 0) append_formula_text(buf, state, language);
    if (buf.length > buf.capacity) buf.length = text_mark_cut(buf.chars, buf.capacity);
    buf.chars[buf.length] = 0;
    return true;
}

ErrorMessage takeErrorMessage() {
    ErrorMessage message;
    message.code = appError.load(std::memory_order_relaxed);
    const ErrorState state{message.code, appErrorText1,   appErrorText2,
                           formulaError, formulaErrorPos, formulaErrorCause};
    TextBuf buf = textbuf_on(message.text);
    const i32 language = messageLanguage();
    message.shown = formatErrorMessage(buf, state, language);
    if (message.shown) message.caption = errorCaption(language);
    clearErrors();
    return message;
}
