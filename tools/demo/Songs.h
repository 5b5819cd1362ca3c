#pragma once
// The demo's music: short original tunes arranged for General MIDI.
#include <string>
#include <vector>

#include "base/Files.h"

namespace mirel::demo {

struct SongFile {
  std::string name;  // file name in the data folder
  Bytes data;
};

// Music numbers 1 to 5 ("90.dat" lines 7 to 11, 1 being the title music),
// then the three ending songs.
std::vector<SongFile> DemoSongs();
// The names of music numbers 1 to 9; empty where there is no song.
std::vector<std::string> MusicFileNames();

}  // namespace mirel::demo
