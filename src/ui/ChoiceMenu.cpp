// The choice menu: up to three answers in the message window, lit on hover,
// picked with a click; the story goes on at the answer's target record.
#include <algorithm>

#include "app/Main_Form.h"

namespace mirel {

namespace {

constexpr uint32_t kIdle = Rgb(192, 192, 192);
constexpr uint32_t kLit = Rgb(255, 0, 0);
constexpr MenuItem kHeld[] = {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup};

Text RecordPlace(const Main_Form& f) {
  const ScenarioRecord& r = f.ScenarioTable[static_cast<size_t>(f.CurSeq)];
  return u"91.dat の " + Decimal(r.line) + u" 行目 (レコード " + Decimal(f.CurSeq) + u")";
}

}  // namespace

int32_t Main_Form::SelectDisp() {
  // The rows are what the menu can show; the count in the record is only
  // believed as far as rows of this choice point exist.
  int32_t first = -1;
  for (int32_t i = 0; i <= LastSct && i < static_cast<int32_t>(ChoiceTable.size()); ++i)
    if (ChoiceTable[static_cast<size_t>(i)].Sct == CurNum) {
      first = i;
      break;
    }
  FindChoiceRow(CurNum);
  // Without rows there is nothing to offer: the look-up has said so, and
  // the story goes on past the choice.
  if (first < 0) return 2;
  int available = 0;
  while (available < 3 && ChoiceBase + available <= LastSct &&
         ChoiceTable[static_cast<size_t>(ChoiceBase + available)].Sct == CurNum)
    ++available;
  int shown = available;
  try {
    int asked = ToInt16(MsgText);
    if (asked >= 1) shown = std::min(asked, available);
  } catch (const ConversionError&) {
  }

  timers.SetEnabled(ClickerTimer, false);
  Blinker.Visible = false;
  for (MenuItem m : kHeld) Menu(m).enabled = false;
  // The labels live in the message window, which must be on screen to be
  // clicked (unless the player has hidden it).
  if (!Waku[0].Visible && !WakuHidden && !Walk) WakuBackdrop();
  WakuClear();

  int widest = 0;
  for (int i = 0; i < 3; ++i) {
    SelTxt[i].Visible = false;
    if (i >= shown) continue;
    const ChoiceRow& row = ChoiceTable[static_cast<size_t>(ChoiceBase + i)];
    ChoiceTexts[i] = Trim(row.ChoiceText);
    ChoiceTargets[i] = row.resolved ? row.Target : -1;
    SelTxt[i].Caption = ChoiceTexts[i];
    SelTxt[i].ForeColor = kIdle;
    widest = std::max(widest, sys.fonts->TextWidth(ChoiceTexts[i], SelTxt[i].font));
  }
  for (int i = 0; i < shown; ++i) {
    // Equally wide, so the hover areas line up.
    SelTxt[i].Resize(widest + 10, LineHeight);
    SelTxt[i].Visible = true;
  }
  JumpNum = 0;
  ChoicePick = -1;
  // Every menu starts afresh: the first label entered lights even when it
  // has the index remembered from an earlier menu, and a menu that follows
  // another without a message between them still lights its labels.
  LastHover = 5;
  MsgDone = true;
  ChoiceOpen = true;
  struct Close {
    Main_Form& f;
    ~Close() { f.ChoiceOpen = false; }
  } close{*this};
  if (Walk) ChoicePick = Walk->Answer(shown);
  else RefreshForm();

  while (ChoicePick <= -1) {
    Sleep(30);
    DoEvents();
  }

  for (int i = 0; i < shown; ++i) SelTxt[i].Visible = false;
  DoEvents();
  int pick = ChoicePick;
  if (pick >= shown) pick = 0;
  if (ChoiceTargets[pick] < 0 || ChoiceTargets[pick] > LastSeq) {
    const ChoiceRow& row = ChoiceTable[static_cast<size_t>(ChoiceBase + pick)];
    throw PlayError{u"選択肢のデータが壊れています.\r\n92.dat の " + Decimal(row.line) + u" 行目: 飛び先 " +
                    Decimal(row.Target) + u" のブロックがありません.\r\n" + RecordPlace(*this)};
  }
  CurSeq = ChoiceTargets[pick];
  reading.ChoicePicked(ChoiceTexts[static_cast<size_t>(pick)]);
  if (MessageSpeed == 0) MessageSpeed = 1;
  LastSpeaker = 0;
  for (MenuItem m : kHeld) Menu(m).enabled = true;
  Menu(MenuItem::speedup).caption = u"次の選択まで進む";
  timers.SetEnabled(ClickerTimer, true);
  RefreshForm();
  return 1;
}

void Main_Form::SelTxt_MouseMove(int index) {
  if (!MsgDone || index == LastHover) return;
  LastHover = static_cast<int16_t>(index);
  for (int j = 0; j < 3; ++j) {
    if (j == index) {
      SelTxt[j].ForeColor = kLit;
      if (SeOn) mci.PlaySe(101);
    } else {
      SelTxt[j].ForeColor = kIdle;
    }
  }
  RefreshForm();
}

void Main_Form::SelTxt_MouseDown(int index, int button) {
  if (button == 2) return;
  // Clicks queued behind the first pick (or after the menu) change nothing.
  if (!ChoiceOpen || ChoicePick >= 0 || index < 0 || index > 2) return;
  MsgDone = false;  // hover stops, the picked label stays red
  SelTxt[index].ForeColor = kLit;
  RefreshForm();
  if (SeOn) mci.PlaySe(102);
  Sleep(1000);  // the pick is held on screen
  ChoicePick = static_cast<int16_t>(index);
}

// The pad's and the arrows' targets: each answer shown, at its left end,
// where a click picks it.
void Main_Form::ChoiceReach(PadScreen& s) const {
  for (const Surface& c : SelTxt)
    if (c.Shown()) s.targets.emplace_back(c.ScreenLeft() + 4, c.ScreenTop() + c.height / 2);
}

}  // namespace mirel
