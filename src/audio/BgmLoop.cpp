#include "app/Main_Form.h"

namespace mirel {

// Songs play once; this timer makes them repeat, up to a second after their
// end.
void Main_Form::BGMLoop_Timer() {
  if (mci.MidiStatus() != "PLAYING" && CurMusic != 0) mci.RestartMidi();
}

}  // namespace mirel
