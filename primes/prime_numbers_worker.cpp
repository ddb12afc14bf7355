// The prime numbers worker and its output.
#include "primes/prime_numbers_worker.h"

#include <thread>

#include "app/ui_texts.h"
#include "formula/app_error.h"
#include "numlib/mp_error.h"
#include "numlib/mp_scratch.h"
#include "numlib/uint.h"
#include "primes/prime_sieve.h"
#include "primes/prime_tables.h"
#include "primes/prime_test.h"
#include "numlib/mp_thread.h"

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

// Lists the primes of a run, each after the first with ", " in front.
class PrimeLister {
  public:
    PrimeLister(const SPrimeNumberCalc& calc, PrimeOutputSink& sink)
        : out_(sink, piece_capacity(), calc.format_flags, calc.base) {}
    void prime(const u64* value) {
        if (count_ > 0) out_.text(u", ");
        out_.number(value).send();
        ++count_;
    }
    i64 count() const { return count_; }

  private:
    PiecePrinter out_;
    i64 count_ = 0;
};

void emit_header(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
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

void emit_trailer(const SPrimeNumberCalc& calc, i64 count, PrimeOutputSink& sink) {
    if (calc.operation != PRIME_OP_INTERVAL || prime_stop_requested() || mp_err() != 0) return;
    char16_t chars[120];
    TextBuf buf = textbuf_on(chars);
    textbuf_format(buf, u" }\r\n%s %d\r\n", ui_text[TEXT_PRIME_COUNT], count);
    if (textbuf_finish(buf)) raiseAppError(APP_ERR_TEXT_OVERFLOW, nullptr, nullptr);
    sink.append(chars);
}

// True when the odd c has no divisor from 3 up to limit on the wheel; a stop
// request also ends the search with true (the caller checks it).
bool odd_candidate_is_prime(const u64* c, u64 limit) {
    WheelCursor cursor{2, 1};
    while (cursor.advance() && cursor.divisor <= limit && !prime_stop_requested()) {
        if (uint_rem_u64(c, cursor.divisor) == 0) return false;
    }
    return true;
}

// The square-root limit of the odd candidates: s = floor(sqrt(c)), kept up to
// date by one addition per square passed, with bound = (s + 1)^2.
struct RootLimit {
    u64 s = 0;
    u64* bound = nullptr;

    void start(const u64* c, u64* bound_words) {
        bound = bound_words;
        uint_sqrt(bound, c);
        uint_to_u64(&s, bound, false);
        set_bound();
    }
    void follow(const u64* c) {
        if (s == ~u64{0} || uint_cmp(c, bound) < 0) return;
        ++s;
        set_bound();
    }
    void set_bound() {
        if (s == ~u64{0}) return;
        uint_set_u64(bound, s + 1);
        uint_mul(bound, bound, bound);
    }
};

// The last number of an interval that the sieve can list, or 0.
u64 sieve_end(const SPrimeNumberCalc& calc) {
    if (calc.operation != PRIME_OP_INTERVAL || mp_int_words != 2 || calc.number[1] != 0) return 0;
    const u64 lo = calc.number[0];
    if (lo >= PRIME_SIEVE_LIMIT) return 0;
    const u64 hi = lo + static_cast<u64>(calc.interval_size) - 1;
    return hi < PRIME_SIEVE_LIMIT ? hi : 0;
}

// The interval listing by the sieve, trailer included; false (nothing sent)
// when the interval lies beyond the sieve or its tables find no room.
bool list_by_sieve(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    const u64 hi = sieve_end(calc);
    if (hi == 0 || mp_err() != 0) return false;
    PrimeLister lister(calc, sink);
    const PrimeSieveResult result = prime_sieve_interval(calc.number[0], hi, [&](u64 p) {
        if (prime_stop_requested()) return false;
        const u64 value[2] = {p, 0};
        lister.prime(value);
        return true;
    });
    if (result == PrimeSieveResult::NoRoom) return false;
    emit_trailer(calc, lister.count(), sink);
    return true;
}

void list_exact(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    emit_header(calc, sink);
    if (list_by_sieve(calc, sink)) return;
    ScratchMark mark;
    u64* c = mark.take(words());
    u64* bound = mark.take(words());
    if (bound == nullptr) return;
    PrimeLister lister(calc, sink);
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
    if (include_two) {
        uint_set_u64(bound, 2);
        lister.prime(bound);
    }
    if (!(include_two && calc.operation == PRIME_OP_NEXT) && remaining >= 1) {
        RootLimit root;
        root.start(c, bound);
        while (mp_err() == 0) {
            const bool prime = odd_candidate_is_prime(c, root.s);
            if (prime_stop_requested()) break;
            if (prime) {
                lister.prime(c);
                if (calc.operation == PRIME_OP_NEXT) break;
            }
            remaining -= 2;
            if (remaining < 1) break;
            uint_add_u64(c, c, 2);
            root.follow(c);
        }
    }
    emit_trailer(calc, lister.count(), sink);
}

void list_probabilistic(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    emit_header(calc, sink);
    ScratchMark mark;
    u64* c = mark.take(words());
    if (c == nullptr) return;
    PrimeLister lister(calc, sink);
    uint_copy(c, calc.number);
    for (i64 remaining = calc.interval_size; mp_err() == 0;) {
        const bool prime = prime_test_probabilistic(c) == 0;
        if (prime_stop_requested() || mp_err() != 0) break;
        if (prime) {
            lister.prime(c);
            if (calc.operation == PRIME_OP_NEXT) break;
        }
        if (--remaining < 1) break;
        uint_add_u64(c, c, 1);
    }
    emit_trailer(calc, lister.count(), sink);
}

void run_method(const SPrimeNumberCalc& calc, PrimeOutputSink& sink) {
    const bool exact = calc.method == PRIME_METHOD_EXACT;
    if (calc.operation == PRIME_OP_TEST) {
        const bool composite =
            exact ? !prime_test_exact(calc.number) : prime_test_probabilistic(calc.number) != 0;
        emit_test_result(composite, calc, sink);
    } else if (calc.operation == PRIME_OP_INTERVAL || calc.operation == PRIME_OP_NEXT) {
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
