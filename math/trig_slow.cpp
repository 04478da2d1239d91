// trig_slow.cpp -- the slow path of sin, cos and atan2: arguments reduced and
// series summed in words of exact expansions, the results rounded exactly.
#include "math/trig_slow.h"

#include <cmath>
#include <cstdint>
#include <iterator>

#include "math/trig_tables.h"

namespace drumhold::trig_slow {

namespace {

using namespace trig_tables;
using exact::divide;
using exact::Expansion;
using exact::kMaxWords;
using exact::kRoundShift;
using exact::mul;
using exact::mulAdd;
using exact::Pair;
using exact::roundWords;
using exact::Words;
using exact::wordsOf;

constexpr int kMaxSeriesTerms = 64;
static_assert(kSlowWords[1] + 4 <= kMaxWords, "the reduction takes pi/2 to 4 words more");

double slowError(int words) { return std::ldexp(1.0, 16 - 52 * words); }

// pi/2 to `words` words, times a power of two.
Words pio2(int words, double scale = 1) {
    Words r;
    r.n = words;
    for (int j = 0; j < words; ++j) r.w[j] = kPio2Words[j] * scale;
    return r;
}

// How many rows of kInverseFactorials the series takes at `words` words: down to
// the first below 2^-(52 words + 16), past which no term matters for arguments
// up to 1.
constexpr int inverseFactorialRows(int words) {
    double limit = 1;
    for (int i = 0; i < 52 * words + 16; ++i) limit /= 2;
    int n = 0;
    while (kInverseFactorials[n][0] >= limit) ++n;
    return n + 1;
}
constexpr int kInverseFactorialRows[] = {inverseFactorialRows(kSlowWords[0]), inverseFactorialRows(kSlowWords[1])};
static_assert(std::size(kInverseFactorials[0]) == kSlowWords[1]);
static_assert(kInverseFactorialRows[1] == std::size(kInverseFactorials));

// 1/n! to `words` words: a row's leading words are the row rounded to fewer.
Words inverseFactorial(int n, int words) {
    Words r;
    r.n = words;
    for (int j = 0; j < words; ++j) r.w[j] = kInverseFactorials[n][j];
    return r;
}

// sin r or cos r, |r| <= 1, by the Taylor series in Horner form. A step's
// value is needed to fewer words the smaller its term is: each step keeps just
// the words that matter.
Words sinCosSeries(const Words& r, int words, bool sine) {
    const int factorials = kInverseFactorialRows[words == kSlowWords[0] ? 0 : 1];
    const Words r2 = mul(r, r, words);
    const double bound = std::fabs(r.w[0]) * (1 + 0x1p-40);
    const int offset = sine ? 1 : 0;
    double size[kMaxSeriesTerms];  // bounds term j, r^2j / (2j + offset)!
    int terms = 0;
    for (double t = 1; terms < kMaxSeriesTerms && 2 * terms + offset < factorials; ++terms) {
        size[terms] = t * kInverseFactorials[2 * terms + offset][0] * (1 + 0x1p-40);
        t *= bound * bound;
    }
    Words acc;
    for (int j = terms - 1; j >= 0; --j) {
        int used = words;
        for (double s = size[j]; used > 1 && s < 0x1p-52; s *= 0x1p52) --used;
        Words c = inverseFactorial(2 * j + offset, words);
        if (j & 1)
            for (double& w : c.w) w = -w;
        acc = mulAdd(r2, acc, c, used);
    }
    return sine ? mul(r, acc, words) : acc;
}

// r = x - k pi/2, |r| < 1, and k mod 4. Exact but for the words of pi/2 (or of
// 2/pi) left out, which are far below what matters: no double lies within
// 2^-61 of a nonzero multiple of pi/2.
Words reduce(double x, int words, unsigned& quadrant) {
    Expansion e;
    if (std::fabs(x) < 0x1p51) {
        const double k = (x * kTwoOverPi + kRoundShift) - kRoundShift;
        quadrant = static_cast<unsigned>(static_cast<std::int64_t>(k));
        e.add(x);
        e.addProduct(pio2(words + 4), -k);
        return e.round(words);
    }
    // Payne and Hanek: x = X 2^E with X an integer below 2^53, and x 2/pi mod 4
    // needs only the pieces of 2/pi whose products with x are not multiples of 4.
    int exponent;
    const double X = std::ldexp(std::frexp(x, &exponent), 53);
    const int E = exponent - 53;
    int first = 0;
    while (E - 24 * (first + 1) >= 2) ++first;
    const int last = (E + 140 + 52 * words) / 24;
    for (int j = last; j >= first; --j) e.addProduct(X, std::ldexp(kTwoOverPiPieces[j], E - 24 * (j + 1)));
    // Take off whole numbers, counting them mod 4, until a fraction is left.
    quadrant = 0;
    for (double t = e.top(); std::fabs(t) > 0.5; t = e.top()) {
        double whole = std::fabs(t) >= 0x1p52 ? t : static_cast<double>(static_cast<std::int64_t>(t));
        if (whole == 0) whole = t > 0 ? 1 : -1;
        if (std::fabs(whole) < 0x1p54) quadrant += static_cast<unsigned>(static_cast<std::int64_t>(whole));
        e.add(-whole);
    }
    return mul(e.round(words + 1), pio2(words + 1), words);
}

}  // namespace

bool sinCos(double x, bool cosine, int words, double& result) {
    unsigned quadrant;
    const Words r = reduce(x, words, quadrant);
    quadrant += cosine ? 1 : 0;
    Words v = sinCosSeries(r, words, (quadrant & 1) == 0);
    bool negate = quadrant & 2;
    if (v.w[0] < 0) {
        for (double& w : v.w) w = -w;
        negate = !negate;
    }
    const bool decided = roundWords(v, slowError(words), result);
    if (negate) result = -result;
    return decided;
}

double sinCos(double x, bool cosine) {
    double result = 0;
    for (int words : kSlowWords)
        if (sinCos(x, cosine, words, result)) break;
    return result;
}

// atan(n/d) = t + atan w, t = core, w = (n cos t - d sin t) / (d cos t + n sin t),
// where w is tiny and atan w = w - w^3/3 to past the words kept.
bool atan2(const AtanSetup& s, const Pair& core, int words, double& result) {
    Words t = wordsOf(core.hi);
    t.w[1] = core.lo;
    t.n = 2;
    const Words sine = sinCosSeries(t, words, true), cosine = sinCosSeries(t, words, false);
    Expansion num, den;
    num.addProduct(cosine, s.n);
    num.addProduct(sine, -s.d);
    den.addProduct(cosine, s.d);
    den.addProduct(sine, s.n);
    const Words w = divide(num.round(words), den.round(words), words);
    const Words w3 = divide(mul(mul(w, w, 2), w, 2), wordsOf(3), 2);
    Expansion angle;
    const double sign = s.subtract ? -1 : 1;
    angle.add(t, sign);
    angle.add(w, sign);
    angle.add(w3, -sign);
    if (s.offset) angle.add(pio2(words + 1), s.offset);
    return roundWords(angle.round(words), slowError(words), result);
}

}  // namespace drumhold::trig_slow
