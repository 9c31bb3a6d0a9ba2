// The thirteen sound effects of the game, each made from a few oscillators, noise and envelopes.
#include "Effects.h"

#include <cmath>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "sound/SoundNames.h"

namespace synth {

namespace {

// Exponential glide from a to b over the given time, then held.
double Glide(double t, double seconds, double a, double b) {
    double x = std::min(t / seconds, 1.0);
    return a * std::pow(b / a, x);
}

double BrightBlip(double phase) {
    // A sine with a touch of octave for brightness.
    return 0.8 * Sine(phase) + 0.2 * Sine(2.0 * phase);
}

// Corn: a quick upward flick; anti-corn the same flick downward and a shade darker.
Signal CornBlip(bool rising) {
    const double length = 0.14;
    Signal s = Tone(
        length,
        [&](double t) { return rising ? Glide(t, 0.06, 1100, 1760) : Glide(t, 0.06, 1760, 1100); },
        [](double t) { return Attack(t, 0.004) * Decay(t, 0.035); },
        rising ? BrightBlip : [](double p) { return 0.7 * Sine(p) + 0.3 * Triangle(p); });
    return s;
}

// Worm speed items: a rising or falling sweep of a soft square.
Signal WormSweep(bool rising) {
    const double length = 0.3;
    return Tone(
        length,
        [&](double t) {
            return rising ? Glide(t, length, 260, 1240) : Glide(t, length, 1240, 260);
        },
        [&](double t) { return Attack(t, 0.01) * (1.0 - 0.5 * t / length); }, SoftSquare);
}

// Ghost speed: slower, eerier sweeps of two detuned sines with vibrato.
Signal GhostSweep(bool rising) {
    const double length = 0.38;
    auto frequency = [&](double t, double detune) {
        double base = rising ? Glide(t, length, 380, 880) : Glide(t, length, 880, 380);
        return base * detune * (1.0 + 0.035 * std::sin(2.0 * kPi * 7.0 * t));
    };
    auto amplitude = [&](double t) { return Attack(t, 0.04) * (1.0 - 0.4 * t / length); };
    Signal s = Tone(
        length, [&](double t) { return frequency(t, 1.0); }, amplitude, Sine);
    MixAt(s,
          Tone(
              length, [&](double t) { return frequency(t, 1.012); }, amplitude, Triangle),
          0.0, 0.6);
    return s;
}

// A short brass-like note: a few harmonics that fade at different speeds.
Signal FanfareNote(double frequency, double length) {
    return Tone(
        length, [=](double) { return frequency; },
        [=](double t) { return Attack(t, 0.012) * (0.55 + 0.45 * Decay(t, 0.09)); },
        [](double p) {
            return 0.6 * Sine(p) + 0.25 * Sine(2 * p) + 0.12 * Sine(3 * p) + 0.05 * Sine(4 * p);
        });
}

Signal LevelWon() {
    Signal s;
    const double notes[] = {523.25, 659.25, 783.99};
    for (int i = 0; i < 3; ++i) {
        Signal n = FanfareNote(notes[i], 0.13);
        Fade(n, 0.003, 0.03);
        MixAt(s, n, 0.12 * i);
    }
    // The final chord rings out: C6 with a quieter G5 and E5 beneath it.
    const double chord[] = {1046.5, 783.99, 659.25};
    const double gains[] = {1.0, 0.45, 0.35};
    for (int i = 0; i < 3; ++i) {
        Signal n = Tone(
            0.62, [=](double) { return chord[i]; },
            [](double t) { return Attack(t, 0.015) * Decay(t, 0.22); },
            [](double p) { return 0.7 * Sine(p) + 0.2 * Sine(2 * p) + 0.1 * Sine(3 * p); });
        MixAt(s, n, 0.36, gains[i]);
    }
    return s;
}

// A worm dies: a dull thump under a few bursts of coarse, low-passed noise.
Signal WormDead() {
    const double length = 0.3;
    Signal s = Tone(
        length, [](double t) { return Glide(t, 0.2, 150, 45); },
        [](double t) { return Attack(t, 0.003) * Decay(t, 0.06); }, Triangle);
    CNoise noise(0x5EED0007u);
    const double starts[] = {0.0, 0.045, 0.1, 0.16};
    const double gains[] = {1.0, 0.8, 0.6, 0.4};
    for (int k = 0; k < 4; ++k) {
        Signal grain(Samples(0.05));
        double held = 0.0;
        for (size_t i = 0; i < grain.size(); ++i) {
            if (i % 3 == 0) // sample-and-hold makes the noise gritty
                held = noise.Next();
            double t = static_cast<double>(i) / kRate;
            grain[i] = held * Attack(t, 0.002) * Decay(t, 0.01);
        }
        LowPass(grain, [](double) { return 3000.0; });
        MixAt(s, grain, starts[k], 1.6 * gains[k]);
    }
    return s;
}

// A ghost is born: a sine that wobbles in pitch and loudness and drifts upward.
Signal GhostNew() {
    const double length = 0.36;
    return Tone(
        length,
        [](double t) {
            return Glide(t, 0.36, 420, 620) * (1.0 + 0.12 * std::sin(2.0 * kPi * 11.0 * t));
        },
        [](double t) {
            return Attack(t, 0.02) * (0.75 + 0.25 * std::sin(2.0 * kPi * 11.0 * t + 1.0));
        },
        [](double p) { return 0.85 * Sine(p) + 0.15 * Triangle(2 * p); });
}

// A ghost dies: a puff of noise whose brightness falls away quickly.
Signal GhostDead() {
    const double length = 0.3;
    CNoise noise(0x5EED0009u);
    Signal s(Samples(length));
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        s[i] = noise.Next() * Attack(t, 0.008) * Decay(t, 0.045);
    }
    LowPass(s, [](double t) { return Glide(t, 0.25, 4500, 300); });
    LowPass(s, [](double t) { return Glide(t, 0.25, 6000, 400); });
    HighPass(s, 80.0);
    return s;
}

// A short click: a noise tick with a ringing ping of the given pitch.
Signal Click(double pitch, uint32_t seed) {
    CNoise noise(seed);
    Signal s = Tone(
        0.035, [=](double) { return pitch; }, [](double t) { return Decay(t, 0.006); }, Sine);
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        s[i] += 0.5 * noise.Next() * Decay(t, 0.002);
    }
    return s;
}

Signal Switch() {
    Signal s;
    MixAt(s, Click(2100, 0x5EED000Au), 0.0);
    MixAt(s, Click(1300, 0x5EED010Au), 0.065, 0.9);
    HighPass(s, 150.0);
    return s;
}

// A worm drowns: bubbles of rising pitch at uneven times over a low murmur of water.
Signal WormDeadWater() {
    const double length = 0.42;
    CNoise noise(0x5EED000Bu);
    Signal s(Samples(length));
    for (size_t i = 0; i < s.size(); ++i) {
        double t = static_cast<double>(i) / kRate;
        s[i] = 0.25 * noise.Next() * (1.0 - t / length);
    }
    LowPass(s, [](double) { return 500.0; });
    double at = 0.0;
    for (int k = 0; k < 8; ++k) {
        double base = 260.0 + 300.0 * (0.5 + 0.5 * noise.Next());
        double rise = 1.8 + 0.6 * (0.5 + 0.5 * noise.Next());
        Signal bubble = Tone(
            0.06, [=](double t) { return Glide(t, 0.05, base, base * rise); },
            [](double t) { return Attack(t, 0.003) * Decay(t, 0.014); }, Sine);
        MixAt(s, bubble, at, 1.0 - 0.06 * k);
        at += 0.03 + 0.025 * (0.5 + 0.5 * noise.Next());
        if (at > length - 0.07)
            break;
    }
    s.resize(Samples(length));
    return s;
}

// Menu confirmation: a soft, short tick.
Signal Confirm() {
    return Tone(
        0.06, [](double t) { return Glide(t, 0.02, 1500, 1150); },
        [](double t) { return Attack(t, 0.002) * Decay(t, 0.012); },
        [](double p) { return 0.9 * Sine(p) + 0.1 * Sine(3 * p); });
}

// The recipe of one sound; an empty signal for a name without one.
Signal Recipe(std::string_view name) {
    const std::pair<std::string_view, Signal (*)()> recipes[] = {
        {"WormEatCorn", [] { return CornBlip(true); }},
        {"WormEatAntiCorn", [] { return CornBlip(false); }},
        {"WormSpeedUp", [] { return WormSweep(true); }},
        {"WormSpeedDown", [] { return WormSweep(false); }},
        {"GhostSpeedUp", [] { return GhostSweep(true); }},
        {"GhostSpeedDown", [] { return GhostSweep(false); }},
        {"LevelWon", LevelWon},
        {"WormDead", WormDead},
        {"GhostNew", GhostNew},
        {"GhostDead", GhostDead},
        {"switch", Switch},
        {"WormDeadWater", WormDeadWater},
        {"confirm", Confirm},
    };
    for (const auto& [known, make] : recipes) {
        if (known == name)
            return make();
    }
    return {};
}

} // namespace

std::vector<Effect> MakeEffects() {
    std::vector<Effect> effects;
    for (const char* name : kx::kSoundNames) {
        Effect e{name, Recipe(name)};
        if (e.signal.empty())
            throw std::logic_error(std::string("no recipe for the sound ") + name);
        Fade(e.signal, 0.003, 0.015);
        Normalise(e.signal, kTargetLoudness, kPeakLimit);
        effects.push_back(std::move(e));
    }
    return effects;
}

} // namespace synth
