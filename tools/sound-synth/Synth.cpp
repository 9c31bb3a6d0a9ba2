// The synthesiser's building blocks.
#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sound/WavWriter.h"

namespace synth {

double CNoise::Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double>(state) / 2147483648.0 - 1.0;
}

size_t Samples(double seconds) {
    return static_cast<size_t>(std::lround(seconds * kRate));
}

Signal Tone(double seconds, const std::function<double(double)>& frequency,
            const std::function<double(double)>& amplitude,
            const std::function<double(double)>& shape) {
    Signal out(Samples(seconds));
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        out[i] = shape(phase) * amplitude(t);
        phase += frequency(t) / kRate;
        phase -= std::floor(phase);
    }
    return out;
}

double Sine(double phase) {
    return std::sin(2.0 * kPi * phase);
}

double Triangle(double phase) {
    return 1.0 - 4.0 * std::fabs(phase - 0.5);
}

double SoftSquare(double phase) {
    return std::tanh(4.0 * std::sin(2.0 * kPi * phase)) / std::tanh(4.0);
}

double Decay(double t, double halfLife) {
    return std::exp2(-t / halfLife);
}

double Attack(double t, double seconds) {
    return t >= seconds ? 1.0 : t / seconds;
}

void MixAt(Signal& target, const Signal& source, double atSeconds, double gain) {
    size_t start = Samples(atSeconds);
    if (target.size() < start + source.size())
        target.resize(start + source.size(), 0.0);
    for (size_t i = 0; i < source.size(); ++i)
        target[start + i] += source[i] * gain;
}

void Fade(Signal& signal, double inSeconds, double outSeconds) {
    size_t in = std::min(Samples(inSeconds), signal.size());
    size_t out = std::min(Samples(outSeconds), signal.size());
    for (size_t i = 0; i < in; ++i)
        signal[i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / in);
    for (size_t i = 0; i < out; ++i)
        signal[signal.size() - 1 - i] *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / out);
}

void LowPass(Signal& signal, const std::function<double(double)>& cutoff) {
    double state = 0.0;
    for (size_t i = 0; i < signal.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        double a = 1.0 - std::exp(-2.0 * kPi * cutoff(t) / kRate);
        state += a * (signal[i] - state);
        signal[i] = state;
    }
}

void HighPass(Signal& signal, double cutoff) {
    double a = std::exp(-2.0 * kPi * cutoff / kRate);
    double previousIn = 0.0, previousOut = 0.0;
    for (double& s : signal) {
        double out = a * (previousOut + s - previousIn);
        previousIn = s;
        previousOut = out;
        s = out;
    }
}

double ShortTermLoudness(const Signal& input) {
    // Low tones sound quieter than their RMS says (and small speakers barely play them).
    Signal signal = input;
    HighPass(signal, 250.0);
    size_t window = std::min(Samples(0.05), signal.size());
    if (window == 0)
        return 0.0;
    double sum = 0.0;
    for (size_t i = 0; i < window; ++i)
        sum += signal[i] * signal[i];
    double best = sum;
    for (size_t i = window; i < signal.size(); ++i) {
        sum += signal[i] * signal[i] - signal[i - window] * signal[i - window];
        best = std::max(best, sum);
    }
    return std::sqrt(std::max(best, 0.0) / static_cast<double>(window));
}

void Normalise(Signal& signal, double targetLoudness, double peakLimit) {
    double loudness = ShortTermLoudness(signal);
    double peak = 0.0;
    for (double s : signal)
        peak = std::max(peak, std::fabs(s));
    if (loudness <= 0.0 || peak <= 0.0)
        return;
    double gain = std::min(targetLoudness / loudness, peakLimit / peak);
    for (double& s : signal)
        s *= gain;
}

bool WriteWav16(const std::string& path, const Signal& signal) {
    std::vector<uint8_t> samples;
    samples.reserve(signal.size() * 2);
    for (double s : signal) {
        auto v = static_cast<uint16_t>(
            static_cast<int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32767.0)));
        samples.push_back(static_cast<uint8_t>(v & 0xFF));
        samples.push_back(static_cast<uint8_t>(v >> 8));
    }
    return kx::WriteWavFile(path, kx::MakeWavBytes(kRate, 16, 1, samples.data(),
                                                   static_cast<uint32_t>(samples.size())));
}

} // namespace synth
