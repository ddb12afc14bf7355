#include "bench/bench_harness.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

using Producer = std::function<void(std::function<void(BenchCase)>)>;

std::vector<Producer>& producers() {
    static std::vector<Producer> list;
    return list;
}

// Processor seconds spent so far by this thread and by the child processes
// waited for (a case that runs a program). Processor time rather than the
// clock: on a shared machine the waits for a core would swamp the ratios.
double cpu_seconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    rusage ru{};
    getrusage(RUSAGE_CHILDREN, &ru);
    const auto tv = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9 +
           tv(ru.ru_utime) + tv(ru.ru_stime);
}

// Seconds per call, calibrated so one sample takes about 20 ms.
double time_per_call(const std::function<void()>& f, long calls) {
    const double t0 = cpu_seconds();
    for (long i = 0; i < calls; ++i) f();
    return (cpu_seconds() - t0) / static_cast<double>(calls);
}

long calibrate(const std::function<void()>& f) {
    long calls = 1;
    while (time_per_call(f, calls) * static_cast<double>(calls) < 0.02 && calls < (1L << 30))
        calls *= 2;
    return calls;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void run_case(const BenchCase& c) {
    const long ours_calls = calibrate(c.ours), ref_calls = calibrate(c.reference);
    std::vector<double> ours, ref, ratios;
    // Interleaved samples, so a noisy neighbour slows both sides alike; a
    // case of seconds per call gets three, enough for a median.
    int samples = 9;
    for (int s = 0; s < samples; ++s) {
        ours.push_back(time_per_call(c.ours, ours_calls));
        ref.push_back(time_per_call(c.reference, ref_calls));
        ratios.push_back(ours.back() / ref.back());
        if (s == 0 && ours.back() * static_cast<double>(ours_calls) > 1.0) samples = 3;
    }
    std::printf("%-40s %12.2f %12.2f %8.2f\n", c.name.c_str(), median(ours) * 1e6,
                median(ref) * 1e6, median(ratios));
    if (c.detail) c.detail();
    std::fflush(stdout);
}

}  // namespace

BenchRegistration::BenchRegistration(Producer producer) {
    producers().push_back(std::move(producer));
}

void run_registered_benchmarks(const char* filter) {
    for (auto& p : producers())
        p([&](BenchCase c) {
            if (std::strstr(c.name.c_str(), filter)) run_case(c);
        });
}
