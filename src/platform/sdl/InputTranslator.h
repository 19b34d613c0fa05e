// Turns the window's SDL input events into the engine's mouse, wheel and key messages.
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
  // the middle button, releases outside the window, key repeats and releases of presses a modal
  // box or menu took are dropped.
  std::optional<Message> Translate(const SDL_Event& event, uint32_t windowId,
                                   const FrameGeometry& geometry);

  // While a modal box or menu has the input: remembers which keys and buttons it saw pressed, so
  // that their releases after it closed (the Enter that answered a box, the click that dismissed
  // a menu) do not reach the game as well.
  void NoteModalEvent(const SDL_Event& event, uint32_t windowId, const FrameGeometry& geometry);

  // The last pointer position seen (frame coordinates, packed as MakePoint), whoever had the input.
  // Updated by both calls above.
  uint32_t LastPointer() const { return lastPointer_; }

  // Whether the last press the window saw (a button, a notch of the wheel, a key, a pad button)
  // was the pointer's, whoever had the input: a menu it opens starts with a focus for the keys
  // when it was not.
  bool LastPressByPointer() const { return lastPressByPointer_; }

  // A pad button message (MSG_PAD_BUTTON) while the game has the input: false for the release of
  // a press a modal box or menu took, which it keeps as it keeps a key's.
  bool PadReachesGame(const Message& message);
  // A pad button message while a modal box or menu has the input.
  void NoteModalPad(const Message& message);

 private:
  void TrackPointer(int windowX, int windowY, const FrameGeometry& geometry);

  std::bitset<SDL_NUM_SCANCODES> keysTakenByModal_;
  uint32_t buttonsTakenByModal_ = 0;  // SDL_BUTTON masks
  std::bitset<kPadButtonCount> padTakenByModal_;
  uint32_t lastPointer_ = 0;
  bool lastPressByPointer_ = true;
};

}  // namespace qv::platform::sdl
