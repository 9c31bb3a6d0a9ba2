// The game's thirteen sound effects, by name, as synthesised signals.
#pragma once

#include <string>
#include <vector>

#include "Synth.h"

namespace synth {

// Short-term loudness every effect is brought to, and the peak none may pass.
inline constexpr double kTargetLoudness = 0.2;
inline constexpr double kPeakLimit = 0.85;

struct Effect {
    std::string name;
    Signal signal;
};

// All thirteen in the order of kSoundNames, faded at both ends and matched in loudness;
// raises std::logic_error for a sound without a recipe.
std::vector<Effect> MakeEffects();

} // namespace synth
