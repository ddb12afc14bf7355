// Placeholders until the real routines land; each raises error 30.
#include "numlib/uint_impl.h"

void uint_pow(u64* dst, const u64*, i64) { uint_fail(dst, MP_ERR_INTERNAL); }
void uint_pow_uint(u64* dst, const u64*, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); }
void uint_pow2(u64* dst, i64) { uint_fail(dst, MP_ERR_INTERNAL); }
void uint_pow2_uint(u64* dst, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); }
void uint_pow10(u64* dst, i64) { uint_fail(dst, MP_ERR_INTERNAL); }
void uint_pow10_uint(u64* dst, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); }
bool uint_log_floor(u64* dst, const u64*, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); return false; }
bool uint_log2_floor(u64* dst, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); return false; }
bool uint_log10_floor(u64* dst, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); return false; }
void uint_factorial(u64* dst, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); }
void uint_perm_comb(u64* dst, const u64*, const u64*, i64, bool) { uint_fail(dst, MP_ERR_INTERNAL); }
