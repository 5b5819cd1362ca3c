// Synthesizes the program's nine wave sounds and writes them as a C++ source
// file of complete RIFF images, so they are built into the executable.
//
//   make-waves OUT.cpp
//
// Everything is computed from fixed seeds: the same build makes the same
// bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Recipe {
  int id;
  int channels;
  int rate;
  int bits;
  double seconds;
};

// The sounds' formats and lengths are fixed by what the game expects of them.
const Recipe kRecipes[] = {
    {100, 1, 11025, 8, 0.10}, {101, 1, 11025, 16, 0.01}, {102, 1, 22050, 16, 0.06},
    {103, 1, 22050, 16, 0.74}, {104, 1, 22050, 16, 0.71}, {105, 1, 22050, 16, 0.09},
    {106, 2, 22050, 16, 5.69}, {107, 1, 11025, 8, 7.99}, {108, 1, 11025, 16, 0.91},
};

// A small deterministic noise source (xorshift), values in [-1, 1].
struct Noise {
  uint32_t s;
  double Next() {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return static_cast<double>(s) / 2147483647.5 - 1.0;
  }
};

// Short fades at both ends so no sound starts or stops with a click.
double EdgeFade(double t, double len, double in, double out) {
  double g = 1.0;
  if (t < in) g = t / in;
  if (t > len - out) g = std::min(g, std::max(0.0, (len - t) / out));
  return g;
}

// Sample generators: time in seconds and channel -> value in [-1, 1].
using Gen = std::function<double(double t, int ch)>;

Gen ClickMenu() {  // 100: a woody click with a little body
  auto noise = std::make_shared<Noise>(Noise{0x1234567u});
  return [noise](double t, int) {
    double n = noise->Next() * std::exp(-t * 120.0) * 0.35;
    double tone = std::sin(2 * kPi * 1320.0 * t) * std::exp(-t * 45.0) * 0.5;
    return (n + tone) * EdgeFade(t, 0.10, 0.001, 0.01);
  };
}

Gen Tick() {  // 101: the tiniest tick, for hovering
  return [](double t, int) { return std::sin(2 * kPi * 2400.0 * t) * std::sin(kPi * t / 0.01) * 0.45; };
}

Gen Pick() {  // 102: a rising two-note blip
  return [](double t, int) {
    double f = t < 0.025 ? 880.0 : 1318.5;
    return std::sin(2 * kPi * f * t) * 0.45 * EdgeFade(t, 0.06, 0.002, 0.012);
  };
}

// A bell: inharmonic partials that die away at their own rates.
double Bell(double t, double f) {
  static const double ratio[] = {1.0, 2.0, 2.76, 5.40, 8.93};
  static const double amp[] = {0.5, 0.25, 0.15, 0.07, 0.03};
  static const double decay[] = {4.0, 6.0, 8.0, 12.0, 18.0};
  double v = 0;
  for (int i = 0; i < 5; ++i) v += amp[i] * std::exp(-t * decay[i]) * std::sin(2 * kPi * f * ratio[i] * t);
  return v;
}

Gen Chime() {  // 103: a small bell
  return [](double t, int) { return Bell(t, 987.8) * 0.9 * EdgeFade(t, 0.74, 0.002, 0.05); };
}

Gen Swish() {  // 104: a soft swish of filtered noise that swells and falls
  auto noise = std::make_shared<Noise>(Noise{0xBADC0DEu});
  auto low = std::make_shared<double>(0.0);
  return [noise, low](double t, int) {
    *low += (noise->Next() - *low) * (0.05 + 0.25 * t / 0.71);
    double env = std::sin(kPi * t / 0.71);
    return *low * env * 1.6;
  };
}

Gen Pop() {  // 105: a round pop, pitch falling fast
  return [](double t, int) {
    double phase = 2 * kPi * (220.0 * t + 400.0 * (1 - std::exp(-t * 60.0)) / 60.0);
    return std::sin(phase) * std::exp(-t * 30.0) * 0.6 * EdgeFade(t, 0.09, 0.001, 0.02);
  };
}

Gen Opening() {  // 106: an opening: a slow arpeggio over a pad, moving across
  return [](double t, int ch) {
    static const double chord[] = {261.63, 329.63, 392.00, 493.88, 587.33, 659.25};
    double pad = 0;
    for (int i = 0; i < 3; ++i) pad += std::sin(2 * kPi * chord[i] * 0.5 * t + i) * 0.08;
    double notes = 0;
    for (int i = 0; i < 6; ++i) {
      double start = 0.35 + i * 0.6;
      if (t < start) continue;
      double pan = (i % 2 == 0) ? 0.3 : 0.7;
      double g = ch == 0 ? 1 - pan : pan;
      notes += Bell(t - start, chord[i]) * 0.5 * g;
    }
    return (pad + notes) * EdgeFade(t, 5.69, 0.8, 1.5);
  };
}

Gen Rain() {  // 107: rain, noise under a slow wave of loudness
  auto noise = std::make_shared<Noise>(Noise{0x5EEDu});
  auto low = std::make_shared<double>(0.0);
  return [noise, low](double t, int) {
    *low += (noise->Next() - *low) * 0.35;
    double drop = noise->Next() > 0.995 ? 0.6 : 0.0;
    double env = 0.6 + 0.3 * std::sin(2 * kPi * 0.25 * t);
    return (*low * env + drop * 0.3) * EdgeFade(t, 7.99, 0.6, 0.8);
  };
}

Gen Heartbeat() {  // 108: two low thumps
  return [](double t, int) {
    auto thump = [](double u) { return u < 0 ? 0.0 : std::sin(2 * kPi * 55.0 * u) * std::exp(-u * 18.0); };
    return (thump(t - 0.02) * 0.8 + thump(t - 0.30) * 0.6) * EdgeFade(t, 0.91, 0.002, 0.1);
  };
}

Gen GeneratorFor(int id) {
  switch (id) {
    case 100: return ClickMenu();
    case 101: return Tick();
    case 102: return Pick();
    case 103: return Chime();
    case 104: return Swish();
    case 105: return Pop();
    case 106: return Opening();
    case 107: return Rain();
    default: return Heartbeat();
  }
}

void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
// Byte by byte: insert() of a fresh vector draws a false overflow warning from GCC 12.
void PutTag(std::vector<uint8_t>& b, const char* tag) {
  for (int k = 0; k < 4; ++k) b.push_back(static_cast<uint8_t>(tag[k]));
}

std::vector<uint8_t> MakeWave(const Recipe& s) {
  long frames = std::lround(s.seconds * s.rate);
  int bytesPerSample = s.bits / 8;
  std::vector<uint8_t> pcm;
  Gen gen = GeneratorFor(s.id);
  for (long i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / s.rate;
    for (int ch = 0; ch < s.channels; ++ch) {
      double v = std::clamp(gen(t, ch), -1.0, 1.0);
      if (s.bits == 8) {
        pcm.push_back(static_cast<uint8_t>(std::lround(128 + v * 127)));
      } else {
        auto q = static_cast<int16_t>(std::lround(v * 32767));
        Put16(pcm, static_cast<uint16_t>(q));
      }
    }
  }
  bool pad = pcm.size() % 2 != 0;  // RIFF chunks are word-aligned
  std::vector<uint8_t> b;
  PutTag(b, "RIFF");
  Put32(b, static_cast<uint32_t>(4 + 8 + 16 + 8 + pcm.size() + (pad ? 1 : 0)));
  PutTag(b, "WAVE");
  PutTag(b, "fmt ");
  Put32(b, 16);
  Put16(b, 1);  // PCM
  Put16(b, s.channels);
  Put32(b, s.rate);
  Put32(b, s.rate * s.channels * bytesPerSample);
  Put16(b, s.channels * bytesPerSample);
  Put16(b, s.bits);
  PutTag(b, "data");
  Put32(b, static_cast<uint32_t>(pcm.size()));
  b.insert(b.end(), pcm.begin(), pcm.end());
  if (pad) b.push_back(0);
  return b;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-waves OUT.cpp\n");
    return 2;
  }
  std::string out =
      "// Made by make-waves at build time: the program's wave sounds as RIFF images.\n"
      "#include <cstddef>\n#include <cstdint>\n\n"
      "namespace mirel::waves {\n\nstruct Entry {\n  int32_t id;\n  const char* bytes;\n  size_t size;\n};\n\n";
  std::string table = "extern const Entry kTable[] = {\n";
  for (const Recipe& s : kRecipes) {
    std::vector<uint8_t> w = MakeWave(s);
    std::string name = "kWave" + std::to_string(s.id);
    out += "static const char " + name + "[] =\n\"";
    int col = 0;
    for (uint8_t byte : w) {
      char esc[5];
      std::snprintf(esc, sizeof esc, "\\%03o", byte);  // octal: never runs into the next byte
      out += esc;
      if (++col == 40) {
        out += "\"\n\"";
        col = 0;
      }
    }
    out += "\";\n\n";
    table += "    {" + std::to_string(s.id) + ", " + name + ", " + std::to_string(w.size()) + "},\n";
  }
  table += "};\nextern const size_t kCount = " + std::to_string(std::size(kRecipes)) + ";\n";
  out += table + "\n}  // namespace mirel::waves\n";
  std::ofstream f(argv[1], std::ios::binary);
  f << out;
  if (!f.flush()) {
    std::fprintf(stderr, "make-waves: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
