#include "audio/MidiFile.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "audio/Riff.h"

namespace mirel {

namespace {

struct Reader {
  const Bytes& b;
  size_t at, end;
  bool ok = true;
  uint8_t Byte() {
    if (at >= end) {
      ok = false;
      return 0;
    }
    return b[at++];
  }
  uint32_t Vlq() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t c = Byte();
      v = (v << 7) | (c & 0x7F);
      if (!(c & 0x80)) return v;
    }
    ok = false;  // longer than the four bytes the format allows
    return 0;
  }
  void Skip(uint32_t n) {
    if (n > end - at) {
      ok = false;
      at = end;
    } else {
      at += n;
    }
  }
};

uint32_t Be(const Bytes& b, size_t i, int n) {
  uint32_t v = 0;
  for (int k = 0; k < n; ++k) v = (v << 8) | b[i + k];
  return v;
}

std::optional<uint32_t> SmfLengthMs(const Bytes& b) {
  if (b.size() < 14 || Be(b, 0, 4) != 0x4D546864 /* MThd */) return std::nullopt;
  uint32_t headerLen = Be(b, 4, 4);
  if (headerLen < 6 || headerLen > b.size() - 8) return std::nullopt;
  uint32_t format = Be(b, 8, 2), tracks = Be(b, 10, 2), division = Be(b, 12, 2);
  if (format > 2 || tracks == 0 || division == 0) return std::nullopt;

  std::vector<std::pair<uint64_t, uint32_t>> tempos;  // tick, microseconds per quarter
  uint64_t lastTick = 0;
  uint32_t found = 0;
  size_t at = 8 + headerLen;
  while (found < tracks && at + 8 <= b.size()) {
    uint32_t id = Be(b, at, 4), len = Be(b, at + 4, 4);
    size_t body = at + 8;
    if (len > b.size() - body) return std::nullopt;
    at = body + len;
    if (id != 0x4D54726B /* MTrk */) continue;  // unknown chunks are skipped
    ++found;
    Reader r{b, body, body + len};
    uint64_t tick = 0;
    uint8_t status = 0;
    while (r.at < r.end) {
      tick += r.Vlq();
      uint8_t c = r.Byte();
      if (!r.ok) return std::nullopt;
      if (c == 0xFF) {
        uint8_t type = r.Byte();
        uint32_t n = r.Vlq();
        if (type == 0x51 && n == 3 && r.at + 3 <= r.end) {
          tempos.emplace_back(tick, Be(b, r.at, 3));
        }
        r.Skip(n);
        status = 0;
        if (type == 0x2F) break;  // end of track
      } else if (c == 0xF0 || c == 0xF7) {
        r.Skip(r.Vlq());
        status = 0;
      } else {
        if (c & 0x80) {
          status = c;
        } else {
          if (status == 0) return std::nullopt;  // data byte with no status to run on
          --r.at;
        }
        if (status >= 0xF0) return std::nullopt;
        int data = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
        for (int k = 0; k < data; ++k)
          if (r.Byte() & 0x80) return std::nullopt;
      }
      if (!r.ok) return std::nullopt;
    }
    lastTick = std::max(lastTick, tick);
  }
  if (found == 0) return std::nullopt;

  double ms = 0;
  if (division & 0x8000) {
    int fps = -static_cast<int8_t>(division >> 8);
    int perFrame = division & 0xFF;
    if (fps <= 0 || perFrame == 0) return std::nullopt;
    double perSecond = (fps == 29 ? 29.97 : fps) * perFrame;
    ms = lastTick * 1000.0 / perSecond;
  } else {
    std::stable_sort(tempos.begin(), tempos.end(), [](auto& a, auto& b) { return a.first < b.first; });
    uint64_t from = 0;
    uint32_t usPerQuarter = 500000;  // 120 beats a minute until told otherwise
    for (auto& [t, us] : tempos) {
      if (t >= lastTick) break;
      ms += (t - from) * (usPerQuarter / 1000.0) / division;
      from = t;
      usPerQuarter = us ? us : usPerQuarter;
    }
    ms += (lastTick - from) * (usPerQuarter / 1000.0) / division;
  }
  if (ms > 4.0e9) return std::nullopt;
  return static_cast<uint32_t>(ms + 0.5);
}

}  // namespace

Bytes StandardMidiFile(Bytes file) {
  auto data = FindRiffChunk(file, "RMID", "data");
  if (!data) return file;
  return Bytes(file.begin() + data->offset, file.begin() + data->offset + data->size);
}

std::optional<uint32_t> MidiLengthMs(const Bytes& file) {
  if (FindRiffChunk(file, "RMID", "data")) return SmfLengthMs(StandardMidiFile(file));
  return SmfLengthMs(file);
}

}  // namespace mirel
