// expansion.cpp -- exact arithmetic on sums of doubles: Shewchuk's expansions,
// numbers in words, and their products, quotients and rounding.
#include "math/expansion.h"

#include <algorithm>
#include <cmath>

namespace drumhold::exact {

void Expansion::add(double b) {
    // Grow-Expansion, dropping zero components.
    double q = b;
    int m = 0;
    for (int i = 0; i < n_; ++i) {
        const Pair s = twoSum(q, c_[i]);
        q = s.hi;
        if (s.lo != 0) c_[m++] = s.lo;
    }
    if (q != 0) c_[m++] = q;
    n_ = m;
}

void Expansion::addProduct(double a, double b) {
    const Pair p = twoProd(a, b);
    add(p.lo);
    add(p.hi);
}

void Expansion::add(const Words& a, double scale) {
    for (int j = a.n - 1; j >= 0; --j) add(a.w[j] * scale);
}

void Expansion::addProduct(const Words& a, double b) {
    for (int j = a.n - 1; j >= 0; --j) addProduct(a.w[j], b);
}

double Expansion::top() {
    compress();
    return n_ ? c_[n_ - 1] : 0;
}

Words Expansion::round(int words) {
    Words r;
    r.n = words;
    for (int j = 0; j < words; ++j) {
        r.w[j] = top();
        if (n_) --n_;  // the rest stays an exact, nonoverlapping remainder
    }
    return r;
}

void Expansion::compress() {
    if (n_ == 0) return;
    double g[kCapacity];
    int bottom = n_ - 1;
    double q = c_[n_ - 1];
    for (int i = n_ - 2; i >= 0; --i) {
        const Pair s = fastTwoSum(q, c_[i]);
        if (s.lo != 0) {
            g[bottom--] = s.hi;
            q = s.lo;
        } else {
            q = s.hi;
        }
    }
    g[bottom] = q;
    int top = 0;
    for (int i = bottom + 1; i < n_; ++i) {
        const Pair s = fastTwoSum(g[i], q);
        q = s.hi;
        if (s.lo != 0) c_[top++] = s.lo;
    }
    c_[top++] = q;
    n_ = top;
}

namespace {

// Adds a * b to e, leaving out the word products below 2^-52 words and the
// rounding errors of those just above.
void addProducts(Expansion& e, const Words& a, const Words& b, int words) {
    for (int i = std::min(a.n, words) - 1; i >= 0; --i) {
        for (int j = std::min(b.n, words - i) - 1; j >= 0; --j) {
            if (i + j == words - 1)
                e.add(a.w[i] * b.w[j]);
            else
                e.addProduct(a.w[i], b.w[j]);
        }
    }
}

}  // namespace

Words mul(const Words& a, const Words& b, int words) {
    Expansion e;
    addProducts(e, a, b, words);
    return e.round(words);
}

Words mulAdd(const Words& a, const Words& b, const Words& c, int words) {
    Expansion e;
    for (int j = std::min(c.n, words) - 1; j >= 0; --j) e.add(c.w[j]);
    addProducts(e, a, b, words);
    return e.round(words);
}

// Each quotient word leaves a remainder about 2^-51 times the last, kept to two
// words more than the quotient.
Words divide(const Words& a, const Words& b, int words) {
    Words rem = a;
    Expansion quotient;
    for (int j = 0; j <= words; ++j) {
        const double q = rem.w[0] / b.w[0];
        quotient.add(q);
        Expansion e;
        e.add(rem);
        for (int i = 0; i < std::min(b.n, words + 1); ++i) e.addProduct(-q, b.w[i]);
        rem = e.round(words + 2);
    }
    return quotient.round(words);
}

// By the sign of v minus each midpoint around v's leading words, each
// difference exact but for v's own error.
bool roundWords(const Words& v, double error, double& result) {
    const double a = v.w[0] + v.w[1];
    const double up = std::nextafter(a, INFINITY), down = std::nextafter(a, 0.0);
    const double slack = error * a * 2;
    Expansion above, below;
    above.add(v);
    above.add(-a);
    below = above;
    above.add(-(up - a) / 2);
    below.add((a - down) / 2);
    const double overAbove = above.top(), overBelow = below.top();
    if (overAbove > slack) {
        result = up;
    } else if (overBelow < -slack) {
        result = down;
    } else if (overAbove < -slack && overBelow > slack) {
        result = a;
    } else {
        return false;
    }
    return true;
}

}  // namespace drumhold::exact
