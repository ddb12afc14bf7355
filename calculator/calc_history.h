// The calculator's history: "formula = result" of every evaluation that
// succeeded, newest last, at most CALC_HISTORY_MAX entries, and whether the
// page shows it. Kept across restarts in the data folder's history.txt as
// UTF-8 text: an optional first line "# Velmarix history: shown" (or
// "hidden"), then one entry a line. Reading is tolerant: a damaged or
// foreign file gives the entries up to its first line that is not a sound
// entry, and never more than the limits allow.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "numlib/mp_types.h"

constexpr i64 CALC_HISTORY_MAX = 1000;
// A history file larger than this is not read (the largest real one, a
// thousand of the longest results, stays well below it).
constexpr i64 CALC_HISTORY_MAX_BYTES = i64{64} << 20;

struct CalcHistoryEntry {
    std::u16string formula;
    std::u16string result;
    bool operator==(const CalcHistoryEntry&) const = default;
};

struct CalcHistory {
    std::vector<CalcHistoryEntry> entries;  // oldest first
    bool shown = true;
};

// Appends an entry (line breaks and other control characters become
// blanks), dropping the oldest beyond CALC_HISTORY_MAX. An empty formula or
// result is not added.
void calcHistoryAdd(CalcHistory& h, std::u16string_view formula, std::u16string_view result);

// The line of one entry, "formula = result", as the list and the copy show it.
std::u16string calcHistoryLine(const CalcHistoryEntry& e);
// Every entry's line, each ended by a line feed: "Copy history".
std::u16string calcHistoryText(const CalcHistory& h);

// The file's bytes, and the history read from bytes (see above).
std::string calcHistoryEncode(const CalcHistory& h);
CalcHistory calcHistoryDecode(std::string_view bytes);

// history.txt in the data folder (app_data_folder(), created when missing);
// empty when there is no home folder.
std::string calcHistoryPath();

// Reads path (empty history, shown, when it is missing, unreadable or too
// large) and writes it atomically. calcHistorySave returns false on failure
// and leaves the old file as it was.
CalcHistory calcHistoryLoad(const std::string& path);
bool calcHistorySave(const CalcHistory& h, const std::string& path);
