// The operations' contract with the evaluator: unknown codes and types,
// the work limits, the inexact mark that only ever accumulates, and the
// library scratch left where it was on every path.
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

// The mark of a rounded result stays until the evaluator clears it; failed
// operations do not set it.
TEST_F(OpsState, InexactOnlyAccumulates) {
    std::vector<u64> a = uint_value(17), b = uint_value(0);
    applyFunction1(200, a.data(), 1);  // sqrt(17) = 4, rounded
    EXPECT_TRUE(inexactFlag);
    std::vector<u64> c = uint_value(16);
    applyFunction1(200, c.data(), 1);  // exact
    applyOperator(603, c.data(), uint_value(2).data());
    EXPECT_TRUE(inexactFlag);
    inexactFlag = false;
    std::vector<u64> d = uint_value(7);
    applyOperator(603, d.data(), b.data());  // 7/0
    EXPECT_EQ(mp_error.exchange(0), MP_ERR_DIV_ZERO);
    EXPECT_FALSE(inexactFlag);
}

// Every operation releases the library scratch it took, also when it fails.
TEST_F(OpsState, ScratchIsReleased) {
    struct Case {
        i32 type;
        u16 code;
        int args;
        i64 a, b, c;
    };
    const Case cases[] = {
        {MP_TYPE_REAL, 207, 1, 3, 0, 0},   {MP_TYPE_REAL, 215, 1, 90, 0, 0},
        {MP_TYPE_REAL, 221, 1, 250, 0, 0}, {MP_TYPE_REAL, 209, 1, 0, 0, 0},
        {MP_TYPE_REAL, 313, 2, 12, 18, 0}, {MP_TYPE_REAL, 314, 2, 0, 18, 0},
        {MP_TYPE_REAL, 603, 2, 1, 7, 0},   {MP_TYPE_RAT, 200, 1, 4, 0, 0},
        {MP_TYPE_RAT, 317, 1, -7, 0, 0},   {MP_TYPE_CPLX, 303, 1, -1, 0, 0},
        {MP_TYPE_CPLX, 302, 3, 3, 8, 5},   {MP_TYPE_UINT, 316, 3, 3, 200, 7},
    };
    for (const Case& k : cases) {
        mp_num_type = k.type;
        const std::size_t size = static_cast<std::size_t>(num_size_bytes(0, 0)) / sizeof(u64);
        std::vector<u64> a(size), b(size), c(size);
        num_from_i64(a.data(), k.a);
        num_from_i64(b.data(), k.b);
        num_from_i64(c.data(), k.c);
        u8* const top = mp_scratch_top;
        if (k.code >= 600 && k.code < 700)
            applyOperator(k.code, a.data(), b.data());
        else if (k.args == 1)
            applyFunction1(k.code, a.data(), 1);
        else if (k.args == 2)
            applyFunction2(k.code, a.data(), b.data(), 1);
        else
            applyFunction3(k.code, a.data(), b.data(), c.data(), 1);
        EXPECT_EQ(mp_scratch_top, top) << "type " << k.type << " code " << k.code;
        mp_error.store(0);
        clearFormulaError();
    }
}

}  // namespace
