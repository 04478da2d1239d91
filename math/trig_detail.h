// trig_detail.h -- the inner steps of trig.cpp, for the math library's tests
// alone: everything else calls the functions of trig.h.
#pragma once

namespace drumhold {

// The first, fast attempt of each function before its rounding test, exposed so
// the tests can hold it to the error bound that test relies on.
namespace trig_detail {

struct Attempt {
    double hi = 0, lo = 0;  // the value is hi + lo; lo below half an ulp of hi
    bool made = false;      // false: the argument goes straight to the slow path
};

// Every made attempt is within this relative distance of the true value.
extern const double kFastRelativeError;

Attempt fastSin(double x);
Attempt fastCos(double x);
Attempt fastAtan2(double y, double x);

// The slow path alone at its first (level 0) or last (level 1) precision. The
// last otherwise runs only where the first cannot decide, which no known
// argument makes it do.
double slowSin(double x, int level);
double slowCos(double x, int level);
double slowAtan2(double y, double x, int level);

}  // namespace trig_detail

}  // namespace drumhold
