// Whole plays of the demo through the real program, one per ending, with
// screenshots compared to stored references by exact pixels. When the demo
// or the drawing changes on purpose, the references are made again with
//   MIREL_UPDATE_REFERENCES=1 build/tests/test_app --gtest_filter='*EndToEnd*'
#include <gtest/gtest.h>

#include <QImage>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <ostream>

#include "support/TestPlatform.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

struct Route {
  const char* name;
  std::vector<int> answers;
  int block;  // the ending's block in the story
};

// Test names and messages show the route by its name.
void PrintTo(const Route& r, std::ostream* os) { *os << r.name; }

const Route kRoutes[] = {{"ending1", {1, 1, 1, 1}, 8100}, {"ending2", {2, 2, 2, 2}, 8200}, {"plain", {3, 1, 3, 1}, 8000}};

// Index of the first record of a block, counted in the story's source the
// way the record table is: data rows after the header, comments left out.
std::string FirstRecordOf(int block) {
  std::string csv = ReadBytes(std::string(MIREL_TEST_SOURCE_DIR) + "/demo/story/scenario.csv");
  int index = -1;  // the header row
  for (const std::string& line : test::Lines(csv, "\n")) {
    if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t\r") == std::string::npos) continue;
    if (index >= 0 && line.rfind(std::to_string(block) + ",", 0) == 0) return std::to_string(index);
    ++index;
  }
  return "";
}

struct PlayResult {
  int status = -1;
  std::string out;
  std::vector<std::string> trace;
};

PlayResult Play(const std::string& dataDir, const std::string& script, const std::string& extra = "") {
  std::string in = dataDir + "../input.txt", trace = dataDir + "../trace.txt";
  WriteBytes(in, script);
  // The player's own folders stay beside the copy, never the real ones.
  std::string cmd = "XDG_DATA_HOME='" + dataDir + "../xdg/data' XDG_CONFIG_HOME='" + dataDir + "../xdg/config' " +
                    "XDG_PICTURES_DIR='" + dataDir + "../xdg/pictures' " +
                    test::BuildDir() + "src/mirel --headless --data '" + dataDir + "' --input '" + in + "' --trace '" +
                    trace + "' " + extra + " 2>/dev/null";
  const auto [status, out] = test::Shell(cmd);
  return {status, out, test::Lines(ReadBytes(trace), "\n")};
}

std::string Script(const Route& route, const std::string& shots) {
  std::string s = "screenshot " + shots + "1.png\n";  // the prologue's first line
  s += "title new\n";
  for (size_t i = 0; i < route.answers.size(); ++i) {
    s += "choose " + std::to_string(route.answers[i]) + "\n";
    if (i == 0 || i + 1 == route.answers.size()) s += "screenshot " + shots + std::to_string(i == 0 ? 2 : 3) + ".png\n";
  }
  return s;
}

// Differing pixels between two pictures; a size mismatch counts all.
long Difference(const QImage& a, const QImage& b, std::string& where) {
  if (a.size() != b.size()) return static_cast<long>(a.width()) * a.height() + 1;
  QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  long n = 0;
  for (int r = 0; r < x.height(); ++r)
    for (int c = 0; c < x.width(); ++c)
      if (x.pixel(c, r) != y.pixel(c, r) && n++ == 0) where = "first at " + std::to_string(c) + "," + std::to_string(r);
  return n;
}

class EndToEnd : public ::testing::TestWithParam<Route> {};

TEST_P(EndToEnd, PlaysToItsEndingWithTheStoredPictures) {
  const Route& route = GetParam();
  test::TempDir root;
  std::string data = root / "data/";
  fs::create_directory(data);
  ASSERT_TRUE(test::CopyDemoData(data));
  std::string shots = root / (std::string(route.name) + "-");
  PlayResult r = Play(data, Script(route, shots));
  ASSERT_EQ(r.status, 0) << r.out;
  ASSERT_FALSE(r.trace.empty());
  // Block 9000 is an audio record and then the quit command.
  std::string closing = FirstRecordOf(9000);
  ASSERT_FALSE(closing.empty());
  EXPECT_EQ(r.trace.back(), std::to_string(std::stoi(closing) + 1)) << "the quit command ends every route";
  for (const Route& other : kRoutes) {
    std::string first = FirstRecordOf(other.block);
    ASSERT_FALSE(first.empty()) << other.block;
    bool reached = std::find(r.trace.begin(), r.trace.end(), first) != r.trace.end();
    EXPECT_EQ(reached, other.block == route.block) << route.name << " and the ending of block " << other.block;
  }
  EXPECT_EQ(r.out.find("timeout"), std::string::npos) << r.out;
  // Every picture is back in its stored form after the play.
  for (auto& e : fs::directory_iterator(data)) {
    std::string n = e.path().filename();
    EXPECT_EQ(n.find(".cod"), std::string::npos) << n;
  }
  EXPECT_EQ(ReadBytes(data + "p05.dat").substr(0, 2), "JF");

  const char* update = std::getenv("MIREL_UPDATE_REFERENCES");
  for (int k = 1; k <= 3; ++k) {
    std::string shot = shots + std::to_string(k) + ".png";
    std::string ref = std::string(MIREL_TEST_SOURCE_DIR) + "/tests/e2e/reference/" + route.name + "-" + std::to_string(k) + ".png";
    ASSERT_TRUE(fs::exists(shot)) << shot << " was not written";
    if (update && *update) {
      fs::copy_file(shot, ref, fs::copy_options::overwrite_existing);
      continue;
    }
    if (!fs::exists(ref)) GTEST_SKIP() << "no reference " << ref << "; make them with MIREL_UPDATE_REFERENCES=1";
    std::string where;
    long diff = Difference(QImage(QString::fromStdString(shot)), QImage(QString::fromStdString(ref)), where);
    EXPECT_EQ(diff, 0) << route.name << " screenshot " << k << " differs from " << ref << " (" << where << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(Routes, EndToEnd, ::testing::ValuesIn(kRoutes),
                         [](const ::testing::TestParamInfo<Route>& i) { return std::string(i.param.name); });

// A headless run keeps to the player's settings file as the window does,
// and F12 saves the picture into the same folder.
TEST(HeadlessComforts, KeepTheSettingsFileAndTakeScreenshotsAsTheWindowDoes) {
  test::TempDir root;
  const std::string data = root / "data/", ini = root / "xdg/config/mirel/settings.ini";
  fs::create_directories(root / "xdg/config/mirel");
  fs::create_directory(data);
  ASSERT_TRUE(test::CopyDemoData(data));
  WriteBytes(ini, "[own]\nkey=kept\n\n[sound]\neffects=loud\nmusic=50\n");
  PlayResult r = Play(data, "key f12\nkey ctrl+m\n");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("note: screenshot saved: "), std::string::npos) << r.out;
  const fs::path shots = root / "xdg/pictures/MIREL";
  EXPECT_EQ(fs::exists(shots) ? std::distance(fs::directory_iterator(shots), fs::directory_iterator()) : 0, 1);
  EXPECT_NE(ReadBytes(data + "mirel.log").find("[sound] effects=loud is not valid, 100 used"), std::string::npos);
  EXPECT_EQ(ReadBytes(ini), "[own]\nkey=kept\n\n[sound]\neffects=loud\nmusic=50\nmuted=true\n");
}

// Runs `args`, sends `sig` once the program writes into the pipe `fifo`,
// reads the pipe out; the wait status of the program.
int SignalAtPipe(std::vector<std::string> args, const std::string& fifo, int sig) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int fd = open(fifo.c_str(), O_RDONLY | O_NONBLOCK), status = 0;
  bool sent = false;
  for (int ms = 0; ms < 60000 && (sent || waitpid(pid, &status, WNOHANG) == 0); ms += 10) {
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, 10);
    char buf[4096];
    ssize_t n = read(fd, buf, sizeof buf);
    if (n > 0 && !sent) sent = kill(pid, sig) == 0;
    if (n == 0 && sent) break;  // written out and closed
  }
  close(fd);
  if (!sent) kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return status;
}

// Ended from outside (a logout, a kill, Ctrl+C), the game leaves its data
// folder as its close box does at the same point of the play. The point is
// a screenshot into a pipe: the game stands there until the test reads it.
class EndedBySignal : public ::testing::TestWithParam<int> {};

TEST_P(EndedBySignal, LeavesTheDataFolderAsTheCloseBoxDoes) {
  test::TempDir root;
  const std::string closed = root / "closed/", ended = root / "ended/", shot = root / "shot.png";
  for (const std::string& d : {closed, ended}) {
    fs::create_directory(d);
    ASSERT_TRUE(test::CopyDemoData(d));
  }
  const std::string play = "title new\nchoose 1\nchoose 1\n";  // a picture of the gallery seen
  ASSERT_EQ(Play(closed, play + "close\n").status, 0);
  WriteBytes(root / "in.txt", play + "screenshot " + shot + "\n");
  ASSERT_EQ(mkfifo(shot.c_str(), 0600), 0);
  const int status = SignalAtPipe({"env", "XDG_DATA_HOME=" + root / "xdg", "XDG_CONFIG_HOME=" + root / "xdg",
                                   test::BuildDir() + "src/mirel", "--headless", "--data", ended, "--input",
                                   root / "in.txt"},
                                  shot, GetParam());
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << "wait status " << status;
  auto want = test::FolderFiles(closed), got = test::FolderFiles(ended);
  want.erase("mirel.log");  // dated
  got.erase("mirel.log");
  for (const auto& [name, bytes] : want) EXPECT_TRUE(got.count(name) && got[name] == bytes) << name;
  EXPECT_EQ(got.size(), want.size());
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedBySignal, ::testing::Values(SIGTERM, SIGHUP, SIGINT));

}  // namespace
}  // namespace mirel
