// sin, cos and atan2 against GCC's quad-precision library rounded to double:
// over the arguments the game makes and ten million random
// ones each, not one result may differ. The fast first attempts are held to the
// error bound their rounding test assumes, and the slow path is run on its own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <utility>

#include "data/tables.h"
#include "math/trig.h"
#include "math/trig_detail.h"

// libquadmath's header comes with GCC alone; these are all the test needs.
extern "C" {
__float128 sinq(__float128);
__float128 cosq(__float128);
__float128 atan2q(__float128, __float128);
}

namespace drumhold {
namespace {

using Quad = __float128;

constexpr int kRandomArguments = 10'000'000;
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool sameDouble(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

float floatFromBits(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

std::uint32_t bitsOfFloat(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// Runs one function over many arguments, counting results that differ from the
// quad reference and the worst relative error of a made fast attempt. Every
// 1024th argument also goes through the slow path alone at its first precision,
// every 8192nd at its last, which nothing else reaches. Sine and cosine are also
// taken from exactSinCos, whose quadrants are its own.
class Check {
public:
    using Exact = std::function<double(double, double)>;
    using Fast = std::function<trig_detail::Attempt(double, double)>;
    using Slow = std::function<double(double, double, int)>;
    using Reference = std::function<Quad(double, double)>;

    Check(Exact exact, Fast fast, Slow slow, Reference reference)
        : exact_(std::move(exact)), fast_(std::move(fast)), slow_(std::move(slow)), reference_(std::move(reference)) {}

    void alsoFrom(Exact paired) { paired_ = std::move(paired); }

    void operator()(double a, double b = 0) {
        ++count_;
        const Quad want = reference_(a, b);
        compare("", exact_(a, b), want, a, b);
        if (paired_) compare("exactSinCos ", paired_(a, b), want, a, b);
        if (count_ % 1024 == 0) compare("slow path ", slow_(a, b, 0), want, a, b);
        if (count_ % 8192 == 0) compare("slow path, last precision ", slow_(a, b, 1), want, a, b);
        const trig_detail::Attempt attempt = fast_(a, b);
        if (attempt.made && want != 0) {
            Quad error = (static_cast<Quad>(attempt.hi) + attempt.lo - want) / want;
            if (error < 0) error = -error;
            if (error > worstFastError_) worstFastError_ = error;
        }
    }

    void expectAllNearest() const {
        EXPECT_EQ(mismatches_, 0) << "of " << count_ << " arguments, first:" << first_.str();
        EXPECT_LE(static_cast<double>(worstFastError_), trig_detail::kFastRelativeError);
        std::printf("%ld arguments, fast attempts within 2^%.2f\n", count_,
                    std::log2(static_cast<double>(worstFastError_)));
    }

private:
    void compare(const char* path, double got, Quad want, double a, double b) {
        if (!sameDouble(got, static_cast<double>(want)) && ++mismatches_ <= 10)
            first_ << std::hexfloat << "\n  " << path << "(" << a << ", " << b << "): got " << got << ", want "
                   << static_cast<double>(want);
    }

    Exact exact_, paired_;
    Fast fast_;
    Slow slow_;
    Reference reference_;
    long count_ = 0, mismatches_ = 0;
    Quad worstFastError_ = 0;
    std::ostringstream first_;
};

// The sine or cosine arguments the game makes, and more.
void sweepAngles(Check& check) {
    // Headings in degrees as the game turns them into radians: tanks and
    // missiles by (-h / 180) pi and -h pi / 180, explosions by a pi / 180. Every
    // 4093rd float up to 2048 degrees (homing missiles drift past a turn), and
    // every float within 2000 steps of each multiple of 90 degrees.
    auto heading = [&](float h) {
        const double d = h;
        check((-d / 180) * kGamePi);
        check(-d * kGamePi / 180);
    };
    for (std::uint32_t bits = 0; floatFromBits(bits) <= 2048; bits += 4093) {
        heading(floatFromBits(bits));
        heading(-floatFromBits(bits));
    }
    for (int quarter = -22; quarter <= 22; ++quarter) {
        const float axis = 90.0f * quarter;
        for (int step = -2000; step <= 2000; ++step) {
            const std::uint32_t bits = bitsOfFloat(std::fabs(axis)) + step;
            if (static_cast<std::int32_t>(bits) >= 0) heading(std::copysign(floatFromBits(bits), axis));
        }
    }
    // Every explosion angle: a draw in 0..32767 scaled to 0..360 degrees, as a
    // double and as a float.
    for (int raw = 0; raw <= 32767; ++raw) {
        const double d = raw / 32767.0 * 360;
        check(d * kGamePi / 180);
        check(static_cast<double>(static_cast<float>(d)) * kGamePi / 180);
    }
    // The doubles nearest the multiples of pi/2 up to 2^11, where the reduction
    // cancels most, and a few neighbours of each.
    for (int k = 1; k * 1.5707963267948966 < 2048; ++k) {
        const double near = static_cast<double>(k * atan2q(1, 0));
        double x = near;
        for (int step = 0; step < 8; ++step) x = std::nextafter(x, 0.0);
        for (int step = 0; step < 17; ++step, x = std::nextafter(x, kInf)) {
            check(x);
            check(-x);
        }
    }
    // Both sides of every power of two, small arguments included.
    for (int e = -1074; e <= 1023; ++e) {
        const double p = std::ldexp(1.0, e);
        for (double x : {std::nextafter(p, 0.0), p, std::nextafter(p, kInf)}) {
            check(x);
            check(-x);
        }
    }
    for (double x : {0.0, -0.0, kInf, -kInf, kNaN, 0x1p20, 0x1p51, 0x1.fffffffffffffp1023}) check(x);

    std::mt19937_64 random(17);
    constexpr double kTurn = 2 * std::numbers::pi;
    std::uniform_real_distribution<double> field(-1024, 1024), turn(-kTurn, kTurn), exponent(-30, 11);
    std::uniform_real_distribution<float> degrees(-2048, 2048);
    for (int i = 0; i < kRandomArguments; ++i) {
        switch (i % 4) {
            case 0: check(field(random)); break;
            case 1: check(turn(random)); break;  // heading errors
            case 2: {
                const double magnitude = std::exp2(exponent(random));
                check(std::copysign(magnitude, field(random)));
                break;
            }
            default: check(-static_cast<double>(degrees(random)) * kGamePi / 180); break;
        }
    }
}

TEST(Trig, SinIsCorrectlyRounded) {
    Check check([](double x, double) { return exactSin(x); }, [](double x, double) { return trig_detail::fastSin(x); },
                [](double x, double, int level) { return trig_detail::slowSin(x, level); },
                [](double x, double) { return sinq(x); });
    check.alsoFrom([](double x, double) { return exactSinCos(x).sine; });
    sweepAngles(check);
    check.expectAllNearest();
}

TEST(Trig, CosIsCorrectlyRounded) {
    Check check([](double x, double) { return exactCos(x); }, [](double x, double) { return trig_detail::fastCos(x); },
                [](double x, double, int level) { return trig_detail::slowCos(x, level); },
                [](double x, double) { return cosq(x); });
    check.alsoFrom([](double x, double) { return exactSinCos(x).cosine; });
    sweepAngles(check);
    check.expectAllNearest();
}

TEST(Trig, Atan2IsCorrectlyRounded) {
    Check check([](double y, double x) { return exactAtan2(y, x); },
                [](double y, double x) { return trig_detail::fastAtan2(y, x); },
                [](double y, double x, int level) { return trig_detail::slowAtan2(y, x, level); },
                [](double y, double x) { return atan2q(y, x); });
    // Bearings across the field (and a little past it) on a quarter-unit grid.
    for (int i = -500; i <= 500; ++i)
        for (int j = -500; j <= 500; ++j) check(i * 0.25, j * 0.25);
    // C's special cases: signed zeros, infinities, NaN, and extremes.
    const double specials[] = {0.0, -0.0, 0x1p-1074, -0x1p-1074, 1, -1, 0x1.fffffffffffffp1023,
                               -0x1.fffffffffffffp1023, kInf, -kInf, kNaN};
    for (double y : specials)
        for (double x : specials) check(y, x);
    std::mt19937_64 random(17);
    std::uniform_real_distribution<float> fieldX(-70, 70), fieldY(-55, 55);
    std::uniform_real_distribution<double> wide(-500, 500), exponent(-70, 70), unit(-1, 1);
    for (int i = 0; i < kRandomArguments; ++i) {
        // One draw per declarator, in order: every compiler makes the same arguments.
        double y, x;
        switch (i % 4) {
            case 0: {  // differences of float positions, as the game takes them
                const double qy = fieldY(random), py = fieldY(random), qx = fieldX(random), px = fieldX(random);
                y = qy - py;
                x = qx - px;
                break;
            }
            case 1:
                y = wide(random);
                x = wide(random);
                break;
            case 2: {
                const double ey = exponent(random), sy = unit(random), ex = exponent(random), sx = unit(random);
                y = std::copysign(std::exp2(ey), sy);
                x = std::copysign(std::exp2(ex), sx);
                break;
            }
            default: {  // near the diagonals
                const double a = wide(random), tilt = unit(random), side = unit(random);
                y = a * (1 + tilt * 0x1p-20);
                x = std::copysign(a, side);
            }
        }
        check(y, x);
    }
    check.expectAllNearest();
    // A quotient on a midpoint between subnormals: atan(q) < q rounds down.
    EXPECT_EQ(exactAtan2(0x1.8p-1073, 2), 0x1p-1074);
    EXPECT_EQ(exactAtan2(-0x1.8p-1073, 2), -0x1p-1074);
}

}  // namespace
}  // namespace drumhold
