// Exact (rat) systems by fraction-free elimination: each row is scaled by
// the lcm of its denominators to integers, every elimination step ends in
// one exact division by the previous pivot (Bareiss), and each unknown is
// brought to lowest terms once, at the end. The integers are minors of the
// scaled matrix, so their length is bounded before the first step
// (Hadamard's bound) and every operation runs at that one word count.
//
// The result is that of elimination over fractions: the free unknowns are
// the columns without a pivot in column order, which no row choice changes,
// and the solution in those parameters is unique. A value that does not fit
// the context's rat words is error 12 (result too long); only the solution
// counts, not the size of any intermediate value.
#pragma once

#include "linear/linear_solver.h"

// Solves `system` (type rat, context already set, request checked) into
// `solution`. False, with nothing changed, when the integers would exceed
// the library's longest uint: the caller then eliminates over fractions.
bool solve_exact_fraction_free(linear_system& system, linear_solution& solution);
