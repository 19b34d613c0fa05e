// The save and load screens' state. Window thread only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/ScriptRuntime.h"
#include "core/Surface.h"
#include "graphics/Presentation.h"

namespace qv::screens {

class SaveLoadScreenState {
 public:
  static constexpr size_t kEntries = 13;  // the return button, then slots 1-12

  SaveLoadScreenState(graphics::Presentation& view, const core::ScriptRuntime& script)
      : view(view), script(script) {}
  SaveLoadScreenState(const SaveLoadScreenState&) = delete;
  SaveLoadScreenState& operator=(const SaveLoadScreenState&) = delete;

  // The screens draw over the game's presentation and check the slots against its script.
  graphics::Presentation& view;
  const core::ScriptRuntime& script;

  // Which entries react to the pointer: 1 reacts.
  std::array<int32_t, kEntries> slotEnabled{};
  // The game's pictures as they were when a screen opened, given back when it is left; empty
  // while no screen is open.
  core::Surface savedScene;
  core::Surface savedPage;
  core::Surface savedSceneCopy;
};

}  // namespace qv::screens
