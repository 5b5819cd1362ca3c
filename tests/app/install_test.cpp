// `cmake --install` into a prefix of the test's own, and the installed
// launcher played from there.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "demo/DemoData.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

namespace fs = std::filesystem;

using test::Outcome;

// With what it says on its standard error stream.
Outcome Shell(const std::string& cmd) { return test::Shell(cmd + " 2>&1"); }

TEST(Install, ShipsTheDemoAsMadeAndTheLauncherPlaysACopyFromAnyPrefix) {
  test::TempDir root;
  const std::string prefix = root / "prefix", home = root / "home";
  Outcome install = Shell(std::string("'") + MIREL_CMAKE_COMMAND + "' --install '" + test::BuildDir() + "' --prefix '" + prefix + "'");
  ASSERT_EQ(install.status, 0) << install.out;

  // Exactly the files the demo maker makes, byte for byte: no saved game,
  // no log, the gallery line as made.
  const std::string demo = prefix + "/share/mirel/demo-data";
  std::map<std::string, std::string> made;
  for (const auto& [name, bytes] : demo::BuildDemoFiles(MIREL_DEMO_STORY_DIR))
    made[name] = std::string(bytes.begin(), bytes.end());
  EXPECT_TRUE(test::FolderFiles(demo) == made) << "the installed demo differs from a freshly made one";

  const std::string play = "env HOME='" + home + "' XDG_DATA_HOME= '" + prefix + "/games/mirel-play' ";
  Outcome whole = Shell(play + "--headless --input /dev/null");
  EXPECT_EQ(whole.status, 0) << whole.out;
  EXPECT_TRUE(fs::exists(home + "/.local/share/mirel/data/mirel.log")) << whole.out;
  EXPECT_TRUE(test::FolderFiles(demo) == made) << "playing changed the installed demo";

  // Another folder, named either way, goes straight to the game.
  for (const std::string& data : {"--data '" + root.path() + "none'", "--data='" + root.path() + "none'"}) {
    Outcome other = Shell(play + "--headless " + data);
    EXPECT_EQ(other.status, 1) << other.out;
    EXPECT_NE(other.out.find(root.path() + "none/"), std::string::npos) << other.out;
  }
}

}  // namespace
}  // namespace mirel
