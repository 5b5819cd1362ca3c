#include "app/Main_Form.h"

namespace mirel {

namespace {
constexpr MenuItem kScreenMenus[] = {MenuItem::prog_end, MenuItem::opt_menu,  MenuItem::prog_load,
                                     MenuItem::prog_save, MenuItem::speedup, MenuItem::vvrr};
}

void Main_Form::ToggleCaption() { sys.window->SetCaption(!sys.window->HasCaption()); }

// The caption follows the wanted display state rather than flipping blindly,
// so a refused change or a repeated request never leaves the window
// captionless in window mode or with a caption in full screen.
void Main_Form::EnterFullScreen() {
  for (MenuItem m : kScreenMenus) Menu(m).visible = false;
  sys.window->Sync(form);
  if (sys.window->HasCaption()) ToggleCaption();
  sys.window->Move(0, 0);
  RefreshForm();
  if (!sys.window->ChangeDisplayMode(true)) {
    MsgBox(u"screen mode not changed.");
    FullScreen = false;
    // Back to a normal window: caption, menus, size and place.
    for (MenuItem m : kScreenMenus) Menu(m).visible = true;
    sys.window->Sync(form);
    if (!sys.window->HasCaption()) ToggleCaption();
    SizeForClient(640, 480);
    CentreWindow();
    RefreshForm();
    return;
  }
  FullScreen = true;
}

void Main_Form::LeaveFullScreen() {
  sys.window->ChangeDisplayMode(false);  // a refused restore is not reported
  for (MenuItem m : kScreenMenus) Menu(m).visible = true;
  sys.window->Sync(form);
  if (!sys.window->HasCaption()) ToggleCaption();
  RefreshForm();
  SizeForClient(640, 480);
  CentreWindow();
  FullScreen = false;
}

}  // namespace mirel
