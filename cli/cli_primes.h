// Shared pieces of the prime commands of velmarix-cli: reading numbers the
// way the prime pages read their edits, and running a prime worker with its
// output streamed to standard output.
#pragma once

#include <functional>
#include <string>

#include "numlib/mp_types.h"
#include "primes/prime_output.h"
#include "primes/prime_page_input.h"

// The edit capacities and word counts are the pages' own
// (PRIME_PAGE_TEXT_SHORT and _LONG, PRIME_PAGE_WORDS_SHORT and _LONG).

// What a number argument is read for: its range and text capacity, and the
// reason given when it is refused.
enum class CliPrimeUse { Exact, Probabilistic, Factors };

// Reads arg as a page reads its edit for use (a longer text is cut, its last
// character becoming "…") and parses it in base into dst (mp_int_words
// words, as many as the use takes), digit groups and lower-case hexadecimal
// digits accepted. When it is no number, does not fit, or is zero: prints the
// message of application error 1000 naming the text and, on a second line,
// the range of the method (suggesting --probabilistic when that one takes
// the number) on standard error, and returns false with mp_error cleared.
bool cliReadPrimeNumber(const std::string& arg, CliPrimeUse use, i32 base, u64* dst);

// Reads an interval size as the pages do: in base, at most max. A blank text
// (spaces and tabs) gives blankValue when that is positive. When it is no
// number, does not fit one word, or lies outside 1..max: prints the message
// of application error 1000 naming the text and, on a second line, the range
// of COUNT on standard error, and returns false.
bool cliReadPrimeCount(const std::string& arg, i64 capacity, i32 base, i64 max, i64 blankValue,
                       i64* out);

// Calls start with a sink that writes each piece to standard output as it
// comes, then waits for the worker's done(). A Ctrl-C meanwhile stores the
// stop request (application error 9003), as the pages' Stop button does. An
// output that does not end in a line end gets one. A pending library error
// is folded in with overflowCode; returns cliReportError().
int cliRunPrimeWorker(const std::function<void(PrimeOutputSink&)>& start, u32 overflowCode);
