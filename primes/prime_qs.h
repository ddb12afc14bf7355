// The self-initialising quadratic sieve (SIQS) for two-word numbers: finds
// a factor of a composite whose prime factors are all large, in a time that
// depends on the size of n only (a few milliseconds at 2^128).
#pragma once

#include "numlib/mp_types.h"

enum class QsResult { Found, Failed, Stopped };

// A proper factor of n. n must be odd, composite, not a perfect power, free
// of prime factors below 4096, and below 2^128; sizes below 2^40 are better
// served by rho. Failed when the relations gave no split or the library
// scratch area has no room for the sieve's tables (about 1.2 MB). A stop
// request is seen once per polynomial.
QsResult qs_find_factor(u128 n, u128* factor);
