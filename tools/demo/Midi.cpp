#include "demo/Midi.h"

#include <algorithm>
#include <cmath>

namespace mirel::demo {
namespace {

void PutVarLen(std::vector<uint8_t>& out, uint32_t v) {
  uint8_t buf[5];
  int n = 0;
  buf[n++] = v & 0x7F;
  while (v >>= 7) buf[n++] = static_cast<uint8_t>((v & 0x7F) | 0x80);
  while (n) out.push_back(buf[--n]);
}

void Put32(Bytes& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

uint8_t Clamp7(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 127)); }

}  // namespace

MidiTrack::MidiTrack(std::string name) {
  std::vector<uint8_t> meta = {0xFF, 0x03};
  PutVarLen(meta, static_cast<uint32_t>(name.size()));
  meta.insert(meta.end(), name.begin(), name.end());
  Add(0, 1, std::move(meta));
}

void MidiTrack::Add(uint32_t tick, int order, std::vector<uint8_t> bytes) {
  events_.push_back({tick, order * 1000000 + added_++, std::move(bytes)});
  end_ = std::max(end_, tick);
}

void MidiTrack::Tempo(uint32_t tick, double bpm) {
  auto us = static_cast<uint32_t>(std::lround(60000000.0 / bpm));
  Add(tick, 1, {0xFF, 0x51, 0x03, uint8_t(us >> 16), uint8_t(us >> 8), uint8_t(us)});
}

void MidiTrack::TimeSignature(uint32_t tick, int numerator, int denominatorPower) {
  Add(tick, 1, {0xFF, 0x58, 0x04, uint8_t(numerator), uint8_t(denominatorPower), 24, 8});
}

void MidiTrack::Program(int channel, uint32_t tick, int program) {
  Add(tick, 1, {uint8_t(0xC0 | (channel & 15)), Clamp7(program)});
}

void MidiTrack::Controller(int channel, uint32_t tick, int controller, int value) {
  Add(tick, 1, {uint8_t(0xB0 | (channel & 15)), Clamp7(controller), Clamp7(value)});
}

void MidiTrack::Note(int channel, uint32_t start, uint32_t length, int key, int velocity) {
  if (length == 0) return;
  Add(start, 1, {uint8_t(0x90 | (channel & 15)), Clamp7(key), Clamp7(std::max(1, velocity))});
  Add(start + length, 0, {uint8_t(0x80 | (channel & 15)), Clamp7(key), 64});
}

Bytes MidiTrack::Encode() const {
  std::vector<Event> sorted = events_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::vector<uint8_t> body;
  uint32_t now = 0;
  for (const Event& e : sorted) {
    PutVarLen(body, e.tick - now);
    now = e.tick;
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
  }
  PutVarLen(body, end_ - now);
  body.insert(body.end(), {0xFF, 0x2F, 0x00});
  Bytes out = {'M', 'T', 'r', 'k'};
  Put32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes WriteMidiFile(const std::vector<MidiTrack>& tracks) {
  Bytes out = {'M', 'T', 'h', 'd'};
  Put32(out, 6);
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(tracks.size()));
  Put16(out, kTicksPerQuarter);
  for (const MidiTrack& t : tracks) {
    Bytes chunk = t.Encode();
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
  return out;
}

}  // namespace mirel::demo
