// synth.cpp -- the generator's noise, filters, envelopes and oscillators.
#include "data/sounds/synth.h"

#include <cmath>

namespace drumhold::synth {

double Noise::next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
}

double LowPass::step(double x, double cutoff, double rate) {
    const double a = 1.0 - std::exp(-2.0 * pi * cutoff / rate);
    y_ += a * (x - y_);
    return y_;
}

BandPass::BandPass(double centre, double q, double rate) {
    const double w = 2.0 * pi * centre / rate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double a0 = 1.0 + alpha;
    b0_ = alpha / a0;
    b2_ = -alpha / a0;
    a1_ = -2.0 * std::cos(w) / a0;
    a2_ = (1.0 - alpha) / a0;
}

double BandPass::step(double x) {
    const double y = b0_ * x + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

double Phase::advance(double frequency, double rate) {
    const double before = phase_;
    phase_ += 2.0 * pi * frequency / rate;
    if (phase_ > 2.0 * pi) phase_ -= 2.0 * pi;
    return before;
}

double squareish(double phase, double frequency, double ceiling) {
    // Harmonics fade out over the top third below the ceiling rather than
    // vanishing at it: a sweep would click each time one crossed.
    double sum = 0.0;
    for (int k = 1; k * frequency < ceiling; k += 2) {
        const double room = (ceiling - k * frequency) / (ceiling / 3.0);
        const double weight = room >= 1.0 ? 1.0 : riseIn(room, 1.0);
        sum += weight * std::sin(k * phase) / k;
    }
    return sum;
}

double riseIn(double t, double length) {
    if (t >= length) return 1.0;
    if (t <= 0.0) return 0.0;
    return 0.5 - 0.5 * std::cos(pi * t / length);
}

double fadeOut(double t, double end, double length) {
    return riseIn(end - t, length);
}

double decay(double t, double tau) {
    return t < 0.0 ? 0.0 : std::exp(-t / tau);
}

}  // namespace drumhold::synth
