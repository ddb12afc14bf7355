// Complex operations at the pinned arguments of tests/golden/complex_values.txt.
#include <string>
#include <vector>

#include "numlib/cplx.h"
#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/real.h"
#include "support/golden_runner.h"
#include "support/numlib_fixture.h"
#include "support/text_helpers.h"

namespace {

using Cplx = std::vector<u64>;
using CplxRowsTest = NumlibTest;

Cplx read(const std::string& text, i64 m) {
    Cplx x(static_cast<std::size_t>(2 * m + 2));
    const std::u16string t = u16(text);
    cplx_from_text(x.data(), t.data(), static_cast<i32>(t.size()), 0);
    return x;
}

// Runs the row's operation into out (and rem for divmod); the error raised.
i32 run(const std::vector<std::string>& op, const std::vector<Cplx>& args, Cplx& out, Cplx& rem) {
    const u64* a = args.at(0).data();
    const u64* b = args.size() > 1 ? args[1].data() : nullptr;
    const i64 p1 = op.size() > 1 ? std::stoll(op[1]) : 0,
              p2 = op.size() > 2 ? std::stoll(op[2]) : 0;
    if (op[0] == "root") cplx_root_k(out.data(), p1, a, p2);
    if (op[0] == "pow") cplx_pow_int(out.data(), a, p1);
    if (op[0] == "mul") cplx_mul(out.data(), a, b);
    if (op[0] == "div") cplx_div(out.data(), a, b);
    if (op[0] == "recip") cplx_recip(out.data(), a);
    if (op[0] == "divmod") cplx_divmod(out.data(), rem.data(), a, b, 0);
    if (op[0] == "round") cplx_round_digits(out.data(), a, static_cast<i32>(p1));
    const i32 err = mp_err();
    mp_error.store(0);
    return err;
}

std::string check_row(const GoldenLine& row) {
    const auto op = row.words(0), results = row.words(3);
    const i32 want_err = std::stoi(row.text(4));
    for (const std::string& words : row.words(1)) {
        const i64 m = std::stoll(words);
        mp_set_real_words(static_cast<i32>(m));
        std::vector<Cplx> args;
        for (const std::string& a : row.words(2)) args.push_back(read(a, m));
        Cplx out(args[0].size(), 7), rem = out;
        const i32 err = run(op, args, out, rem);
        const std::string at = " at m = " + std::to_string(m);
        if (err != want_err) return "error " + std::to_string(err) + at;
        if (results[0] != "*" && out != read(results[0], m)) return "wrong result" + at;
        if (results.size() > 1 && rem != read(results[1], m)) return "wrong remainder" + at;
        if (want_err == 0) continue;
        mp_error.store(MP_ERR_STOPPED);
        out.assign(out.size(), 7);
        rem = out;
        if (run(op, args, out, rem) != MP_ERR_STOPPED || out != read("0", m))
            return "a pending stop request is not kept" + at;
    }
    return "";
}

TEST_F(CplxRowsTest, PinnedArguments) {
    golden_run("complex_values.txt", check_row);
}

}  // namespace
