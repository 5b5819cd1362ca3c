// The saved-game slot files "00.dat" to "04.dat": a file the game loads is
// saved again as the game saves it and loads back the same.
#include "Fuzz.h"
#include "save/SlotFile.h"

using namespace mirel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int32_t lastSeq = kMaxRecords - 1;
  SlotRead r = ParseSlotText(fuzz::View(data, size), lastSeq);
  FUZZ_CHECK(r.contents.has_value() != !r.error.empty());
  if (!r.contents) return 0;
  const SlotContents& c = *r.contents;
  const SavedState& s = c.state;
  FUZZ_CHECK(s.resume >= 0 && s.resume < lastSeq && s.opacityPercent >= 0 && s.opacityPercent <= 100);
  FUZZ_CHECK(s.messageSpeed >= 0 && s.messageSpeed <= 3);

  // The play state as loading leaves it, with the numbers loading ignores.
  PlayState ps;
  ps.kou = s.kou;
  ps.hap = s.hap;
  ps.bad = s.bad;
  ps.mak = s.mak;
  ps.BgRequest = s.bgRequest;
  ps.CurNum = s.curNum;
  ps.WakuOpacity = static_cast<float>(s.opacityPercent) / 100.0f;
  ps.BgmOn = s.bgmOn;
  ps.SeOn = s.seOn;
  ps.MessageSpeed = s.messageSpeed;
  ps.CurSeq = s.curSeq;
  ps.CurMusic = s.curMusic;
  ps.SavePoint[0] = Decimal(s.resume);
  const std::array<Text, 4> snapshot = {SlotField(c.caption1) + u"," + SlotField(c.caption2), BuildStateLine(ps),
                                        SlotField(c.lines[1]), SlotField(c.lines[2])};
  std::string file = SlotFileBytes("2026/01/02 03:04:05", snapshot);
  SlotRead again = ParseSlotText(file, lastSeq);
  FUZZ_CHECK(again.contents);
  const SlotContents& d = *again.contents;
  FUZZ_CHECK(d.caption1 == c.caption1 && d.caption2 == c.caption2 && d.lines[1] == c.lines[1] && d.lines[2] == c.lines[2]);
  const SavedState& t = d.state;
  FUZZ_CHECK(t.kou == s.kou && t.hap == s.hap && t.bad == s.bad && t.mak == s.mak && t.bgRequest == s.bgRequest);
  FUZZ_CHECK(t.curNum == s.curNum && t.opacityPercent == s.opacityPercent && t.bgmOn == s.bgmOn && t.seOn == s.seOn);
  FUZZ_CHECK(t.messageSpeed == s.messageSpeed && t.curSeq == s.curSeq && t.curMusic == s.curMusic && t.resume == s.resume);
  return 0;
}
