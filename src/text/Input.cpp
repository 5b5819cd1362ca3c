#include "app/Main_Form.h"

namespace mirel {

void Main_Form::Keys() {
  ClickWait = true;
  while (ClickWait) { Sleep(10); DoEvents(); }
}
void Main_Form::WaitSec(int n) { for (int i = 0; i < n * 10; ++i) { DoEvents(); Sleep(100); } }
void Main_Form::Pic_Main_MouseDown(int button) { if (button == 1) { ClickWait = false; OpeningUnskipped = false; } }
void Main_Form::Doll_Disp_MouseDown(int, int button) { if (button == 1) ClickWait = false; }
void Main_Form::Waku_MouseDown(int, int button) { if (button == 1) ClickWait = false; }
void Main_Form::KeyDown(int key) { if (key == 13 || key == 32) ClickWait = false; }
void Main_Form::Clicker_Timer() {}
void Main_Form::speedup_Click() {}
void Main_Form::HideWaku() {}
void Main_Form::ShowWakuAgain() {}

}  // namespace mirel
