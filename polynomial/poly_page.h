// The polynomial tool without its window: the grid of coefficient cells, the
// page's controls as plain values, the five operations that read the cells
// as formulas and produce the output box's text, and the saved result
// coefficients that the result buttons copy back into a row.
//
// Everything runs synchronously on the calling thread and uses the
// process-wide number context, which each operation sets itself.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "polynomial/poly.h"

constexpr i32 POLY_PAGE_MIN_COUNT = 2;
constexpr i32 POLY_PAGE_MAX_COUNT = 12;
constexpr i32 POLY_PAGE_MIN_DEGREE = 1;
constexpr i32 POLY_PAGE_DIGITS_MIN = 5;
constexpr i32 POLY_PAGE_DIGITS_MAX = 1000;
// Longest cell text that is evaluated.
constexpr i64 POLY_CELL_MAX = 1030;

enum class PolyOp { add, subtract, multiply, divide, power };

// "P" i "(x)": the name of row i in labels, headers and messages.
std::u16string poly_name(i32 i);

class PolyPage {
  public:
    // The start state of the page: 2 polynomials, maximum degree 2, real at
    // 10 digits, empty cells, no result.
    PolyPage();

    // Cell of row `row`, coefficient of x^k (k = 0..20); empty outside the grid.
    const std::u16string& cell(i32 row, i32 k) const;
    // Sets a cell; outside rows 0..count-1 or degrees 0..20 nothing happens.
    void set_cell(i32 row, i32 k, std::u16string_view text);

    i32 count() const { return count_; }
    // Polynomial count, clamped to 2..12; rows past the new count are emptied
    // (they are deleted from the grid), new rows start empty.
    void set_count(i32 c);
    i32 max_degree() const { return max_degree_; }
    // Columns shown: degrees max..0, clamped to 1..20. Cells of hidden degrees
    // keep their texts but are read as 0.
    void set_max_degree(i32 m);
    i32 type() const { return type_; }
    // MP_TYPE_RAT, MP_TYPE_REAL or MP_TYPE_CPLX; other codes are ignored.
    void set_type(i32 type);
    i32 digits() const { return digits_; }
    // Precision of real and cplx results, clamped to 5..1000.
    void set_digits(i32 d);

    // Whether a button is usable: "/" and "^" only with two polynomials.
    bool op_enabled(PolyOp op) const;
    // The precision control is used by real and cplx only.
    bool precision_enabled() const { return type_ != MP_TYPE_RAT; }
    // The result buttons are usable after a successful operation.
    bool results_enabled() const { return results_enabled_; }

    // Runs an operation and returns the output box's new text (as far as it
    // was written when an error stopped it). Errors stay pending for the
    // page's message (takeErrorMessage): 3301 a cell of more than 1030
    // characters, 3300 a formula error in a cell (with the formula error),
    // 3302 a result degree above 20, 3303 a bad exponent, 1002 division by
    // the zero polynomial, 9002 a cut text, a library error as 1001. A
    // disabled operation (op_enabled false) does nothing and returns "".
    std::u16string run(PolyOp op);

    // Saved text of the result coefficient of x^k of the last successful
    // operation; empty when there is none.
    const std::u16string& saved(i32 k) const;
    // Result button of row j (0 or 1): copies the saved texts into the row
    // and raises the maximum degree to the result's degree when it is
    // higher. False (nothing done) while the result buttons are disabled.
    bool apply_result(i32 j);
    // Empties the 21 cells of row j.
    void clear_row(i32 j);
    // Empties every cell of every row.
    void clear_all();

    // The hint above the grid in the active language, with the term list of
    // the maximum degree.
    std::u16string hint() const;

  private:
    bool read_row(i32 row, Poly& p) const;
    void compute(PolyOp op, std::u16string& out);

    using Row = std::array<std::u16string, POLY_SLOTS>;
    std::array<Row, POLY_PAGE_MAX_COUNT> cells_;
    Row saved_;
    i32 count_ = 2;
    i32 max_degree_ = 2;
    i32 type_ = MP_TYPE_REAL;
    i32 digits_ = 10;
    bool results_enabled_ = false;
    u32 format_flags_ = 0;
};
