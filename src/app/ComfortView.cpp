// What the comforts see of the game: the view they are given instead of
// the window class itself.
#include "app/Main_Form.h"

namespace mirel {

bool Main_Form::InStory() const { return GameDepth > 0 && !TitleShown && !GalleryOpen && !InIdle; }

PadScreen Main_Form::Reachable() const {
  PadScreen s;
  if (ChoiceOpen && ChoicePick < 0) ChoiceReach(s);
  else if (GalleryOpen) GalleryReach(s);
  else if (TitleShown) TitleReach(s);
  // A right click on the picture brings a hidden message window back.
  if (WakuHidden) {
    s.rightX = 320;
    s.rightY = 100;
  }
  return s;
}

void Main_Form::SpeechChanged(const SpeechSettings& s) {
  if (!access) return;
  access->speech = s;
  access->Apply();
}

void Main_Form::ComposeScreen(Image& out) { Compose(*this, *sys.fonts, out); }

}  // namespace mirel
