// trig.h -- sine, cosine and arctangent, correctly rounded.
//
// Each returns the double nearest the true value (ties to even), computed with
// double additions, subtractions, multiplications and divisions alone, so every
// platform and compiler gives the same bits and recorded games replay alike on
// all of them. The platform's std::sin, std::cos and std::atan2 do not agree.
#pragma once

namespace drumhold {

double exactSin(double x);
double exactCos(double x);
// Both of one angle, as exactSin and exactCos give them, for less than the two.
struct SinCos {
    double sine, cosine;
};
SinCos exactSinCos(double x);
// Quadrants, signed zeros, infinities and NaN as C's atan2.
double exactAtan2(double y, double x);

}  // namespace drumhold
