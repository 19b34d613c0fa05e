// The Engine: one object that owns every state record, flag and service reference of a game run.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/OggStreamPlayer.h"
#include "core/ChoiceTable.h"
#include "core/EnvSettings.h"
#include "core/GameState.h"
#include "core/InterpreterGate.h"
#include "core/Surface.h"
#include "platform/Glyphs.h"
#include "platform/Platform.h"

namespace qv::core {

// What the instance file says about the game.
struct InstanceConfig {
  bool found = false;  // an instance file was found and read
  std::string instanceName;
  std::string windowName;  // the game's bytes (code page 932)
  int32_t width = 0;
  int32_t height = 0;
  int32_t gameType = 0;
  int32_t bgmFromCd = 0;
};

// The unscrambled scenario: the file's bytes, then the end marker 0x03, then a zero byte.
struct ScriptText {
  static constexpr uint8_t kEndMarker = 0x03;
  std::vector<uint8_t> bytes;
  uint32_t size = 0;  // the file's size, without the marker
  uint8_t key = 0;    // the key it was unscrambled with

  std::string_view View() const {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
  }
};

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The pictures of a run: the five surfaces, the new scene's pixels and the interface parts.
struct Graphics {
  core::Surface screenSurface;     // W x H: what the window shows
  core::Surface sceneSurface;      // W x H: the new scene
  core::Surface pageSurface;       // W x H: the scene with the empty message window
  core::Surface sceneCopySurface;  // W x H: the scene without the message window
  core::Surface barSurface;        // 640 x 44: the button bar's hover look above its pressed look
  core::Surface workPixels;        // W x H: the scene being built
  core::Surface buttonParts;       // the button-parts picture (colour half and mask half)
  std::vector<uint8_t> waitCursorPixels;  // 6144 bytes: the wait cursor's frames
  // The message text's face, opened at start-up; null when no usable font is installed.
  std::shared_ptr<platform::Font> messageFont;
  // Serialises drawing onto the window's picture, which both threads do.
  std::mutex windowMutex;
};

// The save and load screens' state. Window thread only.
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

class Engine {
 public:
  explicit Engine(platform::Platform& services);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  ~Engine();

  platform::Platform& platform;

  // Start-up values, written before the interpreter thread starts and read-only afterwards.
  InstanceConfig config;
  std::string baseDirectory;  // ends with a separator
  static constexpr Rect kTextArea{35, 450, 780, 580};

  EnvSettings env;
  Graphics graphics;
  std::mutex envFileMutex;  // serialises the writers of env.dat (both threads write it)
  GameState state;
  InterpreterGate gate;

  // The script text is replaced by the return to the title while the interpreter may be reading
  // it, so readers take a reference-counted snapshot.
  std::shared_ptr<const ScriptText> Script() const;
  void SetScript(std::shared_ptr<const ScriptText> script);
  std::atomic<uint32_t> scriptPosition{0};

  // Input and advance state shared by the two threads.
  std::atomic<int32_t> advanceMode{0};
  std::atomic<int32_t> savedMessageSpeed{1};
  std::atomic<int32_t> screenMode{0};
  std::atomic<int32_t> inputBusy{0};
  std::atomic<int32_t> syncActive{0};
  std::atomic<int32_t> messageWindowActive{0};
  std::atomic<int32_t> messageWindowShown{0};
  std::atomic<int32_t> clickEndsAuto{1};
  std::atomic<int32_t> voicePlaying{0};
  std::atomic<int32_t> restoringGame{0};
  std::atomic<int32_t> previousScreenMode{0};
  std::atomic<int32_t> waitCursorOn{0};
  std::atomic<int32_t> newPageRequested{0};
  std::atomic<int32_t> abortTextOutput{0};
  std::atomic<int32_t> cursorDrawing{0};
  std::atomic<int32_t> textPositionX{kTextArea.left};
  std::atomic<int32_t> textPositionY{kTextArea.top};

  // Presentation settings the scene commands keep for the graphics.
  std::atomic<int32_t> brightnessLevel{30};
  std::atomic<int32_t> effectNumber{0};
  std::atomic<int32_t> spriteAlpha{255};
  std::atomic<int32_t> alphaDepth{64};
  std::atomic<int32_t> messageWindowOpen{0};

  ChoiceTable choices;
  SaveLoadScreenState saveLoad;

  // Window-thread state: the wait cursor's frame (a byte offset into its pixels) and the element
  // of each set last under the pointer (99: none).
  uint32_t waitCursorFrame = 0;
  int32_t hoveredBar = 99;
  int32_t hoveredSlot = 99;
  int32_t hoveredChoice = 99;

  // Interpreter-thread state.
  uint32_t syncStartTime = 0;
  uint32_t randomState = 0;
  std::string maskFileName;

  // The two streaming players. Their file paths (the music path and the voice path) are written
  // by the interpreter before its synchronous request and read by the window thread handling it.
  // Declared after the flags they clear, so they are stopped before those go.
  audio::OggStreamPlayer musicPlayer;
  audio::OggStreamPlayer voicePlayer;
  std::string waveMusicFileName;
  std::string soundEffectFileName;
  int32_t cdTrack = 1;
  // What the start-up CD scan found (written before the interpreter thread starts): the game's
  // CD music as ripped tracks (trackNN.ogg in cdTrackFolder, relative to the base directory: ""
  // or "cd\\"), or else as a disc whose drive cdDisc keeps open for the whole run.
  bool cdFound = false;
  // Music CD tracks ripped to trackNN.ogg files, found by the start-up scan in this folder
  // (relative to the base directory: "" or "cd\\"); cdda then plays them on the music player.
  bool cdRipped = false;
  std::string cdTrackFolder;
  // The drive whose disc the scan found, kept open for the run.
  std::unique_ptr<platform::OpticalDisc> cdDisc;

  // Threads and lifetime.
  std::thread interpreterThread;
  std::unique_ptr<platform::InstanceLock> instanceLock;
  std::atomic<bool> closing{false};
  std::atomic<bool> windowCreated{false};
  // The shell's window procedure, for requests made on the window thread itself.
  platform::WindowProcedure* windowProcedure = nullptr;

  void ResetTextPosition() {
    textPositionX = kTextArea.left;
    textPositionY = kTextArea.top;
  }

  // The game's part of a path: what follows the base directory, or the whole of a relative path.
  // Logs name only that part, so a run's log does not depend on where the game lies.
  std::string_view GamePart(std::string_view path) const {
    if (!baseDirectory.empty() && path.starts_with(baseDirectory)) {
      path.remove_prefix(baseDirectory.size());
    }
    return path;
  }

  // Shift-JIS text of the game as UTF-8 for the UI and the log.
  std::string Utf8(std::string_view cp932) { return platform.cp932.ToUtf8(cp932); }
  // The window name as every message box's caption.
  std::string Caption() { return Utf8(config.windowName); }
  void Log(std::string_view line) { platform.log.Write(line); }

 private:
  void WarnFromPlayer(const std::string& text);

  mutable std::mutex scriptMutex_;
  std::shared_ptr<const ScriptText> script_;
};

}  // namespace qv::core
