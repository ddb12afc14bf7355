// Random equations with integer roots through the whole solve: every listed
// root, read back from its line, lies within the shown digits of a true
// root, with the right multiplicity; exact runs name each root exactly.
#include <mpfr.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "equations_page_test_util.h"

namespace {

std::string ascii(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) out += c < 128 ? static_cast<char>(c) : '~';
    return out;
}

// The coefficients of lead * prod (x - r), highest first, as texts.
std::vector<std::u16string> expand(i64 lead, const std::vector<i64>& roots) {
    std::vector<i64> c{lead};  // highest first
    for (i64 r : roots) {
        c.push_back(0);
        for (std::size_t k = c.size() - 1; k >= 1; --k) c[k] -= r * c[k - 1];
    }
    std::vector<std::u16string> texts;
    for (i64 v : c) {
        const std::string t = std::to_string(v);
        texts.emplace_back(t.begin(), t.end());
    }
    return texts;
}

// |value - root| within one unit of the digits-th significant digit of root;
// a zero root must be shown as exactly 0.
::testing::AssertionResult within_digits(const std::string& value, i64 root, i32 digits) {
    if (root == 0) {
        if (value == "0") return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << value << " is not exactly 0";
    }
    mpfr_t v, err;
    mpfr_inits2(512, v, err, static_cast<mpfr_ptr>(nullptr));
    const bool parsed = mpfr_set_str(v, value.c_str(), 10, MPFR_RNDN) == 0;
    mpfr_sub_si(err, v, root, MPFR_RNDN);
    mpfr_abs(err, err, MPFR_RNDN);
    const double e = std::floor(std::log10(std::fabs(static_cast<double>(root))));
    const double unit = std::pow(10.0, e - digits + 1);
    const bool ok = parsed && mpfr_get_d(err, MPFR_RNDN) <= unit;
    mpfr_clears(v, err, static_cast<mpfr_ptr>(nullptr));
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << value << " is not " << root << " to " << digits << " digits";
}

TEST_F(EqPageTest, IntegerRootsReadBackWithinTheShownDigits) {
    for (i64 iter = 0; iter < test_iterations(60); ++iter) {
        const i32 degree = static_cast<i32>(rng.range(1, 6));
        // Distinct roots: multiple roots are not always resolved to the asked
        // digits by the iteration (see the multiplicity rows of ResultLines).
        std::vector<i64> roots;
        while (static_cast<i32>(roots.size()) < degree) {
            const i64 r = rng.range(-12, 12);
            if (std::find(roots.begin(), roots.end(), r) == roots.end()) roots.push_back(r);
        }
        std::map<i64, i64> want;  // ascending, as the page lists real roots
        for (i64 r : roots) ++want[r];
        i64 lead = rng.range(1, 3);
        if (rng.chance(50)) lead = -lead;
        EqCase c{expand(lead, roots), rng.chance(50), rng.chance(50),
                 static_cast<i32>(rng.range(5, 40))};
        SCOPED_TRACE(::testing::Message()
                     << "lead " << lead << " roots " << ::testing::PrintToString(roots) << " exact "
                     << c.exact << " digits " << c.digits);
        const std::string text = ascii(solve(c));
        ASSERT_EQ(message(), u"");
        std::size_t pos = 0;
        i64 index = 0;
        for (const auto& [root, mult] : want) {
            const std::size_t end = text.find("\r\n", pos);
            ASSERT_NE(end, std::string::npos) << text;
            const std::string line = text.substr(pos, end - pos);
            pos = end + 2;
            std::string head = "x";
            head += std::to_string(++index);
            head += " = ";
            std::string tail = "   [";
            tail += std::to_string(mult);
            tail += "]";
            ASSERT_EQ(line.substr(0, head.size()), head) << line;
            ASSERT_GE(line.size(), head.size() + tail.size()) << line;
            ASSERT_EQ(line.substr(line.size() - tail.size()), tail) << line;
            const std::string value =
                line.substr(head.size(), line.size() - head.size() - tail.size());
            // An integer root is named exactly and needs no approximation.
            if (c.exact) {
                EXPECT_EQ(value, std::to_string(root));
            }
            EXPECT_TRUE(within_digits(value, root, c.digits));
        }
        EXPECT_EQ(pos, text.size()) << text;
    }
}

}  // namespace
