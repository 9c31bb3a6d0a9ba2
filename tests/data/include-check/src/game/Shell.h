// A core header of the game shell that must not see SDL.
#pragma once
#include <SDL.h>
