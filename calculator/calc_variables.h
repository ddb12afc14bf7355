// The calculator's named variables: a list of (name, value text, base)
// entries kept as the user typed them, the rules a name must follow, and the
// "var00".."var99" names given to new entries. Values are turned into
// numbers only when a formula uses them (calc_prepare.cpp).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "app/settings_values.h"
#include "numlib/mp_types.h"

constexpr i64 CALC_MAX_VARIABLES = 100;
constexpr i64 CALC_NAME_MAX = 10;  // characters of a name

struct CalcVariable {
    std::u16string name;       // as typed; kept even when it breaks the rules
    std::u16string valueText;  // a formula, read in the current number type
    u32 base = 10;             // input base of the value's integer literals: 2, 8, 10, 16
};

// True when name may be used: first character "a".."z", "α".."ω" or "_",
// further ones also "0".."9", and not one of "e", "i", "π", "pi", "ans". An
// empty name counts as valid (it is never reported). Longer than
// CALC_NAME_MAX characters is invalid.
bool calcVariableNameValid(std::u16string_view name);

// The list of variables, in list order; at most CALC_MAX_VARIABLES entries.
class CalcVariableList {
  public:
    i64 count() const { return static_cast<i64>(entries_.size()); }
    const CalcVariable& at(i64 index) const { return entries_[static_cast<std::size_t>(index)]; }
    const std::vector<CalcVariable>& entries() const { return entries_; }

    // "var" plus two digits: the smallest 00..99 not used by a name of exactly
    // that form. Empty when all hundred are taken.
    std::u16string newName() const;

    // Appends (add) or inserts before index (insert) a new entry with
    // newName(), an empty value and base 10. Returns its index, or -1 when the
    // list is full or index is not an entry.
    i64 add();
    i64 insert(i64 index);
    // Removes the entry; returns the index that should be selected next (the
    // entry now at that place, or the new last one; -1 when the list is
    // empty). A bad index changes nothing and returns -1.
    i64 remove(i64 index);

    // Setters of one entry; a bad index does nothing and returns false. The
    // name is cut to CALC_NAME_MAX characters, the value to maxLength
    // characters with "…" as its last one, a base other than 2, 8, 10, 16
    // is refused. setName returns calcVariableNameValid() of the stored name
    // (the name is stored either way); the caller raises error 1300.
    bool setName(i64 index, std::u16string_view name);
    bool setValue(i64 index, std::u16string_view value, i64 maxLength);
    bool setBase(i64 index, u32 base);

    // Loads the saved variables (an empty name becomes "var??") and gives
    // them back for saving. Loading clears the changed mark.
    void load(std::span<const SavedVariable> saved);
    std::vector<SavedVariable> saved() const;

    // Set by every change; the settings file writes the list when it is set.
    bool changed() const { return changed_; }
    void clearChanged() { changed_ = false; }

  private:
    bool valid(i64 index) const { return index >= 0 && index < count(); }
    std::vector<CalcVariable> entries_;
    bool changed_ = false;
};
