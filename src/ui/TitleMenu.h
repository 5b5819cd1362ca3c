#pragma once
// The title screen and its menu (ui/TitleMenu.cpp).
#include <cstdint>
#include <optional>

namespace mirel {

struct TitleMenuState {
  bool TitleShown = false;
  // The route counters and the end counter as the first title screen of the
  // run found them (a prologue may set them): every new game starts there.
  struct Counters {
    int16_t kou = 0, hap = 0, bad = 0, mak = 0, end = 0;
  };
  std::optional<Counters> TitleCounters;
  int16_t DialogMode = 0;  // save/load dialog: 0 closed, 1 save, 2 load, 3 loading
};

}  // namespace mirel
