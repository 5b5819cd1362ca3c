// The story's words in the message window: speaker tags, rows of 30
// characters, the typewriter, page breaks, and the centred captions drawn
// straight onto the main picture.
#include <cmath>

#include "app/Main_Form.h"

namespace mirel {

namespace {

constexpr size_t kRowChars = 30;
constexpr int kRowsPerPage = 4;
constexpr int kLeft = 30;
constexpr uint32_t kDialogueColour = Rgb(255, 255, 255);
constexpr uint32_t kNarrationColour = Rgb(192, 192, 255);

int CellPitch(const Font& font) { return static_cast<int>(std::lround(font.ReportedSize() + 5)); }

}  // namespace

void Main_Form::TalkDisp() {
  if (MsgText.empty()) return;
  Text tag;
  uint32_t colour = kNarrationColour;
  if (SpeakerNo == 1) {
    tag = u"【" + Names[2] + u"】";
    colour = kDialogueColour;
  } else if (SpeakerNo >= 2 && SpeakerNo <= 9) {
    tag = Story.tags[static_cast<size_t>(SpeakerNo - 2)];
    colour = kDialogueColour;
  }
  MessageDisp(tag, MsgText, colour);
}

void Main_Form::MessageDisp(const Text& tag, const Text& text, uint32_t colour) {
  if (MsgBusy) return;  // re-entered from an event pump: this message is dropped
  MsgBusy = true;
  // A load or the end of the program can unwind through the waits below;
  // a guard left set would drop every later message.
  struct Busy {
    Main_Form& f;
    ~Busy() {
      if (f.MsgBusy) {
        f.MsgBusy = false;
        f.BigFontSize = 0;
        f.Waku[0].font.size = 12;
      }
    }
  } busy{*this};

  Surface& w = Waku[0];
  const bool caption = CaptionX != 0;
  const bool whole = reading.MessageShown(tag, text, colour, caption);
  if (caption) {
    Waku[0].Visible = false;
    Waku[3].Visible = false;
    Pic_Main.font.size = 14;
    const int n = static_cast<int>(text.size());
    // A caption too long for the screen starts at its left edge rather
    // than off it.
    CaptionX = static_cast<int16_t>(std::max(0, 320 - 10 * (n - 1)));
    for (int i = 0; i < n; ++i) {
      Pic_Main.ForeColor = kWhite;
      TextOut(*sys.fonts, Pic_Main, CaptionX + 20 * i, CaptionY, Text(1, text[static_cast<size_t>(i)]));
      Pic_Main.Refresh();
      Sleep(60);
    }
    WaitSec(2);
  } else {
    if (!w.Visible) {
      WakuBackdrop();
      // Shown again by the story itself: the player's hiding is over.
      if (WakuHidden) {
        WakuHidden = false;
        Menu(MenuItem::opt_menu).enabled = true;
      }
    }
    if (DateTabOn) Waku[3].Visible = true;
    DoEvents();

    auto pageHead = [&] {
      WakuClear();
      LastSpeaker = SpeakerNo;
      if (!tag.empty()) {
        w.ForeColor = colour;
        TextOut(*sys.fonts, w, kLeft, LineNo * LineHeight + 15, tag);
      }
      ++LineNo;  // narration leaves row 0 empty as well
    };
    if (SpeakerNo != LastSpeaker) pageHead();

    int pitch = LineHeight;
    const uint32_t delay = WaitAfterLine ? 40 : 60;
    if (BigFontSize != 0) {
      w.font.size = BigFontSize;
      pitch = CellPitch(w.font);
    }

    const bool waits = MessageSpeed != 0 && WaitAfterLine;
    for (size_t start = 0; start < text.size(); start += kRowChars) {
      if (start > 0) ++LineNo;
      // A long message started low on the page would run below the window:
      // the page turns (after the player has read it) and the tag repeats.
      if (LineNo >= kRowsPerPage) {
        if (waits) Keys();
        int16_t speaker = LastSpeaker;
        pageHead();
        LastSpeaker = speaker;
      }
      Text piece = text.substr(start, kRowChars);
      const int y = LineNo * LineHeight + 18;
      if (MessageSpeed == 3 && !whole) {
        for (size_t i = 0; i < piece.size(); ++i) {
          w.ForeColor = colour;
          TextOut(*sys.fonts, w, kLeft + pitch * static_cast<int>(i), y, Text(1, piece[i]));
          w.Refresh();
          Sleep(delay);
        }
      } else {
        w.ForeColor = colour;
        TextOut(*sys.fonts, w, kLeft, y, piece);
        w.Refresh();
      }
    }

    if (BigFontSize != 0) {
      w.font.size = 12;
      if (w.font.ReportedSize() < BigFontSize) ++LineNo;  // a large line takes two rows
      BigFontSize = 0;
    }
  }

  ++LineNo;
  MsgBusy = false;
  MsgDone = true;

  if (caption) {
    CaptionX = 0;
    return;
  }
  if ((MessageSpeed & static_cast<int16_t>(WaitAfterLine ? -1 : 0)) != 0) Keys();
  reading.MessageDone();
  PageCheck();
}

void Main_Form::PageCheck() {
  if (!WaitAfterLine) {
    DateTabOn = true;
    WaitAfterLine = true;
    WaitSec(1);
  }
  // Past the last row as well: a large line on the bottom row leaves the
  // page beyond it.
  if (LineNo >= kRowsPerPage) {
    LineNo = 0;
    WakuClear();
  }
}

}  // namespace mirel
