// The program's own command line, run as the player runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "support/TestPlatform.h"

namespace mirel {
namespace {

struct CommandLine {
  const char* args;  // "DIR" stands for a folder without a story
  int status;
  std::vector<const char*> said;  // parts of what the program prints
  const char* script = "";        // written to script.txt
};

void PrintTo(const CommandLine& c, std::ostream* os) { *os << c.args; }

const CommandLine kCommandLines[] = {
    {"--headless --data DIR", 1, {"message: フォルダの内容が不正です.", "DIR/", "--data DIR chooses"}},
    {"--headless --data=DIR", 1, {"message: フォルダの内容が不正です.", "DIR/", "--data DIR chooses"}},
    {"--headless --max-seconds abc", 2, {"--max-seconds needs a whole number"}},
    {"--headless --max-seconds=5s", 2, {"--max-seconds needs a whole number"}},
    {"--headless --data --input script.txt", 2, {"--data needs a value, not the option --input"}},
    {"--headless --input", 2, {"--input needs a value"}},
    {"--headless=yes", 2, {"--headless takes no value"}},
    {"--headless --input script.txt", 2, {"input line 2: 'wheel' turns 1 to 1000 notches"}, "click\nwheel up 3000000000\n"},
};

class CommandLineTest : public ::testing::TestWithParam<CommandLine> {};

TEST_P(CommandLineTest, FaultsAreRefusedAndAFolderWithoutAStoryIsExplained) {
  test::TempDir root;
  const std::string dir = root / "nostory";
  std::string args = GetParam().args;
  if (size_t at = args.find("DIR"); at != std::string::npos) args.replace(at, 3, dir);
  test::WriteBytes(root / "script.txt", GetParam().script);
  const auto [status, out] = test::Shell("cd '" + root.path() + "' && " + test::BuildDir() + "src/mirel " + args + " 2>&1");
  EXPECT_EQ(status, GetParam().status) << out;
  for (std::string part : GetParam().said) {
    if (part == "DIR/") part = dir + "/";
    EXPECT_NE(out.find(part), std::string::npos) << "no \"" << part << "\" in:\n" << out;
  }
}

INSTANTIATE_TEST_SUITE_P(Options, CommandLineTest, ::testing::ValuesIn(kCommandLines));

bool Lower(char c) { return c >= 'a' && c <= 'z'; }

// What a help lists: every option ("--name"), or every command (a line
// "  name ...").
std::vector<std::string> Listed(const std::string& help, bool options) {
  std::vector<std::string> words;
  const std::string mark = options ? "--" : "\n  ";
  for (size_t at = help.find(mark); at != std::string::npos; at = help.find(mark, at)) {
    const size_t first = at + mark.size();
    size_t end = first;
    while (end < help.size() && (Lower(help[end]) || (options && end > first && help[end] == '-'))) ++end;
    if (end > first && (options || (end < help.size() && help[end] == ' ')))
      words.push_back(options ? help.substr(at, end - at) : help.substr(first, end - first));
    at = std::max(end, at + 1);
  }
  return words;
}

// The manual pages name every option and command the programs' own help
// lists, so an option added to one is not missing from the other.
TEST(ManualPages, NameEverythingTheHelpLists) {
  struct Page {
    std::string help, page;
    bool options;  // else commands
  };
  const std::string packaging = std::string(MIREL_TEST_SOURCE_DIR) + "/packaging/";
  for (const Page& p : {Page{"src/mirel --help", "mirel.6", true}, Page{"tools/mirel-tool --help", "mirel-tool.1", false}}) {
    const auto [status, help] = test::Shell(test::BuildDir() + p.help);
    ASSERT_EQ(status, 0) << help;
    std::string page = test::ReadBytes(packaging + p.page);
    // roff writes a hyphen as \-.
    for (size_t at = page.find("\\-"); at != std::string::npos; at = page.find("\\-", at)) page.erase(at, 1);
    const std::vector<std::string> words = Listed(help, p.options);
    for (const std::string& word : words)
      EXPECT_NE(page.find(word), std::string::npos) << p.page << " does not name " << word;
    EXPECT_GT(words.size(), 4u) << p.help;
  }
}

}  // namespace
}  // namespace mirel
