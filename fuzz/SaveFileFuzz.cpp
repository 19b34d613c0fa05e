// A save file: checked against the script of the game it is loaded into and read by the slot
// list; one that passes is loaded into a running game (its interpreter halted at a wait, as a
// player loads), which rebuilds the scene and music and replays the page up to the saved line.
#include <algorithm>
#include <thread>

#include "FuzzGame.h"
#include "core/SavedGameFile.h"
#include "core/SettingsFile.h"
#include "graphics/Compositing.h"
#include "graphics/PictureFile.h"
#include "platform/headless/VirtualClock.h"
#include "script/Interpreter.h"
#include "script/ResumePoint.h"
#include "script/SavedGames.h"

namespace {

using namespace qv;

// A page of each shape the walk tells apart: labels, text, wait codes, a choice list, a jump.
constexpr std::string_view kScript =
    ":start\r\n$windowopen\r\n$imgblt cg\\bg.bmp\r\none\r\n$C\r\ntwo\r\n$P\r\n"
    "$selword\r\n(a,0,A)\r\n(b,0,B)\r\nselend\r\n:a\r\nthree\r\n$C\r\n$jmp start\r\n:b\r\n$S\r\n";

// The fakes, on a virtual clock instead of the single-threaded one: a load replays the page on
// the interpreter thread while the window thread waits for it.
struct RunningGame {
  platform::headless::VirtualClock clock;
  test::FakePlatform fakes;
  platform::Platform services{clock,        fakes.window, fakes.ui,   fakes.display,
                              fakes.files,  fakes.cp932,  fakes.log,  fakes.locks,
                              fakes.drives, fakes.glyphs, fakes.audio};
  test::RecordingProcedure procedure;
  script::Engine engine{services};

  RunningGame() {
    engine.services.baseDirectory = test::kFakeBaseDirectory;
    engine.services.config.found = true;
    engine.services.config.windowName = "T";
    engine.services.config.width = 128;
    engine.services.config.height = 64;
    engine.services.windowProcedure = &procedure;
    fakes.window.procedure = &procedure;
    fakes.window.Create("fuzz", 128, 64);
    graphics::CreateSurfaces(engine.view);
    core::Surface background;
    background.Create(128, 64);
    std::vector<uint8_t> file = graphics::EncodeBitmap(background);
    graphics::ScrambleBackground(file);
    fakes.files.Put(engine.services.baseDirectory + "cg\\bg.bmp",
                    std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    fakes.files.directories.insert(core::SaveFolderPath(engine.services));
  }

  // Starts the interpreter and lets it run to its first halt.
  void Start() {
    clock.AddParticipant();
    engine.interpreterThread = std::thread(script::RunInterpreterThread, std::ref(engine));
    clock.Settle(nullptr);
  }

  ~RunningGame() {
    engine.services.closing = true;
    clock.requestStop();
    if (engine.interpreterThread.joinable()) engine.interpreterThread.join();
  }
};

std::shared_ptr<const core::ScriptText> Script() {
  auto text = std::make_shared<core::ScriptText>();
  text->bytes.assign(kScript.begin(), kScript.end());
  text->bytes.push_back(core::ScriptText::kEndMarker);
  text->bytes.push_back(0);
  text->size = static_cast<uint32_t>(kScript.size());
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const auto script = Script();
  const bool loadable = core::CheckSavedGame(bytes, script.get()).empty();
  if (loadable) {
    core::GameState state;
    std::copy(bytes.begin(), bytes.end(), state.Bytes().begin());
    script::FindResumeLine(*script, state.Position());
  }
  RunningGame game;
  game.engine.script.SetText(script);
  game.fakes.files.Put(core::SlotFilePath(game.engine.services, 1), fuzz::Bytes(data, size));
  // The slot list and the name entry read every slot, loadable or not.
  script::LoadRecordedName(game.engine);
  if (!loadable) return 0;
  game.Start();
  script::LoadGame(game.engine, 1);
  return 0;
}
