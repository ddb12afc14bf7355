// The solve flow of the linear-systems tool: cells to values, the solver,
// and the result text.
#include "linear/linear_page.h"

#include <algorithm>
#include <vector>

#include "app/app_error.h"
#include "app/settings_values.h"
#include "app/ui_texts.h"
#include "formula/formula.h"
#include "numlib/cplx.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"
#include "numlib/num_text.h"

namespace {

constexpr int UI_TEXT_UNSOLVABLE = 83;
constexpr int UI_TEXT_ONE_PARAMETER = 84;
constexpr int UI_TEXT_PARAMETERS = 85;
constexpr i32 RAT_DIGITS = 500;
// Rows of a real or complex system that differ by less than this many digits
// beyond those shown may be taken as dependent: a difference that no solve up
// to there resolves counts as rounding.
constexpr i32 SINGULAR_REACH_DIGITS = 100;
// Digits beyond those shown that a real or complex solve of n equations
// starts with. The error bounds grow by about half a digit per equation
// beyond the rounding of one operation, so a well-conditioned system
// settles in one solve.
i32 guard_digits(i32 n) {
    return 6 + (n + 1) / 2;
}

i32 clamp(i32 v, i32 lo, i32 hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

bool type_valid(i32 type) {
    return type == MP_TYPE_RAT || type == MP_TYPE_REAL || type == MP_TYPE_CPLX;
}

void raise_cell_error(u32 code, i32 row, i32 j, i32 n) {
    char16_t equation[24];
    text_format(equation, 23, u"%d", row + 1);
    const std::u16string column = linear_column_name(j, n);
    raiseAppError(code, equation, column.c_str());
}

// Reads one cell into value; false with the application error raised.
bool read_cell(const LinearCells& cells, i32 row, i32 j, i32 n, u64* value) {
    const std::u16string text = cells.cell(row, j == n ? LINEAR_COLUMN_B : j);
    if (static_cast<i64>(text.size()) > LINEAR_CELL_MAX) {
        raise_cell_error(APP_ERR_LINEAR_COEFFICIENT_LONG, row, j, n);
        return false;
    }
    if (text_is_blank(text.c_str())) {
        num_from_i64(value, 0);
        return true;
    }
    FormulaRequest request;
    request.text = text.c_str();
    request.flags = FORMULA_GROUPS;
    request.useOperandLimits = true;
    request.result = value;
    if (evaluateFormula(&request)) return true;
    raise_cell_error(APP_ERR_LINEAR_COEFFICIENT, row, j, n);
    return false;
}

struct Storage {
    std::vector<u64> rows;
    std::vector<u64> slots;
};

bool read_cells(const LinearCells& cells, i32 n, i64 words, Storage& st, linear_system& sys) {
    st.rows.assign(static_cast<std::size_t>(n * (n + 1) * words), 0);
    for (i32 r = 0; r < n; ++r) {
        sys.rows[r] = st.rows.data() + r * (n + 1) * words;
        for (i32 j = 0; j <= n; ++j) {
            if (!read_cell(cells, r, j, n, sys.rows[r] + j * words)) return false;
        }
    }
    return true;
}

void append_results(std::u16string& out, const linear_solution& sol) {
    if (sol.count < 0) {
        out += ui_text[UI_TEXT_UNSOLVABLE];
        return;
    }
    std::vector<char16_t> chars(static_cast<std::size_t>(LINEAR_LINE_MAX) + 1);
    for (i64 i = 0; i < sol.count; ++i) {
        TextBuf line{0, LINEAR_LINE_MAX, chars.data()};
        textbuf_format(line, u"x%d = ", i + 1);
        solution_text(line, sol, i);
        if (textbuf_finish(line)) raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
        out.append(chars.data(), static_cast<std::size_t>(line.length));
        out += u"\r\n";
    }
    if (sol.param_count > 0) {
        char16_t names[LINEAR_PARAM_LIST_CHARS + 1];
        parameter_list_text(names, sol);
        const int slot = sol.param_count == 1 ? UI_TEXT_ONE_PARAMETER : UI_TEXT_PARAMETERS;
        char16_t message[256];
        const i64 len = text_format(message, 255, ui_text[slot], names);
        out.append(message, static_cast<std::size_t>(len));
    }
}

// One solve at the current context.
struct Round {
    std::u16string text;
    bool settled = false;  // see linear_solution
};

Round solve_round(const LinearCells& cells, const LinearSolveRequest& request, u32 flags) {
    Round round;
    const i32 n = request.equations;
    linear_solution sol;
    sol.format_flags = flags;
    linear_system sys;
    sys.n = n;
    sys.type = sol.type = request.type;
    sys.real_words = sol.real_words = mp_real_words;
    sys.int_words = sol.int_words = mp_int_words;
    sys.value_bytes = sol.value_bytes = num_size_bytes(0, request.type);
    sol.digits = request.digits;
    const i64 words = sys.value_bytes / 8;
    Storage st;
    if (appError.load() != 0 || words <= 0 || !read_cells(cells, n, words, st, sys)) return round;
    st.slots.assign(static_cast<std::size_t>(n * (n + 1) * words), 0);
    for (i32 i = 0; i < n; ++i) sol.x[i] = st.slots.data() + i * (n + 1) * words;
    solve_linear(sys, sol);
    if (appError.load() == 0) append_results(round.text, sol);
    round.settled = sol.settled;
    return round;
}

}  // namespace

std::u16string linear_column_name(i32 j, i32 n) {
    if (j == n) return u"b";
    char16_t name[24];
    const i64 len = text_format(name, 23, u"a%d", j + 1);
    return std::u16string(name, static_cast<std::size_t>(len));
}

u32 linear_set_context(i32 type, i32 digits, i32 equations) {
    mp_num_type = type;
    if (type == MP_TYPE_RAT) {
        mp_set_int_words(num_words_for_digits(RAT_DIGITS, MP_TYPE_RAT));
        mp_set_real_words(1);
    } else {
        mp_set_real_words(num_words_for_digits(digits + guard_digits(equations), type));
        mp_set_int_words(1);
    }
    mp_fixed_exp_low = -4;
    mp_fixed_exp_high = 10;
    mp_fixed_exp_high_int = 1000;
    return settings_thousands_equations != 0 ? NUM_TEXT_GROUP : 0u;
}

std::u16string linear_solve_cells(const LinearCells& cells, const LinearSolveRequest& request) {
    clearErrors();
    if (!type_valid(request.type)) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return {};
    }
    LinearSolveRequest r = request;
    r.equations = clamp(request.equations, LINEAR_MIN_EQUATIONS, LINEAR_MAX_EQUATIONS);
    r.digits = clamp(request.digits, LINEAR_DIGITS_MIN, LINEAR_DIGITS_MAX);
    const u32 flags = linear_set_context(r.type, r.digits, r.equations);
    // A real or complex solve that is not settled runs again at twice the
    // words, with the cells evaluated anew. What stays undecided (a value
    // within its error bound of zero, which no precision can tell from an
    // exact zero) is taken as zero once two solves in a row give the same
    // text and the second ran at SINGULAR_REACH_DIGITS beyond the digits
    // shown. Agreement at fewer words is not enough even where the form of
    // the solution is settled: two solves that both lose the same small
    // difference between cells agree on a wrong value (a right-hand side
    // taken as zero made x2 = x3 = 0 of a system solved by x2 = -2, x3 = -1.15).
    const i32 reach = num_words_for_digits(r.digits + SINGULAR_REACH_DIGITS, r.type);
    std::u16string previous;
    Round round;
    for (bool first = true;; first = false) {
        round = solve_round(cells, r, flags);
        if (appError.load() != 0 || round.settled) break;
        if (!first && round.text == previous && mp_real_words >= reach) break;
        if (mp_real_words >= MP_REAL_WORDS_MAX) break;
        previous = round.text;
        mp_set_real_words(std::min(2 * mp_real_words, MP_REAL_WORDS_MAX));
    }
    raiseFromLibraryError(APP_ERR_OVERFLOW);
    return round.text;
}
