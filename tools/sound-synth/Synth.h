// Building blocks of the sound synthesiser: oscillators, envelopes, noise, mixing and WAV output.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace synth {

inline constexpr int kRate = 22050;
inline constexpr double kPi = 3.14159265358979323846;

// Mono signal in the range -1..1 at kRate.
using Signal = std::vector<double>;

// Deterministic white noise: the same seed gives the same sounds on every build.
class CNoise {
public:
    explicit CNoise(uint32_t seed) : state(seed ? seed : 1) {}
    double Next(); // -1..1
private:
    uint32_t state;
};

size_t Samples(double seconds);

// A tone whose frequency (Hz) and amplitude follow functions of time in seconds; the wave
// shape maps a phase in cycles (0..1) to -1..1.
Signal Tone(double seconds, const std::function<double(double)>& frequency,
            const std::function<double(double)>& amplitude,
            const std::function<double(double)>& shape);

double Sine(double phase);
double Triangle(double phase);
// A square with softened edges, so that the 22050 Hz rate does not alias harshly.
double SoftSquare(double phase);

// Envelope shapes, t in seconds.
double Decay(double t, double halfLife);
double Attack(double t, double seconds);

// Adds source into target starting at a time offset, growing target as needed.
void MixAt(Signal& target, const Signal& source, double atSeconds, double gain = 1.0);
// Raised-cosine fades at both ends so that the sound starts and ends at rest.
void Fade(Signal& signal, double inSeconds, double outSeconds);
// One-pole low-pass with a cut-off that may change over time (Hz as a function of seconds).
void LowPass(Signal& signal, const std::function<double(double)>& cutoff);
void HighPass(Signal& signal, double cutoff);

// Loudness used to match the effects: the largest RMS over any 50 ms window, with the
// low frequencies below 250 Hz weighed less.
double ShortTermLoudness(const Signal& signal);
// Scales to the target short-term loudness, keeping the peak at or below peakLimit.
void Normalise(Signal& signal, double targetLoudness, double peakLimit);

// 16-bit signed mono PCM with the plain 44-byte header.
bool WriteWav16(const std::string& path, const Signal& signal);

} // namespace synth
