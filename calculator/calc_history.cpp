// The history list, its text and its file.
#include "calculator/calc_history.h"

#include "app/file_io.h"
#include "app/settings_path.h"
#include "calculator/calc_state.h"
#include "textbuf/text_utf8.h"

namespace {

constexpr std::u16string_view SEPARATOR = u" = ";
constexpr std::string_view HEADER = "# Velmarix history: ";

bool isControl(char32_t c) { return c < 0x20 || c == 0x7F; }

std::u16string withoutControls(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        if (isControl(c)) c = u' ';
    return out;
}

// A line of the file: valid UTF-8 (a replaced byte shows as U+FFFD, which
// no formula or result holds) without control characters.
bool decodeLine(std::string_view bytes, std::u16string& out) {
    out = text_from_utf8(bytes);
    for (char16_t c : out)
        if (c == u'\uFFFD' || isControl(c)) return false;
    return true;
}

// One line as an entry; false when it is not a sound one.
bool parseEntry(std::string_view line, CalcHistoryEntry& e) {
    std::u16string text;
    if (!decodeLine(line, text)) return false;
    const std::size_t at = text.rfind(SEPARATOR);
    if (at == std::u16string::npos || at == 0 || at + SEPARATOR.size() == text.size()) return false;
    const auto limit = static_cast<std::size_t>(calcMaxFormulaLength());
    if (at > limit || text.size() - at - SEPARATOR.size() > limit) return false;
    e.formula = text.substr(0, at);
    e.result = text.substr(at + SEPARATOR.size());
    return true;
}

}  // namespace

void calcHistoryAdd(CalcHistory& h, std::u16string_view formula, std::u16string_view result) {
    if (formula.empty() || result.empty()) return;
    h.entries.push_back({withoutControls(formula), withoutControls(result)});
    if (static_cast<i64>(h.entries.size()) > CALC_HISTORY_MAX)
        h.entries.erase(h.entries.begin(), h.entries.end() - CALC_HISTORY_MAX);
}

std::u16string calcHistoryLine(const CalcHistoryEntry& e) {
    std::u16string line = e.formula;
    line += SEPARATOR;
    line += e.result;
    return line;
}

std::u16string calcHistoryText(const CalcHistory& h) {
    std::u16string text;
    for (const CalcHistoryEntry& e : h.entries) {
        text += calcHistoryLine(e);
        text += u'\n';
    }
    return text;
}

std::string calcHistoryEncode(const CalcHistory& h) {
    std::string bytes(HEADER);
    bytes += h.shown ? "shown\n" : "hidden\n";
    for (const CalcHistoryEntry& e : h.entries) {
        bytes += text_to_utf8(calcHistoryLine(e));
        bytes += '\n';
    }
    return bytes;
}

CalcHistory calcHistoryDecode(std::string_view bytes) {
    CalcHistory h;
    bool first = true;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (first && line.starts_with(HEADER)) {
            h.shown = line.substr(HEADER.size()) != "hidden";
            first = false;
            continue;
        }
        first = false;
        CalcHistoryEntry e;
        if (!parseEntry(line, e)) break;
        h.entries.push_back(std::move(e));
    }
    if (static_cast<i64>(h.entries.size()) > CALC_HISTORY_MAX)
        h.entries.erase(h.entries.begin(), h.entries.end() - CALC_HISTORY_MAX);
    return h;
}

std::string calcHistoryPath() {
    const std::string folder = app_data_folder();
    return folder.empty() ? folder : folder + "/history.txt";
}

CalcHistory calcHistoryLoad(const std::string& path) {
    if (path.empty()) return {};
    return calcHistoryDecode(file_read_bounded(path, CALC_HISTORY_MAX_BYTES));
}

bool calcHistorySave(const CalcHistory& h, const std::string& path) {
    return !path.empty() && file_write_replacing(path, calcHistoryEncode(h));
}
