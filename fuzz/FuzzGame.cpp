// The fuzz targets' game (see FuzzGame.h).
#include "FuzzGame.h"

#include "platform/Clock.h"

namespace qv::fuzz {

FuzzGame::FuzzGame(std::string_view script, int width, int height) : FakeGame(script) {
  fakes.clock.endlessWaitStops = true;
  platform::Clock::MarkThreadInterruptible();
  if (width != 0) CreateFrame(width, height);
}

void FuzzGame::PutEverywhere(std::string_view name, std::string_view bytes) {
  fakes.files.Put(name, bytes);
  fakes.files.Put(engine.services.baseDirectory + std::string(name), bytes);
}

}  // namespace qv::fuzz
