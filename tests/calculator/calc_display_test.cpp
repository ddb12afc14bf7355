// The result field: the rows of tests/golden/calc_display.txt (every display
// mode per number type, the toggles, rounding, "ans" across types, uint
// bases and digit counts, the previous result after a change of type,
// precision or base, variables), the mixed form against GMP, and leaving
// uint.

#include <algorithm>
#include <string>
#include <vector>

#include "calc_test_util.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "support/gmp_oracle.h"
#include "support/golden_runner.h"
#include "support/rat_harness.h"

namespace {

// Presses the display keys of one golden row; "" when each did as marked.
std::string toggle(CalcState& s, const std::vector<std::string>& keys) {
    for (std::string key : keys) {
        const bool refused = key[0] == '!';
        if (refused) key.erase(0, 1);
        const u32 code = key == "fe"   ? CALC_TOGGLE_FIXED_EXP
                         : key == "rf" ? CALC_TOGGLE_RAT_DECIMAL
                         : key == "rm" ? CALC_TOGGLE_RAT_MIXED
                                       : static_cast<u32>(std::stoul(key));
        if (calcToggleDisplay(s, code) == refused) return key + (refused ? " taken" : " refused");
    }
    return "";
}

TEST_F(CalcTest, GoldenRowsShowTheirResults) {
    const char* const modes[] = {"auto", "fixed", "exponent", "decimal", "mixed"};
    const char* const types[] = {"real", "cplx", "uint", "rat"};
    const i32 typeCodes[] = {MP_TYPE_REAL, MP_TYPE_CPLX, MP_TYPE_UINT, MP_TYPE_RAT};
    golden_run("calc_display.txt", [&](const GoldenLine& row) -> std::string {
        const std::vector<std::string> head = row.words(0);
        clearErrors();
        if (head.at(0) == "var") {
            const i64 i = s.variables.add();
            s.variables.setName(i, text_from_utf8(head.at(1)));
            s.variables.setValue(i, text_from_utf8(row.text(1)), calcMaxFormulaLength());
            s.variables.setBase(i, static_cast<u32>(std::stoul(head.at(2))));
            return "";
        }
        if (head[0] == "toggle") {
            const std::string bad = toggle(s, row.words(1));
            if (!bad.empty()) return bad;
        } else if (head[0] == "type") {
            const std::vector<std::string> w = row.words(1);
            use(typeCodes[std::find(std::begin(types), std::end(types), w.at(0)) - types],
                std::stoi(w.at(1)));
        } else if (head[0] == "base") {
            calcSetOutputBase(s, static_cast<u32>(std::stoul(row.text(1))));
        } else {
            if (head.size() < 3) return "malformed row";
            const auto type = std::find(std::begin(types), std::end(types), head[0]) - types;
            const auto mode = std::find(std::begin(modes), std::end(modes), head[2]) - modes;
            if (type == 4 || mode == 5) return "unknown type or mode";
            use(typeCodes[type], std::atoi(head[1].c_str()));
            s.groupDigits = head.size() > 3 && head[3] == "grouped";
            if (eval(row.text(1)) == 0) {
                s.displayMode = static_cast<u32>(mode);
                calcShowResult(s);
            }
        }
        std::vector<std::string> want = row.words(3);
        if (want.empty()) want = {"0"};
        if (std::to_string(error()) != want.at(0)) return "error " + std::to_string(error());
        if (want.size() > 1 && text_to_utf8(appErrorText1) != want[1])
            return "names " + text_to_utf8(appErrorText1);
        if (row.has(4) && text_to_utf8(s.digitCountText) != row.text(4) + " ")
            return "count " + text_to_utf8(s.digitCountText);
        return row.text(2) == "*" || shown() == row.text(2) ? "" : "shown " + shown();
    });
}

// Mixed forms of random fractions against q, r from GMP; cut at the limit.
TEST_F(CalcTest, MixedFormMatchesGmp) {
    SCOPED_TRACE(test_seed_text());
    TestRng rng;
    mp_num_type = MP_TYPE_RAT;
    mp_set_int_words(CALC_RAT_WORDS);
    const auto dec = [](mpz_srcptr z) {
        std::string out(mpz_sizeinbase(z, 10) + 2, '\0');
        return std::string(mpz_get_str(out.data(), 10, z));
    };
    for (i64 iter = 0; iter < test_iterations(200); ++iter) {
        const std::vector<u64> small = random_rat(rng, 12);
        const Mpq x(small.data(), 12);
        Mpz q, r;
        mpz_tdiv_qr(q, r, x.num(), x.den());
        mpz_abs(r, r);
        std::string expected = dec(q);  // "0" before a negative fraction below 1
        if (mpz_cmp_ui(x.den(), 1) != 0)
            expected += (x.sgn() < 0 ? "-" : "+") + dec(r) + "/" + dec(x.den());
        EXPECT_EQ(text_to_utf8(calcMixedText(x.words(CALC_RAT_WORDS).data(), 1 << 20)), expected);
    }
    std::vector<u64> value(2 * CALC_RAT_WORDS + 1);
    EXPECT_EQ(error(), 0u);
    rat_from_text(value.data(), u"123456789/1000", -1, 0);
    EXPECT_EQ(text_to_utf8(calcMixedText(value.data(), 8)), "123456+…");
    EXPECT_EQ(error(), APP_ERR_TEXT_OVERFLOW);
}

// Leaving uint shows base ten and drops a formula of another base.
TEST_F(CalcTest, LeavingUintShowsBaseTen) {
    use(MP_TYPE_UINT);
    calcSetInputBase(s, 16);
    ASSERT_EQ(eval("FF"), 0u);
    calcSetNumberType(s, MP_TYPE_REAL);
    EXPECT_EQ(s.outputBase, 10u);
    EXPECT_EQ(shown(), "255");
    EXPECT_TRUE(s.formula.empty());
    EXPECT_TRUE(s.resultStale);
    calcFormulaEdited(s, u"1");
    calcSetNumberType(s, MP_TYPE_UINT);
    EXPECT_EQ(s.inputBase, 10u);
    EXPECT_EQ(settings_number_type, static_cast<u32>(MP_TYPE_UINT));
    EXPECT_TRUE(settings_dirty);
}

}  // namespace
