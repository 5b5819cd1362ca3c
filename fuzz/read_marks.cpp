// The read marks of a story, kept in the player's folder. The input is the
// file; after one more record is read it is written again, and the marks
// read back are the old ones and that record.
#include "Fuzz.h"
#include "comfort/ReadMarks.h"

using namespace mirel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = fuzz::ScratchDir() + "marks.read";
  fuzz::WriteScratch(path, fuzz::View(data, size));
  ReadMarks marks;
  marks.Load(path);
  FUZZ_CHECK(!marks.Dirty() && !marks.IsRead(-1) && !marks.IsRead(kMaxRecords));
  int32_t fresh = -1;
  for (int32_t r = static_cast<int32_t>(size % kMaxRecords); r < kMaxRecords && fresh < 0; ++r)
    if (!marks.IsRead(r)) fresh = r;
  if (fresh < 0) return 0;
  marks.Mark(fresh);
  FUZZ_CHECK(marks.Dirty() && marks.IsRead(fresh));
  marks.Save();
  FUZZ_CHECK(!marks.Dirty());
  ReadMarks again;
  again.Load(path);
  for (int32_t r = 0; r < kMaxRecords; ++r) FUZZ_CHECK(again.IsRead(r) == marks.IsRead(r));
  return 0;
}
