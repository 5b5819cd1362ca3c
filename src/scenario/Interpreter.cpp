#include "app/Main_Form.h"

namespace mirel {

namespace {

Text RecordPlace(const ScenarioRecord& r, int32_t seq) {
  return u"91.dat の " + Decimal(r.line) + u" 行目 (レコード " + Decimal(seq) + u")";
}

}  // namespace

void Main_Form::RunGame() {
  ++GameDepth;
  // While a game runs, the idle loop below it is not what waits.
  bool wasIdle = InIdle;
  InIdle = false;
  struct Depth {
    int& d;
    bool& idle;
    bool wasIdle;
    ~Depth() {
      --d;
      idle = wasIdle;
    }
  } depth{GameDepth, InIdle, wasIdle};
  for (;;) {
    try {
      RunScenario();
      return;
    } catch (const ResumeGame&) {
      // A loaded game replaced the one that was being played: the old loop
      // has unwound, the new one starts at the resume record.
      ClickWait = false;
    }
  }
}

void Main_Form::RunScenario() {
  bool check = true;
  // Records in a row that neither waited nor showed anything: a jump loop
  // with nothing in it that waits would otherwise hold the window shut.
  int32_t quietSteps = 0;
  uint32_t lastPump = GetTickCount();
  for (;;) {
    // The terminator is never executed by advancing onto it, and nothing
    // may run outside the table.
    if (check && CurSeq >= LastSeq) return;
    if (CurSeq < 0 || CurSeq > LastSeq) {
      throw PlayError{u"シナリオが壊れています.\r\n" + Decimal(CurSeq) + u" 番のレコードはありません."};
    }
    if (StepHook) StepHook(CurSeq);
    reading.StepBegins();
    const uint64_t pumpsBefore = Pumps;
    const int32_t seq = CurSeq;
    StepResult = RunStep();
    if (Pumps != pumpsBefore || StepResult == 0 || StepResult == 9) {
      quietSteps = 0;
      lastPump = GetTickCount();
    } else {
      if (++quietSteps >= kMaxQuietSteps) {
        const ScenarioRecord& r = ScenarioTable[static_cast<size_t>(seq)];
        throw PlayError{u"シナリオが先へ進みません.\r\n" + RecordPlace(r, seq) + u"\r\n" +
                        Decimal(kMaxQuietSteps) + u" 個のレコードが、待つことも表示することもなく続きました."};
      }
      // Keep the window alive (repainting, closing) while the loop runs.
      if (TicksSince(lastPump, GetTickCount()) >= kQuietPumpMs) {
        DoEvents();
        lastPump = GetTickCount();
      }
    }
    if (StepResult == 0) TalkDisp();
    if (StepResult == 9) {
      TitleDisp();
      return;
    }
    check = StepOn(StepResult);
  }
}

bool Main_Form::StepOn(int32_t result) {
  switch (result) {
    case 0:  // a message, shown
    case 2:  // a command done
      ++CurSeq;
      return true;
    case 1:  // a jump: CurSeq is its target, which may be the terminator
      return false;
    default:
      return true;
  }
}

int32_t Main_Form::RunStep() {
  const ScenarioRecord& r = ScenarioTable[static_cast<size_t>(CurSeq)];
  const int32_t seq = CurSeq;
  auto number = [&](const Text& field, const char16_t* what, long long lo, long long hi) -> long long {
    try {
      return ParseNumber(field, lo, hi);
    } catch (const ConversionError&) {
      throw PlayError{u"シナリオが壊れています.\r\n" + RecordPlace(r, seq) + u"\r\n" + what + u"「" + field +
                      u"」が正しい数ではありません."};
    }
  };

  bool bgTrigger = false, dollTrigger = false, animTrigger = false;
  SpeakerNo = 0;
  CurNum = r.Num;
  CmdText = Trim(r.Cmd);
  JumpNum = r.Jump;
  MsgText = Trim(r.Text);
  Param1 = Trim(r.Param1);
  Param2 = Trim(r.Param2);
  Text bg = Trim(r.Bg), doll = Trim(r.Doll), anim = Trim(r.Anim), speaker = Trim(r.Speaker),
       subst = Trim(r.NameSubst);

  if (!speaker.empty()) SpeakerNo = static_cast<int16_t>(number(speaker, u"話者番号", -32768, 32767));
  if (!bg.empty()) {
    BgRequest = BgNumber = static_cast<int16_t>(number(bg, u"背景番号", -32768, 32767));
    bgTrigger = true;
    DollNo = 0;
  }
  if (!doll.empty()) {
    DollNo = static_cast<uint8_t>(number(doll.substr(0, 1), u"人物番号", 0, 255));
    FaceNo = static_cast<uint8_t>(number(doll.substr(doll.size() - 1), u"人物の絵の番号", 0, 255));
    dollTrigger = true;
  }
  if (!anim.empty()) {
    DollParam = static_cast<uint8_t>(number(u"0" + anim, u"表情番号", 0, 255));
    animTrigger = true;
  }
  if (subst == u"1") MsgText = ReplacePlaceholders(MsgText);

  int32_t result = 0;
  if (bgTrigger) result = ShowBackground();
  if (dollTrigger) result = ShowDoll();
  if (animTrigger) result = ChangeFace();

  char16_t c = CmdText.empty() ? u'\0' : CmdText[0];
  switch (c) {
    case u'g': result = CmdJump(); break;
    case u'a': result = CmdAudio(); break;
    case u's': result = SelectDisp(); break;
    case u'p': result = CmdCounter(); break;
    case u'i': result = CmdEquality(); break;
    case u'c': result = CmdCompare(); break;
    case u't':
      result = CmdTextParam();
      if (WaitAfterLine) WakuClear();
      break;
    case u'e': EndingSequence(); break;
    case u'q': QuitSequence(); break;
    case u'r':
      WakuClear();
      result = 0;
      break;
    case u'w': result = CmdWait(); break;
    default: break;
  }
  return result;
}

Text Main_Form::ReplacePlaceholders(const Text& text) const {
  // The search goes on after each inserted name, so a name holding "&1"
  // is not expanded again; an "&" without a digit 0 to 5 stays as it is.
  Text out = text;
  size_t p = out.find(u'&');
  while (p != Text::npos) {
    if (p + 1 < out.size() && out[p + 1] >= u'0' && out[p + 1] <= u'5') {
      const Text& name = Names[static_cast<size_t>(out[p + 1] - u'0')];
      out = out.substr(0, p) + name + out.substr(p + 2);
      p = out.find(u'&', p + name.size());
    } else {
      p = out.find(u'&', p + 1);
    }
  }
  return out;
}

void Main_Form::EndingSequence() {
  if (Walk) return Walk->Ending();
  for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup, MenuItem::opt_menu, MenuItem::vvrr})
    Menu(m).enabled = false;
  Blinker.Visible = false;
  timers.SetEnabled(BGMLoopTimer, false);
  timers.SetEnabled(ClickerTimer, false);
  Waku[0].Visible = false;
  Waku[3].Visible = false;
  RunEnding();
  timers.SetEnabled(BGMLoopTimer, true);
  timers.SetEnabled(ClickerTimer, true);
}

void Main_Form::QuitSequence() {
  if (Walk) return Walk->Quit();
  for (MenuItem m : {MenuItem::prog_load, MenuItem::prog_save, MenuItem::speedup, MenuItem::opt_menu, MenuItem::vvrr})
    Menu(m).enabled = false;
  Blinker.Visible = false;
  timers.SetEnabled(BGMLoopTimer, false);
  timers.SetEnabled(ClickerTimer, false);
  Pic_Main.font = Font{u"Arial", 24, true};
  Pic_Main.ForeColor = EndPoints != 0 ? kBlack : kWhite;
  TextOut(*sys.fonts, Pic_Main, 500, 385, u"End");
  Pic_Main.Refresh();
  for (int i = 0; i < 101; ++i) {
    DoEvents();
    Sleep(100);
  }
  while (mci.MidiStatus() == "PLAYING") {
    DoEvents();
    Sleep(500);
  }
  Sleep(1000);
  throw ProgramEnd{0, true};
}

}  // namespace mirel
