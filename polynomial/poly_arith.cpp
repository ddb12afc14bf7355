// Sum, difference, product, long division and power of coefficient vectors.
#include <vector>

#include "app/app_error.h"
#include "numlib/mp_context.h"
#include "numlib/num.h"
#include "polynomial/poly.h"
#include "polynomial/poly_impl.h"

namespace {

// Ends an operation that computed: rounds the results and folds a pending
// library error into the application error.
void finish(std::initializer_list<Poly*> results, i32 digits) {
    for (Poly* p : results) poly_round(*p, digits);
    raiseFromLibraryError(APP_ERR_OVERFLOW);
}

bool app_error_pending() {
    return appError.load(std::memory_order_relaxed) != 0;
}

std::vector<u64> coef_temp() {
    return std::vector<u64>(static_cast<std::size_t>(num_size_bytes(0, 0)) / sizeof(u64));
}

}  // namespace

void poly_add_sub(Poly& out, const Poly& a, const Poly& b, bool subtract, i32 digits) {
    if (poly_usable({&out, &a, &b})) {
        for (i32 k = POLY_MAX_DEGREE; k >= 0; --k) {
            poly_coef_add_sub(out.slot(k), a.slot(k), b.slot(k), subtract);
        }
        poly_round(out, digits);
    }
    raiseFromLibraryError(APP_ERR_OVERFLOW);
}

void poly_mul(Poly& out, const Poly& a, const Poly& b, i32 digits) {
    if (&out == &a || &out == &b) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return;
    }
    if (!poly_usable({&out, &a, &b})) return raiseFromLibraryError(APP_ERR_OVERFLOW);
    poly_zero(out);
    const i32 da = poly_degree(a);
    std::vector<u64> t = coef_temp();
    for (i32 j = POLY_MAX_DEGREE; j >= 0 && da >= 0 && !app_error_pending(); --j) {
        if (poly_coef_is_zero(b.slot(j))) continue;
        for (i32 i = da; i >= 0; --i) {
            if (i + j > POLY_MAX_DEGREE) {
                raiseAppError(APP_ERR_POLY_DEGREE, u"20", nullptr);
                break;
            }
            poly_coef_mul(t.data(), a.slot(i), b.slot(j));
            poly_coef_add_sub(out.slot(i + j), out.slot(i + j), t.data(), false);
        }
    }
    finish({&out}, digits);
}

void poly_divmod(Poly& quot, Poly& rem, const Poly& a, const Poly& b, i32 digits) {
    if (&quot == &a || &quot == &b || &quot == &rem || &rem == &b) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
        return;
    }
    if (!poly_usable({&quot, &rem, &a, &b})) return raiseFromLibraryError(APP_ERR_OVERFLOW);
    poly_zero(quot);
    poly_copy(rem, a);
    const i32 db = poly_degree(b);
    if (db < 0) {
        raiseAppError(APP_ERR_DIV_ZERO, nullptr, nullptr);
        return finish({&quot, &rem}, digits);
    }
    std::vector<u64> q = coef_temp();
    std::vector<u64> t = coef_temp();
    for (i32 top = poly_degree(rem); top >= db; --top) {
        poly_coef_div(q.data(), rem.slot(top), b.slot(db));
        num_from_i64(rem.slot(top), 0);
        for (i32 j = db - 1; j >= 0; --j) {
            u64* r = rem.slot(top - db + j);
            poly_coef_mul(t.data(), b.slot(j), q.data());
            poly_coef_add_sub(r, r, t.data(), true);
        }
        num_copy(quot.slot(top - db), q.data());
    }
    finish({&quot, &rem}, digits);
}

void poly_pow(Poly& out, const Poly& a, i64 e, i32 digits) {
    if (e < 0 || e > POLY_MAX_DEGREE) {
        raiseAppError(APP_ERR_POLY_INDEX, u"P1(x)", u"20");
        return;
    }
    if (!poly_usable({&out, &a})) return raiseFromLibraryError(APP_ERR_OVERFLOW);
    if (e == 0) {
        poly_zero(out);
        num_from_i64(out.slot(0), 1);
        return;
    }
    Poly base;
    poly_copy(base, a);  // out may be a
    poly_copy(out, base);
    Poly t;
    for (i64 k = 1; k < e && !app_error_pending(); ++k) {
        poly_copy(t, out);
        poly_mul(out, t, base, digits);
    }
}

bool poly_exponent(i64* out, const Poly& e, const char16_t* name) {
    *out = 0;
    if (!poly_usable({&e})) return false;
    i64 value = 0;
    bool ok = true;
    for (i32 k = POLY_MAX_DEGREE; k >= 1 && ok; --k) ok = poly_coef_is_zero(e.slot(k));
    ok = ok && num_to_i64(&value, e.slot(0)) && value >= 0 && value <= POLY_MAX_DEGREE;
    if (!ok) {
        raiseAppError(APP_ERR_POLY_INDEX, name, u"20");
        return false;
    }
    *out = value;
    return true;
}
