// The save and load screens' state. Window thread only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/Surface.h"

namespace qv::screens {

struct SaveLoadScreenState {
  static constexpr size_t kEntries = 13;  // the return button, then slots 1-12
  // Which entries react to the pointer: 1 reacts.
  std::array<int32_t, kEntries> slotEnabled{};
  // The game's pictures as they were when a screen opened, given back when it is left; empty
  // while no screen is open.
  core::Surface savedScene;
  core::Surface savedPage;
  core::Surface savedSceneCopy;
};

}  // namespace qv::screens
