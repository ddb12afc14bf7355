// The texts of the equations tool: the hint above the grid and the result
// lines of the output box.
#include <vector>

#include "app/app_error.h"
#include "app/ui_texts.h"
#include "equations/equations_page.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/num_text.h"
#include "numlib/real.h"
#include "polynomial/poly.h"
#include "textbuf/textbuf.h"

namespace {

constexpr int UI_TEXT_HINT = 73;
constexpr int UI_TEXT_NO_REAL_SOLUTIONS = 75;
constexpr char16_t kLineEnd[] = u"\r\n";

// Characters of one result line without its line end.
i64 line_capacity(i32 words) {
    return 52 * static_cast<i64>(words) + 403 - 2;
}

class LineWriter {
  public:
    explicit LineWriter(const EqPageRun& run)
        : run_(run),
          number_(static_cast<std::size_t>(num_text_capacity(run.result.words, MP_TYPE_CPLX)) + 1),
          line_(static_cast<std::size_t>(line_capacity(run.result.words)) + 1) {}

    void append(std::u16string& out, i64 i) {
        const root_result& r = run_.result;
        TextBuf line{0, line_capacity(r.words), line_.data()};
        textbuf_format(line, u"x%d = ", i + 1);
        const u64* root = r.roots[i];
        const char16_t* exact = r.exact_text[i];
        if (exact != nullptr && exact[0] != 0) {
            textbuf_append(line, exact);
            if (!real_is_integer(root) || !real_is_integer(cplx_im_of(root, r.words))) {
                textbuf_append(line, u" \u2248 ");
                textbuf_append(line, number(root));
            }
        } else {
            textbuf_append(line, number(root));
        }
        if (run_.show_multiplicity) textbuf_format(line, u"   [%d]", r.multiplicity[i]);
        if (textbuf_finish(line)) raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
        out.append(line_.data(), static_cast<std::size_t>(line.length));
        out += kLineEnd;
    }

  private:
    // A whole number gets ".0" in exact mode, where it stands for a rounded
    // value beside the exact forms.
    std::u16string_view number(const u64* root) {
        const u32 flags = run_.exact ? NUM_TEXT_POINT_ZERO : 0u;
        const i32 capacity = static_cast<i32>(number_.size()) - 1;
        const i32 len = cplx_to_text(number_.data(), capacity, root, flags);
        return {number_.data(), static_cast<std::size_t>(len)};
    }

    const EqPageRun& run_;
    std::vector<char16_t> number_;
    std::vector<char16_t> line_;
};

std::u16string result_text(const EqPageRun& run) {
    std::u16string out;
    if (run.result.count <= 0) {
        out = ui_text[UI_TEXT_NO_REAL_SOLUTIONS];
        return out;
    }
    mp_set_real_words(run.result.words);
    LineWriter writer(run);
    for (i64 i = 0; i < run.result.count && i < ROOT_MAX_DEGREE; ++i) writer.append(out, i);
    return out;
}

}  // namespace

std::u16string eq_page_hint(i32 degree) {
    char16_t terms[256];
    TextBuf buf = textbuf_on(terms);
    poly_term_list(buf, degree, u'a');
    textbuf_append(buf, u" =\u00A00");
    textbuf_finish(buf);
    char16_t hint[512];
    const i64 len = text_format(hint, 511, ui_text[UI_TEXT_HINT], terms);
    return std::u16string(hint, static_cast<std::size_t>(len));
}

std::u16string eq_page_finish(EqPageRun& run) {
    std::u16string out;
    // A failed run lists nothing: its library error is folded in first, so
    // that the failure is not shown as an equation without real solutions.
    if (run.result.count < 0) {
        raiseFromLibraryError(APP_ERR_OVERFLOW);
        if (appError.load() == 0) raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
    }
    if (appError.load() == 0) out = result_text(run);
    raiseFromLibraryError(APP_ERR_OVERFLOW);
    run.busy.store(false);
    return out;
}
