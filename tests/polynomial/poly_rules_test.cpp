// The rules of the polynomial arithmetic that the page does not reach:
// aliasing in every number type, library errors, vectors of another
// precision and the term list. The degree limits are rows of the page.
#include <string>

#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/real.h"
#include "poly_test_util.h"

namespace {

class PolyTypeTest : public PolyTest, public ::testing::WithParamInterface<i32> {
  protected:
    void SetUp() override {
        PolyTest::SetUp();
        use_type(GetParam(), 3);
    }
};

INSTANTIATE_TEST_SUITE_P(Types, PolyTypeTest,
                         ::testing::Values(MP_TYPE_RAT, MP_TYPE_REAL, MP_TYPE_CPLX));

TEST_P(PolyTypeTest, RefusedAliasing) {
    Poly a, b, q, r;

    // Outputs aliased with inputs they would destroy are refused.
    for (int alias = 0; alias < 4; ++alias) {
        clearErrors();
        set_ints(a, {1, 2, 3});
        set_ints(b, {1, 1});
        Poly* quot = alias == 0 ? &a : alias == 1 ? &b : &q;
        Poly* rem = alias == 2 ? &q : alias == 3 ? &b : &r;
        poly_divmod(*quot, *rem, a, b, 20);
        EXPECT_EQ(app_error(), APP_ERR_INTERNAL) << alias;
        EXPECT_EQ(poly_degree(b), 1) << alias;
    }
    clearErrors();
    poly_mul(a, a, b, 20);
    EXPECT_EQ(app_error(), APP_ERR_INTERNAL);
    EXPECT_EQ(poly_degree(a), 2);

    clearErrors();  // the remainder may be the dividend
    set_ints(a, {-1, 0, 1});
    poly_divmod(q, a, a, b, 20);
    EXPECT_EQ(app_error(), 0u);
    EXPECT_EQ(poly_degree(a), -1);
    EXPECT_EQ(poly_degree(q), 1);

    poly_pow(b, b, 3, 30);  // the output may be the base
    set_ints(a, {1, 3, 3, 1});
    poly_add_sub(a, a, b, true, 30);
    EXPECT_EQ(poly_degree(a), -1);
    EXPECT_EQ(app_error(), 0u);
    // Exponents the page would refuse are refused here as well.
    poly_pow(a, b, 21, 30);
    EXPECT_EQ(app_error(), APP_ERR_POLY_INDEX);
    EXPECT_EQ(std::u16string(appErrorText1), u"P1(x)");
    EXPECT_EQ(std::u16string(appErrorText2), u"20");
}

TEST_F(PolyTest, LibraryErrorsBecomeApplicationErrors) {
    use_type(MP_TYPE_RAT, 1);
    Poly a, b, out;
    set_ints(a, {0, i64{1} << 40});
    poly_mul(out, a, a, 10);  // 2^80 does not fit one word
    EXPECT_EQ(app_error(), APP_ERR_OVERFLOW);
    EXPECT_EQ(mp_err(), 0);

    clearErrors();
    mp_raise(MP_ERR_STOPPED);
    poly_add_sub(out, a, a, false, 10);
    EXPECT_EQ(app_error(), APP_ERR_STOPPED);
}

// A vector made under other word counts or another type must never be
// written at the current size.
TEST_F(PolyTest, VectorsOfAnotherPrecisionAreRefused) {
    use_type(MP_TYPE_REAL, 2);
    Poly small;
    set_ints(small, {1, 2});
    use_type(MP_TYPE_REAL, 40);
    Poly big;
    poly_add_sub(small, big, big, false, 10);
    EXPECT_EQ(app_error(), APP_ERR_INTERNAL);
    EXPECT_EQ(real_cmp_i64(small.slot(1), 2), 0);

    clearErrors();
    mp_num_type = MP_TYPE_UINT;
    Poly none;
    EXPECT_EQ(none.slot_words(), 0);
    poly_add_sub(big, big, big, false, 10);
    EXPECT_EQ(app_error(), APP_ERR_OVERFLOW);  // library error 3, folded
}

TEST_F(PolyTest, TermList) {
    auto list = [](i32 n) {
        char16_t chars[200];
        TextBuf buf = textbuf_on(chars);
        poly_term_list(buf, n, u'a');
        textbuf_finish(buf);
        return std::u16string(chars);
    };
    EXPECT_EQ(list(-1), u"");  // the lists of 0 to 20 are in the page's rows
    EXPECT_EQ(list(101), u"");
    EXPECT_EQ(app_error(), 0u);

    char16_t small[11];
    TextBuf buf = textbuf_on(small);
    poly_term_list(buf, 20, u'b');
    EXPECT_TRUE(textbuf_finish(buf));
    EXPECT_EQ(std::u16string(small), u"b20*x^20 \u2026");
    EXPECT_EQ(app_error(), APP_ERR_TEXT_OVERFLOW);
}

}  // namespace
