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
};

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

TEST_F(WindowTest, ComposeStacksSurfacesAndHitTestFindsTheFrontOne) {
  f.LayOutMainWindow();
  test::Fill(f.Pic_Main, Rgb(10, 20, 30));
  f.Doll_Disp[0].Move(40, 200, 100, 280);
  test::Fill(f.Doll_Disp[0], Rgb(200, 0, 0));
  test::Fill(f.Waku[0], Rgb(0, 0, 200));
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
