// expansion.h -- exact arithmetic on sums of doubles, for the slow path of the
// correctly rounded trigonometry.
//
// twoSum, fastTwoSum and twoProd give a sum or product of two doubles exactly,
// as hi + lo. An Expansion holds a sum of doubles exactly, as a nonoverlapping
// sequence smallest first (Shewchuk: grown by one double at a time, compressed
// so that its largest component is within an ulp of the sum). Words are a
// number rounded from one, largest first: each word the largest component of
// the compressed remainder, so w words carry a relative error below 2^-52w.
// mul and mulAdd to w words leave out the word products below 2^-52w and the
// rounding errors of those just above; divide keeps its remainder to w + 2
// words. Each thus errs by a small multiple of 2^-52w, relative to |a b| + |c|
// or to the quotient. roundWords rounds Words to the nearest double, exactly,
// given a bound on their error, or reports that the bound leaves it open.
#pragma once

#include <cfloat>

namespace drumhold::exact {

// The exact steps need every operation rounded once to double: no
// extended-precision x87 arithmetic and no fused multiply-add (the build passes
// -ffp-contract=off).
static_assert(FLT_EVAL_METHOD == 0, "double arithmetic must round to double");

struct Pair {
    double hi, lo;
};

// a + b = hi + lo exactly.
inline Pair twoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// The same when |a| >= |b| (or a == 0).
inline Pair fastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b = hi + lo exactly (Dekker), for |a|, |b| < 2^995 and no underflow.
inline Pair twoProd(double a, double b) {
    constexpr double kSplitter = 134217729;  // 2^27 + 1
    const double p = a * b;
    const double ca = kSplitter * a, cb = kSplitter * b;
    const double ah = ca - (ca - a), bh = cb - (cb - b);
    const double al = a - ah, bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

// (t + kRoundShift) - kRoundShift rounds t to an integer, for |t| < 2^51.
constexpr double kRoundShift = 0x1.8p52;

constexpr int kMaxWords = 14;  // pi/2 for the trigonometry's 10-word reduction

struct Words {
    double w[kMaxWords] = {};
    int n = 0;
};

inline Words wordsOf(double a) {
    Words r;
    r.w[0] = a;
    r.n = 1;
    return r;
}

class Expansion {
public:
    void add(double b);
    void addProduct(double a, double b);
    void add(const Words& a, double scale = 1);  // scale a power of two
    void addProduct(const Words& a, double b);
    // The largest component once compressed: the sum to within an ulp.
    double top();
    // The sum to `words` words; what is left is the exact remainder.
    Words round(int words);

private:
    void compress();

    // A sum of k doubles has at most k components: more than any sum the
    // trigonometry makes.
    static constexpr int kCapacity = 160;
    double c_[kCapacity];
    int n_ = 0;
};

// a * b and a * b + c to `words` words.
Words mul(const Words& a, const Words& b, int words);
Words mulAdd(const Words& a, const Words& b, const Words& c, int words);
// a / b to `words` words, by long division.
Words divide(const Words& a, const Words& b, int words);

// Rounds v > 0, known to within relative error `error`, to the nearest double;
// false when the true value may round otherwise.
bool roundWords(const Words& v, double error, double& result);

}  // namespace drumhold::exact
