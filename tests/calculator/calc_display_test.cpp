// The result field: the rows of tests/golden/calc_display.txt (every display
// mode per number type, the toggles, rounding, "ans" across types, uint
// bases and digit counts, the previous result after a change of type,
// precision or base, variables), the mixed form against GMP, and leaving
// uint.
#include <gmp.h>

#include <algorithm>
#include <vector>

#include "calc_test_util.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "support/gmp_oracle.h"
#include "support/golden_runner.h"
#include "support/test_random.h"

namespace {

std::string digits(const Mpz& z) {
    std::vector<char> buffer(mpz_sizeinbase(z.get(), 10) + 2);
    return mpz_get_str(buffer.data(), 10, z.get());
}

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
    std::vector<u64> value(2 * CALC_RAT_WORDS + 1);
    for (i64 iter = 0; iter < test_iterations(200); ++iter) {
        const i64 words = rng.range(1, 12);
        std::vector<u64> num(CALC_RAT_WORDS, 0), den(CALC_RAT_WORDS, 0);
        rng.fill(num.data(), CALC_RAT_WORDS, rng.range(0, words));
        rng.fill(den.data(), CALC_RAT_WORDS, words);
        Mpz n(num.data(), CALC_RAT_WORDS), d(den.data(), CALC_RAT_WORDS), g, q, r;
        if (mpz_sgn(d.get()) == 0) continue;
        mpz_gcd(g, n, d);
        mpz_divexact(n, n, g);
        mpz_divexact(d, d, g);
        const bool negative = mpz_sgn(n.get()) != 0 && rng.chance(50);
        value.assign(value.size(), 0);
        value[0] = negative ? 1 : 0;
        n.store(rat_num(value.data()), CALC_RAT_WORDS);
        d.store(rat_den(value.data()), CALC_RAT_WORDS);
        mpz_fdiv_qr(q, r, n, d);
        std::string expected;
        if (mpz_cmp_ui(d.get(), 1) == 0) {
            expected = (negative ? "-" : "") + digits(n);
        } else {
            if (negative && mpz_sgn(q.get()) != 0) expected = "-";
            expected += digits(q) + (negative ? "-" : "+") + digits(r) + "/" + digits(d);
        }
        EXPECT_EQ(text_to_utf8(calcMixedText(value.data(), 1 << 20)), expected);
    }
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
