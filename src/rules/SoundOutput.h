// ISoundOutput, where the rules' PlaySound goes: the sound thread in the game, a recorder in tests.
#pragma once

#include <string>

namespace kx {

class ISoundOutput {
public:
    // name: one of the thirteen sound names ("WormEatCorn" ... "confirm").
    virtual void PlaySound(const std::string& name) = 0;

protected:
    ~ISoundOutput() = default;
};

} // namespace kx
