// worldfile: reading a world from its text file.
//
// The file is read line by line (ReadLine: blank lines skipped, leading blanks dropped). A line
// starting with "//" is a comment; a line starting with a section keyword ("properties:",
// "cubes:", "walls:", "teleporters:", "size:", "safe zones:", "chests:", "musictrack:") opens
// that section; every other line is a data line of the current section:
//
//   properties:   "%d %s %lf"       id, a word of 1 to 3 characters, a value
//   size:         "%d %d"           the grid, once, before any data line but properties
//   cubes:        "%d %d %d"        one solid cell
//   walls:        "%d %d %d:%d %d %d \"name\""  a box of cells, corners in any order, whose
//                                   shell becomes solid; the texture name holds 1 to 32
//                                   characters ("none" for a plain textured look)
//   teleporters:  "%d %d %d:%d %d %d %c"  both ends; the flag 0 gives opaque pads, anything
//                                   else or nothing translucent ones; at most 254 teleporters
//   safe zones:   "%d %d %d %d"     owner 0 to 3 and the centre of its 3 x 3 zone
//   chests:       "%d %d %d %d %d"  contents uid (a weapon, armor, item or skill), x, y, z,
//                                   style (0 ordinary, else hidden)
//   musictrack:   "%d"              the world's music track
//
// The first line that fails (does not scan, leaves the grid, comes before "size:", repeats
// "size:", adds a 255th teleporter, repeats or misnames a safe-zone owner, puts a safe-zone
// cell on something solid, in another zone or without support, puts a chest on a taken cell or
// names contents that no chest can hold) prints "file error in %s at %d\n" with the path and the
// number of the line among the non-blank lines, and reading stops. Every line is checked whole
// before it changes the world, so what the lines before it built stays and nothing of the
// failing line does. A file that ends without a "size:" line fails at its last line. Only a
// file read to its end gets the floor box and the safe-zone markers.
#pragma once

#include <cstdio>

struct World;

// A file that cannot be opened ends the program. Returns true when read without error.
bool ReadWorld(World* pWorld, const char* path);
// The same from an open file, which stays open; path names it in the message.
bool ReadWorldFrom(World* pWorld, FILE* file, const char* path);
// Start-up: a new world loaded from the game's file name (such as "worlds\bigworld.txt"),
// with a one-line summary on the console.
World* LoadWorld(const char* name);
