#include "app/Main_Form.h"

namespace mirel {

void Main_Form::ShowLoading(int16_t progress) {
  const uint32_t grey = Rgb(128, 128, 128);
  const uint32_t green = Rgb(160, 220, 115);
  Surface& s = LOAD_NOW;
  if (progress == 0) {
    s.Move(224, 292, 200, 30);
    s.Cls();
    s.font = Font{u"Arial", 8, false};
    s.ForeColor = grey;
    TextOut(*sys.fonts, s, 5, 0, u"Loading now");
    // Corners are inclusive, as the toolkit draws boxes.
    FrameBox(s, 80, 3, 181, 13, grey);
    s.Visible = true;
    s.Enabled = true;
    s.Refresh();
  } else if (progress >= 1 && progress <= 99) {
    FillBox(s, 81, 5, progress + 80, 11, green);
    s.Refresh();
  } else if (progress >= 100) {
    FillBox(s, 81, 5, 180, 11, green);
    s.Refresh();
    Sleep(100);
    s.Visible = false;
    s.Enabled = false;
  }
}

}  // namespace mirel
