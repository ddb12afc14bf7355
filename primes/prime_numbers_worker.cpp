// The prime numbers worker and its output.
#include "primes/prime_numbers_worker.h"

#include <thread>

#include "app/app_error.h"
#include "app/ui_texts.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/mp_thread.h"
#include "numlib/uint.h"
#include "numlib/vec.h"
#include "primes/prime_lister.h"
#include "primes/prime_sieve.h"
#include "primes/prime_test.h"

namespace {

// Slots of the language's texts.
enum : int {
    TEXT_IS_PRIME = 41,
    TEXT_IS_NOT_PRIME = 42,
    TEXT_PRIMES_FROM = 43,
    TEXT_TO = 44,
    TEXT_NEXT_PRIME = 45,
    TEXT_PRIME_COUNT = 46,
};

constexpr std::u16string_view LINE_END = u"\r\n";

std::size_t words() {
    return static_cast<std::size_t>(mp_int_words);
}

i64 piece_capacity() {
    return 80 * i64{mp_int_words} + 9;
}

void emit_header(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    if (calc.operation == PRIME_OP_COUNT) return;
    PiecePrinter out(sink, piece_capacity(), calc.format_flags, calc.base);
    if (calc.operation != PRIME_OP_INTERVAL) {
        out.text(ui_text[TEXT_NEXT_PRIME]).text(LINE_END).send();
        return;
    }
    out.text(ui_text[TEXT_PRIMES_FROM]).number(calc.number).send();
    ScratchMark mark;
    u64* end = mark.take(words());
    if (end == nullptr) return;
    uint_dec(end, calc.number);
    uint_add_u64(end, end, static_cast<u64>(calc.interval_size));
    if (mp_err() != 0) return;
    out.text(ui_text[TEXT_TO]).number(end).text(u":\r\n{ ").send();
}

void emit_test_result(bool composite, const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    if (prime_stop_requested() || mp_err() != 0) return;
    PiecePrinter out(sink, piece_capacity(), calc.format_flags, calc.base);
    out.number(calc.number)
        .text(ui_text[composite ? TEXT_IS_NOT_PRIME : TEXT_IS_PRIME])
        .text(LINE_END)
        .send();
}

// The closing count line; the counting operation has no list to close.
void emit_trailer(const SPrimeNumberCalc& calc, i64 count, PrimeOutputSink& sink) {
    if (calc.operation == PRIME_OP_NEXT || prime_stop_requested() || mp_err() != 0) return;
    char16_t chars[120];
    TextBuf buf = textbuf_on(chars);
    const char16_t* format = calc.operation == PRIME_OP_COUNT ? u"%s %d\r\n" : u" }\r\n%s %d\r\n";
    textbuf_format(buf, format, ui_text[TEXT_PRIME_COUNT], count);
    if (textbuf_finish(buf)) raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
    sink.append(chars);
}

// Primes found by a run: listed, or only counted.
class PrimeFound {
  public:
    PrimeFound(const SPrimeNumberCalc& calc, PrimeOutputSink& sink)
        : list_(calc.operation != PRIME_OP_COUNT), lister_(sink, calc.format_flags, calc.base) {}
    template <class V>
    void prime(V value) {
        if (list_) {
            lister_.prime(value);
        } else {
            ++count_;
        }
    }
    void add_count(u64 n) { count_ += static_cast<i64>(n); }
    void flush() { lister_.flush(); }
    void flush_if_due() { lister_.flush_if_due(); }
    i64 count() const { return list_ ? lister_.count() : count_; }

  private:
    bool list_;
    PrimeLister lister_;
    i64 count_ = 0;
};

// The last number of the interval when the whole interval lies below 2^64
// and the sieve serves the operation, else 0.
u64 sieve_end(const SPrimeNumberCalc& calc) {
    if (calc.operation != PRIME_OP_INTERVAL && calc.operation != PRIME_OP_COUNT) return 0;
    if (mp_int_words < 1 || vec_len(calc.number, mp_int_words) > 1) return 0;
    const u64 lo = calc.number[0];
    const u64 size = static_cast<u64>(calc.interval_size);
    if (lo > ~u64{0} - (size - 1)) return 0;
    return lo + (size - 1);
}

// The listing or count by the sieve, trailer included; false (nothing sent)
// when the interval lies beyond the sieve or its tables find no room.
bool list_by_sieve(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    const u64 hi = sieve_end(calc);
    if (hi == 0 || mp_err() != 0) return false;
    PrimeFound found(calc, sink);
    PrimeSieveResult result;
    if (calc.operation == PRIME_OP_COUNT) {
        u64 count = 0;
        result = prime_sieve_count(calc.number[0], hi, &count);
        found.add_count(count);
    } else {
        result = prime_sieve_interval(calc.number[0], hi, [&](const u64* primes, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i) found.prime(primes[i]);
            if (count > 0) sink.progress(static_cast<i64>(primes[count - 1] - calc.number[0]) + 1);
            found.flush_if_due();
            return !prime_stop_requested();
        });
    }
    if (result == PrimeSieveResult::NoRoom) return false;
    if (result == PrimeSieveResult::Done) sink.progress(calc.interval_size);
    found.flush();
    emit_trailer(calc, found.count(), sink);
    return true;
}

// Odd candidates one by one, each decided by the exact test.
void list_candidates(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    ScratchMark mark;
    u64* c = mark.take(words());
    if (c == nullptr) return;
    PrimeFound found(calc, sink);
    uint_copy(c, calc.number);
    i64 remaining = calc.interval_size;
    bool include_two = false;
    if (uint_is_one(c)) {
        uint_set_u64(c, 3);
        include_two = calc.interval_size >= 2;
        remaining = calc.interval_size - 2;
    } else {
        include_two = uint_cmp_u64(c, 2) == 0;
        if ((c[0] & 1) == 0) {
            uint_add_u64(c, c, 1);
            --remaining;
        }
    }
    if (include_two) found.prime(u64{2});
    if (!(include_two && calc.operation == PRIME_OP_NEXT) && remaining >= 1) {
        while (mp_err() == 0) {
            const bool prime = prime_test_exact(c);
            if (prime_stop_requested()) break;
            if (prime) {
                found.prime(static_cast<const u64*>(c));
                if (calc.operation == PRIME_OP_NEXT) break;
            }
            found.flush_if_due();
            remaining -= 2;
            sink.progress(calc.interval_size - remaining);
            if (remaining < 1) break;
            uint_add_u64(c, c, 2);
        }
    }
    found.flush();
    emit_trailer(calc, found.count(), sink);
}

void list_exact(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    emit_header(calc, sink);
    if (!list_by_sieve(calc, sink)) list_candidates(calc, sink);
}

void list_probabilistic(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    emit_header(calc, sink);
    ScratchMark mark;
    u64* c = mark.take(words());
    if (c == nullptr) return;
    PrimeFound found(calc, sink);
    uint_copy(c, calc.number);
    for (i64 remaining = calc.interval_size; mp_err() == 0;) {
        const bool prime = prime_test_probabilistic(c) == 0;
        if (prime_stop_requested() || mp_err() != 0) break;
        if (prime) {
            found.prime(static_cast<const u64*>(c));
            if (calc.operation == PRIME_OP_NEXT) break;
        }
        found.flush_if_due();
        sink.progress(calc.interval_size - remaining + 1);
        if (--remaining < 1) break;
        uint_add_u64(c, c, 1);
    }
    found.flush();
    emit_trailer(calc, found.count(), sink);
}

void run_method(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    const bool exact = calc.method == PRIME_METHOD_EXACT;
    if (calc.operation == PRIME_OP_TEST) {
        const bool composite =
            exact ? !prime_test_exact(calc.number) : prime_test_probabilistic(calc.number) != 0;
        emit_test_result(composite, calc, sink);
    } else if (calc.operation == PRIME_OP_INTERVAL || calc.operation == PRIME_OP_NEXT ||
               calc.operation == PRIME_OP_COUNT) {
        if (exact) {
            list_exact(calc, sink);
        } else {
            list_probabilistic(calc, sink);
        }
    }
    raiseFromLibraryError(APP_ERR_PRIME_OVERFLOW);
}

}  // namespace

void prime_numbers_worker(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    if (calc.method == PRIME_METHOD_EXACT || calc.method == PRIME_METHOD_PROBABILISTIC) {
        ScratchMark mark;
        run_method(calc, sink);
    }
    sink.done();
}

void prime_numbers_start_thread(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    std::thread([calc, &sink] {
        MpThreadScratch scratch;
        prime_numbers_worker(calc, sink);
    }).detach();
}
