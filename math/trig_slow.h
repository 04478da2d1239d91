// trig_slow.h -- the slow path of sin, cos and atan2: the value recomputed to
// many words and rounded exactly, for the arguments whose fast attempt fails
// its rounding test (the method is described in trig.cpp).
#pragma once

#include "math/expansion.h"

namespace drumhold::trig_slow {

constexpr int kSlowWords[] = {3, 10};  // the slow path's precisions, in words

// Where atan2 stands: the angle is offset + (subtract ? -1 : 1) atan(n/d),
// with 0 < n <= d.
struct AtanSetup {
    double n, d;
    int offset;  // in quarter turns: 0, 1 or 2
    bool subtract;
};

// sin x or cos x, finite x, to `words` words; false if that cannot decide.
bool sinCos(double x, bool cosine, int words, double& result);
// The same at each precision in turn until one decides.
double sinCos(double x, bool cosine);

// The angle s describes, unsigned (atan2 gives it y's sign), from core, the
// fast path's atan(n/d), to `words` words; false if that cannot decide.
bool atan2(const AtanSetup& s, const exact::Pair& core, int words, double& result);

}  // namespace drumhold::trig_slow
