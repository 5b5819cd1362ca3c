#include "demo/DemoData.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "app/StoryFile.h"
#include "base/BmpCodec.h"
#include "demo/Artwork.h"
#include "demo/Scenes.h"
#include "demo/Songs.h"
#include "demo/Story.h"
#include "scenario/ScenarioData.h"

namespace mirel::demo {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Image files are shipped with "J" "F" in place of their first two bytes.
Bytes Stored(Bytes b) {
  b.at(0) = 'J';
  b.at(1) = 'F';
  return b;
}

Bytes Bmp(const Canvas& c) { return BmpCodec::Encode(c.ToImage()); }
Bytes Jpeg(const Canvas& c) { return EncodeJpeg(c.ToImage(), 90); }

// "90.dat": the hero's names, further names, gallery flags (none seen
// yet), music files.
std::string ConfigText() {
  std::vector<std::string> lines(25);
  lines[0] = "水野";
  lines[1] = "晴";
  lines[2] = "澪";
  lines[3] = "千尋";
  lines[4] = "汐里";
  std::string flags = "MIREL-GALLERY:";
  for (int k = 0; k < 19; ++k) {
    int digit = (k + 2) % 10;
    flags += static_cast<char>('0' + (digit == 0 ? 1 : digit));
  }
  lines[5] = flags;
  std::vector<std::string> music = MusicFileNames();
  for (int k = 0; k < 9; ++k) lines[6 + k] = music[k];
  lines[24] = "MIREL demo data";
  std::string out;
  for (const std::string& l : lines) out += ToCp932(l, "90.dat") + "\r\n";
  return out;
}

// The speaker tags and the staff roll: UTF-8 in the story folder,
// Shift-JIS with CR LF in the data folder like every other text file, and
// read back as the game reads it, so a broken line stops the build.
std::string StoryFileText(const std::string& storyDir) {
  std::istringstream in(ReadText(storyDir + "/" + kStoryFile));
  std::string out, line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out += ToCp932(line, kStoryFile) + "\r\n";
  }
  StoryContent story = ParseStory(out);
  if (!story.problems.empty())
    throw StoryError(std::string(kStoryFile) + ":" + std::to_string(story.problems.front().line) + ": " +
                     story.problems.front().message);
  return out;
}

}  // namespace

const std::vector<std::string>& ImageTableNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n = {"11.dat", "12.dat", "13.dat", "15.dat", "17.dat", "21.dat", "22.dat",
                                  "23.dat", "25.dat", "26.dat", "27.dat", "31.dat", "32.dat", "35.dat",
                                  "36.dat", "41.dat", "42.dat", "45.dat", "46.dat", "51.dat", "55.dat",
                                  "62.dat", "63.dat"};
    for (int i = 3; i <= 14; ++i) n.push_back((i < 10 ? "p0" : "p") + std::to_string(i) + ".dat");
    for (int i = 51; i <= 67; ++i) n.push_back("p" + std::to_string(i) + ".dat");
    for (const char* s : {"60.dat", "64.dat", "p01.dat", "p02.dat", "p91.dat", "p92.dat"}) n.push_back(s);
    return n;
  }();
  return names;
}

std::map<std::string, Bytes> BuildDemoFiles(const std::string& storyDir) {
  std::map<std::string, Bytes> files;
  StoryTexts story = CompileStory(ReadText(storyDir + "/scenario.csv"), ReadText(storyDir + "/choices.csv"));
  files["91.dat"] = ToBytes(Complement(story.scenario));
  files["92.dat"] = ToBytes(Complement(story.choices));
  files["90.dat"] = ToBytes(ConfigText());
  files[kStoryFile] = ToBytes(StoryFileText(storyDir));

  std::map<int, Canvas> scenes;
  auto scene = [&](int n) -> const Canvas& {
    auto it = scenes.find(n);
    if (it == scenes.end()) it = scenes.emplace(n, ScenePicture(n)).first;
    return it->second;
  };
  for (const std::string& name : ImageTableNames()) {
    int number = std::stoi(name.substr(name[0] == 'p' ? 1 : 0, 2));
    Bytes bytes;
    if (name[0] == 'p') {
      if (number >= 3 && number <= 67 && !(number > 14 && number < 51)) bytes = Jpeg(scene(number));
      else if (number == 1 || number == 2) bytes = Jpeg(FinalPicture(number));
      else if (number == 91) bytes = Jpeg(TitlePicture());
      else bytes = Jpeg(GalleryPicture());
    } else if (number == 60) {
      bytes = Bmp(FaceSheet());
    } else if (number == 64) {
      bytes = Bmp(PhotoFrame());
    } else if (number == 62 || number == 63) {
      bytes = Bmp(ThumbnailSheet(number == 62, scene));
    } else {
      bytes = Bmp(SpritePicture(number));
    }
    files[name] = Stored(std::move(bytes));
  }
  files["P98.dat"] = Bmp(OpeningPicture());
  files["P99.dat"] = Bmp(StartupPicture());
  files["61.dat"] = Bmp(TextureAtlas());
  for (SongFile& s : DemoSongs()) files[s.name] = std::move(s.data);
  return files;
}

void MakeDemoData(const std::string& outDir, const std::string& storyDir) {
  std::map<std::string, Bytes> files = BuildDemoFiles(storyDir);
  std::filesystem::create_directories(outDir);
  for (const auto& [name, bytes] : files)
    if (auto err = WriteFileAtomic(JoinPath(outDir, name), bytes)) throw std::runtime_error(name + ": " + *err);
  // Earlier makers wrote the staff roll alone; the story file holds it now.
  std::filesystem::remove(JoinPath(outDir, "staff.txt"));
}

}  // namespace mirel::demo
