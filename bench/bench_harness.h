// A small harness: each case times our routine and GMP's on the same inputs
// and prints the median time ratio ours/GMP.
#pragma once

#include <functional>
#include <string>

struct BenchCase {
    std::string name;
    std::function<void()> ours;
    std::function<void()> reference;
    // Optional: prints further lines about the case after its own.
    std::function<void()> detail = nullptr;
};

// Registers a producer of cases (run once at start-up by a static object).
struct BenchRegistration {
    explicit BenchRegistration(std::function<void(std::function<void(BenchCase)>)> producer);
};

// Runs every case whose name contains filter; prints one line per case.
void run_registered_benchmarks(const char* filter);
