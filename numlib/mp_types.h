// Basic types and the library's error codes.
#pragma once

#include <cstddef>
#include <cstdint>

using u8 = std::uint8_t;
using u32 = std::uint32_t;
using u64 = std::uint64_t;
using i32 = std::int32_t;
using i64 = std::int64_t;
__extension__ typedef unsigned __int128 u128;

// Number type codes.
enum : i32 {
    MP_TYPE_NONE = 0,
    MP_TYPE_REAL = 1,
    MP_TYPE_CPLX = 2,
    MP_TYPE_UINT = 10,
    MP_TYPE_RAT = 11,
};

// Library error codes held in mp_error (0 = none); the first one raised wins.
enum : i32 {
    MP_ERR_NONE = 0,
    MP_ERR_WORD_COUNT = 1,      // a word count outside its range
    MP_ERR_TYPE = 3,            // no valid current number type
    MP_ERR_EXP_OVERFLOW = 10,   // a real exponent leaves its range
    MP_ERR_OVERFLOW = 12,       // an integer result does not fit, or has no value
    MP_ERR_DIV_ZERO = 13,       // division by zero, modulus zero
    MP_ERR_DOMAIN = 14,         // argument outside the operation's domain
    MP_ERR_NOT_REAL = 16,       // complex argument where a real one is needed
    MP_ERR_NOT_RATIONAL = 18,   // rational result that is not rational
    MP_ERR_TEXT_SPACE = 20,     // text does not fit the caller's buffer
    MP_ERR_SYNTAX = 21,         // number text that is not a valid number
    MP_ERR_INTERNAL = 30,       // internal inconsistency, scratch exhausted
    MP_ERR_CONST_INDEX = 32,    // constant index above 15
    MP_ERR_DECIMAL_WORDS = 33,  // uint-to-real conversion needs more words
    MP_ERR_CACHE_FULL = 34,     // coefficient cache full
    MP_ERR_STOPPED = 35,        // a stop request from the user interface
};

constexpr i32 MP_INT_WORDS_MAX = 2000;
constexpr i32 MP_REAL_WORDS_MAX = 527;
constexpr i32 MP_CONST_WORDS = 528;  // largest working precision: 527 + one guard word
