// Damaged and hostile data folders: every run must end with a message or a
// clean play, never a crash or a hang, and never leave a picture readable.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "app/ScriptInput.h"
#include "app/Startup.h"
#include "scenario/ScenarioData.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

// Deterministic on every standard library: only the engine's raw output
// is used, never a distribution.
struct Mutator {
  explicit Mutator(uint32_t seed) : rng(seed) {}
  std::mt19937 rng;
  size_t Below(size_t n) { return n == 0 ? 0 : rng() % n; }

  std::string Mutate(std::string s) {
    static const std::string kTokens[] = {",", "\"", "\r\n", "-", "99999", "0", "&", "&9", "g0", "s", "num",
                                          " ", "\xFF", "\x81", "e", "q", "9", "LRC", "DH", "\x82\xA0"};
    int edits = 1 + static_cast<int>(Below(6));
    for (int i = 0; i < edits && !s.empty(); ++i) {
      size_t at = Below(s.size());
      switch (Below(6)) {
        case 0: s[at] = static_cast<char>(rng()); break;
        case 1: s.erase(at, 1 + Below(40)); break;
        case 2: s.insert(at, kTokens[Below(std::size(kTokens))]); break;
        case 3: s.insert(at, s.substr(Below(s.size()), Below(200))); break;
        case 4: s.resize(at); break;
        default: {
          // A digit changed where the fields hold numbers.
          size_t d = s.find_first_of("0123456789", at);
          if (d != std::string::npos) s[d] = static_cast<char>('0' + Below(10));
        }
      }
    }
    return s;
  }
};

struct FuzzTest : ::testing::Test {
  test::TempDir dir;
  std::map<std::string, std::string> original;
  void SetUp() override {
    ASSERT_TRUE(test::CopyDemoData(dir.path()));
    for (auto& e : fs::directory_iterator(dir.path())) original[e.path().filename()] = ReadBytes(e.path());
  }
  void Reset() {
    for (auto& e : fs::directory_iterator(dir.path()))
      if (!original.count(e.path().filename())) fs::remove_all(e.path());
    for (const auto& [name, bytes] : original) WriteBytes(dir / name, bytes);
  }
  // Plays with default answers on the virtual clock; true when it ended
  // normally (status 0).
  int Play(std::vector<Text>* shown = nullptr) {
    test::TestPlatform tp;
    ScriptInput input("", tp.clock, tp.messages);
    // Damage shows early; a bounded stretch of play keeps the suite quick.
    input.SetTimeLimit(5ull * 60 * 1000);
    tp.platform.events = &input;
    Main_Form f(tp.platform, StartOptions{dir.path(), ""});
    input.Attach(&f);
    int status = RunProgram(f);
    if (shown) *shown = tp.messages.Shown();
    return status;
  }
  void ExpectPicturesStored(const std::string& what) {
    for (const char* name : Main_Form::kImageTable) {
      std::string bytes = ReadBytes(dir / name);
      if (bytes.size() < 2) continue;
      EXPECT_EQ(bytes.substr(0, 2), "JF") << name << " left readable after " << what;
    }
    for (auto& e : fs::directory_iterator(dir.path())) {
      std::string n = e.path().filename();
      EXPECT_TRUE(n.find(".cod") == std::string::npos && n.find(".tmp") == std::string::npos)
          << n << " left behind after " << what;
    }
  }
};

// The scenario and choice files, mutated in their readable form and shipped
// again.
TEST_F(FuzzTest, MutatedStoryFilesEndCleanly) {
  Mutator m(20261206);
  for (int round = 0; round < 24; ++round) {
    Reset();
    const char* file = round % 3 == 2 ? "92.dat" : "91.dat";
    std::string plain = Complement(original[file]);
    WriteBytes(dir / file, Complement(m.Mutate(plain)));
    std::vector<Text> shown;
    int status = Play(&shown);
    std::string what = std::string(file) + " round " + std::to_string(round);
    // A refused file always says why.
    if (status != 0) {
      EXPECT_FALSE(shown.empty()) << what;
    }
    ExpectPicturesStored(what);
  }
}

TEST_F(FuzzTest, MutatedConfigNeverLosesTheFileUnlessShutdownWritesIt) {
  Mutator m(7);
  for (int round = 0; round < 12; ++round) {
    Reset();
    std::string bad = m.Mutate(original["90.dat"]);
    WriteBytes(dir / "90.dat", bad);
    std::vector<Text> shown;
    int status = Play(&shown);
    std::string what = "90.dat round " + std::to_string(round);
    std::string after = ReadBytes(dir / "90.dat");
    if (status != 0) {
      EXPECT_FALSE(shown.empty()) << what;
    }
    // Either left exactly as it was, or rewritten whole with its 25 lines.
    if (after != bad) {
      size_t lines = 0;
      for (size_t p = after.find("\r\n"); p != std::string::npos; p = after.find("\r\n", p + 2)) ++lines;
      EXPECT_GE(lines, 25u) << what;
    }
    ExpectPicturesStored(what);
  }
}

TEST_F(FuzzTest, TruncatedOrGarbledPicturesGiveAMessageNotACrash) {
  Mutator m(4242);
  const char* victims[] = {"p05.dat", "11.dat", "60.dat", "P99.dat", "61.dat", "p14.dat", "64.dat", "P98.dat"};
  for (int round = 0; round < 16; ++round) {
    Reset();
    const char* name = victims[round % std::size(victims)];
    std::string bytes = original[name];
    if (round % 2 == 0) {
      bytes.resize(m.Below(bytes.size() / 2 + 1));
    } else {
      for (int k = 0; k < 64; ++k) bytes[2 + m.Below(bytes.size() - 2)] = static_cast<char>(m.rng());
    }
    WriteBytes(dir / name, bytes);
    Play();
    ExpectPicturesStored(std::string(name) + " round " + std::to_string(round));
  }
}

}  // namespace
}  // namespace mirel
