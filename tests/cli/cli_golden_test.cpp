// A representative subset of the formula engine's golden rows, run through
// the program: results as printed, errors as a message naming the position.
// Rows whose text depends on the word count (long mantissas, overflow at one
// word) are left out: the calculator sizes its numbers itself.
#include <gtest/gtest.h>

#include <cctype>

#include "cli_run.h"

namespace {

struct Row {
    const char* type;
    const char* base;     // input base of uint literals
    const char* formula;  //
    const char* expect;   // null: an error at pos
    int pos = 0;
};

const Row kRows[] = {
    {"uint", "10", "sqrt(16)", "4"},
    {"uint", "10", "cbrt(30)", "3"},
    {"uint", "10", "logx(3;81)", "4"},
    {"uint", "10", "fact(20)", "2432902008176640000"},
    {"uint", "10", "ncr(10;3)+npr(10;3)", "840"},
    {"uint", "10", "gcd(12;18)*lcm(4;6)", "72"},
    {"uint", "10", "mulinv(3;7)", "5"},
    {"uint", "10", "powmod(2;10;1000)", "24"},
    {"uint", "10", "7/2*2+1", "7"},
    {"uint", "10", "7 mod 3", "1"},
    {"uint", "16", "FF*2", "510"},
    {"uint", "10", "2^63", "9223372036854775808"},
    {"uint", "10", "log2(0)", nullptr, 1},
    {"uint", "10", "arg(2)", nullptr, 1},
    {"uint", "10", "1+imagp(2)", nullptr, 3},
    {"uint", "10", "3-5", nullptr, 4},
    {"real", "10", "cbrt(-27)", "-3"},
    {"real", "10", "log2(1024)+log10(0.001)", "7"},
    {"real", "10", "abs(-2.5)", "2.5"},
    {"real", "10", "ncr(20;10)", "184756"},
    {"real", "10", "root(-2;4)", "0.5"},
    {"real", "10", "frac(-2.7)", "-0.7"},
    {"real", "10", "round(-2.5)", "-3"},
    {"real", "10", "sind(-330)", "0.5"},
    {"real", "10", "cos(pi)", "-1"},
    {"real", "10", "asind(0.5)", "30"},
    {"real", "10", "0.1+0.2", "0.3"},
    {"real", "10", "(-3)*1.5", "-4.5"},
    {"real", "10", "acos(2)", nullptr, 1},
    {"real", "10", "1+sqrt(-4)", nullptr, 3},
    {"real", "10", "2*arg(2)", nullptr, 3},
    {"real", "10", "1/0", nullptr, 4},  // the library error is reported at the last token
    {"cplx", "10", "sqrtc(-1;0)", "i"},
    {"cplx", "10", "rootc(4;16;1)", "2i"},
    {"cplx", "10", "argd(-1-i)", "-135"},
    {"cplx", "10", "abs(3+4i)", "5"},
    {"cplx", "10", "trunc(2.5+3.7i)", "2+3i"},
    {"cplx", "10", "frac(2.5-3.7i)", "0.5-0.7i"},
    {"cplx", "10", "fact(5)+ncr(10;3)+gcd(12;18)+logx(2;8)+root(3;27)", "252"},
    {"cplx", "10", "1+mulinv(3;7)", nullptr, 3},
    {"cplx", "10", "sin(2+i)", nullptr, 1},
    {"rat", "10", "sqrt(4/9)", "2/3"},
    {"rat", "10", "cbrt(-8/27)", "-2/3"},
    {"rat", "10", "log2(1/8)", "-3"},
    {"rat", "10", "logx(2;1/8)", "-3"},
};

TEST(CliGolden, RowsGiveTheirResultsOrErrorPositions) {
    for (const Row& row : kRows) {
        const CliRun r =
            runCli({"--no-settings", "-t", row.type, "--in-base", row.base, "--", row.formula});
        const std::string what = std::string(row.type) + " " + row.formula;
        if (row.expect != nullptr) {
            EXPECT_EQ(r.out, std::string(row.expect) + "\n") << what << ": " << r.err;
            EXPECT_EQ(r.status, 0) << what;
        } else {
            EXPECT_EQ(r.out, "") << what;
            EXPECT_EQ(r.status, 1) << what;
            const std::string at = "position " + std::to_string(row.pos);
            const std::size_t found = r.err.find(at);
            EXPECT_TRUE(found != std::string::npos &&
                        !std::isdigit(static_cast<unsigned char>(r.err[found + at.size()])))
                << what << ": " << r.err;
        }
    }
}

}  // namespace
