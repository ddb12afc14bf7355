// The coefficient grid as a CSV file: a header of column names a1..aN;b,
// then one line per equation with its N + 1 cell texts, ";" between fields,
// CR LF after each line. Characters beyond ASCII are written as UTF-8; on
// reading, valid UTF-8 is decoded and any other byte taken as Latin-1, so
// plain ASCII files read exactly as they always did. A field holding ";",
// a line break or a leading '"' is written in double quotes ('"' doubled).
// Outside quotes a line ends at LF, CR LF or a CR alone.
#pragma once

#include <string>
#include <string_view>

#include "linear/linear_cells.h"

// Writes equations 0..N-1 of cells (N = cells.equation_count()) to path,
// replacing the file. Decimal separator characters (mp_decimal_chars) are
// written as the current one. Failure: error 1006 with the path; returns
// false.
bool linear_csv_write(std::u16string_view path, const LinearCells& cells);

// The bytes linear_csv_write puts into the file for cells.
std::string linear_csv_text(const LinearCells& cells);

// Loads the file into cells (cleared first). The first line is the header
// the writer writes, a1;a2;...;aN;b, where names may come in upper case,
// quoted, or with blanks around them, and a UTF-8 byte-order mark may lead
// the file (else error 3403); N must be 2..25 (else error 3402 with "25").
// Each following line holds the N + 1 fields of one equation (else error
// 3404 with the line and N + 1), at most N such lines (else error 3405 with
// the line and N); missing equations are empty, blank lines may end the
// file. Line numbers count every line break of the file. A field of more
// than 1030 characters keeps 1029 and "…"; a last line without a line feed
// is read. Errors also: 1005 the file does not exist, 1006 any other open or
// read failure. On any error cells stay as they were; returns false.
bool linear_csv_read(std::u16string_view path, LinearCells& cells);

// A file name as the bytes the system takes (UTF-8).
std::string linear_csv_path_bytes(std::u16string_view path);
