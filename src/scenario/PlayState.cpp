#include "scenario/PlayState.h"

namespace mirel {

int16_t* PlayState::CounterRef(TextView name) {
  if (name == u"kou") return &kou;
  if (name == u"hap") return &hap;
  if (name == u"bad") return &bad;
  if (name == u"mak") return &mak;
  return nullptr;
}

int16_t PlayState::Counter(TextView name, bool* found) const {
  int16_t* p = const_cast<PlayState*>(this)->CounterRef(name);
  if (found) *found = p != nullptr;
  return p ? *p : 0;
}

}  // namespace mirel
