// The presentation: the run's surfaces, the message window and its text pen, the wait cursor, and
// the settings the scene commands keep for the next picture.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/InputState.h"
#include "core/Rect.h"
#include "core/Services.h"
#include "core/Surface.h"
#include "graphics/Screen.h"
#include "platform/Glyphs.h"

namespace qv::graphics {

// A transition from the old picture to the new one: its number (see Transitions.h), the
// cross-fade's step count and the mask transition's picture (a full path).
struct Transition {
  int32_t number = 0;
  int32_t crossFadeSteps = 64;
  std::string maskFileName;
};

class Presentation {
 public:
  static constexpr core::Rect kTextArea{35, 450, 780, 580};

  Presentation(core::Services& services, core::InputState& input, uint32_t& randomState)
      : services(services), input(input), randomState(randomState), screen(services) {}
  Presentation(const Presentation&) = delete;
  Presentation& operator=(const Presentation&) = delete;

  // What drawing reaches outside the pictures: the files, the log, the settings and the window;
  // the player's input, kept busy while a picture is drawn; the script's random generator, which
  // the ragged wipe draws from.
  core::Services& services;
  core::InputState& input;
  uint32_t& randomState;

  // What the window shows, and its lock (see Screen.h).
  Screen screen;
  // The surfaces. The interpreter builds scenes; the window thread draws the bar, the cursor and
  // the screens, copying from the page and scene surfaces, which therefore change only under the
  // screen's lock once the game runs.
  core::Surface sceneSurface;      // W x H: the new scene
  core::Surface pageSurface;       // W x H: the scene with the empty message window
  core::Surface sceneCopySurface;  // W x H: the scene without the message window
  core::Surface barSurface;        // 640 x 44: the button bar's hover look above its pressed look
  core::Surface workPixels;        // W x H: the scene being built
  core::Surface buttonParts;       // the button-parts picture (colour half and mask half)
  std::vector<uint8_t> waitCursorPixels;  // 6144 bytes: the wait cursor's frames
  // The message text's face, opened at start-up; null when no usable font is installed.
  std::shared_ptr<platform::Font> messageFont;
  // The message window's picture, decoded the first time it is needed; interpreter thread.
  core::Surface messageWindowPixels;

  // The message window and its pen. Either thread.
  std::atomic<int32_t> messageWindowActive{0};
  std::atomic<int32_t> messageWindowShown{0};
  std::atomic<int32_t> messageWindowOpen{0};
  std::atomic<int32_t> textPositionX{kTextArea.left};
  std::atomic<int32_t> textPositionY{kTextArea.top};

  // The wait cursor: on while the game waits for a click; its frame (a byte offset into its
  // pixels) is the window thread's.
  std::atomic<int32_t> waitCursorOn{0};
  std::atomic<int32_t> cursorDrawing{0};
  uint32_t waitCursorFrame = 0;

  // Kept by the scene commands for the next picture. Either thread.
  std::atomic<int32_t> brightnessLevel{30};
  std::atomic<int32_t> effectNumber{0};
  std::atomic<int32_t> spriteAlpha{255};
  std::atomic<int32_t> alphaDepth{64};
  std::string maskFileName;  // the mask transition's picture; interpreter thread only

  // The transition the scene commands have chosen for the next picture.
  Transition NextTransition() const { return {effectNumber, alphaDepth, maskFileName}; }

  void ResetTextPosition() {
    textPositionX = kTextArea.left;
    textPositionY = kTextArea.top;
  }
};

}  // namespace qv::graphics
