// The error bounds against exact rational arithmetic: every upper bound at
// least the exact result of its operands, the lower one of a difference at
// most the exact difference.
#include "linear/linear_bound.h"

#include <functional>

#include "linear_test_util.h"

TEST_F(LinearTest, BoundsHoldAgainstExactArithmetic) {
    struct Op {
        const char* name;
        std::function<Bound(Bound, Bound)> bound;
        std::function<mpq_class(const mpq_class&, const mpq_class&)> value;
        bool upper;
    };
    const Op ops[] = {
        {"add", bound_add, std::plus<mpq_class>(), true},
        {"mul", bound_mul, std::multiplies<mpq_class>(), true},
        {"div", bound_div, std::divides<mpq_class>(), true},
        {"sub_down", bound_sub_down, std::minus<mpq_class>(), false},
    };
    // m * 10^e exactly (m is a double, so a binary fraction).
    const auto exact = [](Bound v) { return mpq_class(mpq_class(v.m) * pow10(v.e)); };
    for (i64 iter = 0; iter < test_iterations(2000); ++iter) {
        const auto random_bound = [&] {
            return bound_from(1 + 9 * static_cast<double>(rng.word() >> 11) * 0x1p-53,
                              rng.range(-40, 40));
        };
        const Bound a = random_bound(), b = random_bound();
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
