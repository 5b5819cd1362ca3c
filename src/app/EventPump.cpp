#include "app/Main_Form.h"
#include "ui/File_Window.h"
#include "ui/NameEnt.h"
#include "ui/Option_Window.h"
#include "ui/frmAbout.h"

namespace mirel {

void Main_Form::DoEvents() {
  ++Pumps;
  PresentChanges();
  sys.window->Sync(form);
  sys.events->Pump(events);
  timers.Poll();
  // What the player saw before acting on it is told first.
  access->Pumped();
  DispatchQueued(false);
  reading.Pumped();
  access->Pumped();
  display.SetDucked(access->Ducking());
  if (QuitRequested) {
    QuitRequested = false;
    throw ProgramEnd{0, true};
  }
}

void Main_Form::TakeEarlyInput() {
  EarlyInput = true;
  struct Done {
    bool& b;
    ~Done() { b = false; }
  } done{EarlyInput};
  sys.events->Pump(events);
  DispatchQueued(true);
  if (QuitRequested) {
    QuitRequested = false;
    throw ProgramEnd{0, true};
  }
}

void Main_Form::DispatchQueued(bool dropMenus) {
  ++dispatchDepth_;
  struct Depth {
    int& d;
    ~Depth() { --d; }
  } depth{dispatchDepth_};
  while (!events.empty()) {
    InputEvent e = std::move(events.front());
    events.pop_front();
    if (dropMenus && e.kind == EventKind::Menu) continue;
    Dispatch(e);
  }
}

void Main_Form::Dispatch(const InputEvent& e) {
  // The player's display comforts first: their keys work on every screen,
  // over the backlog too; then the reading comforts.
  if (display.Intercept(e)) return;
  if (reading.Intercept(e)) return;
  if (access->Intercept(e, !form.enabled)) return;
  if (e.kind == EventKind::DialogControl) {
    Form* forms[] = {optionWindow.get(), nameEnt.get(), fileWindow.get(), aboutBox.get()};
    for (Form* f : forms)
      if (f->model.name == e.form && f->IsOpen()) f->OnControl(e);
    return;
  }
  // A disabled main window (a dialog is open) takes no input at all.
  if (!form.enabled) return;
  switch (e.kind) {
    case EventKind::MouseDown:
    case EventKind::MouseMove:
      DispatchMouse(e);
      break;
    case EventKind::KeyDown:
      if (Pic_Main.Enabled) KeyDown(e.key);
      break;
    case EventKind::Menu: {
      const MenuState& m = form.menus[static_cast<size_t>(e.menu)];
      if (!m.enabled || !m.visible) return;
      switch (e.menu) {
        case MenuItem::prog_end: prog_end_Click(); break;
        case MenuItem::prog_load: prog_load_Click(); break;
        case MenuItem::prog_save: prog_save_Click(); break;
        case MenuItem::opt_menu: opt_menu_Click(); break;
        case MenuItem::speedup: speedup_Click(); break;
        case MenuItem::vvrr: vvrr_Click(); break;
      }
      break;
    }
    case EventKind::Close:
      QuitRequested = true;
      break;
    case EventKind::KeyUp:
    case EventKind::Wheel:
    case EventKind::DialogControl:
    case EventKind::Pad:
    case EventKind::Focus:
      break;
  }
}

void Main_Form::DispatchMouse(const InputEvent& e) {
  Surface* hit = HitTest(*this, e.x, e.y);
  if (!hit || !hit->Enabled) return;
  bool down = e.kind == EventKind::MouseDown;
  // The gallery's pictures and button answer the left button only.
  const bool leftDown = down && e.button == 1;
  // Labels in the message window pass their clicks to the window.
  if (hit == &Blinker || hit == &Dtime_label || reading.OwnsLabel(hit)) hit = hit->parent;
  auto indexIn = [hit](auto& arr) -> int {
    for (size_t i = 0; i < arr.size(); ++i)
      if (hit == &arr[i]) return static_cast<int>(i);
    return -1;
  };
  int i;
  if (hit == &Pic_Main) {
    if (down) Pic_Main_MouseDown(e.button);
  } else if ((i = indexIn(Doll_Disp)) >= 0) {
    if (down) Doll_Disp_MouseDown(i, e.button);
  } else if ((i = indexIn(SelTxt)) >= 0) {
    if (down) SelTxt_MouseDown(i, e.button);
    else SelTxt_MouseMove(i);
  } else if ((i = indexIn(Waku)) >= 0) {
    if (down) Waku_MouseDown(i, e.button);
  } else if ((i = indexIn(Smenu)) >= 0) {
    if (down) Smenu_MouseDown(i);
    else Smenu_MouseMove(i);
  } else if ((i = indexIn(Pic)) >= 1 && i <= 15) {
    if (leftDown) Pic_Click(i);
    else Pic_MouseMove(i);
  } else if (hit == &SCG) {
    if (leftDown) SCG_Click();
  } else if (hit == &CG_END) {
    if (leftDown) CG_END_Click();
  }
}

PlayerWait Main_Form::CurrentWait() const {
  // Input taken as a wait begins came before it: nothing is waited for yet.
  if (EarlyInput) return PlayerWait::None;
  const Form* forms[] = {optionWindow.get(), nameEnt.get(), fileWindow.get(), aboutBox.get()};
  for (const Form* f : forms)
    if (f->IsOpen()) return f->Waiting();
  if (ChoiceOpen && ChoicePick < 0) return PlayerWait::Choice;
  if (ClickWait) return PlayerWait::Click;
  if (GalleryOpen) return PlayerWait::Gallery;
  if (TitleShown || InIdle) return PlayerWait::Title;
  return PlayerWait::None;
}

}  // namespace mirel
