// The readable level source: a text-art map with a legend, compiled into a game field.
//
// A source is UTF-8 text, read line by line (a trailing CR is dropped):
//
//   # a comment (outside the map, blank lines and lines starting with '#' are skipped)
//   description Erste Zeile der Hilfe      one line of the description each; the lines are
//   description                            joined with "\n" and turned into Windows-1252
//   legend s base=. switch=3 obj=32 flags=1 swobj=33 swflags=1
//   legend D base=# swground=64 swflags=0 switch=3
//   map
//   #######
//   #W.c.s#
//   #..D..#
//   #######
//   end
//
// "legend C key=value ..." defines (or redefines) the map character C, any printable ASCII
// character but space. The cell starts as plain ground (ground 64, flags 0, no objects,
// item, creature or switch, extra 0) or as a copy of another character's cell with
// base=C. Keys, each a number 0..255 or "none" (255):
//   ground, item, creature, flags, swground, switem, swflags, switch (0..50 or none), extra;
//   obj and swobj take up to six codes separated by commas, bottom first ("obj=none" or
//   "obj=" clears the stack).
// Unless swground or swflags is given, the switch layer's ground and flags follow ground
// and flags, as in a new field.
//
// "map" starts the rows; every line up to "end" is one row of the field, top first, one
// character per cell. All rows have the same length; width and height are 3 to 1000.
// After "end" only comments and blank lines may follow.
//
// Built-in characters (all on plain ground unless said otherwise):
//   #  red wall (ground 0, flags 6)      %  yellow wall (8)     &  green wall (16)
//   @  blue wall (24)                    $  light blue wall (32)
//   .  plain ground                      ~  water (65)          =  ice (66)
//   _  no ground (255)
//   c  corn            a  anti-corn      +  worm faster         -  worm slower
//   F  ghosts faster   S  ghosts slower  x  ghost killer        l  ghost larva
//   W  current worm head (5)             w  worm head (3)       b  worm body (2)
//   g  ghost (0)
//   k  cactus (object 6)                 L  left turn (0)       R  right turn (1)
//   <  >  ^  v  arrows left, right, up, down (objects 2 to 5)
//   B  block (object 16, flags 6)        f  ghost fence (object 56, flags 4)
//   d  duck (object 120)
//   N  worms may not pass (flags 2)      G  ghosts may not pass (flags 4)
//   0 ... 9  switch of that number: object 32, flags 1, switch layer object 33, flags 1
#pragma once

#include <string>
#include <string_view>

#include "field/GameField.h"

namespace kxtool {

// Replaces the field with the compiled source. On failure returns false and sets error to
// "line N: what is wrong" (UTF-8); the field is then left unchanged.
bool CompileLevelText(std::string_view source, kx::CGameFieldBase& field, std::string& error);

} // namespace kxtool
