// Runs golden rows (golden_row.h) through the formula engine in-process.
//
// Header-only: the test program is built from the folder's *_test.cpp files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/formula.h"
#include "formula/formula_error.h"
#include "formula/golden_row.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "textbuf/text_utf8.h"

namespace golden_detail {

inline std::string utf8(const std::u16string& s) { return text_to_utf8(s); }

inline const char* typeName(i32 type) {
    switch (type) {
        case MP_TYPE_REAL:
            return "real";
        case MP_TYPE_CPLX:
            return "cplx";
        case MP_TYPE_UINT:
            return "uint";
        case MP_TYPE_RAT:
            return "rat";
        default:
            return "?";
    }
}

inline std::u16string valueText(const u64* value, i32 words, i32 type) {
    std::u16string buf(num_text_capacity(words, type) + 1, u'\0');
    const i32 len = num_to_text(buf.data(), static_cast<i32>(buf.size()) - 1, value, 0);
    buf.resize(static_cast<std::size_t>(len < 0 ? 0 : len));
    return buf;
}

inline std::string outcome(bool ok, const std::u16string& text) {
    std::string out;  // appended piecewise: g++ 12 misjudges chained + here
    if (ok) {
        out += '"';
        out += utf8(text);
        out += '"';
        return out;
    }
    out += "error ";
    out += std::to_string(formulaError);
    out += '@';
    out += std::to_string(formulaErrorPos);
    return out;
}

// Values of the row's variables in the current context.
struct Variables {
    std::vector<std::u16string> names;
    std::vector<std::vector<u64>> values;
    VariableTable table;

    // Evaluates "name=formula, ..."; false with *why set when one fails.
    bool build(const char16_t* desc, std::size_t value_words, std::string* why) {
        std::u16string rest = desc != nullptr ? desc : u"";
        names.reserve(FORMULA_MAX_VARIABLES);  // the table points into both
        values.reserve(FORMULA_MAX_VARIABLES);
        while (!rest.empty() && table.count < FORMULA_MAX_VARIABLES) {
            const std::size_t comma = rest.find(u',');
            std::u16string item = rest.substr(0, comma);
            rest = comma == std::u16string::npos ? u"" : rest.substr(comma + 1);
            const std::size_t eq = item.find(u'=');
            std::size_t start = item.find_first_not_of(u' ');
            if (eq == std::u16string::npos || start >= eq) {
                *why = "bad variable item \"" + utf8(item) + "\"";
                return false;
            }
            std::u16string name = item.substr(start, eq - start);
            name.erase(name.find_last_not_of(u' ') + 1);
            names.push_back(name);
            values.emplace_back(value_words + 1);
            const std::u16string formula = item.substr(eq + 1);
            FormulaRequest req;
            req.text = formula.c_str();
            req.variables = &table;
            req.result = values.back().data();
            if (!evaluateFormula(&req)) {
                *why = "variable " + utf8(name) + " fails: " + outcome(false, u"");
                return false;
            }
            table.entries[table.count++] = {names.back().c_str(), values.back().data()};
        }
        return true;
    }
};

}  // namespace golden_detail

// Runs one row in the current library context (type and word count are
// set from the row). Returns "" when everything matches, otherwise a
// readable account of the row and of each mismatch. Besides the result it
// checks that mp_error is 0 afterwards, the scratch top is unchanged, the
// result buffer was not overrun, and that a failed evaluation left 0 and
// no inexact mark.
inline std::string runGoldenRow(const GoldenRow& row) {
    using namespace golden_detail;
    const std::string head =
        std::string(typeName(row.type)) + " words=" + std::to_string(row.words) +
        " base=" + std::to_string(row.base) + " \"" + utf8(row.formula) + "\": ";
    mp_error.store(0);
    mp_num_type = row.type;
    if (row.type == MP_TYPE_REAL || row.type == MP_TYPE_CPLX)
        mp_set_real_words(row.words);
    else
        mp_set_int_words(row.words);
    const i32 bytes = num_size_bytes(0, 0);
    if (mp_error.exchange(0) != 0 || bytes <= 0) return head + "bad type or word count";

    const std::size_t words = static_cast<std::size_t>(bytes) / sizeof(u64);
    constexpr u64 kCanary = 0x5A5AC3C3A5A53C3Cull;
    std::string why;
    Variables vars;
    if (!vars.build(row.vars, words, &why)) return head + why;
    std::vector<u64> result(words + 2, kCanary);

    FormulaRequest req;
    req.text = row.formula;
    req.uintBase = static_cast<u32>(row.base);
    req.variables = vars.table.count > 0 ? &vars.table : nullptr;
    req.useOperandLimits = row.limits;
    req.result = result.data();
    req.inexact = true;  // must be overwritten either way
    u8* const top = mp_scratch_top;
    const bool ok = evaluateFormula(&req);

    std::string bad;
    if (mp_error.load() != 0) bad += " mp_error " + std::to_string(mp_error.exchange(0)) + " left;";
    if (mp_scratch_top != top) bad += " scratch top moved;";
    if (result[words] != kCanary || result[words + 1] != kCanary) bad += " result overrun;";
    if (ok != (formulaError == 0)) bad += " return value disagrees with formulaError;";
    const std::u16string text = valueText(result.data(), row.words, row.type);
    const std::string got = outcome(ok, text);
    if (row.expect == nullptr) {
        if (ok || formulaError != row.error || formulaErrorPos != row.pos)
            bad += " expected error " + std::to_string(row.error) + "@" + std::to_string(row.pos) +
                   ", got " + got + ";";
        if (!ok && text != u"0") bad += " result after an error is \"" + utf8(text) + "\";";
        if (req.inexact) bad += " inexact set after an error;";
    } else {
        if (!ok || text != row.expect)
            bad += " expected \"" + utf8(row.expect) + "\", got " + got + ";";
        if (ok && row.inexact >= 0 && req.inexact != (row.inexact == 1))
            bad += req.inexact ? " marked inexact;" : " not marked inexact;";
    }
    clearFormulaError();
    return bad.empty() ? "" : head + bad;
}

// Fixture of the golden tables: a fresh library context around each test, and
// every row of a table run with its mismatch reported.
class GoldenTest : public ::testing::Test {
  protected:
    void SetUp() override { mp_context_reset(); }
    void TearDown() override { mp_context_reset(); }

    static void run(std::span<const GoldenRow> rows) {
        for (const GoldenRow& row : rows) EXPECT_EQ(runGoldenRow(row), "");
    }
};
