// The real functions at the pinned arguments of tests/golden/real_functions.txt.
#include <map>
#include <string>

#include "numlib/real_fn.h"
#include "support/golden_runner.h"
#include "support/numlib_fixture.h"
#include "support/real_fn_check.h"

namespace {

using RealFnRowsTest = NumlibTest;

const std::map<std::string, RealUnaryFn> kUnary = {
    {"real_exp", real_exp},
    {"real_exp10", real_exp10},
    {"real_exp2", real_exp2},
    {"real_ln", real_ln},
    {"real_log10", real_log10},
    {"real_log2", real_log2},
    {"real_ln1p", real_ln1p},
    {"real_sin", real_sin},
    {"real_cos", real_cos},
    {"real_tan", real_tan},
    {"real_asin", real_asin},
    {"real_acos", real_acos},
    {"real_atan", real_atan},
    {"real_sinh", real_sinh},
    {"real_cosh", real_cosh},
    {"real_tanh", real_tanh},
    {"real_acosh", real_acosh},
    {"real_atanh", real_atanh},
    {"real_sqrt", real_sqrt},
    {"real_cbrt", real_cbrt},
    {"real_factorial", real_factorial},
    {"real_deg_to_rad", real_deg_to_rad},
    {"real_rad_to_deg", real_rad_to_deg},
};
const std::map<std::string, RealBinaryFn> kBinary = {
    {"real_pow", real_pow},     {"real_root", real_root}, {"real_hypot", real_hypot},
    {"real_atan2", real_atan2}, {"real_logx", real_logx},
};

std::string check_row(const GoldenLine& row) {
    const std::string name = row.text(0), want = row.text(3);
    const auto args = row.words(2);
    const char* want_text = want == "-" ? nullptr : want.c_str();
    const i32 err = std::stoi(row.text(4));
    const auto unary = kUnary.find(name);
    const auto binary = kBinary.find(name);
    if (args.size() != (unary != kUnary.end() ? 1u : 2u) ||
        (unary == kUnary.end() && binary == kBinary.end()))
        return "unknown function or wrong argument count: " + name;
    for (const std::string& words : row.words(1)) {
        const i64 m = std::stoll(words);
        const auto r = unary != kUnary.end() ? fn_case(unary->second, m, args[0].c_str(), want_text,
                                                       err, name == "real_factorial" ? 19 : 2)
                                             : fn_case(binary->second, m, args[0].c_str(),
                                                       args[1].c_str(), want_text, err);
        if (!r) return name + ": " + r.message();
    }
    return "";
}

TEST_F(RealFnRowsTest, PinnedArguments) {
    golden_run("real_functions.txt", check_row);
}

}  // namespace
