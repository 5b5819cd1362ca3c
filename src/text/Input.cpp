// Waiting for the player and the handlers that end the wait: clicks, keys,
// hiding the message window and the skip switch. Handlers only change flags
// and visibility; the waits below watch the flags.
#include "app/Main_Form.h"

namespace mirel {

void Main_Form::Keys() {
  ClickWait = true;
  InKeys = true;
  // Shown and hidden controls are presented at the next pump, as they change.
  Blinker.Visible = true;
  // A load from inside the wait unwinds through here: the flags must not
  // stay set behind it.
  struct Leave {
    Main_Form& f;
    ~Leave() {
      f.InKeys = false;
      f.Blinker.Visible = false;
    }
  } leave{*this};
  TakeEarlyInput();
  reading.WaitBegins();
  while (ClickWait) {
    if (reading.EndsWait()) {
      ClickWait = false;
      break;
    }
    Sleep(10);
    DoEvents();
  }
  Blinker.Visible = false;
  InKeys = false;
}

void Main_Form::WaitSec(int n) {
  for (int i = 0; i < n * 10; ++i) {
    DoEvents();
    Sleep(100);
  }
}

void Main_Form::Pic_Main_MouseDown(int button) {
  if (button == 1) {
    // While the window is hidden the story cannot be advanced blind.
    if (WakuHidden) return;
    ClickWait = false;
    if (OpeningUnskipped) OpeningUnskipped = false;
  } else if (button == 2) {
    if (WakuHidden) ShowWakuAgain();
  }
}

void Main_Form::Doll_Disp_MouseDown(int, int button) {
  if (button == 1) {
    if (!WakuHidden) ClickWait = false;
  } else if (button == 2) {
    if (WakuHidden) ShowWakuAgain();
  }
}

void Main_Form::Waku_MouseDown(int, int button) {
  if (button == 1) {
    ClickWait = false;
  } else if (button == 2) {
    // The opening owns the screen; the window is not hidden under it.
    if (!OpeningUnskipped) HideWaku();
  }
}

void Main_Form::KeyDown(int key) {
  if (WakuHidden) return;
  switch (key) {
    case 32:
    case 13:
      ClickWait = false;
      break;
    case 27:
      if (FullScreenUnavailable) break;
      if (!FullScreen) EnterFullScreen();
      else LeaveFullScreen();
      break;
    default:
      break;
  }
}

void Main_Form::Clicker_Timer() {
  if (!ClickWait) return;
  Blinker.Visible = !Blinker.Visible;
}

void Main_Form::speedup_Click() {
  MenuState& m = Menu(MenuItem::speedup);
  if (MessageSpeed == 0) {
    MessageSpeed = 1;
    ClickWait = true;
    m.caption = u"次の選択まで進む";
  } else {
    MessageSpeed = 0;
    ClickWait = false;  // a wait in progress ends at once
    m.caption = u"スキップ停止";
  }
}

void Main_Form::HideWaku() {
  Waku[0].Visible = false;
  Waku[3].Visible = false;
  WakuHidden = true;
  // Skipping on with the text out of sight would race through unread story.
  if (MessageSpeed == 0) MessageSpeed = 1;
  Menu(MenuItem::opt_menu).enabled = false;
}

void Main_Form::ShowWakuAgain() {
  WakuHidden = false;
  Waku[0].Visible = true;
  if (DateTabOn) Waku[3].Visible = true;
  Menu(MenuItem::opt_menu).enabled = true;
}

}  // namespace mirel
