#pragma once
// A small Standard MIDI File writer: format 1, one conductor track and any
// number of note tracks.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Files.h"

namespace mirel::demo {

class MidiTrack {
 public:
  explicit MidiTrack(std::string name);
  void Tempo(uint32_t tick, double bpm);
  void TimeSignature(uint32_t tick, int numerator, int denominatorPower);
  void Program(int channel, uint32_t tick, int program);
  void Controller(int channel, uint32_t tick, int controller, int value);
  // A note from `start` lasting `length` ticks.
  void Note(int channel, uint32_t start, uint32_t length, int key, int velocity);
  uint32_t EndTick() const { return end_; }
  // The whole "MTrk" chunk, ending in an end-of-track event at the last tick.
  Bytes Encode() const;

 private:
  struct Event {
    uint32_t tick;
    int order;  // at one tick: note-offs first, then the rest in the order added
    std::vector<uint8_t> bytes;
  };
  void Add(uint32_t tick, int order, std::vector<uint8_t> bytes);
  std::vector<Event> events_;
  uint32_t end_ = 0;
  int added_ = 0;
};

// Ticks per quarter note of every file written here.
constexpr int kTicksPerQuarter = 480;

Bytes WriteMidiFile(const std::vector<MidiTrack>& tracks);

}  // namespace mirel::demo
