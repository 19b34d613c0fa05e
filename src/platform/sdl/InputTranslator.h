// Turns the window's SDL input events into the engine's mouse and key messages.
#pragma once

#include <SDL.h>

#include <bitset>
#include <cstdint>
#include <optional>

#include "platform/Message.h"
#include "platform/sdl/FrameGeometry.h"

namespace qv::platform::sdl {

// Window thread only.
class InputTranslator {
 public:
  // The message `event` becomes while the game has the input, or none. Events of other windows,
  // the middle button, releases outside the window and releases of presses a modal box or menu
  // took are dropped.
  std::optional<Message> Translate(const SDL_Event& event, uint32_t windowId,
                                   const FrameGeometry& geometry);

  // While a modal box or menu has the input: remembers which keys and buttons it saw pressed, so
  // that their releases after it closed (the Enter that answered a box, the click that dismissed
  // a menu) do not reach the game as well.
  void NoteModalEvent(const SDL_Event& event, uint32_t windowId, const FrameGeometry& geometry);

  // The last pointer position seen (frame coordinates, packed as MakePoint), whoever had the input.
  // Updated by both calls above.
  uint32_t LastPointer() const { return lastPointer_; }

 private:
  void TrackPointer(int windowX, int windowY, const FrameGeometry& geometry);

  std::bitset<SDL_NUM_SCANCODES> keysTakenByModal_;
  uint32_t buttonsTakenByModal_ = 0;  // SDL_BUTTON masks
  uint32_t lastPointer_ = 0;
};

}  // namespace qv::platform::sdl
