// The operations' contract with the evaluator beyond what formulas reach:
// unknown codes and types, and the work limit of ncr and npr. (The scratch
// and the inexact mark are checked on every golden row and random formula.)
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "formula/formula_error.h"
#include "formula/formula_ops.h"
#include "numlib/mp_context.h"
#include "numlib/mp_error.h"
#include "numlib/num.h"
#include "numlib/uint.h"
#include "support/numlib_fixture.h"

namespace {

class OpsState : public NumlibTest {
  protected:
    void SetUp() override {
        NumlibTest::SetUp();
        clearFormulaError();
        inexactFlag = false;
        comboLimit = divisionLimit = powmodLimit = 0;
        mp_num_type = MP_TYPE_UINT;
        mp_set_int_words(2);
    }
    void TearDown() override {
        clearFormulaError();
        inexactFlag = false;
        comboLimit = divisionLimit = powmodLimit = 0;
        NumlibTest::TearDown();
    }
    std::vector<u64> uint_value(u64 v) {
        std::vector<u64> x(static_cast<std::size_t>(mp_int_words));
        uint_set_u64(x.data(), v);
        return x;
    }
};

TEST_F(OpsState, UnknownCodesAreInternalErrors) {
    std::vector<u64> a = uint_value(4), b = uint_value(2);
    const std::pair<const char*, std::function<void()>> calls[] = {
        {"operator 606", [&] { applyOperator(606, a.data(), b.data()); }},
        {"function1 299", [&] { applyFunction1(299, a.data(), 3); }},
        {"function1 316", [&] { applyFunction1(316, a.data(), 3); }},  // powmod takes three
        {"function2 200", [&] { applyFunction2(200, a.data(), b.data(), 3); }},
        {"function3 310", [&] { applyFunction3(310, a.data(), b.data(), b.data(), 3); }},
    };
    for (const auto& [name, call] : calls) {
        clearFormulaError();
        call();
        EXPECT_EQ(formulaError, FORMULA_ERR_INTERNAL) << name;
        EXPECT_EQ(mp_error.exchange(0), 0) << name;
    }
}

TEST_F(OpsState, UnknownNumberTypeIsLibraryError3) {
    std::vector<u64> a = uint_value(4), b = uint_value(2);
    mp_num_type = 7;
    applyOperator(602, a.data(), b.data());
    EXPECT_EQ(mp_error.exchange(0), MP_ERR_TYPE);
    applyFunction1(200, a.data(), 1);
    EXPECT_EQ(mp_error.exchange(0), MP_ERR_TYPE);
    applyFunction2(313, a.data(), b.data(), 1);
    EXPECT_EQ(mp_error.exchange(0), MP_ERR_TYPE);
    EXPECT_EQ(formulaError, 0u);
}

// ncr counts min(k, n - k) factors, npr k of them; more than comboLimit
// (when positive) is error 14, in every type that has the functions.
TEST_F(OpsState, ComboLimitBoundsTheFactors) {
    for (const i32 type : {MP_TYPE_UINT, MP_TYPE_RAT, MP_TYPE_REAL}) {
        mp_num_type = type;
        const std::size_t size = static_cast<std::size_t>(num_size_bytes(0, 0)) / sizeof(u64);
        for (const i32 limit : {0, 2, 3}) {
            comboLimit = limit;
            for (const u16 code : {u16{310}, u16{311}}) {
                std::vector<u64> n(size), k(size);
                num_from_i64(n.data(), 10);
                num_from_i64(k.data(), 3);
                applyFunction2(code, n.data(), k.data(), 1);
                const bool over = limit == 2;
                EXPECT_EQ(mp_error.exchange(0), over ? MP_ERR_DOMAIN : 0)
                    << "type " << type << " limit " << limit << " code " << code;
                i64 value = 0;
                EXPECT_TRUE(num_to_i64(&value, n.data()));
                EXPECT_EQ(value, over ? 0 : (code == 310 ? 120 : 720));
            }
        }
    }
}

}  // namespace
