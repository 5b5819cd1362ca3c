#pragma once
// The desktop side of the player's comforts: scaling and zoom in the main
// window, the settings dialog, screenshots into the pictures folder, and
// the comfort keys and focus changes from every window of the program.
#include <QObject>

#include "comfort/DisplayHost.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/qt/QtHost.h"

namespace mirel::qt {

class QtDisplayHost final : public QObject, public DisplayHost {
 public:
  QtDisplayHost(QtWindow& window, EventInbox& inbox);
  ~QtDisplayHost() override;

  void ApplyDisplay(const PlayerSettings& s) override;
  void EditSettings(const PlayerSettings& s, const std::function<void(const PlayerSettings&)>& changed,
                    const std::function<void()>& switchFullScreen) override;
  std::string PicturesFolder() override;
  bool FileExists(const std::string& path) override;
  bool SaveScreenshot(const std::string& path, std::string& problem) override;
  void Note(const std::string& text) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QtWindow& window_;
  EventInbox& inbox_;
};

// The headless runner's side: screenshots of the picture as last presented
// into the same folder as on the desktop, notes printed as "note: TEXT",
// and no settings dialog to show.
class HeadlessDisplayHost final : public DisplayHost {
 public:
  explicit HeadlessDisplayHost(const HeadlessWindow& window) : window_(window) {}
  void ApplyDisplay(const PlayerSettings&) override {}
  void EditSettings(const PlayerSettings&, const std::function<void(const PlayerSettings&)>&,
                    const std::function<void()>&) override {}
  std::string PicturesFolder() override;
  bool FileExists(const std::string& path) override;
  bool SaveScreenshot(const std::string& path, std::string& problem) override;
  void Note(const std::string& text) override;
  bool OnDesktop() const override { return false; }

 private:
  const HeadlessWindow& window_;
};

// The player settings dialog: runs until closed, telling `changed` every edit.
void RunPlayerSettingsDialog(QWidget* parent, const PlayerSettings& s, const std::function<void()>& switchFullScreen,
                             const std::function<void(const PlayerSettings&)>& changed);

}  // namespace mirel::qt
