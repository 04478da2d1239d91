// bench_trig.cpp -- what the correctly rounded trigonometry costs.
//
// Times exactSin, exactCos, exactSinCos and exactAtan2 against the platform's
// std::sin, std::cos, both of one angle (which the compiler makes one sincos
// call) and std::atan2, on arguments like the game's own: headings of a few
// turns in radians, and coordinate differences across the field.
//
//   bench_trig [--calls N]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "data/tables.h"
#include "math/trig.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRepeats = 5;

volatile double sink;

// Best of a few runs, in nanoseconds per call.
template <typename F>
double time(const std::vector<double>& a, const std::vector<double>& b, F f) {
    double best = 1e30;
    for (int r = 0; r < kRepeats; ++r) {
        double sum = 0;
        const auto start = Clock::now();
        for (std::size_t i = 0; i < a.size(); ++i) sum += f(a[i], b[i]);
        const double s = std::chrono::duration<double>(Clock::now() - start).count();
        sink = sum;
        best = std::min(best, s);
    }
    return best * 1e9 / static_cast<double>(a.size());
}

void report(const char* name, double exact, const char* other, double platform) {
    std::printf("trig     %-11s %6.1f ns/call  (%-10s %6.1f ns/call)\n", name, exact, other, platform);
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t calls = 1000000;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--calls") == 0 && i + 1 < argc) {
            calls = std::strtoull(argv[++i], nullptr, 10);
        } else {
            std::fprintf(stderr, "usage: bench_trig [--calls N]\n");
            return 2;
        }
    }
    std::mt19937_64 random(17);
    std::uniform_real_distribution<float> heading(-720, 1440), fieldX(-60, 60), fieldY(-45, 45);
    std::vector<double> angle(calls), dy(calls), dx(calls);
    for (std::size_t i = 0; i < calls; ++i) {
        angle[i] = -static_cast<double>(heading(random)) * drumhold::kGamePi / 180;
        dy[i] = static_cast<double>(fieldY(random)) - fieldY(random);
        dx[i] = static_cast<double>(fieldX(random)) - fieldX(random);
    }
    using drumhold::exactAtan2, drumhold::exactCos, drumhold::exactSin, drumhold::exactSinCos;
    report("exactSin", time(angle, angle, [](double x, double) { return exactSin(x); }), "std::sin",
           time(angle, angle, [](double x, double) { return std::sin(x); }));
    report("exactCos", time(angle, angle, [](double x, double) { return exactCos(x); }), "std::cos",
           time(angle, angle, [](double x, double) { return std::cos(x); }));
    report("exactSinCos", time(angle, angle, [](double x, double) {
               const drumhold::SinCos v = exactSinCos(x);
               return v.sine + v.cosine;
           }),
           "sin + cos", time(angle, angle, [](double x, double) { return std::sin(x) + std::cos(x); }));
    report("exactAtan2", time(dy, dx, [](double y, double x) { return exactAtan2(y, x); }), "std::atan2",
           time(dy, dx, [](double y, double x) { return std::atan2(y, x); }));
    return 0;
}
