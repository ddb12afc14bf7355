// Placeholders until the real routines land; each raises error 30.
#include "numlib/uint_impl.h"

void uint_gcd(u64* dst, const u64*, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); }
void uint_lcm(u64* dst, const u64*, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); }
void uint_powmod(u64* dst, const u64*, const u64*, const u64*, i64) { uint_fail(dst, MP_ERR_INTERNAL); }
void uint_mulinv(u64* dst, const u64*, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); }
