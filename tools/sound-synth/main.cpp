// sound-synth: writes the game's thirteen effects as 16-bit mono WAV files into a folder.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Effects.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sound-synth OUTPUT-FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    std::vector<synth::Effect> effects;
    try {
        effects = synth::MakeEffects();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sound-synth: %s\n", e.what());
        return 1;
    }
    for (const synth::Effect& e : effects) {
        std::string path = folder + "/" + e.name + ".wav";
        if (!synth::WriteWav16(path, e.signal)) {
            std::fprintf(stderr, "sound-synth: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
