#pragma once
// The story on the desktop's accessibility bus: the game's picture is an
// accessible object whose children are what the player can read and use
// on it now (comfort/Accessibility.h), each with its place on the screen;
// a new message, menu or screen renames the picture, which has the
// keyboard focus, so a screen reader reads it out.
#include <QAccessible>
#include <vector>

#include "comfort/Accessibility.h"
#include "platform/qt/QtHost.h"

namespace mirel::qt {

class QtAccessibleStory final : public AccessibleOutput {
 public:
  // Serves the window's picture from now on; one at a time.
  QtAccessibleStory(QtWindow& window, EventInbox& inbox);
  ~QtAccessibleStory() override;
  QtAccessibleStory(const QtAccessibleStory&) = delete;
  QtAccessibleStory& operator=(const QtAccessibleStory&) = delete;

  void SceneChanged(const AccessScene& scene, int focus) override;
  void StatesChanged(const AccessScene& before, const AccessScene& scene, int focus) override;
  void FocusChanged(const AccessScene& scene, int focus) override;

  // For the picture's accessible object.
  const AccessScene& Scene() const { return scene_; }
  int Focus() const { return focus_; }
  QAccessibleInterface* Child(int i) const;
  int IndexOf(const QAccessibleInterface* child) const;
  QString Summary() const;  // the picture's name: what it shows, in a line
  QRect ScreenRect(const Rect& box) const;
  QWidget* Picture() const;
  // A button used through the bus is clicked where it is.
  void Press(int index);

 private:
  void Drop();
  QtWindow& window_;
  EventInbox& inbox_;
  AccessScene scene_;
  int focus_ = -1;
  std::vector<QAccessible::Id> ids_;
};

}  // namespace mirel::qt
