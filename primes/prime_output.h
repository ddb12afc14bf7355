// Where the prime workers send their output, and the bounded pieces of text
// they build it from.
#pragma once

#include <string_view>

#include "numlib/mp_types.h"
#include "textbuf/textbuf.h"

// Receives a worker's output. append() is called on the worker's thread for
// each piece in order and must have taken the text (copied or shown it)
// before it returns; done() is called once, last, whether the run finished,
// failed or was stopped. After done() the worker touches nothing of the
// caller's.
class PrimeOutputSink {
  public:
    virtual ~PrimeOutputSink() = default;
    virtual void append(const char16_t* text) = 0;
    virtual void done() = 0;
    // How far the run is, for a progress display: the numbers of the
    // interval examined so far (prime numbers worker) or the place in the run
    // of the number being treated (factors worker). Called on the worker's
    // thread, often, so it must be cheap.
    virtual void progress(i64 /*done*/) {}
};

// One piece of output in a buffer of fixed capacity from the library scratch
// area (released with the writer). A piece that does not fit is cut, ends in
// "…" and raises application error 9002 (first error wins); it is still sent.
class PiecePrinter {
  public:
    PiecePrinter(PrimeOutputSink& sink, i64 capacity, u32 format_flags, u32 base);
    ~PiecePrinter();
    PiecePrinter(const PiecePrinter&) = delete;
    PiecePrinter& operator=(const PiecePrinter&) = delete;

    PiecePrinter& text(std::u16string_view s);
    // A uint of mp_int_words words in the output base with the format flags.
    PiecePrinter& number(const u64* value);
    // Sends the piece and starts an empty one.
    void send();

  private:
    PrimeOutputSink& sink_;
    u8* saved_top_;
    TextBuf buf_;
    char16_t* digits_;
    i64 digit_capacity_;
    u32 flags_;
    u32 base_;
};
