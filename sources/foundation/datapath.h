// datapath: where the game's data files live.
//
// The code names data files as the game always has ("worlds\bigworld.txt"); DataPath turns such
// a name into a path: backslashes become '/', and the name is resolved against the data root.
// The root is, in this order: $VANTRELL_DATA, the data/ folder next to the executable or next
// to its parent folder, the installed share folder, the data/ folder of the source tree the
// program was built from, the working directory.
#pragma once

#include <string>

std::string DataPath(const char* name);
// The folder DataPath resolves against ("" for the working directory).
std::string DataRoot();
// Forget the cached root, so the next call looks again (tests change $VANTRELL_DATA).
void ResetDataRoot();
