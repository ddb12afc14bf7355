// The error bounds against exact rational arithmetic: every upper bound at
// least the exact result of its operands, the lower one of a difference at
// most the exact difference.
#include "linear/linear_bound.h"

#include <gmpxx.h>

#include <functional>

#include "linear_test_util.h"

namespace {

// m * 10^e exactly (m is a double, so a binary fraction).
mpq_class exact(Bound b) {
    mpz_class ten;
    mpz_ui_pow_ui(ten.get_mpz_t(), 10, static_cast<unsigned long>(b.e < 0 ? -b.e : b.e));
    const mpq_class m(b.m);
    return b.e < 0 ? mpq_class(m / ten) : mpq_class(m * ten);
}

}  // namespace

TEST_F(LinearTest, BoundsHoldAgainstExactArithmetic) {
    struct Op {
        const char* name;
        std::function<Bound(Bound, Bound)> bound;
        std::function<mpq_class(const mpq_class&, const mpq_class&)> value;
        bool upper;
    };
    const Op ops[] = {
        {"add", bound_add, [](const mpq_class& a, const mpq_class& b) { return mpq_class(a + b); },
         true},
        {"mul", bound_mul, [](const mpq_class& a, const mpq_class& b) { return mpq_class(a * b); },
         true},
        {"div", bound_div, [](const mpq_class& a, const mpq_class& b) { return mpq_class(a / b); },
         true},
        {"sub_down", bound_sub_down,
         [](const mpq_class& a, const mpq_class& b) { return mpq_class(a - b); }, false},
    };
    for (i64 iter = 0; iter < test_iterations(2000); ++iter) {
        const Bound a =
            bound_from(1 + 9 * static_cast<double>(rng.word() >> 11) * 0x1p-53, rng.range(-40, 40));
        const Bound b =
            bound_from(1 + 9 * static_cast<double>(rng.word() >> 11) * 0x1p-53, rng.range(-40, 40));
        for (const Op& op : ops) {
            const Bound r = op.bound(a, b);
            const mpq_class want = op.value(exact(a), exact(b));
            if (!op.upper && want <= 0) continue;
            EXPECT_TRUE(op.upper ? exact(r) >= want : exact(r) <= want)
                << op.name << " of " << a.m << "e" << a.e << " and " << b.m << "e" << b.e
                << " gives " << r.m << "e" << r.e;
        }
    }
}
