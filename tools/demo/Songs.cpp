#include "demo/Songs.h"

#include <sstream>
#include <stdexcept>

#include "demo/Midi.h"

namespace mirel::demo {
namespace {

constexpr uint32_t kEighth = kTicksPerQuarter / 2;

int PitchClass(char letter) {
  switch (letter) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
  }
  throw std::runtime_error(std::string("bad note letter ") + letter);
}

// "F#4" -> 66; "r" -> -1.
int ParseNote(const std::string& s) {
  if (s == "r") return -1;
  size_t i = 1;
  int pc = PitchClass(s.at(0));
  if (i < s.size() && s[i] == '#') ++pc, ++i;
  else if (i < s.size() && s[i] == 'b') --pc, ++i;
  return 12 * (std::stoi(s.substr(i)) + 1) + pc;
}

struct Chord {
  int root;  // pitch class
  std::vector<int> tones;  // semitones above the root
};

Chord ParseChord(const std::string& s) {
  size_t i = 1;
  int pc = PitchClass(s.at(0));
  if (i < s.size() && s[i] == '#') ++pc, ++i;
  else if (i < s.size() && s[i] == 'b') --pc, ++i;
  std::string q = s.substr(i);
  Chord c{(pc + 12) % 12, {0, 4, 7}};
  if (q == "m") c.tones = {0, 3, 7};
  else if (q == "7") c.tones = {0, 4, 7, 10};
  else if (!q.empty()) throw std::runtime_error("bad chord " + s);
  return c;
}

struct Section {
  int beatsPerBar;
  std::string chords;  // one per bar, separated by spaces
  std::string melody;  // "E5:3" = E5 for three eighths, "r:2" a rest
  int transpose = 0;
};

struct Arrangement {
  int lead, pad, arp, bass;
  bool drums;
  int leadVelocity = 120;
};

struct Tune {
  std::string file;
  double bpm;
  Arrangement a;
  std::vector<Section> sections;
  int codaBars = 1;  // bars of the last chord held at the end
};

std::vector<std::string> Words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

Bytes Render(const Tune& t) {
  MidiTrack conductor("Tempo");
  conductor.Tempo(0, t.bpm);
  MidiTrack lead("Melody"), pad("Pad"), arp("Arpeggio"), bass("Bass"), drums("Drums");
  struct Setup {
    MidiTrack* track;
    int channel, program, volume;
  };
  // Volumes and velocities as high as a typical General MIDI song's: the
  // demo's songs sit as loud as songs from elsewhere beside the sounds.
  for (const Setup& s : {Setup{&lead, 0, t.a.lead, 127}, Setup{&pad, 1, t.a.pad, 89}, Setup{&arp, 2, t.a.arp, 102},
                         Setup{&bass, 3, t.a.bass, 114}}) {
    s.track->Program(s.channel, 0, s.program);
    s.track->Controller(s.channel, 0, 7, s.volume);
    s.track->Controller(s.channel, 0, 91, 60);
  }
  drums.Controller(9, 0, 7, 89);
  uint32_t bar0 = 0;
  Chord last{0, {0, 4, 7}};
  int lastBeats = 4;
  for (const Section& sec : t.sections) {
    const uint32_t barTicks = sec.beatsPerBar * kTicksPerQuarter;
    conductor.TimeSignature(bar0, sec.beatsPerBar, 2);
    std::vector<std::string> chords = Words(sec.chords);
    // Melody, checked against the bars so that a miscounted line fails the build.
    uint32_t at = bar0;
    for (const std::string& w : Words(sec.melody)) {
      size_t colon = w.find(':');
      int key = ParseNote(w.substr(0, colon));
      uint32_t len = std::stoul(w.substr(colon + 1)) * kEighth;
      if (key >= 0) lead.Note(0, at, len - 20, key + sec.transpose, t.a.leadVelocity);
      at += len;
    }
    if (at != bar0 + chords.size() * barTicks)
      throw std::runtime_error(t.file + ": the melody does not fill its bars");
    for (size_t b = 0; b < chords.size(); ++b) {
      Chord c = ParseChord(chords[b]);
      int root = (c.root + sec.transpose + 24) % 12;
      uint32_t start = bar0 + static_cast<uint32_t>(b) * barTicks;
      for (int tone : c.tones) pad.Note(1, start, barTicks - 10, 60 + root + tone, 68);
      std::vector<int> arpTones = {0, c.tones[1], c.tones[2], 12, 12 + c.tones[1]};
      static const int four[] = {0, 2, 3, 4, 3, 2, 3, 1};
      static const int three[] = {0, 2, 3, 4, 3, 2};
      int steps = sec.beatsPerBar * 2;
      for (int i = 0; i < steps; ++i) {
        int idx = sec.beatsPerBar == 3 ? three[i] : four[i % 8];
        arp.Note(2, start + i * kEighth, kEighth - 10, 48 + root + arpTones[idx], i == 0 ? 91 : 75);
      }
      if (sec.beatsPerBar == 3) {
        bass.Note(3, start, barTicks - 20, 36 + root, 104);
      } else {
        bass.Note(3, start, 2 * kTicksPerQuarter - 20, 36 + root, 109);
        bass.Note(3, start + 2 * kTicksPerQuarter, 2 * kTicksPerQuarter - 20, 36 + root + 7, 96);
      }
      if (t.a.drums) {
        for (int beat = 0; beat < sec.beatsPerBar; ++beat) {
          uint32_t bt = start + beat * kTicksPerQuarter;
          drums.Note(9, bt, 60, beat % 2 == 0 ? 36 : 38, beat == 0 ? 117 : 81);
          drums.Note(9, bt, 40, 42, 60);
          drums.Note(9, bt + kEighth, 40, 42, 47);
        }
      }
      last = c;
      last.root = root;
      lastBeats = sec.beatsPerBar;
    }
    bar0 += static_cast<uint32_t>(chords.size()) * barTicks;
  }
  // A held final chord so the song does not stop dead.
  uint32_t coda = t.codaBars * lastBeats * kTicksPerQuarter;
  for (int tone : last.tones) pad.Note(1, bar0, coda, 60 + last.root + tone, 62);
  bass.Note(3, bar0, coda, 36 + last.root, 91);
  std::vector<MidiTrack> tracks = {conductor, lead, pad, arp, bass};
  if (t.a.drums) tracks.push_back(drums);
  return WriteMidiFile(tracks);
}

// The tunes. Each melody line is one bar.
const Section kTitle = {4, "C G Am Em F C Dm G C Em F G C",
                        "E5:3 D5:1 C5:2 G4:2  B4:3 C5:1 D5:4  C5:3 B4:1 A4:2 E4:2  G4:6 r:2 "
                        "A4:3 B4:1 C5:2 F5:2  E5:3 D5:1 C5:2 G4:2  F5:3 E5:1 D5:2 A4:2  B4:4 D5:4 "
                        "E5:3 F5:1 G5:2 E5:2  D5:3 C5:1 B4:2 G4:2  A4:2 C5:2 F5:2 E5:1 D5:1  D5:4 B4:2 D5:2 "
                        "C5:8"};
const Section kTown = {4, "G Em C D G Em Am D C D Bm Em C D G G",
                       "D5:2 G5:2 F#5:1 E5:1 D5:2  B4:2 E5:2 D5:2 B4:2  C5:2 E5:2 G5:2 E5:2  F#5:4 D5:2 r:2 "
                       "D5:2 G5:2 A5:1 G5:1 F#5:2  E5:2 G5:2 B5:2 G5:2  A5:2 G5:1 F#5:1 E5:2 C5:2  D5:6 r:2 "
                       "E5:2 E5:1 F#5:1 G5:2 E5:2  F#5:2 F#5:1 G5:1 A5:2 F#5:2  D5:2 F#5:2 B5:2 A5:2  G5:4 E5:4 "
                       "C5:2 E5:2 G5:2 C6:2  B5:2 A5:2 F#5:2 D5:2  G5:4 D5:4  G4:6 r:2"};
const Section kSea = {3, "F C Dm Bb F C Bb C Dm Am Bb F Gm C F F",
                      "A4:2 C5:2 F5:2  E5:3 D5:1 C5:2  D5:2 F5:2 A5:2  G5:4 F5:2 "
                      "A5:2 G5:2 F5:2  E5:2 G5:2 C5:2  D5:2 F5:2 Bb5:2  G5:6 "
                      "F5:2 E5:2 D5:2  C5:2 E5:2 A5:2  Bb5:3 A5:1 G5:2  A5:4 F5:2 "
                      "D5:2 G5:2 Bb5:2  A5:2 G5:2 E5:2  F5:6  r:6"};
const Section kRain = {4, "Am F C G Am F Dm E F G Am Am",
                       "E5:3 D5:1 C5:2 B4:2  A4:4 C5:2 A4:2  G4:3 A4:1 C5:2 E5:2  D5:6 r:2 "
                       "E5:3 F5:1 E5:2 C5:2  A5:4 G5:2 F5:2  F5:3 E5:1 D5:2 A4:2  G#4:4 B4:4 "
                       "C5:3 B4:1 A4:2 C5:2  B4:3 A4:1 G4:2 B4:2  A4:8  r:8"};
const Section kFestival = {4, "D D G A D Bm G A G A F#m Bm G A D D",
                           "F#5:2 A5:2 B5:2 A5:2  F#5:2 E5:2 D5:4  B4:2 D5:2 E5:2 G5:2  E5:4 A4:4 "
                           "F#5:2 A5:2 B5:2 D6:2  B5:2 A5:2 F#5:4  G5:2 E5:2 D5:2 B4:2  A4:6 r:2 "
                           "B4:2 D5:2 B4:2 D5:2  E5:2 F#5:2 E5:2 C#5:2  F#5:2 A5:2 F#5:2 E5:2  D5:4 B4:4 "
                           "D5:2 E5:2 G5:2 A5:2  B5:2 A5:2 E5:2 C#5:2  D5:8  r:8"};

Section Up(Section s, int semitones) {
  s.transpose = semitones;
  return s;
}

std::vector<Tune> Tunes() {
  // General MIDI programs: 0 piano, 8 celesta, 12 marimba, 24 nylon guitar,
  // 32 acoustic bass, 42 cello, 46 harp, 48/49 strings, 73 flute,
  // 77 shakuhachi, 88/89 pads.
  return {
      {"bgm01.mid", 78, {0, 48, 46, 32, false}, {kTitle}},
      {"bgm02.mid", 108, {73, 48, 24, 32, true}, {kTown}},
      {"bgm03.mid", 84, {8, 89, 46, 32, false}, {kSea}},
      {"bgm04.mid", 66, {0, 49, 0, 42, false, 104}, {kRain}},
      {"bgm05.mid", 126, {77, 48, 12, 32, true}, {kFestival}},
      // Endings: each runs a little under a minute, long enough for the roll.
      {"22-1.mid", 104, {0, 49, 46, 42, false, 109}, {kRain, kTitle}},
      {"03-1.mid", 108, {0, 48, 46, 32, false}, {kTitle, Up(kTitle, 2)}},
      {"34-3.mid", 132, {73, 48, 24, 32, true}, {kTown, Up(kFestival, -2)}},
  };
}

}  // namespace

std::vector<SongFile> DemoSongs() {
  std::vector<SongFile> out;
  for (const Tune& t : Tunes()) out.push_back({t.file, Render(t)});
  return out;
}

std::vector<std::string> MusicFileNames() {
  return {"bgm01.mid", "bgm02.mid", "bgm03.mid", "bgm04.mid", "bgm05.mid", "", "", "", ""};
}

}  // namespace mirel::demo
