// A sink that collects a worker's output, for the worker tests.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "primes/prime_output.h"
#include "textbuf/text_utf8.h"

class CollectingSink : public PrimeOutputSink {
  public:
    void append(const char16_t* text) override { text_ += text; }
    void done() override { done_.fetch_add(1); }
    // The output as UTF-8.
    std::string text() const { return text_to_utf8(text_); }
    int done_calls() const { return done_.load(); }
    // Waits up to seconds for done(); true when it came.
    bool wait_done(int seconds) const {
        for (int i = 0; i < seconds * 100 && done_.load() == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done_.load() != 0;
    }

  private:
    std::u16string text_;
    std::atomic<int> done_{0};
};
