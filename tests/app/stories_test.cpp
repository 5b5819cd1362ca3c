// Small stories played through the real program, each compared line by
// line with the trace of what the player saw and heard, as it was read and
// found right. Each folder of tests/stories holds the story ("story/", made
// into a data folder over the demo's pictures and songs by mirel-tool
// build), the player's actions ("input.txt"), extra options for the
// program ("args.txt", optional) and the trace ("trace.txt"). When the
// drawing or the story changes on purpose, the traces are written again
// with
//   MIREL_UPDATE_TRACES=1 build/tests/test_app --gtest_filter='Corpus/*'
// and each changed one is read again before it is committed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "support/TestPlatform.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

std::string Corpus() { return std::string(MIREL_TEST_SOURCE_DIR) + "/tests/stories/"; }

std::vector<std::string> Stories() {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(Corpus()))
    if (fs::exists(e.path() / "input.txt")) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string FirstLine(const std::string& s) { return s.substr(0, s.find('\n')); }

class Story : public testing::TestWithParam<std::string> {};

TEST_P(Story, PlaysAsRecorded) {
  const std::string src = Corpus() + GetParam() + "/";
  test::TempDir t;
  const std::string bin = test::BuildDir();
  const std::string unchecked = fs::exists(src + "unchecked") ? " --unchecked" : "";
  const test::Outcome built = test::Shell(bin + "tools/mirel-tool build '" + src + "story' '" + t / "data" +
                                          "' --base '" + bin + "demo-data'" + unchecked + " 2>&1");
  ASSERT_EQ(built.status, 0) << built.out;
  const std::string args = fs::exists(src + "args.txt") ? FirstLine(ReadBytes(src + "args.txt")) : "";
  // The player's own folders stay in the test's folder.
  test::Shell("XDG_DATA_HOME='" + t / "xdg" + "' XDG_CONFIG_HOME='" + t / "xdg" + "' " + bin +
              "src/mirel --headless --data '" + t / "data" + "' --input '" + src + "input.txt' --record '" +
              t / "trace.txt" + "' " + args + " >/dev/null 2>&1");
  const std::string got = ReadBytes(t / "trace.txt");
  ASSERT_FALSE(got.empty()) << "nothing was recorded";
  if (std::getenv("MIREL_UPDATE_TRACES")) test::WriteBytes(src + "trace.txt", got);
  const auto want = test::Lines(ReadBytes(src + "trace.txt"), "\n"), have = test::Lines(got, "\n");
  size_t i = 0;
  while (i < want.size() && i < have.size() && want[i] == have[i]) ++i;
  if (i == want.size() && i == have.size()) return;
  std::string diff;
  for (size_t k = i > 2 ? i - 2 : 0; k < i + 4 && k < std::max(want.size(), have.size()); ++k)
    diff += std::string(k == i ? "> " : "  ") + "want " + (k < want.size() ? want[k] : "(end)") + "\n" +
            std::string(k == i ? "> " : "  ") + "have " + (k < have.size() ? have[k] : "(end)") + "\n";
  ADD_FAILURE() << GetParam() << ": the trace differs from line " << i + 1 << ":\n" << diff;
}

INSTANTIATE_TEST_SUITE_P(Corpus, Story, testing::ValuesIn(Stories()),
                         [](const testing::TestParamInfo<std::string>& p) { return p.param; });

}  // namespace
}  // namespace mirel
