#include "mirel_tool/Build.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/BmpCodec.h"
#include "base/Files.h"
#include "demo/DemoData.h"
#include "demo/Story.h"
#include "mirel_tool/Codec.h"
#include "platform/Image.h"

namespace mirel::tool {

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + p.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void Write(const fs::path& p, const std::string& bytes) {
  if (auto err = WriteFileAtomic(p.string(), bytes)) throw std::runtime_error(p.string() + ": " + *err);
}

std::string Complemented(std::string s) {
  for (char& c : s) c = static_cast<char>(~static_cast<unsigned char>(c));
  return s;
}

// UTF-8 lines -> Shift-JIS lines ended by CR LF.
std::string Cp932Lines(const std::string& utf8, const std::string& file) {
  std::istringstream in(utf8);
  std::string out, line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out += demo::ToCp932(line, file + ":" + std::to_string(n)) + "\r\n";
  }
  return out;
}

// The story as written, comments and empty lines left out, its mistakes kept.
std::string Uncompiled(const std::string& csv, const std::string& file) {
  std::istringstream in(csv);
  std::string kept, line;
  while (std::getline(in, line)) {
    const size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos && line[first] != '#') kept += line + "\n";
  }
  std::string error;
  auto shipped = EncodeShipped(kept, false, &error);
  if (!shipped) throw std::runtime_error(file + ": " + error);
  return *shipped;
}

// "NAME WIDTHxHEIGHT [RRGGBB]": a picture shaded from that colour to black
// across and down, so a picture shown in part or out of place tells.
void Paint(const std::string& line, const fs::path& out, int number) {
  std::istringstream in(line);
  std::string name, size, colour = "808080";
  int w = 0, h = 0;
  in >> name >> size >> colour;
  if (std::sscanf(size.c_str(), "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0 || colour.size() != 6)
    throw std::runtime_error("pictures.txt:" + std::to_string(number) + ": expected NAME WIDTHxHEIGHT [RRGGBB]");
  const uint32_t c = static_cast<uint32_t>(std::stoul(colour, nullptr, 16));
  Image img{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int shade = 255 - 128 * (x + y) / (w + h);
      auto ch = [&](int shift) { return ((static_cast<int>(c >> shift) & 0xFF) * shade / 255) << shift; };
      img.pixels[static_cast<size_t>(y) * w + x] = static_cast<uint32_t>(ch(16) | ch(8) | ch(0));
    }
  // The game takes the table's "p" pictures as JPEG and the rest as BMP.
  const Bytes bytes = name[0] == 'p' ? demo::EncodeJpeg(img, 95) : BmpCodec::Encode(img);
  Write(out / name, std::string(bytes.begin(), bytes.end()));
}

}  // namespace

void BuildDataFolder(const std::string& src, const std::string& outDir, const BuildOptions& options) {
  const fs::path in(src), out(outDir);
  if (!fs::is_directory(in)) throw std::runtime_error("no such folder: " + src);
  fs::create_directories(out);
  if (!options.base.empty())
    fs::copy(options.base, out, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
  const bool story = fs::exists(in / "scenario.csv") || fs::exists(in / "choices.csv");
  if (story) {
    const std::string scenario = ReadText(in / "scenario.csv"), choices = ReadText(in / "choices.csv");
    if (options.unchecked) {
      Write(out / "91.dat", Uncompiled(scenario, "scenario.csv"));
      Write(out / "92.dat", Uncompiled(choices, "choices.csv"));
    } else {
      demo::StoryTexts t = demo::CompileStory(scenario, choices);
      Write(out / "91.dat", Complemented(t.scenario));
      Write(out / "92.dat", Complemented(t.choices));
    }
  }
  for (const auto& entry : fs::directory_iterator(in)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = entry.path().filename().string();
    if (name == "scenario.csv" || name == "choices.csv") continue;
    if (name == "story.ini") Write(out / name, Cp932Lines(ReadText(entry.path()), name));
    else if (name == "90.txt") Write(out / "90.dat", Cp932Lines(ReadText(entry.path()), name));
    else if (name == "copies.txt") {
      // "TARGET SOURCE": a file of the folder made again under another
      // name, folders included (songs in a folder of their own, say).
      std::istringstream lines(ReadText(entry.path()));
      std::string line, target, source;
      while (std::getline(lines, line)) {
        std::istringstream words(line);
        if (!(words >> target >> source) || target[0] == '#') continue;
        fs::create_directories((out / target).parent_path());
        fs::copy_file(out / source, out / target, fs::copy_options::overwrite_existing);
      }
    } else if (name == "pictures.txt") {
      std::istringstream lines(ReadText(entry.path()));
      std::string line;
      for (int n = 1; std::getline(lines, line); ++n)
        if (line.find_first_not_of(" \t\r") != std::string::npos && line[0] != '#') Paint(line, out, n);
    } else {
      fs::copy_file(entry.path(), out / name, fs::copy_options::overwrite_existing);
    }
  }
  std::string errors;
  if (ChangeHeaders(out.string(), true, &errors)) throw std::runtime_error(errors);
}

}  // namespace mirel::tool
