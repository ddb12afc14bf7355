// The variable list and its name rules.
#include "calculator/calc_variables.h"

#include "textbuf/textbuf.h"

namespace {

bool isNameStart(char16_t c) {
    return (c >= u'a' && c <= u'z') || c == u'_' || (c >= u'\u03b1' && c <= u'\u03c9');
}

bool isNameChar(char16_t c) {
    return isNameStart(c) || (c >= u'0' && c <= u'9');
}

// The number in "varNN", or -1 for any other name.
int varNumber(const std::u16string& name) {
    if (name.size() != 5 || name.compare(0, 3, u"var") != 0) return -1;
    const char16_t hi = name[3], lo = name[4];
    if (hi < u'0' || hi > u'9' || lo < u'0' || lo > u'9') return -1;
    return (hi - u'0') * 10 + (lo - u'0');
}

}  // namespace

bool calcVariableNameValid(std::u16string_view name) {
    if (name.empty()) return true;
    if (static_cast<i64>(name.size()) > CALC_NAME_MAX || !isNameStart(name[0])) return false;
    for (char16_t c : name)
        if (!isNameChar(c)) return false;
    for (std::u16string_view reserved : {u"e", u"i", u"\u03c0", u"pi", u"ans"})
        if (name == reserved) return false;
    return true;
}

std::u16string CalcVariableList::newName() const {
    bool used[100] = {};
    for (const CalcVariable& v : entries_)
        if (const int k = varNumber(v.name); k >= 0) used[k] = true;
    for (int k = 0; k < 100; ++k) {
        if (used[k]) continue;
        return std::u16string(u"var") + static_cast<char16_t>(u'0' + k / 10) +
               static_cast<char16_t>(u'0' + k % 10);
    }
    return {};
}

i64 CalcVariableList::add() {
    if (count() >= CALC_MAX_VARIABLES) return -1;
    entries_.push_back(CalcVariable{newName(), u"", 10});
    changed_ = true;
    return count() - 1;
}

i64 CalcVariableList::insert(i64 index) {
    if (count() >= CALC_MAX_VARIABLES || !valid(index)) return -1;
    entries_.insert(entries_.begin() + index, CalcVariable{newName(), u"", 10});
    changed_ = true;
    return index;
}

i64 CalcVariableList::remove(i64 index) {
    if (!valid(index)) return -1;
    entries_.erase(entries_.begin() + index);
    changed_ = true;
    return index < count() ? index : count() - 1;
}

bool CalcVariableList::setName(i64 index, std::u16string_view name) {
    if (!valid(index)) return false;
    std::u16string& stored = entries_[static_cast<std::size_t>(index)].name;
    stored.assign(name.substr(0, static_cast<std::size_t>(CALC_NAME_MAX)));
    changed_ = true;
    return calcVariableNameValid(stored);
}

bool CalcVariableList::setValue(i64 index, std::u16string_view value, i64 maxLength) {
    if (!valid(index)) return false;
    std::u16string& stored = entries_[static_cast<std::size_t>(index)].valueText;
    stored.assign(value);
    if (maxLength >= 0 && static_cast<i64>(stored.size()) > maxLength) {
        stored.resize(static_cast<std::size_t>(maxLength));
        stored.resize(static_cast<std::size_t>(text_mark_cut(stored.data(), maxLength)));
    }
    changed_ = true;
    return true;
}

bool CalcVariableList::setBase(i64 index, u32 base) {
    if (!valid(index) || !settings_base_valid(base)) return false;
    entries_[static_cast<std::size_t>(index)].base = base;
    changed_ = true;
    return true;
}

void CalcVariableList::load(std::span<const SavedVariable> saved) {
    entries_.clear();
    for (const SavedVariable& s : saved) {
        if (count() >= CALC_MAX_VARIABLES) break;
        CalcVariable v{s.name.empty() ? std::u16string(u"var??") : s.name, s.value, s.base};
        if (!settings_base_valid(v.base)) v.base = 10;
        entries_.push_back(std::move(v));
    }
    changed_ = false;
}

std::vector<SavedVariable> CalcVariableList::saved() const {
    std::vector<SavedVariable> out;
    out.reserve(entries_.size());
    for (const CalcVariable& v : entries_)
        out.push_back(SavedVariable{v.name, static_cast<u8>(v.base), v.valueText});
    return out;
}
