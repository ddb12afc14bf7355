// The formula engine's golden rows (tests/golden/formula.txt): parsed into
// GoldenRow and run in-process. evaluateChecked holds what every evaluation
// must keep, for the rows and the random formulas alike.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "formula/formula.h"
#include "formula/formula_error.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "support/golden_runner.h"
#include "textbuf/text_utf8.h"

struct GoldenRow {
    i32 type = MP_TYPE_REAL;
    i32 words = 1;  // mp_real_words (real, cplx) or mp_int_words (uint, rat)
    i32 base = 10;  // input base of uint literals
    std::u16string formula;
    bool isError = false;
    // The result as num_to_text prints it (flags 0) in quotes, or "error CODE@POSITION"
    // (1-based).
    std::string expect;
    i32 inexact = -1;        // -1: not checked; 0: exact; 1: marked inexact
    std::u16string vars;     // "name=formula, ..." evaluated in order
    bool limits = false;     // useOperandLimits
    bool wordBound = false;  // a uint or rat error that more words avoid
};

namespace golden_detail {

inline const char* const kTypeNames[] = {"real", "cplx", "uint", "rat"};
inline constexpr i32 kTypes[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};

// The values of "name=formula, ..." in the current context, each formula
// seeing the names before it. The table points into names and values.
struct Variables {
    std::vector<std::u16string> names;
    std::vector<std::vector<u64>> values;
    VariableTable table;

    // "" or why an item is malformed or fails.
    std::string build(const std::u16string& desc, std::size_t words) {
        names.reserve(FORMULA_MAX_VARIABLES);
        values.reserve(FORMULA_MAX_VARIABLES);
        for (std::size_t at = 0; at < desc.size() && table.count < FORMULA_MAX_VARIABLES;) {
            const std::size_t end = std::min(desc.find(u',', at), desc.size());
            const std::u16string item = desc.substr(at, end - at);
            at = end + 1;
            const std::size_t eq = item.find(u'='), from = item.find_first_not_of(u' ');
            if (eq == std::u16string::npos || from >= eq)
                return "bad variable item \"" + text_to_utf8(item) + "\"";
            names.push_back(item.substr(from, item.find_last_not_of(u' ', eq - 1) + 1 - from));
            values.emplace_back(words);
            const std::u16string formula = item.substr(eq + 1);
            FormulaRequest req;
            req.text = formula.c_str();
            req.variables = &table;
            req.result = values.back().data();
            if (!evaluateFormula(&req)) return "variable " + text_to_utf8(names.back()) + " fails";
            table.entries[table.count++] = {names.back().c_str(), values.back().data()};
        }
        return "";
    }
};

}  // namespace golden_detail

// Evaluates req (its result and inexact are set here) in the current type and
// word count; *text gets the result as num_to_text prints it. Returns each
// broken promise of evaluateFormula: mp_error 0 and the scratch top where it
// was afterwards, no write past the result, the return value matching
// formulaError, and after an error a known code, a position inside the text
// (0 for the errors without one), a result of 0 and no inexact mark.
// formulaError is left for the caller.
inline std::string evaluateChecked(FormulaRequest* req, std::u16string* text) {
    const bool realLike = mp_num_type == MP_TYPE_REAL || mp_num_type == MP_TYPE_CPLX;
    const i32 words = realLike ? mp_real_words : mp_int_words;
    const std::size_t size = static_cast<std::size_t>(num_size_bytes(0, 0)) / sizeof(u64);
    constexpr u64 kCanary = 0x5A5AC3C3A5A53C3Cull;
    std::vector<u64> result(size + 2, kCanary);
    req->result = result.data();
    req->inexact = true;  // must be overwritten either way
    u8* const top = mp_scratch_top;
    const bool ok = evaluateFormula(req);

    std::string bad;
    if (mp_error.load() != 0) bad += " mp_error " + std::to_string(mp_error.exchange(0)) + " left;";
    if (mp_scratch_top != top) bad += " scratch top moved;";
    if (result[size] != kCanary || result[size + 1] != kCanary) bad += " result overrun;";
    if (ok != (formulaError == 0)) bad += " return value disagrees with formulaError;";
    text->assign(static_cast<std::size_t>(num_text_capacity(words, mp_num_type)) + 1, u'\0');
    const i32 len = num_to_text(text->data(), static_cast<i32>(text->size()) - 1, result.data(), 0);
    text->resize(static_cast<std::size_t>(std::max(len, 0)));
    if (ok) return bad;
    const u32 code = formulaError;
    if (code < FORMULA_ERR_SYNTAX || code > FORMULA_ERR_STOPPED || code == FORMULA_ERR_INTERNAL)
        bad += " error code " + std::to_string(code) + ";";
    const bool placed = code != FORMULA_ERR_UNEXPECTED_END && code != FORMULA_ERR_TOO_DEEP &&
                        code != FORMULA_ERR_STOPPED;
    const i32 length = static_cast<i32>(std::u16string_view(req->text ? req->text : u"").size());
    if (placed ? formulaErrorPos < 1 || formulaErrorPos > length + 1 : formulaErrorPos != 0)
        bad += " error position " + std::to_string(formulaErrorPos) + ";";
    if (*text != u"0") bad += " result after an error is \"" + text_to_utf8(*text) + "\";";
    if (req->inexact) bad += " inexact set after an error;";
    return bad;
}

// Reads a row "TYPE WORDS [BASE] | FORMULA | RESULT | FLAGS | vars ...";
// "" or what is malformed.
inline std::string parseGoldenRow(const GoldenLine& line, GoldenRow* row) {
    using namespace golden_detail;
    const std::vector<std::string> head = line.words(0);
    if (head.size() < 2 || head.size() > 3 || line.cells.size() < 3) return "malformed row";
    row->type = -1;
    for (int k = 0; k < 4; ++k)
        if (head[0] == kTypeNames[k]) row->type = kTypes[k];
    row->words = std::atoi(head[1].c_str());
    row->base = head.size() == 3 ? std::atoi(head[2].c_str()) : 10;
    if (row->type < 0 || row->words <= 0 || row->base <= 0) return "bad type, words or base";
    row->formula = text_from_utf8(line.text(1));
    row->isError = line.cells[2].rfind("error ", 0) == 0;
    row->expect = row->isError ? line.text(2) : "\"" + line.text(2) + "\"";
    for (std::size_t c = 3; c < line.cells.size(); ++c) {
        if (line.cells[c].rfind("vars ", 0) == 0) {
            row->vars = text_from_utf8(line.text(c).substr(5));
            continue;
        }
        for (const std::string& flag : line.words(c)) {
            if (flag != "inexact" && flag != "exact" && flag != "limits" && flag != "wordbound")
                return "unknown flag " + flag;
            if (flag.ends_with("exact")) row->inexact = flag == "inexact";
            row->limits |= flag == "limits";
            row->wordBound |= flag == "wordbound";
        }
    }
    return "";
}

// Runs one row, setting the type and word count from it. Returns "" when
// everything matches, otherwise each mismatch and each broken promise.
inline std::string runGoldenRow(const GoldenRow& row) {
    mp_error.store(0);
    mp_num_type = row.type;
    (row.type == MP_TYPE_REAL || row.type == MP_TYPE_CPLX ? mp_set_real_words
                                                          : mp_set_int_words)(row.words);
    const i32 bytes = num_size_bytes(0, 0);
    if (mp_error.exchange(0) != 0 || bytes <= 0) return "bad type or word count";

    golden_detail::Variables vars;
    std::string bad = vars.build(row.vars, static_cast<std::size_t>(bytes) / sizeof(u64));
    if (!bad.empty()) return bad;
    FormulaRequest req;
    req.text = row.formula.c_str();
    req.uintBase = static_cast<u32>(row.base);
    req.variables = vars.table.count > 0 ? &vars.table : nullptr;
    req.useOperandLimits = row.limits;
    std::u16string text;
    bad = evaluateChecked(&req, &text);
    const bool ok = formulaError == 0;
    const std::string got =
        ok ? "\"" + text_to_utf8(text) + "\""
           : "error " + std::to_string(formulaError) + "@" + std::to_string(formulaErrorPos);
    if (got != row.expect) bad += " expected " + row.expect + ", got " + got + ";";
    if (ok && row.inexact >= 0 && req.inexact != (row.inexact == 1))
        bad += req.inexact ? " marked inexact;" : " not marked inexact;";
    clearFormulaError();
    return bad;
}
