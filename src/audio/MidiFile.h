#pragma once
// What the program needs to know of a standard MIDI file before it plays it:
// whether it is sound, and how long it plays.
#include <cstdint>
#include <optional>

#include "base/Files.h"

namespace mirel {

// The standard MIDI file inside a RIFF MIDI file (form "RMID", the file in
// its "data" chunk); any other file is given back as it is.
Bytes StandardMidiFile(Bytes file);

// Milliseconds from the start to the file's last event (its tempo changes
// taken into account), for a standard or a RIFF MIDI file; nullopt for a
// damaged file: no header, no tracks, an event or chunk running past the end.
std::optional<uint32_t> MidiLengthMs(const Bytes& file);

}  // namespace mirel
