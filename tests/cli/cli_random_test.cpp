// Random exact arithmetic through the program, one process per batch on
// standard input, against GMP: large uint expressions in bases 10 and 16,
// and rat sums and products.
#include <gmp.h>
#include <gtest/gtest.h>

#include "cli_run.h"
#include "support/gmp_oracle.h"
#include "support/test_random.h"
#include "support/text_helpers.h"

namespace {

std::string randomDigits(TestRng& rng, int maxDigits) {
    std::string s(1, static_cast<char>('0' + rng.range(1, 9)));
    for (i64 k = rng.range(1, maxDigits); k > 1; --k) s += static_cast<char>('0' + rng.range(0, 9));
    return s;
}

// "(x*y+z)/z mod x" (uint division truncates) and its value in base.
std::pair<std::string, std::string> uintCase(TestRng& rng, int base) {
    const std::string x = randomDigits(rng, 300), y = randomDigits(rng, 300),
                      z = randomDigits(rng, 40);
    Mpz a, b, c;
    mpz_set_str(a, x.c_str(), 10);
    mpz_set_str(b, y.c_str(), 10);
    mpz_set_str(c, z.c_str(), 10);
    mpz_mul(b, a, b);
    mpz_add(b, b, c);
    mpz_fdiv_q(b, b, c);
    mpz_mod(b, b, a);
    return {"(" + x + "*" + y + "+" + z + ")/" + z + " mod " + x, mpz_digits(b, base)};
}

// "(a/b+c/d)*(a/b)" or with "-", and its value.
std::pair<std::string, std::string> ratCase(TestRng& rng) {
    const std::string p = randomDigits(rng, 25) + "/" + randomDigits(rng, 25);
    const std::string q = randomDigits(rng, 25) + "/" + randomDigits(rng, 25);
    const bool minus = rng.chance(50);
    mpq_t a, b;
    mpq_inits(a, b, nullptr);
    mpq_set_str(a, p.c_str(), 10);
    mpq_set_str(b, q.c_str(), 10);
    mpq_canonicalize(a);
    mpq_canonicalize(b);
    (minus ? mpq_sub : mpq_add)(b, a, b);
    mpq_mul(b, b, a);
    std::string value = mpz_digits(mpq_numref(b), 10);
    if (mpz_cmp_ui(mpq_denref(b), 1) != 0) value += "/" + mpz_digits(mpq_denref(b), 10);
    mpq_clears(a, b, nullptr);
    return {"(" + p + (minus ? "-" : "+") + q + ")*(" + p + ")", value};
}

TEST(CliRandom, ExactExpressionsMatchGmp) {
    SCOPED_TRACE(test_seed_text());
    TestRng rng;
    for (int base : {10, 16, 0}) {  // 0: rat
        std::string input, expect;
        for (int k = 0; k < 50; ++k) {
            const auto [line, value] = base == 0 ? ratCase(rng) : uintCase(rng, base);
            input += line + "\n";
            expect += value + "\n";
        }
        const CliRun run =
            base == 0 ? runCli({"--no-settings", "-t", "rat"}, input)
                      : runCli({"--no-settings", "-t", "uint", "--out-base", std::to_string(base)},
                               input);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, expect) << "base " << base;
    }
}

}  // namespace
