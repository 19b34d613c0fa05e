// The instance file: its keys read as start-up reads them.
#include "FuzzGame.h"
#include "shell/InstanceFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::FuzzGame game;
  game.fakes.files.Put(game.engine.services.baseDirectory + "game.ist",
                       qv::fuzz::Bytes(data, size));
  qv::shell::ReadInstanceFile(game.engine);
  return 0;
}
