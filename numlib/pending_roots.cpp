// Placeholders until the real routines land; each raises error 30.
#include "numlib/uint_impl.h"

bool uint_sqrt(u64* dst, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); return false; }
bool uint_root(u64* dst, i64, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); return false; }
bool uint_root_uint(u64* dst, const u64*, const u64*) { uint_fail(dst, MP_ERR_INTERNAL); return false; }
void vec_divmod_bits(i64, u64*, u64*, const u64*, const u64*, i64, i64) {}
