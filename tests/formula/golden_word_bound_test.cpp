// The word-bound mark of the uint and rat error rows: front ends that run
// the rows at larger word counts rely on it. An unmarked error must recur
// with more words; a marked one must go away.
#include <gtest/gtest.h>

#include <string>

#include "formula/golden.h"
#include "formula/golden_rows_functions.h"
#include "formula/golden_rows_operators.h"
#include "formula/golden_rows_syntax.h"

namespace {

using GoldenWordBound = GoldenTest;

TEST_F(GoldenWordBound, IntegerErrorsRecurWithMoreWordsUnlessMarked) {
    int marked = 0, unmarked = 0;
    for (std::span<const GoldenTable> tables :
         {std::span<const GoldenTable>(golden_functions::kTables),
          std::span<const GoldenTable>(golden_operators::kTables),
          std::span<const GoldenTable>(golden_syntax::kTables)}) {
        for (const GoldenTable& t : tables) {
            for (GoldenRow row : t.rows) {
                if (row.expect != nullptr || row.limits) continue;
                if (row.type != MP_TYPE_UINT && row.type != MP_TYPE_RAT) continue;
                row.words =
                    row.type == MP_TYPE_UINT ? GOLDEN_WIDE_UINT_WORDS : GOLDEN_WIDE_RAT_WORDS;
                const std::string outcome = runGoldenRow(row);
                if (row.wordBound) {
                    ++marked;  // a result, where the row's own words gave the error
                    EXPECT_NE(outcome.find(", got \""), std::string::npos)
                        << t.name << " " << golden_detail::utf8(row.formula) << ": " << outcome;
                } else {
                    ++unmarked;
                    EXPECT_EQ(outcome, "") << t.name;
                }
            }
        }
    }
    EXPECT_GT(marked, 0);
    EXPECT_GT(unmarked, 0);
}

}  // namespace
