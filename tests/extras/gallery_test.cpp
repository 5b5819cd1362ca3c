#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "extras/ExtrasFolder.h"
#include "extras/Gallery.h"

namespace mirel {
namespace {

constexpr uint32_t kDarkRed = Rgb(128, 0, 0);
constexpr uint32_t kHover = Rgb(235, 65, 95);

// Screen place of entry n: 5 columns 116 apart from x 40, 3 rows 97 apart
// from y 130.
int CellX(int n) { return 40 + 116 * ((n - 1) % 5); }
int CellY(int n) { return 130 + 97 * ((n - 1) / 5); }

struct GalleryTest : ::testing::Test {
  test::TempDir dir;
  test::TestPlatform tp;
  std::unique_ptr<Main_Form> f;

  void SetUp() override {
    test::MakeExtrasFolder(dir);
    f = std::make_unique<Main_Form>(tp.platform, StartOptions{dir.path(), ""});
    f->DataDir = dir.path();  // what start-up sets from the options
    test::PaintTexture(f->Texture);
    // The title screen as the title menu leaves it.
    f->Pic_Main.Move(0, 0, 640, 480);
    f->Pic_Main.Visible = true;
    f->Title.Move(0, 0, 640, 480);
    f->Title.Visible = true;
    for (int j = 0; j < 4; ++j) {
      f->Smenu[j].Move(104, 180 + 50 * j, 166, 38);
      f->Smenu[j].Visible = true;
    }
    f->CG_END.Move(275, 425, 95, 30);
    f->TitleShown = true;
  }

  // Unlocks the given entries (1 to 15) and presses the title's gallery button.
  void Open(std::initializer_list<int> entries) {
    for (int n : entries) f->CgUnlocked[static_cast<size_t>(n - 1)] = true;
    f->Smenu_MouseDown(2);
    ASSERT_TRUE(f->GalleryOpen);
  }
  Image Screen() {
    Image img;
    Compose(*f, tp.fonts, img);
    return img;
  }
  void Move(int x, int y) {
    f->events.push_back(MouseEvent(EventKind::MouseMove, x, y));
    f->DoEvents();
  }
  void Click(int x, int y) {
    f->events.push_back(MouseEvent(EventKind::MouseMove, x, y));
    f->events.push_back(MouseEvent(EventKind::MouseDown, x, y));
    f->DoEvents();
  }
  void ClickEntry(int n) { Click(CellX(n) + 48, CellY(n) + 36); }
  void ClickFullView() { Click(320, 240); }
  void ClickExit() { Click(275 + 47, 425 + 15); }
};

TEST_F(GalleryTest, MovingFromThreeToSevenLeavesThreeNormalWithADarkRedFrame) {
  Open({3, 7});
  Move(CellX(3) + 10, CellY(3) + 10);
  Image s = Screen();
  EXPECT_EQ(f->GalleryCurrent, 3);
  EXPECT_EQ(s.At(CellX(3) + 48, CellY(3) + 36), test::SheetColour(3, true));
  EXPECT_EQ(s.At(CellX(3) - 1, CellY(3) + 36), kHover);
  EXPECT_EQ(s.At(CellX(7) + 48, CellY(7) + 36), test::SheetColour(7, false));

  Move(CellX(7) + 10, CellY(7) + 10);
  s = Screen();
  EXPECT_EQ(f->GalleryCurrent, 7);
  EXPECT_EQ(s.At(CellX(3) + 48, CellY(3) + 36), test::SheetColour(3, false));
  EXPECT_EQ(s.At(CellX(3) - 1, CellY(3) + 36), kDarkRed);
  EXPECT_EQ(s.At(CellX(7) + 48, CellY(7) + 36), test::SheetColour(7, true));
  EXPECT_EQ(s.At(CellX(7) + 97, CellY(7) + 36), kHover);
  // Staying on the entry changes nothing; a locked cell has nothing to move over.
  Move(CellX(7) + 50, CellY(7) + 50);
  Move(CellX(8) + 10, CellY(8) + 10);
  EXPECT_EQ(f->GalleryCurrent, 7);
  EXPECT_EQ(Screen().At(CellX(7) + 48, CellY(7) + 36), test::SheetColour(7, true));
}

TEST_F(GalleryTest, ExitPressesTheButtonDestroysTheGallerysSurfacesAndBringsTheTitleBack) {
  Open({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
  ClickEntry(2);
  ClickFullView();
  const uint32_t before = tp.clock.GetTickCount();
  ClickExit();
  EXPECT_GE(tp.clock.GetTickCount() - before, 500u);
  // The pressed face, from the texture at 3, 93, was the button's last picture.
  EXPECT_EQ(f->CG_END.At(0, 0), test::TextureColour(3, 93));
  EXPECT_EQ(f->CG_END.At(94, 29), test::TextureColour(97, 122));
  for (size_t n = 0; n < f->Pic.size(); ++n) {
    EXPECT_FALSE(f->PicCreated[n]) << n;
    EXPECT_TRUE(f->Pic[n].pixels.empty()) << n;
  }
  for (size_t n = 1; n <= 15; ++n) EXPECT_FALSE(f->ShpCreated[n]) << n;
  EXPECT_EQ(f->SCG.width, 0);
  EXPECT_EQ(f->SCG.height, 0);
  EXPECT_FALSE(f->SCG.Visible);
  EXPECT_FALSE(f->CG_END.Visible);
  EXPECT_TRUE(f->Title.Visible);
  EXPECT_TRUE(f->Pic_Main.Visible);
  for (const auto& b : f->Smenu) EXPECT_TRUE(b.Visible);
  EXPECT_EQ(f->CurrentWait(), PlayerWait::Title);
  // Nothing of the gallery is left on the screen: the title covers it all.
  Image s = Screen();
  EXPECT_EQ(s.At(CellX(1) - 1, CellY(1) + 36), f->Title.At(CellX(1) - 1, CellY(1) + 36));

  // The gallery opens again as before.
  f->Smenu_MouseDown(2);
  EXPECT_EQ(Screen().At(CellX(15) + 48, CellY(15) + 36), test::SheetColour(15, false));
  EXPECT_EQ(f->CurrentWait(), PlayerWait::Gallery);
}

}  // namespace
}  // namespace mirel
