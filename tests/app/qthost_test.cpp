// The Qt front end: the faces that stand in for the game's fonts, and the
// dialog windows made from the engine's models.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <QPlainTextEdit>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>
#include <QScrollBar>

#include "comfort/Words.h"
#include "platform/qt/QtHost.h"
#include "platform/qt/QtDisplayHost.h"
#include "support/TestPlatform.h"
#include "ui/frmAbout.h"

namespace mirel {
namespace {

// One application per test, as the other Qt tests of this program make.
struct QtHostTest : ::testing::Test {
  int argc = 1;
  char name[9] = "test_app";
  char* argv[2] = {name, nullptr};
  std::unique_ptr<QApplication> app;
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QApplication>(argc, argv);
  }
};

// Every text drawn in "Arial" stays inside its box, with the box's last
// column and row free (the thank-you panel has its frame there).
TEST_F(QtHostTest, ArialTextsFitTheirBoxes) {
  qt::QtFonts fonts;
  EXPECT_EQ(fonts.ResolvedFamily(Font{u"Arial", 14, true}), "Liberation Sans");
  struct Case {
    const char16_t* text;
    double size;
    bool bold;
    int x, y, boxW, boxH;
  };
  const Case cases[] = {
      {u"Loading now", 8, false, 5, 0, 80, 30},  // left of the progress bar's frame
      {u"End", 24, true, 500, 385, 640, 480},
      {u"MIREL", 14, true, 40, 100, 130, 800},  // the credits strip
      {u"- making staff -", 11, true, 15, 130, 130, 800},
      {u"SCENARIO", 12, true, 17, 246, 130, 800},
      {u"PROGRAM", 12, true, 23, 318, 130, 800},
      {u"GRAPHICS", 12, true, 17, 390, 130, 800},
      {u"MUSIC", 12, true, 35, 462, 130, 800},
      {u" Thank you", 14, true, 0, 0, 120, 50},  // the final panel
      {u" for playing", 14, true, 0, 25, 120, 50},
  };
  for (const Case& c : cases) {
    // Drawn into a wider canvas, so a text that runs over shows it.
    const int w = c.boxW + 200, h = c.boxH + 50;
    std::vector<uint32_t> px(static_cast<size_t>(w) * h, 0);
    fonts.DrawText(PixelTarget{px.data(), w, h}, c.x, c.y, c.text, Font{u"Arial", c.size, c.bold}, 0xFFFFFF);
    int right = -1, bottom = -1;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (px[static_cast<size_t>(y) * w + x] != 0) {
          right = std::max(right, x);
          bottom = std::max(bottom, y);
        }
    SCOPED_TRACE(Utf8(c.text));
    EXPECT_GE(right, c.x);  // something was drawn
    EXPECT_LT(right, c.boxW - 1);
    EXPECT_LT(bottom, c.boxH - 1);
  }
}

QDialog* ShownDialog(const QString& title) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible() && d->windowTitle() == title) return d;
  return nullptr;
}

TEST_F(QtHostTest, AboutBoxHasCurvedCornersScrollingWarningsAndClosesWhenItLosesTheFocus) {
  test::TestPlatform tp;
  qt::EventInbox inbox;
  qt::QtDialogs dialogs(inbox);
  tp.platform.dialogs = &dialogs;
  Main_Form f(tp.platform, StartOptions{});
  // Every warning: five lines.
  f.FullScreenUnavailable = true;
  f.ColorDepthText = "16";
  f.MemoryLoadText = "95";
  frmAbout about(f);
  about.Form_Load();
  QDialog* box = ShownDialog(QString::fromStdU16String(u"ﾊﾞｰｼﾞｮﾝ情報"));
  ASSERT_NE(box, nullptr);
  QCoreApplication::processEvents();

  auto* warnings = box->findChild<QPlainTextEdit*>("Text1");
  ASSERT_NE(warnings, nullptr);
  EXPECT_TRUE(warnings->isReadOnly());
  EXPECT_EQ(warnings->toPlainText().split('\n', Qt::SkipEmptyParts).size(), 5);
  EXPECT_GT(warnings->verticalScrollBar()->maximum(), 0);  // the lines below scroll into view

  // The pink panel at 8, 56 (321 by 41): its corners show the grey behind.
  QImage shot = box->grab().toImage();
  EXPECT_EQ(shot.pixelColor(8 + 160, 56 + 3).rgb() & 0xFFFFFF, 0xFFC0C0u);
  for (QPoint corner : {QPoint(8, 56), QPoint(8 + 320, 56), QPoint(8, 56 + 40), QPoint(8 + 320, 56 + 40)})
    EXPECT_EQ(shot.pixelColor(corner).rgb() & 0xFFFFFF, 0xC0C0C0u) << corner.x() << "," << corner.y();

  // Another window takes the focus: the box reports it, and closes.
  box->activateWindow();
  QCoreApplication::processEvents();
  ASSERT_TRUE(box->isActiveWindow());
  EXPECT_TRUE(inbox.pending.empty());
  QWidget other;
  other.show();
  other.activateWindow();
  QCoreApplication::processEvents();
  ASSERT_EQ(inbox.pending.size(), 1u);
  EXPECT_EQ(inbox.pending[0].form, "frmAbout");
  EXPECT_EQ(inbox.pending[0].control, "_deactivate");
  EXPECT_FALSE(f.form.enabled);
  about.OnControl(inbox.pending[0]);
  EXPECT_FALSE(about.IsOpen());
  EXPECT_TRUE(f.form.enabled);
}

// The save dialog while it is busy: its disabled slot frames keep their
// colours and pictures, and the question panel's red stays off its buttons.
// It belongs to the game's window, which keeps it above, also in full screen.
TEST_F(QtHostTest, ABusyDialogsFramesKeepTheirColoursAndAPanelsColourStaysOffItsButtons) {
  QWidget game;
  game.show();
  qt::EventInbox inbox;
  qt::QtDialogs dialogs(inbox);
  dialogs.SetOwner(&game);
  int pictureScale = 1;
  dialogs.SetScaleSource([&pictureScale] { return pictureScale; });
  auto control = [](const char* name, ControlKind kind, int x, int y, int w, int h, uint32_t back) {
    DialogControl c;
    c.name = name, c.kind = kind, c.x = x, c.y = y, c.w = w, c.h = h, c.backColor = back;
    return c;
  };
  DialogModel m;
  m.name = "File_Window", m.caption = u"busy", m.clientWidth = 200, m.clientHeight = 100;
  m.controls = {control("Picture1(0)", ControlKind::Picture, 0, 0, 32, 32, 0xFF8080),
                control("Picture4", ControlKind::Panel, 50, 0, 140, 90, 0xFF8080),
                control("Command1", ControlKind::Button, 10, 40, 60, 30, 0xFFFFFFFF)};
  m.controls[0].enabled = false;
  m.controls[0].pixels.assign(32 * 32, 0x304090);
  m.controls[2].parent = "Picture4";
  dialogs.ShowDialog(m);
  QDialog* d = ShownDialog("busy");
  ASSERT_NE(d, nullptr);
  QCoreApplication::processEvents();
  EXPECT_EQ(d->windowHandle()->transientParent(), game.windowHandle());
  const QImage shot = d->grab().toImage();
  auto at = [&](int x, int y) { return shot.pixelColor(x, y).rgb() & 0xFFFFFF; };
  EXPECT_EQ(at(16, 16), 0x304090u);
  EXPECT_EQ(at(55, 5), 0xFF8080u);
  const QColor face = shot.pixelColor(50 + 10 + 6, 40 + 15);
  EXPECT_LT(std::abs(face.red() - face.blue()), 24) << "a plain button face, not a red one";
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(d->childAt(16, 16), &press);
  EXPECT_TRUE(inbox.pending.empty()) << "a disabled frame does not answer";
  // Opened again over a picture shown twice as large since (full screen):
  // the dialog takes the picture's scale as it is now.
  dialogs.CloseDialog(m);
  pictureScale = 2;
  dialogs.ShowDialog(m);
  ASSERT_NE(ShownDialog("busy"), nullptr);
  EXPECT_EQ(ShownDialog("busy")->width(), 400);
}

// Every control of a dialog has a name for assistive technology; a picture
// frame named for it is reached with Tab and used with Space like a click.
TEST_F(QtHostTest, DialogControlsAreNamedAndANamedFrameAnswersTheKeyboard) {
  QWidget game;
  game.show();
  qt::EventInbox inbox;
  qt::QtDialogs dialogs(inbox);
  dialogs.SetOwner(&game);
  auto control = [](const char* name, ControlKind kind, const char16_t* caption, const char* parent = "") {
    DialogControl c;
    c.name = name, c.kind = kind, c.caption = caption, c.parent = parent, c.x = 2, c.y = 2, c.w = 40, c.h = 20;
    return c;
  };
  DialogModel m;
  m.name = "Named", m.caption = u"named", m.clientWidth = 200, m.clientHeight = 100;
  m.controls = {control("Picture1(0)", ControlKind::Picture, u""), control("Label1(0)", ControlKind::Label, u"一話", "Picture1(0)"),
                control("Label9", ControlKind::Label, u"音量"), control("HScroll1", ControlKind::HScrollBar, u""),
                control("Panel1", ControlKind::Panel, u""), control("Label2", ControlKind::Label, u"お知らせ", "Panel1"),
                control("Command1", ControlKind::Button, u"閉じる")};
  m.controls[0].accessibleName = u"1 一話";
  const struct {
    const char* control;
    const char* name;
  } cases[] = {{"Picture1(0)", "1 一話"}, {"Label9", "音量"}, {"HScroll1", "音量"}, {"Panel1", "お知らせ"}, {"Command1", "閉じる"}};
  for (const auto& c : cases) EXPECT_EQ(qt::AccessibleNameOf(m, *m.Find(c.control)).toStdString(), c.name) << c.control;
  dialogs.ShowDialog(m);
  QDialog* d = ShownDialog("named");
  ASSERT_NE(d, nullptr);
  auto* frame = d->findChild<QWidget*>("Picture1(0)");
  auto* panel = d->findChild<QWidget*>("Panel1");
  ASSERT_TRUE(frame && panel);
  EXPECT_EQ(frame->accessibleName().toStdString(), "1 一話");
  EXPECT_EQ(frame->focusPolicy(), Qt::StrongFocus);
  EXPECT_EQ(panel->focusPolicy(), Qt::NoFocus) << "a panel without a name of its own is not a stop of Tab";
  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
  QApplication::sendEvent(frame, &space);
  ASSERT_EQ(inbox.pending.size(), 1u);
  EXPECT_EQ(inbox.pending.front().control, "Picture1(0)");
}

// The comforts speak the desktop's language where one is shipped, else
// English; the words the engine draws (the auto mark) follow it, and go back
// to English once the desktop's translator is gone.
TEST_F(QtHostTest, TheComfortsSpeakTheDesktopsLanguage) {
  struct Case {
    QLocale locale;
    QString language, title, close;
    std::string mark;
  };
  for (const Case& c : {Case{QLocale(QLocale::Japanese, QLocale::Japan), "ja", "表示", "閉じる", "オート"},
                        Case{QLocale(QLocale::German, QLocale::Germany), "en", "Display", "Close", "AUTO"}}) {
    app.reset();
    app = std::make_unique<QApplication>(argc, argv);
    EXPECT_EQ(qt::LoadComfortTranslations(c.locale), c.language);
    EXPECT_EQ(translate("Comfort", "AUTO"), c.mark);
    QStringList seen;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      for (auto* box : dialog->findChildren<QGroupBox*>()) seen << box->title();
      for (auto* button : dialog->findChildren<QPushButton*>()) seen << button->text();
      dialog->close();
    });
    qt::RunPlayerSettingsDialog(nullptr, PlayerSettings{}, [] {}, [](const PlayerSettings&) {});
    EXPECT_TRUE(seen.contains(c.title)) << seen.join(",").toStdString();
    EXPECT_TRUE(seen.contains(c.close)) << seen.join(",").toStdString();
    SetWordTranslator(nullptr);
  }
  EXPECT_EQ(translate("Comfort", "AUTO"), "AUTO");
}

}  // namespace
}  // namespace mirel
