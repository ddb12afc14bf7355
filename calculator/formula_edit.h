// The formula field as plain data: its text, the selection anchor and the
// caret, and the edits the keypad makes on it. The page copies its edit
// control into a FormulaEdit, edits it here and writes it back, so every
// editing rule can be tested without a window.
//
// Positions are UTF-16 code-unit indexes. The edits never split a surrogate
// pair: a position the caller hands in that lies inside the text's pairs or
// beyond the text is first moved to a sound place (normalizeSelection).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct FormulaEdit {
    std::u16string text;
    std::size_t anchor = 0;  // the fixed end of the selection
    std::size_t caret = 0;   // the moving end; equal to anchor when nothing is selected

    std::size_t selectionStart() const { return anchor < caret ? anchor : caret; }
    std::size_t selectionEnd() const { return anchor < caret ? caret : anchor; }
    bool hasSelection() const { return anchor != caret; }
};

// True when pos lies between the two halves of a surrogate pair of text.
bool splitsSurrogatePair(std::u16string_view text, std::size_t pos);

// Clamps anchor and caret to the text and moves any that would split a
// surrogate pair: a selection grows to take in the whole pair, a lone caret
// moves behind the pair. Nothing of the text changes.
void normalizeSelection(FormulaEdit& edit);

// Replaces the selection with insert (or inserts at the caret when nothing
// is selected) and leaves the caret, unselected, just behind the insertion.
void replaceSelection(FormulaEdit& edit, std::u16string_view insert);

// Removes the last character of the text wherever the caret stands (both
// halves of a final surrogate pair). Positions past the new end move to it.
// Returns false, changing nothing, when the text is empty.
bool deleteLastCharacter(FormulaEdit& edit);

// Puts "(" before and ")" after the whole text. The caret ends unselected
// behind the ")" so that the next input continues the wrapped formula; on an
// empty text it stands between the two parentheses.
void wrapInParentheses(FormulaEdit& edit);

// Counts "(" and ")" in the text and, when there are more "(", appends that
// many ")"; the caret then stands unselected at the end. Returns the number
// appended (0 leaves the edit as it was).
std::size_t closeParentheses(FormulaEdit& edit);

// The ")" that closeParentheses would append to text: the count of "(" minus
// the count of ")", or 0 when that is not positive.
std::size_t missingCloseParentheses(std::u16string_view text);

// Empties the text; the caret stands at 0.
void clearFormula(FormulaEdit& edit);

// A pasted text made fit for the formula field: control characters (line
// breaks, tabs) become blanks, and the digit-group characters of groups and
// the blanks (also no-break and thin spaces) that stand between two digits
// (0-9, A-F) are dropped, so "1'234 567" reads as 1234567.
std::u16string cleanPastedText(std::u16string_view text, std::u16string_view groups);
