#include <cmath>

#include "app/Main_Form.h"
#include "ui/NameEnt.h"

namespace mirel {

namespace {

Text Place(const Main_Form& f) {
  const ScenarioRecord& r = f.ScenarioTable[static_cast<size_t>(f.CurSeq)];
  return u"91.dat の " + Decimal(r.line) + u" 行目 (レコード " + Decimal(f.CurSeq) + u")";
}

char16_t Variant(const Text& cmd) { return cmd.empty() ? u'\0' : cmd.back(); }

}  // namespace

// A number a command needs; anything else is damaged data.
static int16_t CommandNumber(const Main_Form& f, const Text& field) {
  try {
    return ToInt16(field);
  } catch (const ConversionError&) {
    throw PlayError{u"シナリオが壊れています.\r\n" + Place(f) + u"\r\n「" + field + u"」が正しい数ではありません."};
  }
}

int32_t Main_Form::CmdJump() {
  if (CmdText == u"g0") {
    JumpToBlock(JumpNum);
    // A missing block has been reported; go on past the jump instead of
    // running it again and again.
    return jumpFound_ ? 1 : 2;
  }
  if (CmdText == u"g4" && !Walk) {
    nameEnt->Form_Load();
    Keys();
    return 2;
  }
  if (CmdText == u"g9") return 9;
  return 2;
}

int32_t Main_Form::CmdCounter() {
  char16_t v = Variant(CmdText);
  Text name = Left(MsgText, 3);
  int16_t* counter = CounterRef(name);
  auto add = [&](int16_t* c, int delta) {
    int next = *c + delta;
    if (next < -32768 || next > 32767)
      throw PlayError{u"シナリオが壊れています.\r\n" + Place(*this) + u"\r\nカウンタ「" + name + u"」が範囲を超えました."};
    *c = static_cast<int16_t>(next);
  };
  switch (v) {
    case u'0':
      if (counter) add(counter, -1);
      break;
    case u'1':
      if (counter) add(counter, 1);
      break;
    case u'2': {
      if (name == u"end") counter = &EndPoints;
      if (counter) add(counter, CommandNumber(*this, Param1));
      break;
    }
    case u'7':
      break;
    case u'8':  // IsSavePoint
      SavePoint = {Decimal(CurSeq), Trim(MsgText), Trim(Param1)};
      break;
    case u'9':
      DateCaption = Trim(MsgText);
      Dtime_label.Caption = DateCaption;
      Waku[3].Refresh();
      break;
    default:
      MsgBox(u"error(p?)");
      break;
  }
  return 2;
}

int32_t Main_Form::CmdEquality() {
  char16_t v = Variant(CmdText);
  if (v != u'1' && v != u'2') {
    MsgBox(u"error(i?)");
    return 2;
  }
  bool known = false;
  int16_t c = Counter(Left(MsgText, 3), &known);
  if (!known) return 2;
  double value = CommandNumber(*this, Param1);
  bool jump = v == u'1' ? value == static_cast<double>(c) : value != static_cast<double>(c);
  if (!jump) return 2;
  jumpFound_ = false;
  JumpToBlock(JumpNum);
  return jumpFound_ ? 1 : 2;
}

int32_t Main_Form::CmdCompare() {
  char16_t v = Variant(CmdText);
  if (v != u'0' && v != u'1' && v != u'2') {
    MsgBox(u"error(i?)");
    return 2;
  }
  bool known = false;
  int16_t c = Counter(Left(MsgText, 3), &known);
  if (!known) return 2;
  int16_t value = CommandNumber(*this, Param1);
  bool jump = v == u'0' ? value < c : v == u'1' ? value <= c : value > c;
  if (!jump) return 2;
  jumpFound_ = false;
  JumpToBlock(JumpNum);
  return jumpFound_ ? 1 : 2;
}

int32_t Main_Form::CmdTextParam() {
  switch (Variant(CmdText)) {
    case u'0':
      WaitAfterLine = false;
      Blinker.Visible = false;
      DateTabOn = false;
      MessageSpeed = 3;
      break;
    case u's':
      BigFontSize = CommandNumber(*this, Param1);
      break;
    case u'p':
      CaptionX = CommandNumber(*this, Param1);
      CaptionY = CommandNumber(*this, Param2);
      break;
    default:
      break;
  }
  return 0;
}

int32_t Main_Form::CmdWait() {
  if (Walk) return 2;
  uint32_t ms = MsgText.empty() ? 1000u : static_cast<uint32_t>(std::max<int32_t>(0, CommandNumber(*this, MsgText)));
  uint32_t start = GetTickCount();
  while (TicksSince(start, GetTickCount()) <= ms) {
    DoEvents();
    Sleep(50);
  }
  return 2;
}

void Main_Form::JumpToBlock(int16_t num) {
  jumpFound_ = false;
  int32_t lo = 0, hi = BlockCount - 1;
  while (lo <= hi) {
    // Rounded half to even, like the toolkit's integer conversion.
    int32_t mid = static_cast<int32_t>(std::nearbyint((lo + hi) / 2.0));
    const BlockIndexEntry& e = BlockIndex[static_cast<size_t>(mid)];
    if (e.Num == num) {
      CurSeq = e.Seq;
      jumpFound_ = true;
      return;
    }
    if (e.Num >= num) hi = mid - 1;
    else lo = mid + 1;
  }
  MsgBox(u"Not found " + Decimal(num) + u" to " + Decimal(CurSeq));
}

void Main_Form::FindChoiceRow(int16_t sct) {
  for (int32_t i = 0; i <= LastSct; ++i)
    if (ChoiceTable[static_cast<size_t>(i)].Sct == sct) {
      ChoiceBase = i;
      return;
    }
  MsgBox(u"SCT not found.");
}

}  // namespace mirel
