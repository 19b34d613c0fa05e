// A rectangle in frame coordinates (whether its edges count is up to each use).
#pragma once

#include <cstdint>

namespace qv::core {

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

}  // namespace qv::core
