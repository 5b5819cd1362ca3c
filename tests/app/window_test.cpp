#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

#include "app/Main_Form.h"
#include "platform/qt/QtHost.h"
#include "support/TestPlatform.h"

namespace mirel {
namespace {

struct WindowTest : ::testing::Test {
  test::TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  bool AllMenusVisible() {
    bool all = true;
    for (auto& m : f.form.menus) all = all && m.visible;
    return all;
  }
  bool AnyMenuVisible() {
    bool any = false;
    for (auto& m : f.form.menus) any = any || m.visible;
    return any;
  }
};

TEST_F(WindowTest, ClientAreaIs640x480WhateverTheFrameAndCentred) {
  tp.window.SetOuterSize(300, 200);
  f.SizeForClient(640, 480);
  f.LayOutMainWindow();
  Rect c = tp.window.ClientRect();
  EXPECT_EQ(c.w, 640);
  EXPECT_EQ(c.h, 480);
  Rect o = tp.window.OuterRect();
  EXPECT_EQ(o.x, (1920 - o.w) / 2);
  EXPECT_EQ(o.y, (1080 - o.h) / 2);
}

TEST_F(WindowTest, LayoutPlacesTheFixedControls) {
  f.LayOutMainWindow();
  EXPECT_EQ(f.LineHeight, 17);
  EXPECT_EQ(f.Waku[0].left, 35);
  EXPECT_EQ(f.Waku[0].top, 360);
  EXPECT_EQ(f.Waku[0].width, 576);
  EXPECT_EQ(f.Waku[0].height, 108);
  EXPECT_EQ(f.Blinker.left, 551);
  EXPECT_EQ(f.Blinker.top, 83);
  EXPECT_FALSE(f.Blinker.Visible);
  EXPECT_EQ(f.SelTxt[0].top, 36);
  EXPECT_EQ(f.SelTxt[1].top, 53);
  EXPECT_EQ(f.SelTxt[2].top, 70);
  EXPECT_EQ(f.Mesh2.width, 32);
  EXPECT_TRUE(f.Menu(MenuItem::prog_end).enabled);
  for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::opt_menu, MenuItem::speedup, MenuItem::vvrr})
    EXPECT_FALSE(f.Menu(m).enabled);
}

TEST_F(WindowTest, EscTwiceGivesBackTheSameWindow) {
  f.SizeForClient(640, 480);
  f.LayOutMainWindow();
  tp.window.Sync(f.form);
  Rect before = tp.window.OuterRect();
  f.EnterFullScreen();
  EXPECT_TRUE(f.FullScreen);
  EXPECT_FALSE(tp.window.HasCaption());
  EXPECT_FALSE(AnyMenuVisible());
  EXPECT_TRUE(tp.window.InFullScreenMode());
  f.LeaveFullScreen();
  EXPECT_FALSE(f.FullScreen);
  EXPECT_TRUE(tp.window.HasCaption());
  EXPECT_TRUE(AllMenusVisible());
  EXPECT_FALSE(tp.window.InFullScreenMode());
  Rect after = tp.window.OuterRect();
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(after.y, before.y);
  EXPECT_EQ(after.w, before.w);
  EXPECT_EQ(after.h, before.h);
  EXPECT_EQ(tp.window.ClientRect().w, 640);
  EXPECT_EQ(tp.window.ClientRect().h, 480);
  EXPECT_TRUE(tp.messages.Shown().empty());
}

TEST_F(WindowTest, RefusedFullScreenSaysSoAndLeavesANormalWindow) {
  f.SizeForClient(640, 480);
  f.LayOutMainWindow();
  tp.window.SetFullScreenPossible(false);
  for (int i = 0; i < 2; ++i) {
    f.EnterFullScreen();
    EXPECT_FALSE(f.FullScreen);
    EXPECT_TRUE(tp.window.HasCaption());
    EXPECT_TRUE(AllMenusVisible());
    EXPECT_EQ(tp.window.ClientRect().w, 640);
    EXPECT_EQ(tp.window.ClientRect().h, 480);
  }
  ASSERT_EQ(tp.messages.Shown().size(), 2u);
  EXPECT_EQ(tp.messages.Shown()[0], u"screen mode not changed.");
}

TEST_F(WindowTest, EnteringFullScreenTwiceNeverBringsTheCaptionBack) {
  f.LayOutMainWindow();
  f.EnterFullScreen();
  f.EnterFullScreen();
  EXPECT_TRUE(f.FullScreen);
  EXPECT_FALSE(tp.window.HasCaption());
  f.LeaveFullScreen();
  f.LeaveFullScreen();
  EXPECT_TRUE(tp.window.HasCaption());
  EXPECT_TRUE(AllMenusVisible());
}

TEST_F(WindowTest, LoadingBarFillsInProportion) {
  f.ShowLoading(0);
  EXPECT_TRUE(f.LOAD_NOW.Visible);
  EXPECT_EQ(f.LOAD_NOW.left, 224);
  EXPECT_EQ(f.LOAD_NOW.top, 292);
  const uint32_t grey = Rgb(128, 128, 128), green = Rgb(160, 220, 115);
  EXPECT_EQ(f.LOAD_NOW.At(80, 3), grey);
  EXPECT_EQ(f.LOAD_NOW.At(180, 12), grey);
  EXPECT_EQ(f.LOAD_NOW.At(130, 7), kWhite);
  f.ShowLoading(50);
  EXPECT_EQ(f.LOAD_NOW.At(81, 5), green);
  EXPECT_EQ(f.LOAD_NOW.At(129, 10), green);
  EXPECT_EQ(f.LOAD_NOW.At(130, 7), kWhite);
  EXPECT_EQ(f.LOAD_NOW.At(129, 11), kWhite);
  uint32_t t0 = tp.clock.GetTickCount();
  f.ShowLoading(100);
  EXPECT_EQ(f.LOAD_NOW.At(179, 10), green);
  EXPECT_GE(tp.clock.GetTickCount() - t0, 100u);
  EXPECT_FALSE(f.LOAD_NOW.Visible);
  EXPECT_FALSE(f.LOAD_NOW.Enabled);
}

TEST_F(WindowTest, ComposeStacksSurfacesAndHitTestFindsTheFrontOne) {
  f.LayOutMainWindow();
  f.Pic_Main.BackColor = Rgb(10, 20, 30);
  f.Pic_Main.Cls();
  f.Pic_Main.Visible = true;
  f.Doll_Disp[0].Move(40, 200, 100, 280);
  f.Doll_Disp[0].BackColor = Rgb(200, 0, 0);
  f.Doll_Disp[0].Cls();
  f.Doll_Disp[0].Visible = true;
  f.Waku[0].BackColor = Rgb(0, 0, 200);
  f.Waku[0].Cls();
  f.Waku[0].Visible = true;
  Image img;
  Compose(f, tp.fonts, img);
  EXPECT_EQ(img.At(10, 10), Rgb(10, 20, 30));
  EXPECT_EQ(img.At(60, 300), Rgb(200, 0, 0));
  EXPECT_EQ(img.At(60, 400), Rgb(0, 0, 200));  // the message window is in front of the sprite
  EXPECT_EQ(HitTest(f, 60, 400), &f.Waku[0]);
  EXPECT_EQ(HitTest(f, 60, 300), &f.Doll_Disp[0]);
  EXPECT_EQ(HitTest(f, 10, 10), &f.Pic_Main);
  f.SelTxt[0].Caption = u"はい";
  f.SelTxt[0].Visible = true;
  EXPECT_EQ(HitTest(f, 35 + 31, 360 + 37), &f.SelTxt[0]);
  Compose(f, tp.fonts, img);
  EXPECT_EQ(img.At(35 + 30 + 3, 360 + 36 + 5), Rgb(192, 192, 192));  // the label's text in silver
}

TEST(QtKeysTest, HeldSpaceAndEnterRepeatWhileEscActsOnce) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "test_app";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  qt::EventInbox inbox;
  qt::PictureWidget picture(inbox, nullptr);
  struct Case {
    int qtKey, vk;
    bool repeats;
  };
  for (Case c : {Case{Qt::Key_Space, 32, true}, Case{Qt::Key_Return, 13, true}, Case{Qt::Key_Enter, 13, true},
                 Case{Qt::Key_Escape, 27, false}}) {
    inbox.pending.clear();
    for (bool autoRepeat : {false, true, true}) {
      QKeyEvent press(QEvent::KeyPress, c.qtKey, Qt::NoModifier, QString(), autoRepeat);
      QCoreApplication::sendEvent(&picture, &press);
    }
    ASSERT_EQ(inbox.pending.size(), c.repeats ? 3u : 1u) << c.vk;
    for (const InputEvent& e : inbox.pending) EXPECT_EQ(e.key, c.vk);
  }
}

}  // namespace
}  // namespace mirel
