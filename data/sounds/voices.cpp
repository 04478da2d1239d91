// voices.cpp -- the recipes of the five cues.
#include "data/sounds/voices.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "data/sounds/synth.h"

namespace drumhold::synth {

namespace {

void normalise(std::vector<double>& samples, double peak) {
    double largest = 0.0;
    for (double s : samples) largest = std::max(largest, std::fabs(s));
    if (largest > 0.0)
        for (double& s : samples) s *= peak / largest;
}

// A struck piece of steel: inharmonic partials, the high ones dying first.
double clank(double t, double detune) {
    static const double partials[][3] = {
        // frequency (Hz), amplitude, decay time (s)
        {523.0, 1.0, 0.22}, {1187.0, 0.7, 0.12}, {1735.0, 0.5, 0.08},
        {2411.0, 0.35, 0.05}, {3190.0, 0.2, 0.03},
    };
    if (t < 0.0) return 0.0;
    double sum = 0.0;
    for (const auto& p : partials)
        sum += p[1] * decay(t, p[2]) * std::sin(2.0 * pi * p[0] * detune * t);
    return sum * riseIn(t, 0.001);
}

}  // namespace

std::vector<double> explosionVoice(int frames) {
    const double rate = 8000.0;
    const double end = frames / rate;
    Noise common(0x5EED0001u), left(0x5EED0002u), right(0x5EED0003u);
    LowPass commonTone, commonTone2, leftTone, rightTone, rumble;
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        const double t = i / rate;
        // The blast starts bright and closes down to a low rumble.
        const double cutoff = 180.0 + 2600.0 * std::exp(-t / 0.12);
        const double c = commonTone2.step(commonTone.step(common.next(), cutoff, rate), cutoff, rate);
        const double low = rumble.step(common.next(), 90.0, rate) * 4.0;
        const double crack = common.next() * riseIn(t, 0.002) * decay(t, 0.018) * 0.6;
        const double body = riseIn(t, 0.004) * decay(t, 0.24) * fadeOut(t, end, 0.08);
        const double l = leftTone.step(left.next(), cutoff, rate);
        const double r = rightTone.step(right.next(), cutoff, rate);
        out.push_back(body * (0.7 * (c + low) + 0.3 * l) + crack);
        out.push_back(body * (0.7 * (c + low) + 0.3 * r) + crack);
    }
    normalise(out, 0.95);
    return out;
}

std::vector<double> grabVoice(int frames) {
    const double rate = 8000.0;
    const double end = frames / rate;
    const double dragStart = 0.2;
    Noise noise(0x5EED0010u), jitter(0x5EED0011u);
    BandPass scrape(900.0, 1.4, rate), grind(330.0, 2.0, rate), ring(1187.0, 25.0, rate);
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(frames));
    double nextSlip = dragStart;
    double lastSlip = -1.0;
    for (int i = 0; i < frames; ++i) {
        const double t = i / rate;
        // The hook strikes, then latches a moment later.
        double s = clank(t, 1.0) + 0.6 * clank(t - 0.13, 0.97);
        s += noise.next() * riseIn(t, 0.001) * decay(t, 0.004) * 0.5;
        // Dragging: stick-slip bursts of grinding at uneven intervals.
        if (t >= nextSlip) {
            lastSlip = t;
            nextSlip = t + 0.035 + 0.02 * jitter.next();
        }
        const double slip = lastSlip < 0.0 ? 0.0 : 0.35 + decay(t - lastSlip, 0.012);
        const double drag = riseIn(t - dragStart, 0.15) * fadeOut(t, end, 0.45);
        const double n = noise.next() * slip;
        s += drag * (0.8 * scrape.step(n) + 1.0 * grind.step(n) + 3.0 * ring.step(n));
        out.push_back(s * fadeOut(t, end, 0.02));
    }
    normalise(out, 0.9);
    return out;
}

std::vector<double> powerUpVoice(int frames) {
    const double rate = 22050.0;
    const double end = frames / rate;
    Phase phase, upper;
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double t = i / rate;
        const double f = 440.0 * std::pow(2800.0 / 440.0, t / end);
        const double sparkle = 1.0 - 0.3 * (0.5 + 0.5 * std::cos(2.0 * pi * 26.0 * t));
        double s = squareish(phase.advance(f, rate), f, 9000.0);
        s += 0.3 * std::sin(upper.advance(2.0 * f, rate));
        out.push_back(s * sparkle * riseIn(t, 0.008) * fadeOut(t, end, 0.07));
    }
    normalise(out, 0.8);
    return out;
}

std::vector<double> shotVoice(int frames) {
    const double rate = 8000.0;
    const double end = frames / rate;
    Noise noise(0x5EED0020u);
    Phase phase;
    std::vector<double> dry;
    dry.reserve(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double t = i / rate;
        const double f = 150.0 + 1650.0 * std::exp(-t / 0.06);
        double s = squareish(phase.advance(f, rate), f, 3800.0);
        s += noise.next() * decay(t, 0.01) * 0.5;
        dry.push_back(s * riseIn(t, 0.002) * decay(t, 0.09));
    }
    // Two fading echoes fill the tail.
    const int first = static_cast<int>(0.16 * rate), second = static_cast<int>(0.32 * rate);
    std::vector<double> out(dry);
    for (int i = 0; i < frames; ++i) {
        if (i >= first) out[i] += 0.3 * dry[i - first];
        if (i >= second) out[i] += 0.1 * dry[i - second];
        out[i] *= fadeOut(i / rate, end, 0.05);
    }
    normalise(out, 0.9);
    return out;
}

std::vector<double> thumpVoice(int frames) {
    const double rate = 22050.0;
    const double end = frames / rate;
    Noise noise(0x5EED0030u);
    LowPass thud, soften, soften2;
    Phase lub, dub;
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(frames));
    const double second = 0.22;
    for (int i = 0; i < frames; ++i) {
        const double t = i / rate;
        const double fLub = 48.0 + 40.0 * std::exp(-t / 0.03);
        double s = std::sin(lub.advance(fLub, rate)) * riseIn(t, 0.006) * decay(t, 0.07);
        if (t >= second) {
            const double u = t - second;
            const double fDub = 55.0 + 45.0 * std::exp(-u / 0.025);
            s += 0.7 * std::sin(dub.advance(fDub, rate)) * riseIn(u, 0.006) * decay(u, 0.06);
        }
        const double beat = decay(t, 0.05) + 0.7 * decay(t - second, 0.04);
        s += 2.0 * thud.step(noise.next(), 150.0, rate) * beat;
        s = soften2.step(soften.step(s, 320.0, rate), 320.0, rate);
        out.push_back(s * fadeOut(t, end, 0.03));
    }
    normalise(out, 0.85);
    return out;
}

}  // namespace drumhold::synth
