// The display's pace (see DisplayRefresh.h).
#include "graphics/DisplayRefresh.h"

namespace qv::graphics {

uint64_t NextDisplayRefresh(uint64_t nowMs) {
  uint64_t k = nowMs * 60 / 1000;
  while (k * 1000 / 60 <= nowMs) ++k;
  return k * 1000 / 60;
}

void WaitForDisplayRefresh(Presentation& view) {
  auto& clock = view.services.platform.clock;
  clock.await(nullptr, NextDisplayRefresh(clock.nowMs()));
}

}  // namespace qv::graphics
