// Number texts of tests/golden/number_text.txt read and printed back, in
// every number type.
#include <map>
#include <string>
#include <vector>

#include "numlib/mp_error.h"
#include "numlib/num_text.h"
#include "numlib/rat.h"
#include "numlib/real.h"
#include "numlib/uint.h"
#include "support/golden_runner.h"
#include "support/numlib_fixture.h"
#include "support/text_helpers.h"

namespace {

using NumTextRowsTest = NumlibTest;

const std::map<std::string, u32> kFlags = {
    {"groups", NUM_IN_GROUPS},           {"lower", NUM_IN_LOWER_HEX}, {"sign", NUM_TEXT_SIGN},
    {"group", NUM_TEXT_GROUP},           {"whole", NUM_TEXT_WHOLE},   {"exp", NUM_TEXT_EXP_ALWAYS},
    {"point_zero", NUM_TEXT_POINT_ZERO},
};

std::string check_row(const GoldenLine& row) {
    const auto head = row.words(0);
    const std::string type = head.at(0);
    const i32 words = std::stoi(head.at(1)), base = head.size() > 2 ? std::stoi(head[2]) : 10;
    u32 in = 0, out = NUM_TEXT_TERMINATE;
    bool zero_sign = false;
    for (const std::string& f : row.words(4)) {
        zero_sign |= f == "zero_sign";
        if (f == "zero_sign") continue;
        if (!kFlags.count(f)) return "unknown flag " + f;
        (kFlags.at(f) < NUM_TEXT_TERMINATE ? in : out) |= kFlags.at(f);
    }
    mp_set_int_words(words);
    mp_set_real_words(words);
    const i64 size = type == "uint"   ? words
                     : type == "rat"  ? 2 * words + 1
                     : type == "real" ? words + 1
                                      : 2 * words + 2;
    std::vector<u64> x(static_cast<std::size_t>(size), 0xDEAD);
    const std::u16string text = u16(row.text(1));
    const i32 len = static_cast<i32>(text.size());
    const i32 cap = 200;
    GuardedBuffer buf(cap);
    mp_error = 0;
    i32 shown_len = 0;
    if (type == "uint") {
        uint_from_text(x.data(), text.data(), len, in, base);
    } else if (type == "rat") {
        rat_from_text(x.data(), text.data(), len, in);
    } else if (type == "real") {
        real_from_text(x.data(), text.data(), len, in);
    } else if (type == "cplx") {
        cplx_from_text(x.data(), text.data(), len, in);
    } else {
        return "unknown type " + type;
    }
    const i32 err = mp_err();
    mp_error = 0;
    if (type == "uint")
        shown_len =
            uint_to_text(buf.data(), cap, x.data(), out, base >= 2 && base <= 16 ? base : 10);
    if (type == "rat") shown_len = rat_to_text(buf.data(), cap, x.data(), out);
    if (type == "real") shown_len = real_to_text(buf.data(), cap, x.data(), out);
    if (type == "cplx") shown_len = cplx_to_text(buf.data(), cap, x.data(), out);
    const bool negative_zero = type == "real" && real_is_zero(x.data()) && real_sign(x.data());
    const std::string shown = (zero_sign && negative_zero ? "-" : "") + ascii(buf.text(shown_len));
    if (!buf.canaries_intact()) return "wrote outside the buffer";
    if (err != std::stoi(row.text(2)) || shown != row.text(3))
        return "error " + std::to_string(err) + ", shown \"" + shown + "\"";
    return "";
}

TEST_F(NumTextRowsTest, ReadAndPrintedBack) {
    golden_run("number_text.txt", check_row);
}

}  // namespace
