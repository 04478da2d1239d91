// trig.cpp -- sin, cos and atan2 correctly rounded, from double arithmetic alone.
//
// Each function first finds its value as a double-double hi + lo, quickly, and
// returns hi when Ziv's rounding test (roundsToHi) shows the true value must
// round to it too. About one argument in 8000 fails the test and takes the slow
// path, which recomputes the value far more precisely and rounds it exactly.
//
// Fast sine and cosine: x = k pi/2 + r with |r| <= pi/4, reduced exactly for
// |x| < 2^20 with pi/2 in three pieces (Cody and Waite); then r = i/256 + w with
// sin and cos of i/256 from a table in double-double and short Taylor
// polynomials in w. Fast arctangent: signs and a swap of x and y leave
// atan(n/d), 0 < n <= d, and atan(n/d) = atan b + atan u with b = i/256 nearest
// n/d from a table and u = (n - b d) / (d + b n) a polynomial's argument.
// Bounding every rounding, the table entries, the dropped terms and the
// reduction, the double-doubles lie within 2^-67.9 of the true value for sine,
// 2^-69.1 for cosine and 2^-69.9 for arctangent (relative; the tests see
// 2^-69.6 at worst); the rounding test assumes 2^-67.5. The tables, pi and 2/pi
// are in trig_tables.h, which scripts/trig-tables.py writes.
//
// Slow path (trig_slow.cpp): numbers are exact sums of doubles (Shewchuk's
// expansions, expansion.h) rounded to 3 words, 2^-156 each. Sine and cosine
// reduce x with pi/2 in 7 words, or for |x| >= 2^51 with the bits of 2/pi (Payne
// and Hanek), and sum the whole Taylor series; arctangent corrects the fast
// angle t exactly,
//   atan(n/d) = t + atan w,  w = (n cos t - d sin t) / (d cos t + n sin t),
// where w is tiny and atan w = w - w^3/3 to past the words kept. The value is
// within 2^-140 and is rounded by comparing it exactly with the midpoints next
// to it; should that not decide, the same runs with 10 words (2^-504), more than
// any argument is expected to need. No double lies within 2^-61 of a nonzero
// multiple of pi/2, so the reductions lose nothing that matters.
//
// Below 2^-26 sine returns x and below 2^-27 cosine returns 1, which is how they
// round there; atan2 answers zeros, infinities, NaN and quotients beyond 2^60
// directly, as C does and as they round.
#include "math/trig.h"

#include <cmath>
#include <cstdint>

#include "math/exactness.h"
#include "math/expansion.h"
#include "math/trig_detail.h"
#include "math/trig_slow.h"
#include "math/trig_tables.h"

namespace drumhold {

namespace {

using namespace trig_tables;
using exact::fastTwoSum;
using exact::kRoundShift;
using exact::Pair;
using exact::twoProd;
using exact::twoSum;
using trig_slow::AtanSetup;
using trig_slow::kSlowWords;

// Ziv's rounding test. hi + lo (hi the rounded sum) is within e |hi| of the
// true value f, e = kFastRelativeError = 2^-67.5. Half the gap from hi to its
// neighbour on lo's side is g >= 2^-54 |hi|. If hi absorbs lo scaled by
// c = 1 + 2^-13, then |lo| c (1 - 2^-53) <= g, so
//   |f - hi| <= |lo| + e |hi| <= g (1 / (c (1 - 2^-53)) + 2^54 e) < g,
// and f rounds to hi as well (f is never a midpoint: it is transcendental).
bool roundsToHi(const Pair& v) { return v.hi == v.hi + v.lo * (1 + 0x1p-13); }

// ---------------------------------------------------------------------------
// Fast paths: double-double arithmetic

// sin r and cos r for r = hi + lo, 0 <= hi <= 0.786: r = a + w with a = i/256
// from the table and w = z + lo, |z| <= 2^-9, and
//   sin(a + w) = sin a + cos a w + sin a (cos w - 1) + cos a (sin w - w),
//   cos(a + w) = cos a - sin a w + cos a (cos w - 1) - sin a (sin w - w).
// The largest error is sin a (cos w - 1) rounded, up to 2^-69.2 sin a.
// SinCosParts holds what the two have in common.
struct SinCosParts {
    const SinCosEntry& e;
    double z, lo, sinTail, cosTail;
};

SinCosParts sinCosParts(const Pair& r) {
    const double i = (r.hi * 256 + kRoundShift) - kRoundShift;
    const double z = r.hi - i * 0x1p-8;  // exact: |z| <= 2^-9, and r.hi >= 2^-9 unless i = 0
    const double z2 = z * z;
    // sin w - w and cos w - 1 to degree 7 and 6, lo's part beyond first order dropped.
    const double sinTail = z * (z2 * (-1.0 / 6 + z2 * (1.0 / 120 + z2 * (-1.0 / 5040)))) - z2 * r.lo / 2;
    const double cosTail = z2 * (-0.5 + z2 * (1.0 / 24 + z2 * (-1.0 / 720))) - z * r.lo;
    return {kSinCosTable[static_cast<int>(i)], z, r.lo, sinTail, cosTail};
}

Pair sinKernel(const SinCosParts& k) {
    const SinCosEntry& e = k.e;
    const Pair p = twoProd(e.cosHi, k.z);
    const Pair t = fastTwoSum(e.sinHi, p.hi);
    const double small = p.lo + e.sinLo + e.cosLo * k.z + e.cosHi * k.lo + e.cosHi * k.sinTail;
    return fastTwoSum(t.hi, t.lo + small + e.sinHi * k.cosTail);
}

Pair cosKernel(const SinCosParts& k) {
    const SinCosEntry& e = k.e;
    const Pair p = twoProd(e.sinHi, k.z);
    const Pair t = fastTwoSum(e.cosHi, -p.hi);
    const double small = e.cosLo - p.lo - e.sinLo * k.z - e.sinHi * k.lo - e.sinHi * k.sinTail;
    return fastTwoSum(t.hi, t.lo + small + e.cosHi * k.cosTail);
}

Pair negated(const Pair& v) { return {-v.hi, -v.lo}; }

// x = k pi/2 + r with pi/2 in three pieces: k times either of the first two is
// exact for |k| < 2^20, and so is x - k * piece1 (Sterbenz). r's error is below
// |k| 2^-120.8 + 2^-85.6 |r|; false where x lies so near a multiple of pi/2
// (|r| < |k| 2^-36) that this would matter, or |x| >= 2^20. The quadrant is
// k mod 4.
bool fastReduce(double x, Pair& r, unsigned& quadrant) {
    if (!(std::fabs(x) < 0x1p20)) return false;
    const double k = (x * kTwoOverPi + kRoundShift) - kRoundShift;
    const Pair s = twoSum(x - k * kPio2Part1, -(k * kPio2Part2));
    if (std::fabs(s.hi) < std::fabs(k) * 0x1p-36) return false;
    r = fastTwoSum(s.hi, s.lo - k * kPio2Part3);
    quadrant = static_cast<unsigned>(static_cast<std::int64_t>(k));
    return true;
}

trig_detail::Attempt fastSinCos(double x, bool cosine) {
    Pair r;
    unsigned quadrant;
    if (!fastReduce(x, r, quadrant)) return {};
    // sin(r + k pi/2) cycles through sin r, cos r, -sin r, -cos r; cos is a quarter ahead.
    quadrant += cosine ? 1 : 0;
    const bool useCos = quadrant & 1;
    bool negate = quadrant & 2;
    if (r.hi < 0) {
        r = negated(r);
        if (!useCos) negate = !negate;
    }
    const SinCosParts parts = sinCosParts(r);
    Pair v = useCos ? cosKernel(parts) : sinKernel(parts);
    if (negate) v = negated(v);
    return {v.hi, v.lo, true};
}

// atan(n/d) for 2^-60 d <= n <= d, 2^-400 <= d <= 2^500: with b = i/256 nearest
// n/d, atan(n/d) = atan b + atan u, u = (n - b d) / (d + b n), |u| <= 2^-9. The
// largest error is that of the polynomial in u, up to 2^-70.3 |u|.
Pair atanKernel(double n, double d) {
    const double i = (n / d * 256 + kRoundShift) - kRoundShift;
    const double b = i * 0x1p-8;
    const Pair bd = twoProd(b, d), bn = twoProd(b, n);
    const Pair num0 = twoSum(n, -bd.hi);
    const Pair num = twoSum(num0.hi, num0.lo - bd.lo);
    const Pair den = fastTwoSum(d, bn.hi);
    const double denLo = den.lo + bn.lo;
    // u = uh + ul with one division: the remainder num - uh den is all but exact.
    const double reciprocal = 1 / den.hi;
    const double uh = num.hi * reciprocal;
    const Pair back = twoProd(uh, den.hi);
    const double ul = (((num.hi - back.hi) - back.lo) + num.lo - uh * denLo) * reciprocal;
    const double u2 = uh * uh;
    // atan u - u to degree 7, ul's part beyond first order dropped.
    const double tail = uh * (u2 * (-1.0 / 3 + u2 * (1.0 / 5 + u2 * (-1.0 / 7)))) - u2 * ul;
    const Pair& a = kAtanTable[static_cast<int>(i)];
    const Pair t = fastTwoSum(a.hi, uh);
    return fastTwoSum(t.hi, t.lo + (a.lo + ul) + tail);
}

Pair atanAngle(const AtanSetup& s, const Pair& core) {
    if (s.offset == 0) return core;
    const Pair& off = s.offset == 1 ? kPio2 : kTruePi;
    const double sign = s.subtract ? -1 : 1;
    const Pair t = fastTwoSum(off.hi, sign * core.hi);
    return fastTwoSum(t.hi, t.lo + (off.lo + sign * core.lo));
}

// ---------------------------------------------------------------------------
// atan2's special cases

// atan2 for x > 0 and |y/x| < 2^-60: atan q = q - q^3/3 + ... rounds like q
// itself unless q falls exactly on a midpoint between doubles, which happens
// only among the subnormals; then the result is the neighbour toward zero.
double tinyAtan(double y, double x) {
    const double q = y / x;
    if (std::fabs(q) > 0x1p-1022) return q;
    int ey, ex;
    const double my = std::frexp(y, &ey), mx = std::frexp(x, &ex);
    const double qm = my / mx;
    const Pair back = twoProd(qm, mx);
    if ((my - back.hi) - back.lo != 0) return q;  // y/x has more than 53 bits
    const int shift = ey - ex + 1075;             // y/x = qm 2^shift 2^-1075
    if (shift < -60) return q;
    const double halves = std::fabs(std::ldexp(qm, shift));
    if (std::fmod(halves, 2.0) != 1) return q;
    return std::copysign((halves - 1) / 2 * 0x1p-1074, q);
}

// atan2's answer where it needs no arithmetic; false otherwise.
bool specialAtan2(double y, double x, double& result) {
    const bool left = std::signbit(x);
    if (std::isnan(x) || std::isnan(y)) {
        result = x + y;
    } else if (y == 0) {
        result = left ? std::copysign(kTruePi.hi, y) : y;
    } else if (x == 0) {
        result = std::copysign(kPio2.hi, y);
    } else if (std::isinf(x)) {
        if (std::isinf(y))
            result = std::copysign(left ? kThreePio4Rounded : kPio4Rounded, y);
        else
            result = left ? std::copysign(kTruePi.hi, y) : std::copysign(0.0, y);
    } else if (std::isinf(y)) {
        result = std::copysign(kPio2.hi, y);
    } else {
        return false;
    }
    return true;
}

// Where finite, nonzero (y, x) falls; false, with the result, if one quotient
// dwarfs the other: then pi - q, pi/2 +- q and q round like pi, pi/2 and q.
bool setUpAtan2(double y, double x, AtanSetup& s, double& result) {
    const double ax = std::fabs(x), ay = std::fabs(y);
    const bool swap = ay > ax;
    double n = swap ? ax : ay, d = swap ? ay : ax;
    if (d < 0x1p-400 || d > 0x1p500) {
        int e;
        d = std::frexp(d, &e);
        n = std::ldexp(n, -e);
    }
    if (n < d * 0x1p-60) {
        if (swap)
            result = std::copysign(kPio2.hi, y);
        else
            result = x < 0 ? std::copysign(kTruePi.hi, y) : tinyAtan(y, x);
        return false;
    }
    s.n = n;
    s.d = d;
    s.offset = swap ? 1 : x < 0 ? 2 : 0;
    s.subtract = swap != (x < 0);
    return true;
}

}  // namespace

namespace trig_detail {

const double kFastRelativeError = 0x1.6a09e667f3bcdp-68;  // 2^-67.5

Attempt fastSin(double x) { return std::fabs(x) >= 0x1p-26 ? fastSinCos(x, false) : Attempt{}; }
Attempt fastCos(double x) { return std::fabs(x) >= 0x1p-27 ? fastSinCos(x, true) : Attempt{}; }

Attempt fastAtan2(double y, double x) {
    AtanSetup s;
    double result;
    if (specialAtan2(y, x, result) || !setUpAtan2(y, x, s, result)) return {};
    const Pair v = atanAngle(s, atanKernel(s.n, s.d));
    return {std::copysign(v.hi, y), std::copysign(1.0, y) * v.lo, true};
}

double slowSin(double x, int level) {
    double result;
    if (!(std::fabs(x) >= 0x1p-26) || std::isinf(x)) return exactSin(x);
    trig_slow::sinCos(x, false, kSlowWords[level], result);
    return result;
}

double slowCos(double x, int level) {
    double result;
    if (!(std::fabs(x) >= 0x1p-27) || std::isinf(x)) return exactCos(x);
    trig_slow::sinCos(x, true, kSlowWords[level], result);
    return result;
}

double slowAtan2(double y, double x, int level) {
    AtanSetup s;
    double result;
    if (specialAtan2(y, x, result) || !setUpAtan2(y, x, s, result)) return result;
    trig_slow::atan2(s, atanKernel(s.n, s.d), kSlowWords[level], result);
    return std::copysign(result, y);
}

}  // namespace trig_detail

double exactSin(double x) {
    // Below 2^-26, x - sin x < |x|^3/6 is under half the gap to the next double
    // toward zero: sin x rounds to x.
    if (!(std::fabs(x) >= 0x1p-26)) return std::isnan(x) ? x + x : x;
    const trig_detail::Attempt a = fastSinCos(x, false);
    if (a.made && roundsToHi({a.hi, a.lo})) return a.hi;
    if (std::isinf(x)) return x - x;
    return trig_slow::sinCos(x, false);
}

double exactCos(double x) {
    // Below 2^-27, 1 - cos x < x^2/2 is under half the gap below 1: cos x rounds to 1.
    if (!(std::fabs(x) >= 0x1p-27)) return std::isnan(x) ? x + x : 1;
    const trig_detail::Attempt a = fastSinCos(x, true);
    if (a.made && roundsToHi({a.hi, a.lo})) return a.hi;
    if (std::isinf(x)) return x - x;
    return trig_slow::sinCos(x, true);
}

SinCos exactSinCos(double x) {
    Pair r;
    unsigned quadrant;
    if (!(std::fabs(x) >= 0x1p-26) || !fastReduce(x, r, quadrant)) return {exactSin(x), exactCos(x)};
    const bool negative = r.hi < 0;
    if (negative) r = negated(r);
    const SinCosParts parts = sinCosParts(r);
    Pair sine = sinKernel(parts), cosine = cosKernel(parts);
    if (negative) sine = negated(sine);
    // A quarter turn on: sin becomes cos and cos becomes -sin.
    if (quadrant & 1) {
        const Pair s = sine;
        sine = cosine;
        cosine = negated(s);
    }
    if (quadrant & 2) {
        sine = negated(sine);
        cosine = negated(cosine);
    }
    return {roundsToHi(sine) ? sine.hi : trig_slow::sinCos(x, false),
            roundsToHi(cosine) ? cosine.hi : trig_slow::sinCos(x, true)};
}

double exactAtan2(double y, double x) {
    AtanSetup s;
    double result;
    if (specialAtan2(y, x, result) || !setUpAtan2(y, x, s, result)) return result;
    const Pair core = atanKernel(s.n, s.d);
    const Pair v = atanAngle(s, core);
    if (roundsToHi(v)) return std::copysign(v.hi, y);
    for (int words : kSlowWords)
        if (trig_slow::atan2(s, core, words, result)) break;
    return std::copysign(result, y);
}

}  // namespace drumhold
