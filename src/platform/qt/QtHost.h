#pragma once
// The Qt side of the platform: the main window, dialogs, message boxes,
// picture decoding, fonts and machine facts. Qt types stay in this folder.
#include <QFont>
#include <QLocale>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "comfort/Scaling.h"
#include "platform/Clipboard.h"
#include "platform/DialogHost.h"
#include "platform/Events.h"
#include "platform/FontRaster.h"
#include "platform/Image.h"
#include "platform/MessageBox.h"
#include "platform/SystemInfo.h"
#include "platform/WindowHost.h"

class QAction;
class QDialog;

namespace mirel::qt {

// Events collected from every Qt window until the engine pumps them.
struct EventInbox {
  EventQueue pending;
};

// Shows the 640x480 picture scaled to the widget as the player chose (fit,
// whole multiple or stretched; sharp or smooth), worked out in device
// pixels. A whole multiple is always drawn sharp. The picture is the
// engine's own pixels, shown without a copy.
class PictureWidget final : public QWidget {
 public:
  PictureWidget(EventInbox& inbox, QWidget* parent);
  // Paints the changed rectangles of the picture now.
  void Present(PictureView frame, const std::vector<Rect>& dirty);
  // Called once, when the widget first paints.
  std::function<void()> firstPaint;
  const QImage& Picture() const { return picture_; }
  void SetScaling(ScaleMode mode, ScaleFilter filter);
  // Maps a point of the widget to the picture; false outside it.
  bool ToPicture(QPointF p, int& x, int& y) const;
  // The picture's place in device pixels.
  PictureRect Placed() const;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  // The widget's rectangle that shows a rectangle of the picture.
  QRect ToWidget(const Rect& r) const;
  EventInbox& inbox_;
  QImage picture_;
  int wheel_ = 0;  // eighths of a degree not yet reported
  ScaleMode mode_ = ScaleMode::Fit;
  ScaleFilter filter_ = ScaleFilter::Smooth;
};

class QtWindow final : public QMainWindow, public WindowHost {
 public:
  explicit QtWindow(EventInbox& inbox);
  void Show() override;
  void Present(PictureView frame, const std::vector<Rect>& dirty) override;
  void Sync(const FormState& state) override;
  Rect OuterRect() override;
  Rect ClientRect() override;
  void SetOuterSize(int w, int h) override;
  void Move(int x, int y) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  bool HasCaption() override { return caption_; }
  void SetCaption(bool on) override;
  bool ChangeDisplayMode(bool fullScreen) override;
  bool InFullScreenMode() override { return fullScreen_; }
  void SetImeOpen(bool open) override;
  void OnFirstPaint(std::function<void()> f) { picture_->firstPaint = std::move(f); }

  // The player's comforts: zoom of the window (1 to 4), scaling of the
  // picture, the picture as last presented, a brief note over the picture.
  void SetZoom(int zoom);
  void SetScaling(ScaleMode mode, ScaleFilter filter) { picture_->SetScaling(mode, filter); }
  const QImage& Presented() const { return picture_->Picture(); }
  PictureWidget* Canvas() const { return picture_; }
  int DialogScale() const;
  void ShowNote(const QString& text);

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  int MenuBarHeight() const;
  void RaiseDialogs();
  EventInbox& inbox_;
  PictureWidget* picture_;
  QAction* actions_[kMenuItemCount];
  FormState shown_;
  bool synced_ = false;
  bool caption_ = true;
  bool fullScreen_ = false;
  // Dialogs open over the game are put back in front until the window
  // manager has finished the switch to or from full screen.
  bool raiseDialogs_ = false;
  int zoom_ = 1;
  class QLabel* note_ = nullptr;
};

class QtEvents final : public EventSource {
 public:
  explicit QtEvents(EventInbox& inbox) : inbox_(inbox) {}
  void Pump(EventQueue& queue) override;

 private:
  EventInbox& inbox_;
};

// The desktop's clipboard.
class QtClipboard final : public Clipboard {
 public:
  void SetText(const Text& text) override;
  Text GetText() override;
};

class QtMessageBoxes final : public MessageBoxes {
 public:
  MsgAnswer Show(const Text& text, MsgButtons buttons) override;
  // The window the boxes belong to: the desktop keeps them above it, also in
  // full screen.
  void SetOwner(QWidget* owner) { owner_ = owner; }

 private:
  QPointer<QWidget> owner_;
};

class QtImageCodec final : public ImageCodec {
 public:
  bool Decode(const Bytes& bytes, Image& out) override;
};

// The Qt font that stands in for a font the game asks for.
QFont ToQFont(const Font& font);

class QtFonts final : public FontRasterizer {
 public:
  void DrawText(PixelTarget target, int x, int y, TextView text, const Font& font, uint32_t rgb) override;
  int TextWidth(TextView text, const Font& font) override;
  std::string ResolvedFamily(const Font& font) override;
};

class QtDialogs final : public DialogHost {
 public:
  explicit QtDialogs(EventInbox& inbox);
  ~QtDialogs() override;
  void ShowDialog(const DialogModel& model) override;
  void UpdateDialog(const DialogModel& model) override;
  void CloseDialog(const DialogModel& model) override;
  // The window the dialogs belong to: the desktop keeps them above it, also
  // in full screen.
  void SetOwner(QWidget* owner) { owner_ = owner; }
  // Dialogs over a scaled picture are drawn that many times larger. The
  // scale is read as each dialog opens, so it follows full screen as well
  // as the display settings; without a source dialogs are drawn as made.
  void SetScaleSource(std::function<int()> source) { scaleSource_ = std::move(source); }

 private:
  struct Open;
  std::function<int()> scaleSource_;
  EventInbox& inbox_;
  QPointer<QWidget> owner_;
  std::map<std::string, std::unique_ptr<Open>> open_;
};

// The name assistive technology hears for a control of a dialog: the one
// the dialog gives it, else its caption, else the captions of what it
// holds, else the caption of the label just before it.
QString AccessibleNameOf(const DialogModel& model, const DialogControl& c);

class HostSystemInfo final : public SystemInfo {
 public:
  // audioLine: the audio back end's description; fonts: the families used.
  HostSystemInfo(std::string audioLine, std::vector<std::string> fonts)
      : audio_(std::move(audioLine)), fonts_(std::move(fonts)) {}
  HostFacts Facts() override;

 private:
  std::string audio_;
  std::vector<std::string> fonts_;
};

QImage ToQImage(const Image& img);

// Qt's own Japanese texts for the standard buttons and dialogs (はい, いいえ,
// キャンセル); false when the translation files are not installed.
bool LoadJapaneseTranslations();

// The player comforts' own words in the language of `locale` where one is
// shipped (Japanese, English), else English; the language taken.
QString LoadComfortTranslations(const QLocale& locale = QLocale::system());

}  // namespace mirel::qt
