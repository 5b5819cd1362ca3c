// Presenting on change: every change that alters the picture reaches the
// window once, at the next pump or sleep, as exactly what the controls
// compose; changes nobody can see present nothing.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "transition_harness.h"

namespace mirel::test {
namespace {

constexpr uint32_t kSpriteColour = Rgb(200, 30, 90);

class PresentTest : public ::testing::Test, public Harness {
 protected:
  Image bg = OldPicture();

  PresentTest() {
    f.LayOutMainWindow();
    Show(bg);
    f.Doll_Disp[0].Move(40, 180, 100, 300);
    Fill(f.Doll_Disp[0], Rgb(10, 200, 10));
    f.Doll_Disp[1].Move(350, 280, 120, 200);
    Fill(f.Doll_Disp[1], Rgb(10, 10, 200), false);
    f.Waku[3].Move(491, 338, 120, 22);
    Fill(f.Waku[3], Rgb(60, 60, 60));
    f.Dtime_label.Caption = u"1日";
    f.PresentChanges();
  }

  const std::vector<uint32_t>& OnScreen() const { return tp.window.Frame().pixels; }
  ::testing::AssertionResult ShowsWhatIsComposed() {
    Image img;
    Compose(f, tp.fonts, img);
    return ScreenMatches(OnScreen(), [&](int x, int y) { return img.At(x, y); });
  }
};

struct Change {
  const char* name;
  std::function<void(Main_Form&)> make;
  std::function<void(Main_Form&)> before = nullptr;  // presented before the change
};

void PrintTo(const Change& c, std::ostream* os) { *os << c.name; }

const Change kChanges[] = {
    {"shown sprite refreshed",
     [](Main_Form& f) {
       FillBox(f.Doll_Disp[0], 0, 0, 50, 50, kSpriteColour);
       f.Doll_Disp[0].Refresh();
     }},
    {"sprite shown", [](Main_Form& f) { f.Doll_Disp[1].Visible = true; }},
    {"sprite hidden", [](Main_Form& f) { f.Doll_Disp[0].Visible = false; }},
    {"sprite moved", [](Main_Form& f) { f.Doll_Disp[0].Move(60, 170); }},
    {"sprite resized", [](Main_Form& f) { f.Doll_Disp[0].Resize(70, 320); }},
    {"sprite raised over the date tab", [](Main_Form& f) { f.Doll_Disp[0].zOrder = z::kWaku + 5; },
     [](Main_Form& f) { f.Doll_Disp[0].Move(480, 300); }},
    {"date caption", [](Main_Form& f) { f.Dtime_label.Caption = u"12日"; }},
    {"date colour", [](Main_Form& f) { f.Dtime_label.ForeColor = Rgb(255, 0, 0); }},
    {"date label moved", [](Main_Form& f) { f.Dtime_label.Move(60, 4); }},
    {"date tab hidden with its label", [](Main_Form& f) { f.Waku[3].Visible = false; }},
    {"form picture behind a hidden screen",
     [](Main_Form& f) {
       f.Pic_Main.Visible = false;
       f.FormPicture = NewPicture();
     }},
    {"form refreshed after drawing without a refresh",
     [](Main_Form& f) {
       FillBox(f.Pic_Main, 0, 0, 640, 100, kBlack);
       f.sys.window->Refresh();
     }},
};

class EachChange : public PresentTest, public ::testing::WithParamInterface<Change> {};

TEST_P(EachChange, IsPresentedOnceAsComposed) {
  if (GetParam().before) {
    GetParam().before(f);
    f.PresentChanges();
  }
  const std::vector<uint32_t> before = OnScreen();
  const long presents = tp.window.Presents();
  GetParam().make(f);
  f.DoEvents();
  EXPECT_EQ(tp.window.Presents(), presents + 1);
  EXPECT_NE(OnScreen(), before) << "the change reached the window";
  EXPECT_TRUE(ShowsWhatIsComposed());
  f.DoEvents();
  f.Sleep(10);
  EXPECT_EQ(tp.window.Presents(), presents + 1) << "nothing more to present";
}

INSTANTIATE_TEST_SUITE_P(Present, EachChange, ::testing::ValuesIn(kChanges));

TEST_F(PresentTest, OnlyWhatChangedIsHandedOverAndUnseenChangesNotAtAll) {
  const long presents = tp.window.Presents(), pixels = tp.window.PresentedPixels();
  // Surfaces that are never composed, or not shown, or whose parent is not.
  f.Mesh2.Refresh();
  f.Pic_Back.Visible = true;
  f.Pic_Back.Refresh();
  f.Doll_Disp[1].Refresh();
  f.Doll_Disp[1].Move(300, 100);
  f.Waku[0].Visible = false;
  f.Blinker.Visible = !f.Blinker.Visible;
  f.SelTxt[0].Caption = u"選択肢";
  f.DoEvents();
  f.Sleep(100);
  EXPECT_EQ(tp.window.Presents(), presents);
  // Drawn into a shown surface but not refreshed: not yet on screen.
  FillBox(f.Doll_Disp[0], 0, 0, 100, 300, kBlack);
  f.DoEvents();
  EXPECT_EQ(tp.window.Presents(), presents);
  // Each refresh hands over its own rectangle, clipped to the screen, at once.
  f.Doll_Disp[0].Refresh();
  f.Doll_Disp[0].Refresh();
  EXPECT_EQ(tp.window.Presents(), presents + 2);
  EXPECT_EQ(tp.window.PresentedPixels() - pixels, 2 * 100 * 300);
  EXPECT_TRUE(ShowsWhatIsComposed());
}

}  // namespace
}  // namespace mirel::test
