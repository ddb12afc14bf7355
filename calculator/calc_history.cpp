// The history list, its text and its file.
#include "calculator/calc_history.h"

#include "app/file_io.h"
#include "app/settings_path.h"
#include "calculator/calc_state.h"

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

void appendUtf8(std::string& out, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;  // a lone surrogate has no UTF-8 form
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

// Strict UTF-8 (shortest forms, no surrogates, at most U+10FFFF) without
// control characters; false for anything else.
bool decodeLine(std::string_view bytes, std::u16string& out) {
    out.clear();
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const int len = b < 0x80 ? 1 : b >= 0xC2 && b < 0xE0 ? 2 : b >= 0xE0 && b < 0xF0 ? 3
                                   : b >= 0xF0 && b < 0xF5   ? 4
                                                             : 0;
        if (len == 0 || i + static_cast<std::size_t>(len) > bytes.size()) return false;
        char32_t c = len == 1 ? b : b & (0x7F >> len);
        for (int k = 1; k < len; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((t & 0xC0) != 0x80) return false;
            c = (c << 6) | (t & 0x3F);
        }
        const bool shortest = len < 3 || (len == 3 ? c >= 0x800 : c >= 0x10000);
        if (!shortest || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF || isControl(c)) return false;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += static_cast<std::size_t>(len);
    }
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
        appendUtf8(bytes, calcHistoryLine(e));
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
