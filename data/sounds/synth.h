// synth.h -- small building blocks of the sound generator: a seeded noise source,
// filters, envelopes and band-limited oscillators. Everything is deterministic.
#pragma once

#include <cstdint>

namespace drumhold::synth {

inline constexpr double pi = 3.14159265358979323846;

// White noise in [-1, 1) from a 32-bit xorshift generator: the same seed always
// gives the same sound.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    double next();

private:
    std::uint32_t state_;
};

// One-pole low-pass; `cutoff` may change from sample to sample.
class LowPass {
public:
    double step(double x, double cutoff, double rate);

private:
    double y_ = 0.0;
};

// Resonant band-pass (constant 0 dB peak gain) with fixed centre and Q.
class BandPass {
public:
    BandPass(double centre, double q, double rate);
    double step(double x);

private:
    double b0_, b2_, a1_, a2_;
    double x1_ = 0.0, x2_ = 0.0, y1_ = 0.0, y2_ = 0.0;
};

// Phase accumulator for a swept oscillator; `advance` returns the phase in
// radians before the step.
class Phase {
public:
    double advance(double frequency, double rate);

private:
    double phase_ = 0.0;
};

// Sum of odd harmonics (a square-like, bright tone) kept below `ceiling` Hz so
// that a high sweep neither aliases nor clicks.
double squareish(double phase, double frequency, double ceiling);

// 0 -> 1 along a half cosine over `length` seconds; 1 afterwards.
double riseIn(double t, double length);
// 1 until `length` seconds before `end`, then down to 0 along a half cosine.
double fadeOut(double t, double end, double length);
double decay(double t, double tau);

}  // namespace drumhold::synth
