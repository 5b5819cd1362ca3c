#include <gtest/gtest.h>

#include "support/TestPlatform.h"
#include "ui/Option_Window.h"
#include "ui/frmAbout.h"

namespace mirel {
namespace {

struct OptionsTest : ::testing::Test {
  test::TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  Option_Window& w = *f.optionWindow;
  void Use(const std::string& control, int value = 0) {
    f.Dispatch(ControlEvent("Option_Window", control, value));
  }
  void SetUp() override { f.LayOutMainWindow(); }
};

TEST_F(OptionsTest, DensityShowsAsTheNearestWholePercentAndSurvivesOkUnchanged) {
  struct Case {
    float opacity;
    int percent;
  };
  for (Case c : {Case{0.29f, 29}, Case{0.57f, 57}, Case{0.58f, 58}, Case{0.0f, 0}, Case{1.0f, 100}, Case{0.6f, 60},
                 Case{0.994f, 99}, Case{0.996f, 100}}) {
    SCOPED_TRACE(c.opacity);
    f.WakuOpacity = c.opacity;
    w.Form_Load();
    EXPECT_EQ(w.model.At("HScroll1").value, c.percent);
    EXPECT_EQ(w.model.At("Label4").caption, Decimal(c.percent));
    Use("Command1");
    EXPECT_FLOAT_EQ(f.WakuOpacity, static_cast<float>(c.percent) / 100.0f);
  }
  // Opening and confirming again and again never lets the density creep.
  f.WakuOpacity = 0.29f;
  for (int i = 0; i < 5; ++i) {
    w.Form_Load();
    Use("Command1");
  }
  EXPECT_FLOAT_EQ(f.WakuOpacity, 0.29f);
}

TEST(AboutTest, WarningsFollowTheMachine) {
  EXPECT_EQ(frmAbout::Warnings(false, "32", "40"), u"");
  EXPECT_EQ(frmAbout::Warnings(false, "24", "90"), u"");
  EXPECT_EQ(frmAbout::Warnings(false, "16", "40"), u"画面の最大表示色数が足りません.\r\n24bit色以上の設定にして下さい.\r\n");
  EXPECT_EQ(frmAbout::Warnings(false, "32", "91"),
            u"ﾒﾓﾘの利用率が90%を越えています.\r\n他のｱﾌﾟﾘｹｰｼｮﾝを終了させて下さい.\r\n");
  Text all = frmAbout::Warnings(true, "16", "95");
  EXPECT_EQ(all.find(u"Windows95,NTではフルスクリーン表示ができません."), 0u);
  EXPECT_LT(all.find(u"画面"), all.find(u"ﾒﾓﾘ"));
}

TEST(AboutTest, BoxShowsVersionAndEnablesWarningsOnlyWhenThereAreSome) {
  test::TestPlatform tp;
  Main_Form f{tp.platform, StartOptions{}};
  f.ColorDepthText = "32";
  f.MemoryLoadText = "10";
  f.aboutBox->Form_Load();
  EXPECT_EQ(f.aboutBox->model.At("Label6").caption, u"Ver. 1.10");
  EXPECT_FALSE(f.aboutBox->model.At("Text1").enabled);
  EXPECT_FALSE(f.form.enabled);
  f.Dispatch(ControlEvent("frmAbout", "cmdOK"));
  EXPECT_FALSE(f.aboutBox->IsOpen());
  EXPECT_TRUE(f.form.enabled);
  f.ColorDepthText = "16";
  f.aboutBox->Form_Load();
  EXPECT_TRUE(f.aboutBox->model.At("Text1").enabled);
}

}  // namespace
}  // namespace mirel
