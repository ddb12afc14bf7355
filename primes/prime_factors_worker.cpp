// The prime factors worker and its output lines.
#include "primes/prime_factors_worker.h"

#include <thread>

#include "app/app_error.h"
#include "app/ui_texts.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/mp_thread.h"
#include "numlib/num_text.h"
#include "numlib/uint.h"

namespace {

enum : int { TEXT_NO_PRIME_FACTORS = 31, TEXT_DIVISOR_PREFIX = 32 };

i64 piece_capacity(i64 extra) {
    return 80 * i64{mp_int_words} + extra;
}

void emit_factor_line(const PrimeFactorList& factors, const u64* n, const SPrimeFactorCalc& calc,
                      PrimeOutputSink& sink) {
    PiecePrinter out(sink, piece_capacity(21), calc.format_flags, calc.base);
    out.number(n).text(u" = ").send();
    if (factors.count == 0) out.text(ui_text[TEXT_NO_PRIME_FACTORS]).send();
    for (i64 i = 0; i < factors.count; ++i) {
        out.number(factors.primes[i]);
        if (factors.multiplicities[i] >= 2) {
            const u64 exponent[2] = {factors.multiplicities[i], 0};
            out.text(u"^").number(exponent);
        }
        if (i + 1 < factors.count) out.text(u" * ");
        out.send();
    }
    out.text(u"\r\n").send();
}

void emit_divisor_line(const DivisorList& divisors, const u64* n, const SPrimeFactorCalc& calc,
                       PrimeOutputSink& sink) {
    PiecePrinter out(sink, piece_capacity(11), calc.format_flags, calc.base);
    out.text(ui_text[TEXT_DIVISOR_PREFIX]).number(n).text(u" = { ").send();
    for (i64 i = 0; i < divisors.count; ++i) {
        out.number(divisors.values[i]);
        if (i + 1 < divisors.count) out.text(u", ");
        out.send();
    }
    out.text(u" }");
    if (calc.show_count == 1) {
        char16_t count[32];
        TextBuf buf = textbuf_on(count);
        textbuf_format(buf, u"  [%d]", divisors.count);
        textbuf_finish(buf);
        out.text(count);
    }
    out.text(u"\r\n").send();
}

// Application error 3101 naming n, unless an error is pending.
void raise_too_many(const u64* n, const SPrimeFactorCalc& calc) {
    char16_t text[80 * 2 + 2];
    TextBuf sink = text_sink_make(text, 80 * 2 + 1);
    uint_to_text_sink(&sink, n, calc.format_flags, static_cast<i32>(calc.base));
    text_sink_finish(&sink, calc.format_flags | NUM_TEXT_TERMINATE);
    raiseAppError(APP_ERR_TOO_MANY_FACTORS, text, nullptr);
}

void run(const SPrimeFactorCalc& calc, PrimeOutputSink& sink) {
    ScratchMark mark;
    DivisorList divisors{0, nullptr};
    if (calc.divisors != 0) {
        divisors.values = reinterpret_cast<u64(*)[2]>(mark.take(2 * DIVISOR_LIST_CAPACITY));
        if (divisors.values == nullptr) {
            raiseFromLibraryError(APP_ERR_FACTOR_OVERFLOW);
            return;
        }
    }
    PrimeFactorList factors;
    u64 n[2] = {calc.number[0], calc.number[1]};
    for (i32 pass = 1; pass <= calc.interval_size; ++pass) {
        if (appError.load(std::memory_order_relaxed) != 0) return;
        sink.progress(pass);
        prime_factorize(factors, n);
        raiseFromLibraryError(APP_ERR_FACTOR_OVERFLOW);
        if (factors.count == -1) raise_too_many(n, calc);
        if (appError.load(std::memory_order_relaxed) != 0) return;
        if (calc.divisors != 0) {
            divisors_from_factors(divisors, factors);
            if (divisors.count == -1) {
                raise_too_many(n, calc);
                return;
            }
            emit_divisor_line(divisors, n, calc, sink);
        } else {
            emit_factor_line(factors, n, calc, sink);
        }
        if (pass == calc.interval_size) break;
        uint_add_u64(n, n, 1);
        if (mp_err() != 0) {
            raiseFromLibraryError(APP_ERR_FACTOR_OVERFLOW);
            return;
        }
    }
}

}  // namespace

void prime_factors_worker(const SPrimeFactorCalc& calc, PrimeOutputSink& sink) {
    if (mp_int_words != 2) {
        raiseAppError(APP_ERR_INTERNAL, nullptr, nullptr);
    } else {
        run(calc, sink);
    }
    sink.done();
}

void prime_factors_start_thread(const SPrimeFactorCalc& calc, PrimeOutputSink& sink) {
    std::thread([calc, &sink] {
        MpThreadScratch scratch;
        prime_factors_worker(calc, sink);
    }).detach();
}
