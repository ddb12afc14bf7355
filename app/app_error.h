// The application's error state: one code and up to two insert texts for its
// message. The first error raised wins until the message is taken
// (error_message.h) or clearErrors() runs. Pages raise their own codes here
// and fold a pending library error in with raiseFromLibraryError().
#pragma once

#include <atomic>

#include "numlib/mp_types.h"

enum : u32 {
    APP_ERR_NONE = 0,
    APP_ERR_INVALID_INPUT = 1000,  // insert: the input
    APP_ERR_OVERFLOW = 1001,       // default for a pending library error
    APP_ERR_DIV_ZERO = 1002,
    APP_ERR_TEXT_TOO_LONG = 1003,
    APP_ERR_FILE_NOT_FOUND = 1005,  // insert: the file name
    APP_ERR_FILE_ACCESS = 1006,     // insert: the file name
    APP_ERR_FORMULA = 1007,         // the formula message is appended
    APP_ERR_NOT_CONVERTIBLE = 1201,
    APP_ERR_VARIABLE_TYPE = 1203,  // insert: the variable
    APP_ERR_TOO_MANY_VARIABLES = 1204,
    APP_ERR_NO_RESULT = 1205,      // insert: the result variable
    APP_ERR_VARIABLE_NAME = 1300,  // insert: the rejected name
    APP_ERR_LEADING_ZERO = 2000,   // insert: the coefficient
    APP_ERR_NOT_CONVERGED = 2001,
    APP_ERR_COEFFICIENT = 2002,       // insert: the coefficient
    APP_ERR_COEFFICIENT_REAL = 2003,  // insert: the coefficient
    APP_ERR_EXACT_OVERFLOW = 2004,
    APP_ERR_COEFFICIENT_RATIONAL = 2005,  // insert: the coefficient
    APP_ERR_COEFFICIENT_LONG = 2006,      // insert: the coefficient
    APP_ERR_PRIME_OVERFLOW = 3000,
    APP_ERR_FACTOR_OVERFLOW = 3100,
    APP_ERR_TOO_MANY_FACTORS = 3101,         // insert: the number
    APP_ERR_POLY_COEFFICIENT = 3300,         // inserts: coefficient, polynomial
    APP_ERR_POLY_COEFFICIENT_LONG = 3301,    // inserts: coefficient, polynomial
    APP_ERR_POLY_DEGREE = 3302,              // insert: the largest degree
    APP_ERR_POLY_INDEX = 3303,               // inserts: the text, the largest index
    APP_ERR_LINEAR_COEFFICIENT_LONG = 3400,  // inserts: equation, column
    APP_ERR_LINEAR_COEFFICIENT = 3401,       // inserts: equation, column
    APP_ERR_LINEAR_COUNT = 3402,             // insert: the largest count
    APP_ERR_LINEAR_CSV_HEADER = 3403,        // a coefficient file without its header line
    APP_ERR_LINEAR_CSV_FIELDS = 3404,        // inserts: line, fields per line
    APP_ERR_LINEAR_CSV_ROWS = 3405,          // inserts: line, unknowns
    APP_ERR_INTERNAL = 9000,
    APP_ERR_NOT_IMPLEMENTED = 9001,
    APP_ERR_TEXT_OVERFLOW = 9002,  // a text did not fit its buffer
    APP_ERR_STOPPED = 9003,        // the user stopped a computation; never shown
};

// Longest insert text kept, in UTF-16 code units (plus the terminator).
constexpr int APP_ERROR_TEXT_MAX = 260;

// 0 or the pending code. Atomic because the user-interface thread may store
// a stop request (9003) while a worker runs; relaxed ordering is enough.
extern std::atomic<u32> appError;
extern char16_t appErrorText1[APP_ERROR_TEXT_MAX + 1];  // the first "%s" of the message
extern char16_t appErrorText2[APP_ERROR_TEXT_MAX + 1];  // the second "%s"

// Records code with its inserts unless an application error is pending (then
// nothing changes). A null text is kept as "?"; a text longer than 260
// characters is cut to 260 with "…" as its last character. code 0 does nothing.
// Only the caller that wins the code writes the texts, so a stop request from
// another thread never mixes its texts into a worker's error.
void raiseAppError(u32 code, const char16_t* text1, const char16_t* text2);

// Folds a pending library error into the application error and clears
// mp_error: library 35 (stop) becomes 9003, 20 (text space) 9002, 30
// (internal) 9000, any other code becomes `code` (the page's own overflow
// message, 1001, 3000, 3100 ...; 0 means 1001), with "?" inserts. A pending application
// error is kept. Without a library error nothing happens.
void raiseFromLibraryError(u32 code);

// Clears the application error and its texts, the formula error and mp_error.
void clearErrors();
