// Random exact arithmetic through the program, one process per batch on
// standard input, against GMP: large uint expressions in bases 10 and 16 and
// rat sums and products.
#include <gmp.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <random>

#include "cli_run.h"

namespace {

std::string randomDigits(std::mt19937_64& rng, int maxDigits) {
    const int n = 1 + static_cast<int>(rng() % static_cast<std::uint64_t>(maxDigits));
    std::string s(1, static_cast<char>('1' + rng() % 9));
    for (int k = 1; k < n; ++k) s += static_cast<char>('0' + rng() % 10);
    return s;
}

std::string mpzText(const mpz_t v, int base) {
    char* p = mpz_get_str(nullptr, base, v);
    std::string s = p;
    void (*freeFn)(void*, size_t);
    mp_get_memory_functions(nullptr, nullptr, &freeFn);
    freeFn(p, s.size() + 1);
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

TEST(CliRandom, UintExpressionsMatchGmp) {
    std::mt19937_64 rng(20261206);
    for (const char* base : {"10", "16"}) {
        std::string input, expect;
        mpz_t a, b, c, r;
        mpz_inits(a, b, c, r, nullptr);
        for (int k = 0; k < 40; ++k) {
            const std::string x = randomDigits(rng, 300), y = randomDigits(rng, 300),
                              z = randomDigits(rng, 40);
            mpz_set_str(a, x.c_str(), 10);
            mpz_set_str(b, y.c_str(), 10);
            mpz_set_str(c, z.c_str(), 10);
            mpz_mul(r, a, b);
            mpz_add(r, r, c);
            mpz_fdiv_q(r, r, c);  // uint division truncates
            mpz_mod(r, r, a);
            input += "(" + x + "*" + y + "+" + z + ")/" + z + " mod " + x + "\n";
            expect += mpzText(r, std::stoi(base)) + "\n";
        }
        mpz_clears(a, b, c, r, nullptr);
        const CliRun run = runCli({"--no-settings", "-t", "uint", "--out-base", base}, input);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, expect) << "base " << base;
    }
}

TEST(CliRandom, RatExpressionsMatchGmp) {
    std::mt19937_64 rng(7);
    std::string input, expect;
    mpq_t p, q, r, s;
    mpq_inits(p, q, r, s, nullptr);
    for (int k = 0; k < 60; ++k) {
        const std::string a = randomDigits(rng, 25), b = randomDigits(rng, 25),
                          c = randomDigits(rng, 25), d = randomDigits(rng, 25);
        mpq_set_str(p, (a + "/" + b).c_str(), 10);
        mpq_canonicalize(p);
        mpq_set_str(q, (c + "/" + d).c_str(), 10);
        mpq_canonicalize(q);
        const bool minus = rng() % 2 == 0;
        (minus ? mpq_sub : mpq_add)(r, p, q);
        mpq_mul(s, r, p);
        input +=
            "(" + a + "/" + b + (minus ? "-" : "+") + c + "/" + d + ")*(" + a + "/" + b + ")\n";
        char* text = mpq_get_str(nullptr, 10, s);
        expect += std::string(text) + "\n";
        void (*freeFn)(void*, size_t);
        mp_get_memory_functions(nullptr, nullptr, &freeFn);
        freeFn(text, std::strlen(text) + 1);
    }
    mpq_clears(p, q, r, s, nullptr);
    const CliRun run = runCli({"--no-settings", "-t", "rat"}, input);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, expect);
}

}  // namespace
