// The whole family (x - p/q)(x^2 - k) over a grid of p, q and k: the texts,
// their order and multiplicities are predicted independently (the square
// part of k by trial division here), with rational and with cleared integer
// coefficients, in both result types.
#include <gmpxx.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "exact_test_util.h"

namespace {

struct Predicted {
    double re, im;
    std::string text;
    i64 multiplicity = 1;
};

// k = o^2 s with s square-free.
void split_square(long k, long& o, long& s) {
    o = 1;
    s = k;
    for (long d = 2; d * d <= s; ++d) {
        while (s % (d * d) == 0) {
            s /= d * d;
            o *= d;
        }
    }
}

// "o*sqrt(s)" with the unit factor written as a bare sign.
std::string surd(long o, long s, bool negative) {
    std::string t = negative ? "-" : "";
    if (o != 1) t.append(std::to_string(o)).append("*");
    return t.append("sqrt(").append(std::to_string(s)).append(")");
}

// The roots of (x - r)(x^2 - k) in the solver's order, equal ones merged.
std::vector<Predicted> predict(const mpq_class& r, long k, bool real_only) {
    std::vector<Predicted> roots = {{r.get_d(), 0, r.get_str()}};
    long o = 0, s = 0;
    split_square(std::labs(k), o, s);
    if (k == 0) o = 0, s = 1;
    const double size = o * std::sqrt(static_cast<double>(s));
    if (k >= 0 && s == 1) {
        std::string minus = k == 0 ? "" : "-";
        roots.push_back({-size, 0, minus.append(std::to_string(o))});
        roots.push_back({size, 0, std::to_string(o)});
    } else if (k > 0) {
        roots.push_back({-size, 0, surd(o, s, true)});
        roots.push_back({size, 0, surd(o, s, false)});
    } else if (!real_only) {
        const std::string f = s == 1 ? std::to_string(o) : surd(o, s, false);
        std::string neg = "-", pos = f;
        roots.push_back({0, -size, neg.append(f).append("*i")});
        roots.push_back({0, size, pos.append("*i")});
    }
    std::stable_sort(roots.begin(), roots.end(), [](const Predicted& a, const Predicted& b) {
        return std::make_tuple(a.im != 0, a.re, std::fabs(a.im), a.im > 0) <
               std::make_tuple(b.im != 0, b.re, std::fabs(b.im), b.im > 0);
    });
    std::vector<Predicted> merged;
    for (const Predicted& p : roots) {
        if (!merged.empty() && merged.back().re == p.re && merged.back().im == p.im) {
            ++merged.back().multiplicity;
        } else {
            merged.push_back(p);
        }
    }
    return merged;
}

TEST_F(ExactTest, RationalRootTimesXSquaredMinusK) {
    i64 cases = 0;
    for (long q : {1, 2, 3, 4, 7}) {
        for (long p = -6; p <= 6; ++p) {
            if (std::gcd(std::labs(p), q) != 1) continue;
            const mpq_class r(p, q);
            for (long k = -12; k <= 12; ++k) {
                const bool integers = (p + k) % 2 == 0;
                const bool real_only = (p + q + k) % 3 == 0;
                Poly poly = poly_mul({-r, 1}, {-k, 0, 1});
                if (integers) {
                    for (mpq_class& c : poly) c *= q;
                }
                std::string what = "r ";
                what.append(r.get_str()).append(", k ").append(std::to_string(k));
                what.append(integers ? ", integer coefficients" : "");
                SCOPED_TRACE(what.append(real_only ? ", real only" : ""));
                const std::vector<Predicted> want = predict(r, k, real_only);
                ASSERT_EQ(solve(poly, 10, real_only), static_cast<i64>(want.size()))
                    << appError.load() << " " << mp_err();
                EXPECT_EQ(appError.load(), 0u);
                std::vector<std::string> want_texts;
                for (const Predicted& w : want) {
                    std::string t = w.text;
                    want_texts.push_back(t.append("^").append(std::to_string(w.multiplicity)));
                }
                EXPECT_EQ(texts(), want_texts);
                for (i64 i = 0; i < result.count; ++i) {
                    ExactForm x;
                    ASSERT_TRUE(parse_exact(text(i), x)) << text(i);
                    EXPECT_TRUE(form_matches_root(x, i));
                }
                ++cases;
            }
        }
    }
    EXPECT_GT(cases, 1000);
}

}  // namespace
