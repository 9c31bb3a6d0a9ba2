// The SDL front end of the game may include SDL.
#pragma once
#include "game/Shell.h"
#include <SDL.h>
