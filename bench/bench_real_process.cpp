// The whole command-line program against PARI/GP: velmarix-cli -d 10013
// computing and printing a formula that mixes several functions, as a fresh
// process each time, and gp computing and printing the same formula at
// realprecision 10013, also as a fresh process. Skipped when gp is missing.
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "bench/bench_harness.h"

namespace {

// The directory of this executable, where velmarix-cli is built as well.
std::string own_directory() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    std::string s(path, static_cast<std::size_t>(n));
    return s.substr(0, s.rfind('/'));
}

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0) std::abort();  // a broken case must not time nothing
}

struct Formula {
    const char* ours;  // formula language of the calculator
    const char* gp;    // the same in GP
};

constexpr Formula FORMULAS[] = {
    {"exp(1)+ln(3)+sin(2)+atan(1/2)+asinh(2)", "exp(1)+log(3)+sin(2)+atan(1/2)+asinh(2)"},
    {"sqrt(2)*cos(1/3)-tanh(1/7)+acos(1/5)", "sqrt(2)*cos(1/3)-tanh(1/7)+acos(1/5)"},
    {"2^(1/3)+asin(1/3)+cosh(3/2)/ln(10)", "2^(1/3)+asin(1/3)+cosh(3/2)/log(10)"},
};

const BenchRegistration registration([](const std::function<void(BenchCase)>& add) {
    if (std::system("command -v gp >/dev/null 2>&1") != 0) return;
    const auto cli = std::make_shared<std::string>(own_directory() + "/velmarix-cli");
    for (const Formula& f : FORMULAS) {
        const std::string ours = "'" + *cli + "' --no-settings -t real -d 10013 '" + f.ours +
                                 "' >/dev/null";
        const std::string gp = std::string("echo 'print(") + f.gp +
                               ")' | gp -q -f --default realprecision=10013 >/dev/null";
        add({std::string("real_process d=10013 ") + f.ours, [ours] { run(ours); },
             [gp] { run(gp); }});
    }
});

}  // namespace
