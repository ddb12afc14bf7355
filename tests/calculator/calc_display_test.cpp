// The result field: the rows of tests/golden/calc_display.txt (every display
// mode per number type, the toggles, rounding, "ans" across types), the
// mixed form against GMP, uint bases and digit counts, and a previous result
// shown again after a change of type, precision or base.
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
        if (head == std::vector<std::string>{"toggle"}) {
            const std::string bad = toggle(s, row.words(1));
            return !bad.empty() ? bad : shown() == row.text(2) ? "" : "shown " + shown();
        }
        if (head.size() != 3) return "malformed row";
        const auto type = std::find(std::begin(types), std::end(types), head[0]) - types;
        const auto mode = std::find(std::begin(modes), std::end(modes), head[2]) - modes;
        if (type == 4 || mode == 5) return "unknown type or mode";
        use(typeCodes[type], std::atoi(head[1].c_str()));
        const u32 code = eval(row.text(1));
        if (std::to_string(code) != (row.has(3) ? row.text(3) : "0"))
            return "error " + std::to_string(code);
        if (code == 0) {
            s.displayMode = static_cast<u32>(mode);
            calcShowResult(s);
            if (error() != 0) return "error " + std::to_string(error()) + " when shown";
        }
        return shown() == row.text(2) ? "" : "shown " + shown();
    });
}

TEST_F(CalcTest, UintBasesGroupingAndDigitCount) {
    use(MP_TYPE_UINT);
    s.groupDigits = true;
    ASSERT_EQ(eval("999*1001"), 0u);
    EXPECT_EQ(ascii(s.digitCountText), "6 ");  // 999'999: every digit counts
    ASSERT_EQ(eval("2^20+255"), 0u);
    const struct {
        u32 base;
        const char* shown;
        const char* count;
    } rows[] = {
        {10, "1'048'831", "7 "}, {16, "10'00FF", "6 "}, {2, "1'0000'0000'0000'1111'1111", "21 "}};
    for (const auto& row : rows) {
        calcSetOutputBase(s, row.base);
        EXPECT_EQ(shown(), row.shown);
        EXPECT_EQ(ascii(s.digitCountText), row.count);
    }
    // 1039 words of ones in base 2: the longest text still fits the field.
    ASSERT_EQ(eval("(2^66495-1)*2+1"), 0u);
    EXPECT_EQ(ascii(s.digitCountText), "66496 ");
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
        EXPECT_EQ(ascii(calcMixedText(value.data(), 1 << 20)), expected);
    }
    EXPECT_EQ(error(), 0u);
    rat_from_text(value.data(), u"123456789/1000", -1, 0);
    EXPECT_EQ(ascii(calcMixedText(value.data(), 8)), "123456+\\u2026");
    EXPECT_EQ(error(), APP_ERR_TEXT_OVERFLOW);
}

TEST_F(CalcTest, PreviousResultFollowsTypePrecisionAndBase) {
    use(MP_TYPE_RAT);
    ASSERT_EQ(eval("1/3"), 0u);
    use(MP_TYPE_REAL, 20);
    calcSetOutputBase(s, 10);  // shows the converted result again
    EXPECT_EQ(shown(), "0.33333333333333333333333333333333333333");  // the words of 20 digits
    use(MP_TYPE_UINT);
    calcSetOutputBase(s, 16);
    EXPECT_EQ(error(), APP_ERR_NOT_CONVERTIBLE);  // 1/3 has no integer form
    EXPECT_TRUE(s.resultStale);
    EXPECT_EQ(s.previousType, MP_TYPE_REAL);  // kept as it was
    clearErrors();
    use(MP_TYPE_REAL, 10);
    ASSERT_EQ(eval("2^64+1"), 0u);
    use(MP_TYPE_UINT);
    calcSetOutputBase(s, 16);
    EXPECT_EQ(shown(),
              "FFFFFFFF22E4BC00");  // 18446744070000000000: rounded to 10 digits when stored

    // Leaving uint shows base ten and drops a formula of another base.
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
