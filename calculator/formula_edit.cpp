#include "calculator/formula_edit.h"

namespace {

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

std::size_t clampTo(std::size_t pos, std::size_t length) {
    return pos < length ? pos : length;
}

void placeCaret(FormulaEdit& edit, std::size_t pos) {
    edit.anchor = pos;
    edit.caret = pos;
}

}  // namespace

bool splitsSurrogatePair(std::u16string_view text, std::size_t pos) {
    return pos > 0 && pos < text.size() && isHighSurrogate(text[pos - 1]) &&
           isLowSurrogate(text[pos]);
}

void normalizeSelection(FormulaEdit& edit) {
    const std::size_t length = edit.text.size();
    std::size_t start = clampTo(edit.selectionStart(), length);
    std::size_t end = clampTo(edit.selectionEnd(), length);
    if (start == end) {
        // A lone caret moves forwards; pulling it backwards as well would make
        // it a selection, and the next insertion would then eat the pair.
        if (splitsSurrogatePair(edit.text, end)) ++end;
        start = end;
    } else {
        if (splitsSurrogatePair(edit.text, start)) --start;
        if (splitsSurrogatePair(edit.text, end)) ++end;
    }
    const bool caretFirst = edit.caret < edit.anchor;
    edit.anchor = caretFirst ? end : start;
    edit.caret = caretFirst ? start : end;
}

void replaceSelection(FormulaEdit& edit, std::u16string_view insert) {
    normalizeSelection(edit);
    const std::size_t start = edit.selectionStart();
    edit.text.replace(start, edit.selectionEnd() - start, insert);
    placeCaret(edit, start + insert.size());
}

bool deleteLastCharacter(FormulaEdit& edit) {
    if (edit.text.empty()) return false;
    std::size_t cut = edit.text.size() - 1;
    if (splitsSurrogatePair(edit.text, cut)) --cut;
    edit.text.resize(cut);
    edit.anchor = clampTo(edit.anchor, cut);
    edit.caret = clampTo(edit.caret, cut);
    return true;
}

void wrapInParentheses(FormulaEdit& edit) {
    const bool wasEmpty = edit.text.empty();
    edit.text.insert(edit.text.begin(), u'(');
    edit.text.push_back(u')');
    placeCaret(edit, wasEmpty ? 1 : edit.text.size());
}

std::size_t missingCloseParentheses(std::u16string_view text) {
    std::size_t open = 0;
    std::size_t close = 0;
    for (char16_t c : text) {
        if (c == u'(') ++open;
        if (c == u')') ++close;
    }
    return open > close ? open - close : 0;
}

std::size_t closeParentheses(FormulaEdit& edit) {
    const std::size_t missing = missingCloseParentheses(edit.text);
    if (missing == 0) return 0;
    edit.text.append(missing, u')');
    placeCaret(edit, edit.text.size());
    return missing;
}

void clearFormula(FormulaEdit& edit) {
    edit.text.clear();
    placeCaret(edit, 0);
}

namespace {

bool isPasteDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F'); }

bool isPasteGap(char16_t c, std::u16string_view groups) {
    return c == u' ' || c == u'\u00A0' || c == u'\u2009' || c == u'\u202F' ||
           (c != 0 && groups.find(c) != std::u16string_view::npos);
}

// Control characters read as blanks.
char16_t pastedChar(char16_t c) { return c < 0x20 || c == 0x7F ? u' ' : c; }

}  // namespace

std::u16string cleanPastedText(std::u16string_view text, std::u16string_view groups) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char16_t c = pastedChar(text[i]);
        if (!isPasteGap(c, groups)) {
            out += c;
            ++i;
            continue;
        }
        std::size_t end = i;  // the run of gaps c starts
        while (end < text.size() && isPasteGap(pastedChar(text[end]), groups)) ++end;
        const bool inNumber = !out.empty() && isPasteDigit(out.back()) && end < text.size() &&
                              isPasteDigit(text[end]);
        if (!inNumber)
            for (std::size_t k = i; k < end; ++k) out += pastedChar(text[k]);
        i = end;
    }
    return out;
}
